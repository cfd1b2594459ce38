// The messages of DEF_DLL calls, in both languages.
#pragma once
#include <string>
#include <string_view>

#include "engine/errors/script_error.h"

namespace maqo::com::dll::messages {

using engine::cat;
using engine::Message;

// An unknown parameter type at call time.
inline Message unknownType() { return {u"Error", {}}; }
inline Message unclosedStructure() { return {u"SyntaxError-60", u"{構造体}が正しく閉じていません"}; }
inline Message missingLibrary() { return {u"SyntaxError-61", {}}; }
inline Message notLoadable(std::u16string_view file) { return {cat(u"Not DLL: ", file), {}}; }
inline Message notExported(std::u16string_view name) { return {cat(u"Not DLL Function: ", name), {}}; }
inline Message badReturnType() {
  return {u"Definition of the return value of DLL is wrong", u"DLLの戻り値の定義が間違っています"};
}
inline Message wrongArgumentType() {
  return {u"DLL:Does not fit the type of the argument", u"DLL:引数の型が合いません"};
}
inline Message structureTooLarge() {
  return {u"size of structure is up to 2048byte", u"構造体の大きさは2048バイトまでです"};
}
inline Message tooManyArguments() {
  return {u"DLL:Too many arguments (at most 40)", u"DLL:引数が多すぎます (40個まで)"};
}
inline Message tooManyStructures() {
  return {u"DLL:Too many structures (at most 8)", u"DLL:構造体が多すぎます (8個まで)"};
}
inline Message tooManyReferences() {
  return {u"DLL:Too many VAR or array arguments of one type (at most 20)",
          u"DLL:同じ型の VAR・配列の引数が多すぎます (20個まで)"};
}
inline Message tooManyLibraries() {
  return {u"DLL:Too many DLLs are loaded (at most 64)", u"DLL:読み込んだ DLL が多すぎます (64個まで)"};
}
inline Message needsWindows(std::u16string_view name) {
  return {cat(u"DEF_DLL calls need Windows: ", name), cat(u"DEF_DLL 関数の呼び出しには Windows が必要です: ", name)};
}

}  // namespace maqo::com::dll::messages
