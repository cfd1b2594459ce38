// Reading text files the way every reader of text files in the system does:
// the encoding is detected from the bytes, the text is split into lines, and a
// file that exists but is held by another process is retried for a while.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace maqo::engine {

using Lines = std::vector<std::u16string>;

// Encoding codes shared by every reader and writer of text files. The detected
// code goes back to the caller so a file can be written back as it was read.
enum class TextEncoding : int {
  AnsiAuto = 4,   // the ANSI code page (writers may switch to Unicode when needed)
  Ansi = 8,       // the ANSI code page, always
  Utf8 = 16,      // UTF-8 without a mark
  Utf8Bom = 32,   // UTF-8 with the mark EF BB BF
  Utf16Le = 64,   // UTF-16 little endian with the mark FF FE
};

struct DecodedText {
  std::u16string text;
  TextEncoding encoding = TextEncoding::AnsiAuto;
};

// Detects the encoding of a file's bytes and decodes them: a UTF-16 LE or UTF-8
// mark, else UTF-8 when the bytes are valid UTF-8 with a multi-byte sequence,
// else the ANSI code page of locale.
DecodedText DecodeTextBytes(std::string_view bytes, platform::Locale& locale);

// Splits at CR LF, CR and LF. A line break at the very end does not start
// another line, so "a\r\n" is one line and an empty text is no line.
Lines SplitTextLines(std::u16string_view text);

// How many times a file that exists but cannot be read is tried, and the pause between tries.
constexpr int kReadAttempts = 10;
constexpr int kReadRetryPauseMs = 80;

// Reads a whole file's bytes, opened without denying other processes any access.
// A file that exists but cannot be read is tried kReadAttempts times with a
// pause that keeps window messages flowing; a failure that says "out of memory"
// is shown as "File: Out Of Memory" and not retried.
platform::ReadResult ReadFileBytes(platform::Platform& p, const std::u16string& path);

struct TextReadResult {
  platform::ReadStatus status = platform::ReadStatus::Failed;
  TextEncoding encoding = TextEncoding::AnsiAuto;
  std::u16string error;  // the system's description when status is Failed
  bool ok() const { return status == platform::ReadStatus::Ok; }
};

// Reads, decodes and splits a text file into lines. lines is replaced only on
// success; a missing or unreadable file leaves it as it was.
TextReadResult ReadTextFile(platform::Platform& p, const std::u16string& path, Lines& lines);

}  // namespace maqo::engine
