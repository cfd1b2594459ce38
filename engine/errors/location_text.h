// Where an error happened, as the user reads it: the file, the line number in
// that file and the line's source text. Also the text of TRY_ERRLINE.
#pragma once
#include <string>
#include <string_view>

#include "engine/builder/program.h"

namespace maqo::engine {

// The file whose lines hold the function with the given header line: the
// CALLed file's path as the reader wrote it into the header it generated
// ("PROCEDURE <path>.MQS()"), or empty for the main script. With bareName only
// the file name is kept (a script embedded in the executable has no folder to show).
std::u16string ScriptFileOfFunction(const Program& program, int headerLine, bool bareName);

// The location text of a program line that runs in the function with the
// given header line: "FILE: " (absent for the main script) followed by
// "n行目: text" in Japanese or "at line n: text" in English, with n the line's
// number in its own file and text its source text. The escaped forms
// "<#_DBL>", "<#_CR>", "<#_TAB>" are shown as written ("<#DBL>" ...).
std::u16string LocationText(const Program& program, int headerLine, int line, bool japanese, bool bareFileName = false);

// The location form itself, from its parts.
std::u16string FormatLocation(std::u16string_view file, int number, std::u16string_view text, bool japanese);

}  // namespace maqo::engine
