// Upper and lower case of text as Windows maps it (the system's case table),
// kept as a table so both builds agree: every BMP letter with a one-to-one case
// pair. This is the one "upper case" of the language: name tables, hash-table
// keys, case-insensitive comparisons and searches, and the string builtins
// all fold with it. (The source reader and window titles use the ASCII-only
// rule instead: asciiUpper in text_codec.h.)
#pragma once
#include <string>
#include <string_view>

namespace maqo::platform {

char16_t upperCaseLetter(char16_t c);
char16_t lowerCaseLetter(char16_t c);
std::u16string upperCaseText(std::u16string_view text);

}  // namespace maqo::platform
