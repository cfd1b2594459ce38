// Helpers for the variable-store tests: a store wired to a minimal evaluator
// (numbers, quoted strings, names) and shorthands for values and errors.
#pragma once
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "engine/errors/script_error.h"
#include "engine/values/global_store.h"
#include "engine/values/number_text.h"
#include "platform/text_codec.h"

namespace maqo::engine::values_test {

inline ScriptValue num(double v) { return ScriptValue::number(v); }
inline ScriptValue str(std::u16string_view s) { return ScriptValue::string(std::u16string(s)); }
inline ScriptValue list(std::initializer_list<ScriptValue> items) {
  return ScriptValue::array(ArrayValue::fromList(std::vector<ScriptValue>(items)));
}
inline std::vector<ScriptValue> idx(std::initializer_list<ScriptValue> items) { return items; }

// Evaluates number literals, "quoted strings" and names; enough for the
// expressions declarations take (bounds, initial values, flags).
inline ScriptValue evaluateSimple(GlobalStore& store, std::u16string_view text, THensuFmt& frame) {
  if (text.size() >= 2 && text.front() == u'"' && text.back() == u'"')
    return ScriptValue::string(std::u16string(text.substr(1, text.size() - 2)));
  if (auto number = parseNumberText(text, NumberTextMode::Strict)) return ScriptValue::number(*number);
  if (text.starts_with(u"-")) {
    if (auto number = parseNumberText(text.substr(1), NumberTextMode::Strict)) return ScriptValue::number(-*number);
  }
  return store.GetValue(frame, text);
}

class StoreTest : public ::testing::Test {
 protected:
  StoreTest() {
    store.evaluate = [this](std::u16string_view text, THensuFmt& f) { return evaluateSimple(store, text, f); };
  }

  ScriptValue get(std::u16string_view name, std::vector<ScriptValue> indexes = {}) {
    return store.GetValue(frame, name, indexes);
  }
  void put(std::u16string_view name, std::vector<ScriptValue> indexes, const ScriptValue& value) {
    store.PutValue(frame, name, indexes, value);
  }
  std::u16string text(std::u16string_view name, std::vector<ScriptValue> indexes = {}) {
    return get(name, std::move(indexes)).toDisplayText();
  }

  GlobalStore store;
  THensuFmt frame;
};

// Runs f and returns the English and Japanese text of the ScriptError it throws.
template <typename F>
Message errorOf(F&& f) {
  try {
    f();
  } catch (const ScriptError& e) {
    return e.message();
  }
  ADD_FAILURE() << "no ScriptError";
  return {};
}

inline std::string u8(std::u16string_view s) { return utf16ToUtf8(s); }

}  // namespace maqo::engine::values_test
