// Conversions between the engine's UTF-16 text and the byte encodings found at
// the edges (UTF-8 files and consoles, paths on POSIX). Pure code: no locale,
// no operating system, identical in both builds.
#pragma once
#include <string>
#include <string_view>

namespace maqo {

// UTF-8 to UTF-16. Invalid sequences become U+FFFD each, so any bytes give text.
std::u16string utf8ToUtf16(std::string_view bytes);
// UTF-16 to UTF-8. A lone surrogate becomes U+FFFD.
std::string utf16ToUtf8(std::u16string_view text);

// True when the bytes are well-formed UTF-8 (no overlongs, no surrogates, at most U+10FFFF).
bool isValidUtf8(std::string_view bytes);
// True when the bytes are well-formed UTF-8 and contain at least one multi-byte sequence.
bool isUtf8WithMultibyte(std::string_view bytes);

// Short form for literals and messages in code.
inline std::u16string u16(std::string_view ascii) { return utf8ToUtf16(ascii); }

// Upper-cases the ASCII letters a to z only; every other code unit stays.
std::u16string asciiUpper(std::u16string_view text);
char16_t asciiUpper(char16_t c);

// A path with every "/" turned into "\" (scripts may write either separator).
std::u16string withBackslashes(std::u16string_view path);

}  // namespace maqo
