// The messages of the file and INI builtins, in both languages.
#pragma once
#include <string>
#include <string_view>

#include "builtins/builtin_messages.h"
#include "engine/errors/script_error.h"
#include "engine/values/number_text.h"

namespace maqo::builtins::file_messages {

using messages::cat;

inline engine::ScriptError tooManyFileSlots(int slots) {
  const std::u16string n = engine::formatInteger(slots);
  return {cat(u"Error: It exceeded maximum FILE_OEPN number =", n), cat(u"Error: 最大FILE_OEPN数=", n, u" を超えました")};
}
inline engine::ScriptError wrongOpenMode() {
  return {u"Error of the file open mode", u"ファイルオープンモードの間違い", false};
}
inline engine::ScriptError badFileId() {
  return {u"File can't open or File ID is wrong", u"ファイルがオープン出来てない、もしくはファイルIDが違う"};
}
inline engine::ScriptError readOnlySlot(std::u16string_view name) {
  return {cat(u"It can't be written= ", name), cat(u"書き込む事は出来ません= ", name)};
}
// FCLOSE could not write the file: the question whether to abort starts with it.
inline engine::Message cannotWrite(std::u16string_view name) {
  return {cat(name, u"：Can't be written in"), cat(name, u"：Can't be written in")};
}
inline engine::ScriptError tooManyArguments() {
  return {u"Too many argument", u"引数の数が多すぎます", false};
}
// FPUT with F_INSERT beyond the end.
inline engine::ScriptError insertOutOfRange(int64_t line) {
  const std::u16string n = engine::formatInteger(line);
  return messages::callFailure(cat(u"List index out of bounds (", n, u")"), cat(u"リストのインデックスが範囲を超えています (", n, u")"));
}
// FPUT at a line or column so far beyond the end that padding up to it would
// only fill memory.
inline engine::ScriptError positionTooLarge(int64_t position) {
  const std::u16string n = engine::formatInteger(position);
  return messages::callFailure(cat(u"FPUT: the position is too large: ", n), cat(u"FPUT: 位置が大きすぎます: ", n));
}
inline engine::ScriptError dropPointTooLarge() { return {u"SyntaxError-10", {}, false}; }
// DROPFILE: the shell could not parse the folder or a file name.
inline engine::ScriptError dropNamesNotParsed(std::u16string_view error) {
  return messages::callFailure(error, error);
}
// DROPFILE: bringing the window forward, moving the cursor or the drag failed.
inline engine::ScriptError dropFailed(std::u16string_view error) {
  return {cat(u"DropFile:", error), cat(u"DropFile:", error)};
}

}  // namespace maqo::builtins::file_messages
