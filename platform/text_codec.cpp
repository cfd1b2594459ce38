#include "platform/text_codec.h"

namespace maqo {

namespace {

// Length of the well-formed UTF-8 sequence at bytes[i], or 0 when it is malformed.
size_t utf8SequenceAt(std::string_view bytes, size_t i, char32_t& cp) {
  const auto b = [&](size_t k) { return static_cast<unsigned char>(bytes[k]); };
  const unsigned char c = b(i);
  size_t len;
  char32_t min;
  if (c < 0x80) { cp = c; return 1; }
  if ((c & 0xE0) == 0xC0) { len = 2; cp = c & 0x1F; min = 0x80; }
  else if ((c & 0xF0) == 0xE0) { len = 3; cp = c & 0x0F; min = 0x800; }
  else if ((c & 0xF8) == 0xF0) { len = 4; cp = c & 0x07; min = 0x10000; }
  else return 0;
  if (i + len > bytes.size()) return 0;
  for (size_t k = 1; k < len; ++k) {
    if ((b(i + k) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b(i + k) & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

void appendUtf16(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  }
}

}  // namespace

std::u16string utf8ToUtf16(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  size_t i = 0;
  while (i < bytes.size()) {
    char32_t cp;
    size_t len = utf8SequenceAt(bytes, i, cp);
    if (len == 0) {
      out.push_back(u'\uFFFD');
      ++i;
    } else {
      appendUtf16(out, cp);
      i += len;
    }
  }
  return out;
}

std::string utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

bool isValidUtf8(std::string_view bytes) {
  for (size_t i = 0; i < bytes.size();) {
    char32_t cp;
    size_t len = utf8SequenceAt(bytes, i, cp);
    if (len == 0) return false;
    i += len;
  }
  return true;
}

bool isUtf8WithMultibyte(std::string_view bytes) {
  bool multibyte = false;
  for (size_t i = 0; i < bytes.size();) {
    char32_t cp;
    size_t len = utf8SequenceAt(bytes, i, cp);
    if (len == 0) return false;
    multibyte |= len > 1;
    i += len;
  }
  return multibyte;
}

char16_t asciiUpper(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }

std::u16string asciiUpper(std::u16string_view text) {
  std::u16string out(text);
  for (auto& c : out) c = asciiUpper(c);
  return out;
}

std::u16string withBackslashes(std::u16string_view path) {
  std::u16string out(path);
  for (auto& c : out)
    if (c == u'/') c = u'\\';
  return out;
}

}  // namespace maqo
