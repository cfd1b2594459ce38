// The messages of the pre-run check pass, each in English and Japanese.
// Messages the pass shares with the variable store and the builtin dispatcher
// (undefined names, reserved words, argument checks of builtins) come from
// their own headers.
#pragma once
#include <string>
#include <string_view>

#include "engine/errors/script_error.h"
#include "platform/text_codec.h"

namespace maqo::engine::check_messages {

using engine::cat;

inline Message syntaxError(int number) { return {u"SyntaxError-" + u16(std::to_string(number)), {}}; }

// ---- function bodies ----
inline Message noFend(std::u16string_view function) {
  return {cat(u"FEND There is no sentence: ", function), cat(u"関数: ", function, u" の FEND 文がありません")};
}
inline Message breakOutsideLoop() {
  return {u"There is BREAK sentence outside the loop", u"ループ外に BREAK 文がある"};
}
inline Message breakCountWrong() { return {u"Number of BREAK is wrong", u"BREAK 数 が間違っています"}; }
inline Message continueOutsideLoop() {
  return {u"There is CONTINUE sentence outside the loop", u"ループ外に CONTINUE 文がある"};
}
inline Message continueCountWrong() { return {u"Number of CONTINUE is wrong", u"CONTINUE 数 が間違っています"}; }
inline Message endWithUnpaired() { return {u"It doesn't pair with \"WITH\"", u"WITH文と対になっていない"}; }

// ---- names ----
// A module's private variable used from outside the module.
inline Message notReferable(std::u16string_view name) {
  return {cat(u"It isn't defined: ", name), cat(u"変数: ", name, u" は参照できません")};
}
inline Message constantAssigned() { return {u"Constant can not be assigned a value", u"定数には値を代入できません"}; }
inline Message bracketSyntax() { return {u"SyntaxError of [ ]", u"[ ]内の構文が間違っています"}; }

// ---- calls ----
inline Message cannotCallFile() { return {u"System Error: Don't CALL", {}}; }
inline Message functionMissing(std::u16string_view name) {
  return {cat(u"It is not here: ", name), cat(u"関数: ", name, u" がありません")};
}
inline Message mainPartCalled(std::u16string_view name) { return {cat(u"Don't call ", name), {}}; }
inline Message argumentCountWrong(std::u16string_view name) {
  return {cat(u"The number of the argument isn't suitable: ", name), cat(u"関数: ", name, u" 引数の数が合いません")};
}
inline Message memberCallNotClosed() {
  return {u"An OLE function isn't properly close", u"OLE関数が正しく閉じていません"};
}

// ---- failures of the pass itself, prefixed with the check that met them ----
inline Message internalFailure(std::u16string_view check, std::u16string_view what) {
  return {cat(check, u":", what), {}};
}

// ---- pre-run check of a builtin call ----
inline Message argumentLacking(std::u16string_view name) {
  return {cat(u"Argument is lacking:", name), cat(name, u"：引数が足りません")};
}
inline Message functionNotClosed() { return {u"Function isn't properly close", u"関数が正しく閉じていません"}; }
inline Message constantCannotBeUsed(std::u16string_view name) {
  return {cat(u"Constant cannot be used:", name), cat(name, u":定数は使えません")};
}

}  // namespace maqo::engine::check_messages
