// The messages of the builtin dispatcher and the builtins of this library, in
// both languages.
#pragma once
#include <string>
#include <string_view>

#include "engine/check/check_messages.h"
#include "engine/errors/script_error.h"

namespace maqo::builtins::messages {

using engine::cat;
// The pre-run check of a builtin call reports through the check pass's messages.
using engine::check_messages::argumentLacking;

// ---- dispatcher (catchable unless noted) ----
inline engine::ScriptError definitionWrong(std::u16string_view text) {
  return {cat(u"Definition is wrong: ", text), cat(text, u": 定義が間違っています")};
}
inline engine::ScriptError nonNumeric(std::u16string_view text) {
  return {cat(u"Is non-numeric: ", text), cat(text, u": 数値以外である")};
}
inline engine::ScriptError tooManyArguments() {
  return {u"Error: There are too many arguments to the Function", u"Error: 関数への引数が多すぎます", false};
}
// An array value at a position that needs a text.
inline engine::ScriptError valueWithoutText() { return {u"SyntaxError-20", {}, false}; }
// A failure that leaves a builtin through the dispatcher's exception path.
inline engine::ScriptError callFailure(std::u16string_view english, std::u16string_view japanese) {
  return {cat(u"KansuCall:", english), cat(u"KansuCall:", japanese)};
}

// ---- builtins that cannot run here ----
inline engine::ScriptError notAvailableYet(std::u16string_view name) {
  return {cat(name, u" is not available yet"), cat(name, u" はまだ使えません")};
}
inline engine::ScriptError needsWindows(std::u16string_view name) {
  return {cat(name, u" needs Windows"), cat(name, u" は Windows でのみ使えます")};
}

// ---- the builtins of this library ----
inline engine::ScriptError sleepTooManyArguments() {
  return {u"SLEEP: Too many argument", u"SLEEP: 引数の数が多すぎます", false};
}
inline engine::ScriptError wrongDate(std::u16string_view text) {
  return {cat(u"It is wrong date:", text), cat(u"It is wrong date:", text)};
}

}  // namespace maqo::builtins::messages
