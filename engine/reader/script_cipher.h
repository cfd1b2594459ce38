// The enciphered script format. Line 1 is a version marker, line 2 the
// checksum (and for versions 3 to 5 one digit, the start index into the key
// table), and every further line one scrambled source line. Versions 1 to 3
// scramble the ANSI bytes of the file, versions 4 and 5 the UTF-16 text; this
// system writes version 5 and reads all five.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "engine/errors/script_error.h"
#include "engine/reader/text_file.h"
#include "platform/platform.h"

namespace maqo::engine {

enum class DecipherStatus {
  Plain,       // not enciphered; the lines are left alone
  Deciphered,  // the lines now hold the plain script
  Failed,      // damaged or of an unknown version; the lines are emptied
};

struct DecipherResult {
  DecipherStatus status = DecipherStatus::Plain;
  Message error;  // when Failed; names the file when a path was given
  bool ok() const { return status != DecipherStatus::Failed; }
};

// The format version (1 to 5) whose marker is the trimmed first line, or 0.
int CipherVersionOf(const Lines& lines);

// Deciphers lines in place when they are in the enciphered format. path is the
// file they were read from: versions 1 to 3 are read from it again as bytes;
// it may be empty for text that did not come from a file (versions 4 and 5 only).
DecipherResult Decipher(platform::Platform& p, Lines& lines, const std::u16string& path);

// Turns plain script lines into version 5 in place (comments reduced, lines
// trimmed). Before that, when source names an existing file, a copy of it is
// kept beside it with the extension ".ORG", also when output is the same file.
// Lines that are already enciphered are left alone. Returns an empty message on
// success; when the copy cannot be made nothing is enciphered. The caller
// writes the lines as UTF-16. seed fixes the random choices (tests); without
// it they are seeded from the clock.
Message Encipher(platform::Platform& p, Lines& lines, const std::u16string& source, const std::u16string& output,
                 std::optional<uint32_t> seed = std::nullopt);

// The path with its extension replaced by ".ORG" (or ".ORG" appended).
std::u16string BackupPathOf(const std::u16string& path);

}  // namespace maqo::engine
