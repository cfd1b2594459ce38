#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/posix/posix_platform.h"
#include "platform/text_codec.h"

namespace maqo::platform {

namespace {

std::string iconvName(unsigned codePage) { return "CP" + std::to_string(codePage); }

bool doubleByte(unsigned codePage) { return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950; }

// What Windows puts for a byte sequence the code page does not define: the
// double-byte pages give the katakana middle dot, the single-byte pages map the
// few undefined bytes to the control character of the same number.
char16_t undefinedReplacement(unsigned codePage, unsigned char byte) {
  return doubleByte(codePage) ? u'\u30FB' : static_cast<char16_t>(byte);
}

// Letters of the Latin scripts folded to lower case for the first pass of the
// text comparison (A-Z and the Latin-1 capitals).
char16_t foldedLetter(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 32);
  return c;
}

// The ANSI and OEM pages whose bytes 0x00-0x7F are ASCII: plain ASCII text
// converts without asking iconv (which costs a converter per call).
bool asciiCompatible(unsigned codePage) {
  return (codePage >= 1250 && codePage <= 1258) || doubleByte(codePage) || codePage == 874 || codePage == 437 ||
         codePage == 850 || codePage == 852 || codePage == 866;
}

}  // namespace

PosixLocale::PosixLocale() : acp_(1252) {
  if (const char* cp = getenv("MAQO_CODEPAGE"); cp && *cp) {
    acp_ = static_cast<unsigned>(strtoul(cp, nullptr, 10));
    if (acp_ == 0) acp_ = 1252;
    return;
  }
  const char* lang = getenv("LC_ALL");
  if (!lang || !*lang) lang = getenv("LANG");
  if (lang && strncmp(lang, "ja", 2) == 0) acp_ = 932;
}

std::u16string PosixLocale::decode(unsigned codePage, std::string_view bytes) {
  std::u16string out;
  if (bytes.empty()) return out;
  if (asciiCompatible(codePage) &&
      std::all_of(bytes.begin(), bytes.end(), [](char b) { return static_cast<unsigned char>(b) < 0x80; }))
    return std::u16string(bytes.begin(), bytes.end());
  iconv_t cd = iconv_open("UTF-16LE", iconvName(codePage).c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return utf8ToUtf16(bytes);
  out.reserve(bytes.size());
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size();
  std::string buffer(4096, '\0');
  while (inLeft > 0) {
    char* outp = buffer.data();
    size_t outLeft = buffer.size();
    size_t r = iconv(cd, &in, &inLeft, &outp, &outLeft);
    size_t produced = buffer.size() - outLeft;
    for (size_t i = 0; i + 1 < produced; i += 2)
      out.push_back(static_cast<char16_t>(static_cast<unsigned char>(buffer[i]) |
                                          (static_cast<unsigned char>(buffer[i + 1]) << 8)));
    if (r == static_cast<size_t>(-1) && (errno == EILSEQ || errno == EINVAL)) {
      const unsigned char bad = static_cast<unsigned char>(*in);
      out.push_back(undefinedReplacement(codePage, bad));
      // A broken double-byte pair consumes its lead byte only, as Windows does.
      ++in;
      --inLeft;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(cd);
  return out;
}

std::string PosixLocale::encode(unsigned codePage, std::u16string_view text, bool* lossy) {
  if (lossy) *lossy = false;
  std::string out;
  if (text.empty()) return out;
  if (asciiCompatible(codePage) && std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x80; }))
    return std::string(text.begin(), text.end());
  iconv_t cd = iconv_open(iconvName(codePage).c_str(), "UTF-16LE");
  if (cd == reinterpret_cast<iconv_t>(-1)) return utf16ToUtf8(text);
  std::string input;
  input.reserve(text.size() * 2);
  for (char16_t c : text) {
    input.push_back(static_cast<char>(c & 0xFF));
    input.push_back(static_cast<char>(c >> 8));
  }
  char* in = input.data();
  size_t inLeft = input.size();
  std::string buffer(4096, '\0');
  while (inLeft > 0) {
    char* outp = buffer.data();
    size_t outLeft = buffer.size();
    size_t r = iconv(cd, &in, &inLeft, &outp, &outLeft);
    out.append(buffer.data(), buffer.size() - outLeft);
    if (r == static_cast<size_t>(-1) && (errno == EILSEQ || errno == EINVAL)) {
      // No mapping: the system's default character, and skip a whole surrogate pair.
      out.push_back('?');
      if (lossy) *lossy = true;
      char16_t c = static_cast<char16_t>(static_cast<unsigned char>(in[0]) | (static_cast<unsigned char>(in[1]) << 8));
      size_t skip = (c >= 0xD800 && c <= 0xDBFF && inLeft >= 4) ? 4 : 2;
      in += skip;
      inLeft -= skip < inLeft ? skip : inLeft;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(cd);
  return out;
}

std::u16string PosixLocale::decodeAnsi(std::string_view bytes) { return decode(acp_, bytes); }
std::string PosixLocale::encodeAnsi(std::u16string_view text, bool* lossy) { return encode(acp_, text, lossy); }
// A stand-in for the Windows collation with the properties scripts rely on: it
// is deterministic, letters sort alphabetically regardless of case, and where
// texts differ only in case the lower-case letter comes first ("a" < "A" < "b").
int PosixLocale::compareText(std::u16string_view a, std::u16string_view b) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const char16_t x = foldedLetter(a[i]), y = foldedLetter(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  for (size_t i = 0; i < n; ++i) {
    if (a[i] == b[i]) continue;
    const bool upperA = foldedLetter(a[i]) != a[i], upperB = foldedLetter(b[i]) != b[i];
    if (upperA != upperB) return upperA ? 1 : -1;
    return a[i] < b[i] ? -1 : 1;
  }
  return 0;
}

std::u16string PosixLocale::decodeOem(std::string_view bytes) { return decode(oemCodePage(), bytes); }

}  // namespace maqo::platform
