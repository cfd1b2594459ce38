// The messages of the source reader, in English and Japanese.
#pragma once
#include <string>

#include "engine/errors/script_error.h"

namespace maqo::engine::reader_messages {

inline Message FendMisplaced() { return {u"Position of the FEND sentence is strange", u"FEND文の位置がおかしい"}; }

inline Message CallSyntax(const std::u16string& target) {
  return {u"Syntax Error: CALL " + target, u""};
}

inline Message FileNotFound(const std::u16string& path) { return {u"FILE Not Found :" + path, u""}; }

inline Message Unreadable(const std::u16string& path, const std::u16string& reason) {
  return {u"Cannot read the file " + path + u" (" + reason + u")",
          u"ファイルを読み込めません: " + path + u"（" + reason + u"）"};
}

inline Message Exception(const std::u16string& what) { return {u"creUscrptFil:" + what, u""}; }

inline Message BackupFailed(const std::u16string& backup, const std::u16string& reason) {
  return {u"Cannot keep the plain script as " + backup + u" (" + reason + u"); nothing was enciphered",
          u"元のスクリプトを " + backup + u" に残せないため、暗号化しませんでした（" + reason + u"）"};
}

inline Message NeedsFile() {
  return {u"This enciphered script can only be read from its file",
          u"この暗号化スクリプトはファイルからしか読めません"};
}

}  // namespace maqo::engine::reader_messages
