// The host of the string and array builtin tests: the builtin test host with
// OPTION SAMESTR and the byte-string mark, an optional locale of its own, and
// calls of the string and array builtins: through the dispatcher, or (for
// families it does not list, or when asked) built into argument records here
// the way the dispatcher builds them.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "builtins/builtin_table.h"
#include "builtins/array_builtins.h"
#include "builtins/string_builtins.h"
#include "builtins/engine_interface.h"
#include "engine/values/number_text.h"
#include "tests/unit/builtins/builtins_fake_host.h"

namespace maqo::builtins::strings_test {

using engine::ScriptValue;

inline ScriptValue num(double v) { return ScriptValue::number(v); }
inline ScriptValue str(std::u16string_view s) { return ScriptValue::string(std::u16string(s)); }

// Code page 932 for hiragana and ASCII only: enough to see double-byte
// lengths, positions and lead bytes, and the same on both builds.
class KanaCodePageLocale final : public platform::Locale {
 public:
  unsigned ansiCodePage() override { return 932; }
  unsigned oemCodePage() override { return 932; }
  uint16_t systemLanguage() override { return 0x0411; }
  std::u16string decodeAnsi(std::string_view bytes) override {
    std::u16string out;
    for (size_t i = 0; i < bytes.size(); ++i) {
      const auto b = static_cast<unsigned char>(bytes[i]);
      if (b < 0x80) {
        out += static_cast<char16_t>(b);
      } else if (b == 0x82 && i + 1 < bytes.size()) {
        out += static_cast<char16_t>(0x3041 + static_cast<unsigned char>(bytes[++i]) - 0x9F);
      } else {
        out += u'\u30FB';
        if ((b >= 0x81 && b <= 0x9F) || b >= 0xE0) ++i;
      }
    }
    return out;
  }
  std::string encodeAnsi(std::u16string_view text, bool* lossy) override {
    std::string out;
    for (char16_t c : text) {
      if (c < 0x80) {
        out += static_cast<char>(c);
      } else if (c >= 0x3041 && c <= 0x3093) {
        out += static_cast<char>(0x82);
        out += static_cast<char>(0x9F + (c - 0x3041));
      } else {
        out += '?';
        if (lossy) *lossy = true;
      }
    }
    return out;
  }
  std::u16string decodeOem(std::string_view bytes) override { return decodeAnsi(bytes); }
};

class StringsHost : public testing::FakeBuiltinHost, public StringCallOptions {
 public:
  bool sameStrOn = false;
  int byteMarks = 0;
  // Builds the argument record here even when the dispatcher lists the
  // builtin, letting an array value through as DECODE's first argument.
  bool ownRecords = false;

  void useLocale(platform::Locale& locale) {
    bundle_ = std::make_unique<platform::Platform>(platform::Platform{clock, platformBundle.files, locale, ui});
  }
  platform::Platform& platform() override { return bundle_ ? *bundle_ : platformBundle; }
  bool sameStr() override { return sameStrOn; }
  void markByteStringProduced() override { ++byteMarks; }

  engine::ScriptValue callFunction(const engine::CallSite& call, engine::EvalContext& context) override {
    const BuiltinEntry* entry = FindBuiltin(call.name);
    BuiltinFunction function = nullptr;
    if (entry) {
      function = FindNamedBuiltin(StringBuiltins(), entry->name);
      if (!function) function = FindNamedBuiltin(ArrayBuiltins(), entry->name);
    }
    const BuiltinEntry* wired = entry ? tests::TestLibrary().find(entry->name) : nullptr;
    if (!function || (wired && wired->function && !ownRecords)) return FakeBuiltinHost::callFunction(call, context);

    BuiltinCall record{*entry, call, {}, {}, {}, 0};
    for (size_t i = 0; i < call.argumentTexts.size(); ++i) {
      const int position = static_cast<int>(i) + 1;
      BuiltinArgument argument;
      ScriptValue value;
      if (IsRawPosition(*entry, position)) {
        argument.text = call.argumentTexts[i];
        value = ScriptValue::string(argument.text);
      } else {
        value = engine::EvaluateExpression(*call.arguments[i], *this);
        const bool takesValue = position == 1 && (entry->name == u"VARTYPE" || entry->name == u"DECODE");
        if (value.isArray() && !takesValue) throw engine::ScriptError(u"SyntaxError-20", u"", false);
        if (!(value.isArray() || (position == 1 && entry->name == u"VARTYPE"))) argument.text = value.toArgumentText();
      }
      if (auto n = engine::parseNumberText(argument.text, engine::NumberTextMode::Strict)) {
        argument.number = *n;
        argument.integer = static_cast<int64_t>(*n);
        argument.isNumber = true;
      }
      if (i == 0) record.first = value;
      if (i == 1) record.second = value;
      record.arguments.push_back(std::move(argument));
    }
    return function(record, *this);
  }

  // The display text of an expression's value.
  std::u16string show(std::u16string_view expression) { return run(expression).toDisplayText(); }
  // DIM name[upper] (more bounds: more dimensions) with the given elements.
  void dim(std::u16string_view name, std::vector<int64_t> bounds, std::vector<ScriptValue> values = {}) {
    const int slot = store.DeclareLocal(callFrame, name, bounds);
    auto& elements = callFrame.locals.slot(slot).values;
    for (size_t i = 0; i < values.size() && i < elements.size(); ++i) elements[i] = values[i];
  }
  std::vector<ScriptValue> elementsOf(std::u16string_view name) {
    return callFrame.locals.slot(callFrame.locals.find(name)).values;
  }
  // The display texts of the elements of a declared array or array value, joined by "|".
  std::u16string listOf(std::u16string_view name) {
    const int slot = callFrame.locals.find(name);
    std::vector<ScriptValue> values = callFrame.locals.slot(slot).values;
    if (callFrame.locals.slot(slot).isScalar() && values[0].isArray()) values = values[0].arrayRef().elements();
    std::u16string out;
    for (size_t i = 0; i < values.size(); ++i) out += (i ? u"|" : u"") + (values[i].isEmpty() ? u"<E>" : values[i].toDisplayText());
    return out;
  }

 private:
  std::unique_ptr<platform::Platform> bundle_;
};

}  // namespace maqo::builtins::strings_test
