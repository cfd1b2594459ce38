#include "engine/reader/script_cipher.h"

#include <charconv>
#include <random>
#include <type_traits>

#include "engine/reader/cipher_secrets.h"
#include "engine/reader/reader_messages.h"
#include "engine/reader/reader_text.h"
#include "platform/text_codec.h"

namespace maqo::engine {

using namespace reader_text;

namespace {

// Code units a scrambled line must not contain are written as seven-character placeholders.
struct Placeholder {
  const char* text;
  unsigned code;
};
constexpr Placeholder kPlaceholders[] = {{"_<#00>_", 0}, {"_<#10>_", 10}, {"_<#13>_", 13}, {"_<#26>_", 26}};
constexpr size_t kPlaceholderLength = 7;

// A byte or UTF-16 code unit as an unsigned number.
template <typename Text>
unsigned unitAt(const Text& line, size_t i) {
  return static_cast<std::make_unsigned_t<typename Text::value_type>>(line[i]);
}

// The units of a stored scrambled line, each placeholder read as its code.
template <typename Text>
std::vector<unsigned> scrambledUnits(const Text& line) {
  std::vector<unsigned> units;
  for (size_t i = 0; i < line.size();) {
    bool matched = false;
    if (line[i] == '_' && i + kPlaceholderLength <= line.size()) {
      for (const auto& ph : kPlaceholders) {
        size_t k = 0;
        while (k < kPlaceholderLength && unitAt(line, i + k) == static_cast<unsigned char>(ph.text[k])) ++k;
        if (k == kPlaceholderLength) {
          units.push_back(ph.code);
          i += kPlaceholderLength;
          matched = true;
          break;
        }
      }
    }
    if (!matched) units.push_back(unitAt(line, i++));
  }
  return units;
}

template <typename Text>
uint32_t lowByteSum(const Text& line) {
  uint32_t sum = 0;
  for (auto c : line) sum += static_cast<uint32_t>(c) & 0xFF;
  return sum;
}

// Line 2: the checksum in decimal, for versions 3 to 5 followed by the digit s0.
bool parseHeader(const std::u16string& line, int version, uint32_t& checksum, unsigned& s0) {
  const std::u16string t = TrimScript(line);
  std::string digits;
  for (char16_t c : t) {
    if (c < u'0' || c > u'9') return false;
    digits.push_back(static_cast<char>(c));
  }
  s0 = 0;
  if (version >= 3) {
    if (digits.size() < 2) return false;
    s0 = static_cast<unsigned>(digits.back() - '0');
    digits.pop_back();
  }
  if (digits.empty()) return false;
  uint64_t c = 0;
  auto r = std::from_chars(digits.data(), digits.data() + digits.size(), c);
  if (r.ec != std::errc()) return false;
  checksum = static_cast<uint32_t>(c);
  return true;
}

// The raw byte lines after the header of a byte-format file, split at CR LF.
std::vector<std::string> byteLines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (;;) {
    size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) {
      if (start < bytes.size()) lines.push_back(bytes.substr(start));
      break;
    }
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  if (lines.size() <= 2) return {};
  return std::vector<std::string>(lines.begin() + 2, lines.end());
}

Message withPath(Message m, const std::u16string& path) {
  if (path.empty()) return m;
  m.english += u": " + path;
  if (!m.japanese.empty()) m.japanese += u": " + path;
  return m;
}

DecipherResult failed(Lines& lines, Message m, const std::u16string& path) {
  lines.clear();
  return {DecipherStatus::Failed, withPath(std::move(m), path)};
}

}  // namespace

int CipherVersionOf(const Lines& lines) {
  if (lines.empty()) return 0;
  const std::u16string first = TrimScript(lines[0]);
  const auto& markers = GetCipherSecrets().markers;
  for (size_t v = 0; v < markers.size(); ++v)
    if (first == markers[v]) return static_cast<int>(v) + 1;
  return 0;
}

DecipherResult Decipher(platform::Platform& p, Lines& lines, const std::u16string& path) {
  const CipherSecrets& s = GetCipherSecrets();
  const int version = CipherVersionOf(lines);
  if (version == 0) {
    const std::u16string first = lines.empty() ? std::u16string() : TrimScript(lines[0]);
    if (first.size() == 5 && first.compare(0, 4, u"MQS0") == 0) return failed(lines, s.unknownFormat, path);
    return {};
  }
  uint32_t checksum = 0;
  unsigned s0 = 0;
  if (lines.size() < 2 || !parseHeader(lines[1], version, checksum, s0)) return failed(lines, s.damaged, path);
  lines.erase(lines.begin(), lines.begin() + 2);

  uint32_t j = s0;
  if (version >= 4) {
    uint32_t sum = 0;
    for (const auto& line : lines) sum += lowByteSum(line);
    if (checksum != (sum & 0xFFFF)) return failed(lines, s.damaged, path);
    for (size_t n = 0; n < lines.size(); ++n) {
      const std::vector<unsigned> units = scrambledUnits(lines[n]);
      std::u16string plain;
      plain.reserve(units.size());
      for (size_t k = 0; k < units.size(); ++k) {
        uint32_t c = units[k];
        c = (c - static_cast<uint32_t>((k + n + 1) % 5) - 1) & 0xFFFF;
        c = (c - s.keyTable[j % 32]) & 0xFFFF;
        ++j;
        c ^= (static_cast<uint32_t>(n % 5) + s.mask16) & 0xFFFF;
        plain.push_back(static_cast<char16_t>(c));
      }
      lines[n] = std::move(plain);
    }
    return {DecipherStatus::Deciphered, {}};
  }

  // Versions 1 to 3 scrambled the file's ANSI bytes: read them again as bytes.
  if (path.empty()) return failed(lines, reader_messages::NeedsFile(), path);
  platform::ReadResult raw = ReadFileBytes(p, path);
  if (raw.status != platform::ReadStatus::Ok) return failed(lines, reader_messages::Unreadable(path, raw.error), u"");
  const std::vector<std::string> stored = byteLines(raw.bytes);
  uint32_t sum = 0;
  for (const auto& line : stored) sum += lowByteSum(line);
  if (checksum != (sum & 0xFFFF)) return failed(lines, s.damaged, path);
  lines.clear();
  for (size_t n = 0; n < stored.size(); ++n) {
    const std::vector<unsigned> units = scrambledUnits(stored[n]);
    std::string bytes;
    for (size_t k = 0; k < units.size(); ++k) {
      uint32_t b = units[k];
      b = (b - static_cast<uint32_t>((k + n + 1) % 5) - 1) & 0xFF;
      if (version == 3) {
        b = (b - s.keyTable[j % 32]) & 0xFF;
        ++j;
      }
      if (version >= 2) b ^= (static_cast<uint32_t>(n % 5) + s.mask8) & 0xFF;
      bytes.push_back(static_cast<char>(b));
    }
    lines.push_back(p.locale.decodeAnsi(bytes));
  }
  return {DecipherStatus::Deciphered, {}};
}

std::u16string BackupPathOf(const std::u16string& path) {
  const size_t slash = path.find_last_of(u"\\/");
  const size_t dot = path.rfind(u'.');
  const bool hasExtension = dot != std::u16string::npos && (slash == std::u16string::npos || dot > slash);
  return (hasExtension ? path.substr(0, dot) : path) + u".ORG";
}

Message Encipher(platform::Platform& p, Lines& lines, const std::u16string& source, const std::u16string& output,
                 std::optional<uint32_t> seed) {
  const CipherSecrets& s = GetCipherSecrets();
  if (CipherVersionOf(lines) != 0) return {};
  // The plain source is kept whenever there is one, so enciphering a file onto
  // itself never loses the only readable copy.
  if (!source.empty() && p.files.fileExists(source)) {
    const std::u16string backup = BackupPathOf(source);
    const std::u16string error = p.files.copyFile(source, backup);
    if (!error.empty()) return reader_messages::BackupFailed(backup, error);
  }

  std::mt19937 rng(seed ? *seed : static_cast<uint32_t>(p.clock.monotonicMs()) ^ std::random_device{}());
  const uint32_t s0 = rng() % 9;
  uint32_t j = s0;
  uint32_t sum = 0;
  bool textBlock = false;
  for (size_t n = 0; n < lines.size(); ++n) {
    std::u16string line = lines[n];
    const std::u16string first = FirstWord(TrimScript(WideSpacesToSpaces(TrimScript(StripComment(line)))));
    const bool opens = !textBlock && first == u"TEXTBLOCK";
    if (textBlock && first == u"ENDTEXTBLOCK") textBlock = false;
    if (opens) textBlock = true;
    if (!opens && !textBlock) {
      // TEXTBLOCK lines and bodies stay as written; everything else loses its comments.
      const std::u16string trimmed = TrimScript(line);
      if (trimmed.size() >= 2 && trimmed.compare(0, 2, u"//") == 0) {
        const std::u16string upper = asciiUpper(trimmed);
        static const char16_t* kDirectives[] = {u"_EXEVERSION", u"_FILEDESCRIPTION", u"_PRODUCTNAME",
                                                u"_LEGALCOPYRIGHT"};
        bool directive = false;
        for (const char16_t* d : kDirectives) directive |= upper.find(d) != std::u16string::npos;
        if (!directive) {
          line = u"//";
          const uint32_t letters = 1 + rng() % 8;
          for (uint32_t k = 0; k < letters; ++k) line.push_back(static_cast<char16_t>(u'A' + rng() % 25));
        }
      } else {
        line = StripComment(line);
      }
      line = TrimScript(WideSpacesToSpaces(line));
    }
    std::u16string scrambled;
    for (size_t k = 0; k < line.size(); ++k) {
      const uint32_t position = static_cast<uint32_t>(k + 1);
      const uint32_t h = (line[k] ^ (static_cast<uint32_t>(n % 5) + s.mask16)) & 0xFFFF;
      const uint32_t m = (s.keyTable[j % 32] + h) & 0xFFFF;
      ++j;
      const uint32_t o = (static_cast<uint32_t>((position + n) % 5) + 1 + m) & 0xFFFF;
      bool placed = false;
      for (const auto& ph : kPlaceholders) {
        if (o != ph.code) continue;
        scrambled += u16(ph.text);
        placed = true;
      }
      if (!placed) scrambled.push_back(static_cast<char16_t>(o));
    }
    sum += lowByteSum(scrambled);
    lines[n] = std::move(scrambled);
  }
  char buf[16];
  auto end = std::to_chars(buf, buf + sizeof buf, sum & 0xFFFF).ptr;
  std::u16string header = u16(std::string_view(buf, static_cast<size_t>(end - buf)));
  header.push_back(static_cast<char16_t>(u'0' + s0));
  lines.insert(lines.begin(), {s.markers[4], header});
  return {};
}

}  // namespace maqo::engine
