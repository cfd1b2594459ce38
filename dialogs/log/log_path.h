// Where the log file goes: the value of OPTION LOGPATH or of the LogPath
// setting turned into a file path.
#pragma once
#include <functional>
#include <string>
#include <string_view>

#include "engine/reader/reader_const.h"

namespace maqo::dialogs {

// The default log file name for a program: its name with ".LOG", upper case
// ("MAQO.LOG").
std::u16string LogFileNameFor(std::u16string_view programName);

// Resolves a log path value: one pair of surrounding double quotes is
// removed; a value naming "GET_" is evaluated by the reader's constant
// evaluator, which knows only the GET_ folder names, quoted text, numbers
// and "+" (a settings value must never run script code); a value ending in
// "\" or "/" gets fileName appended; an existing folder gets "\" + fileName;
// anything else is the file itself. Empty when the value is empty or its
// evaluation fails.
std::u16string ResolveLogPath(std::u16string_view value, std::u16string_view fileName,
                              const engine::ReaderFolderLookup& folders,
                              const std::function<bool(const std::u16string&)>& isFolder);

}  // namespace maqo::dialogs
