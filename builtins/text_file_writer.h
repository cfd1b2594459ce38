// Writing text files in the encoding codes every reader and writer of text
// files shares (4 automatic ANSI, 8 ANSI, 16 UTF-8, 32 UTF-8 with mark, 64
// UTF-16 LE with mark). Used by FCLOSE, the INI routines and the host's log,
// page and settings writers. A file is always replaced whole through a
// temporary file beside it, so a crash never leaves it half-written.
#pragma once
#include <string>
#include <string_view>

#include "engine/reader/text_file.h"
#include "platform/platform.h"

namespace maqo::builtins {

using engine::Lines;
using engine::TextEncoding;

// How lines are separated in a file: the break after each line and whether the
// last line has one. Files written fresh use CR LF after every line; a file read
// and written back keeps what it had, so it comes back byte for byte.
struct LineLayout {
  std::u16string lineBreak = u"\r\n";
  bool finalBreak = true;
};

// The layout of a decoded text: its first line break (CR LF, LF or CR; CR LF
// when it has none) and whether the text ends with a break. An empty text has
// the default layout.
LineLayout DetectLineLayout(std::u16string_view text);

// A text file as read: its lines, detected encoding and layout.
struct TextFileContent {
  Lines lines;
  TextEncoding encoding = TextEncoding::AnsiAuto;
  LineLayout layout;
};

// Decodes bytes read from a file (encoding detection as every reader does it).
TextFileContent DecodeTextFile(std::string_view bytes, platform::Locale& locale);

// Reads a file with ReadFileBytes (retries included). The status tells a
// missing file (NotFound) from one that exists but cannot be read (Failed).
platform::ReadStatus ReadTextFileContent(platform::Platform& p, const std::u16string& path, TextFileContent& out,
                                         std::u16string* error = nullptr);

// The encoding an automatic-ANSI (4) write uses for this text: ANSI when the
// text survives conversion to the ANSI code page and back (on a Japanese system
// a YEN SIGN counts as "\" for this test), else UTF-8 without mark. Other codes
// are returned as they are.
TextEncoding SettleEncoding(std::u16string_view text, TextEncoding encoding, platform::Locale& locale);

// The bytes of a text file: the lines joined by the layout's break (the last
// one without a break when noFinalBreak or the layout says so), in the
// encoding, with its mark.
std::string EncodeTextFile(const Lines& lines, TextEncoding encoding, platform::Locale& locale, bool noFinalBreak,
                           const LineLayout& layout = {});

// How often a write is tried and the pause between tries.
constexpr int kWriteAttempts = 10;
constexpr int kWriteRetryPauseMs = 80;

// Writes lines to path in the encoding (4 decides per text, see SettleEncoding);
// noFinalBreak leaves the last line without its break. The file is replaced
// through a temporary file beside it; a failed attempt is retried up to
// kWriteAttempts times with a pause that keeps window messages flowing. True
// when an attempt succeeded; false (with the system's description in error)
// otherwise.
bool WriteTextFile(platform::Platform& p, const std::u16string& path, const Lines& lines, TextEncoding encoding,
                   bool noFinalBreak = false, const LineLayout& layout = {}, std::u16string* error = nullptr);

}  // namespace maqo::builtins
