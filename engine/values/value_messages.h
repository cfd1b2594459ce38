// The messages of variable access and declarations, in both languages.
#pragma once
#include <string>
#include <string_view>

#include "engine/errors/script_error.h"

namespace maqo::engine::value_messages {

using engine::cat;

inline Message dimensionOfArray(std::u16string_view detail) {
  return {cat(u"Dimension of array:", detail), {}};
}
inline Message exceededArray(std::u16string_view name) {
  return {cat(u"It exceeded array: ", name), cat(u"変数: ", name, u" 配列をオーバーしてます")};
}
inline Message dimensionMismatch(std::u16string_view name) {
  return {cat(u"Does not match the number of dimensions: ", name), cat(u"変数: ", name, u" 次元数が合いません")};
}
inline Message getValueFailure(std::u16string_view detail) { return {cat(u"GetValue:", detail), {}}; }
inline Message putValueFailure(std::u16string_view detail) { return {cat(u"PutValue:", detail), {}}; }
inline Message notDefined(std::u16string_view name) {
  return {cat(u"It isn't defined: ", name), cat(u"変数: ", name, u" が定義されていません")};
}
inline Message arrayArgumentNotDefined(std::u16string_view reference) {
  return {cat(u"It isn't defined: ", reference), cat(reference, u" : 未登録の変数")};
}
inline Message initialiserExceeded() { return {u"It exceeded array", u"設定値の数が配列をオーバーしてます"}; }
inline Message invalidHashWrite(std::u16string_view name) {
  return {cat(u"Invalid writing in HASHTBL: ", name), cat(u"HASHTBLへの無効な書き込み: ", name)};
}
inline Message arrayWithoutDeclaration(std::u16string_view reference) {
  return {cat(reference, u": Array without declaration"), cat(reference, u"：宣言のない配列です")};
}
inline Message outsideRange(std::u16string_view name) {
  return {cat(name, u": It is outside the range"), cat(name, u"：範囲外です")};
}
inline Message specifiedWrong(std::u16string_view name) {
  return {cat(name, u": Specified is wrong"), cat(name, u"：指定が間違っています")};
}
inline Message reservedWord(std::u16string_view name) {
  return {cat(u"Is a reserved word: ", name), cat(name, u" は予約語です")};
}
// "Already defined" has four Japanese forms, by what was defined before.
inline Message alreadyDefinedVariable(std::u16string_view name) {
  return {cat(u"It has already been defined: ", name), cat(u"変数: ", name, u" は既に定義されています")};
}
inline Message alreadyDefinedGlobal(std::u16string_view name) {
  return {cat(u"It has already been defined: ", name), cat(u"グローバル変数: ", name, u" は既に定義されています")};
}
inline Message alreadyDefinedGlobalDimensions(std::u16string_view name) {
  return {cat(u"It has already been defined: ", name),
          cat(u"グローバル変数: ", name, u" は既に定義されています(次元数が違う)")};
}
inline Message alreadyDefinedName(std::u16string_view name) {
  return {cat(u"It has already been defined: ", name), cat(name, u" は既に定義されています")};
}
inline Message wrongArrayIndex(std::u16string_view reference) {
  return {cat(u"Index of the array is wrong:", reference), cat(u"配列のインデックスが間違っています:", reference)};
}
inline Message wrongVariableName(std::u16string_view reference) {
  return {cat(u"variable name which is not right: ", reference), cat(u"正しくない変数名です: ", reference)};
}
inline Message multiplexDefinition(std::u16string_view name) {
  return {cat(u"It is multiplex definition: ", name), cat(name, u": 多重定義です")};
}
inline Message arrayTooLarge(std::u16string_view name) {
  return {cat(u"Array is too large: ", name), cat(u"変数: ", name, u" 配列が大きすぎます")};
}
inline Message syntaxError(int number) {
  std::u16string text = u"SyntaxError-";
  for (char c : std::to_string(number)) text += static_cast<char16_t>(c);
  return {text, {}};
}

}  // namespace maqo::engine::value_messages
