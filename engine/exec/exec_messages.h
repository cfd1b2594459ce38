// The messages of the statement executor and the call dispatcher, in both languages.
#pragma once
#include <string>
#include <string_view>

#include "engine/errors/script_error.h"

namespace maqo::engine::exec_messages {

using engine::cat;

inline Message nonNumeric() { return {u"Non-numeric value is specified", u"数値以外の値が指定された"}; }
inline Message stepZero() { return {u"STEP value is a zero", u"STEP値がゼロである"}; }
inline Message syntaxError(int number) {
  std::u16string text = u"SyntaxError-";
  for (char c : std::to_string(number)) text += static_cast<char16_t>(c);
  return {text, {}};
}
inline Message unknownFunction() { return {u"SyntaxError-25", {}}; }
inline Message cannotAssign() { return {u"Variable can not be assigned a value", u"変数には値を代入できません"}; }
inline Message missingArgument(std::u16string_view lineText) { return {cat(u"SyntaxError:", lineText), {}}; }
inline Message analysis(std::u16string_view what) { return {cat(u"Analysis: ", what), {}}; }

inline Message callsTooDeep(std::u16string_view name) {
  return {cat(u"Function calls are nested too deeply: ", name), cat(u"関数の呼び出しが深すぎます: ", name)};
}
inline Message blocksTooDeep() {
  return {u"Blocks are nested too deeply", u"ブロックの入れ子が深すぎます"};
}

// Parts of the language that later work brings.
inline Message dllUnavailable(std::u16string_view name) {
  return {cat(u"DEF_DLL calls are not available yet: ", name), cat(u"DEF_DLL 関数の呼び出しはまだ使用できません: ", name)};
}
inline Message comUnavailable(std::u16string_view member) {
  return {cat(u"COM objects are not available yet: ", member), cat(u"COM オブジェクトはまだ使用できません: ", member)};
}
inline Message functionAtBuild(std::u16string_view name) {
  return {cat(u"A user function cannot be called in a declaration: ", name),
          cat(u"宣言の中でユーザー関数は呼び出せません: ", name)};
}

}  // namespace maqo::engine::exec_messages
