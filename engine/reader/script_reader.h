// The script source reader: turns a script file and every file it CALLs into
// one flat list of normalised lines for the program builder. The main part of
// the script becomes the procedure "__MAIN__", each CALLed file a procedure
// named after its path, appended at the end; CALL lines are rewritten into
// calls of those procedures.
#pragma once
#include <string>
#include <string_view>

#include "engine/errors/script_error.h"
#include "engine/reader/reader_const.h"
#include "engine/reader/script_cipher.h"
#include "engine/reader/script_stamps.h"
#include "engine/reader/text_file.h"
#include "platform/platform.h"

namespace maqo::engine {

class TReadMqsFile {
 public:
  explicit TReadMqsFile(platform::Platform& platform);

  // Reads the script at path (and what it CALLs) into lines. When path names
  // no existing file, the text already in lines (the host's recording) is
  // processed instead. Returns true when a file of the script changed since the
  // last successful read (always after a failed one, and for text that did not
  // come from a file). On failure ReadError holds the message, lines are
  // emptied and must not be run, and ScriptTimestamps is cleared.
  bool creUscrptFil(Lines& lines, const std::u16string& path);

  // The building blocks, with this reader's platform and constants.
  TextReadResult ReadTextFile(const std::u16string& path, Lines& lines);
  DecipherResult Decipher(Lines& lines, const std::u16string& path);
  Message Encipher(Lines& lines, const std::u16string& source, const std::u16string& output);
  ReaderConstResult EvalReaderConst(std::u16string_view text) const;

  // CONST names met during the last read and their values (for CALL paths).
  ReaderConstTable ReaderConsts;
  // Empty, or the message of the last read's failure in the system's language.
  std::u16string ReadError;
  // The stamps of the files of the last successful read.
  ScriptStamps ScriptTimestamps;
  // Where GET_WIN_DIR and the other folder names point; the system's folders
  // unless a test sets other ones.
  ReaderFolderLookup Folders;

 private:
  friend class MqsReadPass;
  platform::Platform& platform_;
};

}  // namespace maqo::engine
