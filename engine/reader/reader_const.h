// The reader's own constant-expression evaluator, used for CALL paths and the
// values of CONST lines met while reading. It knows strings, numbers, "+",
// parentheses, the folder names GET_WIN_DIR, GET_SYS_DIR, GET_CUR_DIR,
// GET_MAQO_DIR, GET_APPDATA_DIR and the CONST names read so far.
#pragma once
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace maqo::engine {

// A CONST value as the reader recorded it.
struct ReaderConstValue {
  std::u16string text;
  bool isString = true;
};
using ReaderConstTable = std::map<std::u16string, ReaderConstValue>;

enum class ReaderFolder { Windows, System, Current, Executable, AppData };
// The path of a folder, or an empty text when this system has no such folder.
using ReaderFolderLookup = std::function<std::u16string(ReaderFolder)>;
// The folders of the running system: the platform's current and executable
// folders, and the Windows folders from platform::specialFolderPath.
ReaderFolderLookup PlatformReaderFolders(platform::Platform& p);

struct ReaderConstResult {
  std::u16string value;  // the input text unchanged when failed
  bool failed = false;
  bool isString = false;
  std::u16string problem;  // what failed, for messages (e.g. an unknown name)
};

ReaderConstResult EvalReaderConst(std::u16string_view text, const ReaderConstTable& consts,
                                  const ReaderFolderLookup& folders);

// The engine's rule for numeric text as far as the reader needs it: a decimal
// number with optional fraction and exponent, or "$" and hexadecimal digits.
bool ParseReaderNumber(std::u16string_view text, double& value);

}  // namespace maqo::engine
