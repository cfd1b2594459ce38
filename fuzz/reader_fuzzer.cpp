// Fuzzes the source reader: the input is the main script file's bytes. It is
// read (encoding, deciphering, comments, continuations, case, CALLs of the
// files beside it) from a file system in memory, and enciphered and
// deciphered again. Any input must give normalised lines or a read error.
#include <cstdint>
#include <string>

#include "engine/reader/script_cipher.h"
#include "engine/reader/script_reader.h"
#include "fuzz/fuzz_input.h"
#include "fuzz/memory_files.h"
#include "platform/text_codec.h"

namespace maqo::fuzz {
namespace {

using engine::Lines;

std::string utf16File(const std::u16string& text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

std::u16string joined(const Lines& lines) {
  std::u16string text;
  for (const auto& line : lines) text += line + u"\r\n";
  return text;
}

struct ReaderWorld {
  InstantClock clock;
  MemoryFiles files;
  QuietUi ui;
  platform::Platform platform{clock, files, platform::consolePlatform().locale, ui};

  // Files a fuzzed script can CALL: plain, UTF-16, enciphered, one that
  // CALLs back, and one whose folder has parentheses.
  ReaderWorld() {
    files.put(u"/FUZZ/SUB.MQS",
              "PRINT \"sub\"\r\nCONST C = \"LIB\\\"\r\nCALL LIB\\LOOP\r\nFUNCTION F(A)\r\n  RESULT = A\r\nFEND\r\n"
              "MODULE M\r\n  DIM X = 1\r\nENDMODULE\r\n");
    files.put(u"/FUZZ/LIB/LOOP.MQS", "CALL ..\\SUB.MQS; CALL .\\LOOP\r\nTEXTBLOCK T\r\n // kept\r\nENDTEXTBLOCK\r\n");
    files.put(u"/FUZZ/LIB/WIDE.MQS", utf16File(u"PRINT \"\u3042\" // wide\r\nA = 1 + _\r\n2\r\n"));
    Lines enciphered = {u"PROCEDURE P()", u"  PRINT \"enc\"", u"FEND"};
    engine::Encipher(platform, enciphered, u"", u"", 7);
    files.put(u"/FUZZ/LIB/ENC.MQS", utf16File(joined(enciphered)));
    files.put(u"/FUZZ/X (86)/PAR.MQS", "CLASS K\r\nENDCLASS\r\n");
    files.keep();
  }
};

ReaderWorld& world() {
  static ReaderWorld w;
  return w;
}

void checkRead(ReaderWorld& w, const std::u16string& path) {
  engine::TReadMqsFile reader(w.platform);
  Lines lines;
  reader.creUscrptFil(lines, path);
  if (!reader.ReadError.empty()) {
    // The reader turns exceptions into messages; one from a fault in the
    // reader itself is a finding all the same.
    if (StartsWith(reader.ReadError, u"creUscrptFil:") && reader.ReadError.find(u"bad_alloc") == std::u16string::npos)
      Finding("an exception escaped inside the reader", reader.ReadError);
    if (!lines.empty()) Finding("a failed read left lines to run");
    return;
  }
  if (lines.empty() || lines[0] != u"PROCEDURE __MAIN__()")
    Finding("the main part is not wrapped as __MAIN__", lines.empty() ? u"" : lines[0]);

  // Nothing changed since: the same lines again, and no change reported.
  Lines again;
  const bool changed = reader.creUscrptFil(again, path);
  if (!reader.ReadError.empty()) Finding("a second read of unchanged files failed", reader.ReadError);
  if (changed) Finding("a second read of unchanged files reports a change");
  if (again != lines) Finding("a second read of unchanged files gives other lines");
}

// Enciphering and deciphering gives every line back, and a line with nothing
// to reduce (no comment, tab or full-width space, nothing to trim) as it was.
void checkCipherRoundTrip(ReaderWorld& w, const Lines& plain) {
  if (plain.empty() || engine::CipherVersionOf(plain) != 0) return;
  Lines lines = plain;
  const engine::Message error = engine::Encipher(w.platform, lines, u"", u"", 11);
  if (!error.english.empty()) Finding("enciphering without files failed", error.english);
  const engine::DecipherResult r = engine::Decipher(w.platform, lines, u"");
  if (r.status != engine::DecipherStatus::Deciphered) Finding("an enciphered script does not decipher", r.error.english);
  if (lines.size() != plain.size()) Finding("enciphering changed the number of lines");
  for (size_t i = 0; i < plain.size(); ++i) {
    const std::u16string& line = plain[i];
    const bool reducible = line.find_first_of(u"/\t\u3000") != std::u16string::npos ||
                           (!line.empty() && (line.front() <= u' ' || line.back() <= u' '));
    if (!reducible && lines[i] != line) Finding("enciphering changed a line it had nothing to reduce in", line);
  }
}

}  // namespace
}  // namespace maqo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace maqo::fuzz;
  ReaderWorld& w = world();
  w.files.restore();
  w.ui.clear();
  const std::u16string path = w.files.put(u"/FUZZ/MAIN.MQS", std::string(reinterpret_cast<const char*>(data), size));
  checkRead(w, path);
  // The host's own text (no file) goes through the same steps.
  const maqo::engine::Lines plain = maqo::engine::SplitTextLines(DecodeInput(data, size, w.platform.locale));
  {
    maqo::engine::TReadMqsFile reader(w.platform);
    maqo::engine::Lines lines = plain;
    reader.creUscrptFil(lines, u"/FUZZ/RECORDED.MQS");
    if (StartsWith(reader.ReadError, u"creUscrptFil:") && reader.ReadError.find(u"bad_alloc") == std::u16string::npos)
      Finding("an exception escaped inside the reader", reader.ReadError);
  }
  checkCipherRoundTrip(w, plain);
  return 0;
}
