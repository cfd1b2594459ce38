// The host of the string and array builtin tests: the builtin test host with
// OPTION SAMESTR and the byte-string mark, and an optional locale of its own;
// the builtins are called through the dispatcher.
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
  void useLocale(platform::Locale& locale) {
    bundle_ = std::make_unique<platform::Platform>(platform::Platform{clock, platformBundle.files, locale, ui});
  }
  platform::Platform& platform() override { return bundle_ ? *bundle_ : platformBundle; }
  bool sameStr() override { return sameStrOn; }
  void markByteStringProduced() override { ++byteMarks; }

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
