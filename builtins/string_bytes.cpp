// The builtins on the ANSI byte string of a text (LENGTHB, COPYB, POSB, ASCB,
// CHRB, ISUNICODE) and ENCODE / DECODE.
#include <string>
#include <vector>

#include "builtins/engine_interface.h"
#include "builtins/builtin_messages.h"
#include "builtins/string_support.h"
#include "builtins/text_tables.h"
#include "engine/eval/text_helpers.h"
#include "platform/letter_case.h"
#include "platform/text_codec.h"

namespace maqo::builtins {

using engine::ScriptValue;
using namespace string_support;

namespace {

ScriptValue count(size_t n) { return ScriptValue::number(static_cast<double>(n)); }

std::string firstBytes(BuiltinCall& call, BuiltinHost& host) { return ByteStringOf(host, call.first, call.text(0)); }

bool isLeadByte(unsigned codePage, unsigned char b) {
  switch (codePage) {
    case 932:
      return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    case 936:
    case 949:
    case 950:
      return b >= 0x81 && b <= 0xFE;
    default:
      return false;
  }
}

// Upper case as the code page's own upper-casing does it: the letters of
// single-byte characters; the bytes of double-byte characters stay.
std::string upperBytes(BuiltinHost& host, const std::string& bytes) {
  platform::Locale& locale = host.platform().locale;
  const unsigned cp = locale.ansiCodePage();
  std::string out(bytes);
  for (size_t i = 0; i < out.size(); ++i) {
    const auto b = static_cast<unsigned char>(out[i]);
    if (isLeadByte(cp, b)) {
      ++i;
      continue;
    }
    if (b >= 'a' && b <= 'z') {
      out[i] = static_cast<char>(b - 32);
    } else if (b >= 0x80) {
      const std::u16string decoded = locale.decodeAnsi(out.substr(i, 1));
      if (decoded.size() != 1) continue;
      const char16_t upper = platform::upperCaseLetter(decoded[0]);
      if (upper == decoded[0]) continue;
      bool lossy = false;
      const std::string encoded = locale.encodeAnsi(std::u16string(1, upper), &lossy);
      if (!lossy && encoded.size() == 1) out[i] = encoded[0];
    }
  }
  return out;
}

// The n-th occurrence (as POS counts) of search in text whose start is a
// character boundary of the code page.
size_t nthOnBoundary(unsigned cp, const std::string& text, const std::string& search, int64_t n) {
  if (search.empty() || search.size() > text.size()) return 0;
  std::vector<bool> boundary(text.size(), false);
  for (size_t i = 0; i < text.size(); ++i) {
    boundary[i] = true;
    if (isLeadByte(cp, static_cast<unsigned char>(text[i]))) ++i;
  }
  std::vector<size_t> starts;
  for (size_t at = text.find(search); at != std::string::npos; at = text.find(search, at + 1))
    if (boundary[at]) starts.push_back(at);
  if (n == 0) n = 1;
  const uint64_t k = n > 0 ? static_cast<uint64_t>(n) : static_cast<uint64_t>(-(n + 1)) + 1;
  if (k > starts.size()) return 0;
  return (n > 0 ? starts[k - 1] : starts[starts.size() - k]) + 1;
}

}  // namespace

ScriptValue LengthBBuiltin(BuiltinCall& call, BuiltinHost& host) { return count(firstBytes(call, host).size()); }

// COPYB(text, start, [count]): a byte string.
ScriptValue CopyBBuiltin(BuiltinCall& call, BuiltinHost& host) {
  const std::string bytes = firstBytes(call, host);
  int64_t start = call.integer(1);
  if (start < 1) start = 1;
  std::string out;
  if (static_cast<uint64_t>(start) <= bytes.size()) {
    const size_t begin = static_cast<size_t>(start - 1);
    size_t n = bytes.size() - begin;
    if (call.count() >= 3) n = call.integer(2) <= 0 ? 0 : std::min<uint64_t>(n, static_cast<uint64_t>(call.integer(2)));
    out = bytes.substr(begin, n);
  }
  MarkByteStringProduced(host);
  return ScriptValue::byteString(out);
}

// POSB(search, text, [n]): a byte position.
ScriptValue PosBBuiltin(BuiltinCall& call, BuiltinHost& host) {
  std::string search = ByteStringOf(host, call.first, YenAsBackslash(host, call.text(0)));
  std::string text = ByteStringOf(host, call.second, YenAsBackslash(host, call.text(1)));
  if (!SameStrOption(host)) {
    search = upperBytes(host, search);
    text = upperBytes(host, text);
  }
  const int64_t n = call.count() >= 3 ? call.integer(2) : 1;
  const bool zeroBytes = search.find('\0') != std::string::npos && text.find('\0') != std::string::npos;
  if (zeroBytes) return count(NthOccurrence(text, search, n));
  return count(nthOnBoundary(host.platform().locale.ansiCodePage(), text, search, n));
}

// ASCB(text): the first byte; 0 for the empty text.
ScriptValue AscBBuiltin(BuiltinCall& call, BuiltinHost& host) {
  const std::string bytes = firstBytes(call, host);
  return count(bytes.empty() ? 0 : static_cast<unsigned char>(bytes[0]));
}

ScriptValue ChrBBuiltin(BuiltinCall& call, BuiltinHost& host) {
  MarkByteStringProduced(host);
  return ScriptValue::byteString(std::string(1, static_cast<char>(call.integer(0) & 0xFF)));
}

// ISUNICODE(text): TRUE when the text does not survive the ANSI code page.
ScriptValue IsUnicodeBuiltin(BuiltinCall& call, BuiltinHost& host) {
  const std::u16string text = YenAsBackslash(host, call.text(0));
  platform::Locale& locale = host.platform().locale;
  bool lossy = false;
  const std::string bytes = locale.encodeAnsi(text, &lossy);
  return ScriptValue::builtinBool(lossy || locale.decodeAnsi(bytes) != text);
}

// ---- ENCODE and DECODE ----

namespace {

enum Code { kAnsi = 1, kUrl = 2, kUtf8 = 3, kHtml = 4, kByteArray = 5, kByteArrayW = 6 };

bool keptInUrl(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
         std::string_view("!$'()*-._@").find(static_cast<char>(c)) != std::string_view::npos;
}

std::u16string urlEncode(const std::string& bytes) {
  static constexpr char16_t kHex[] = u"0123456789ABCDEF";
  std::u16string out;
  for (const char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (keptInUrl(c)) {
      out += static_cast<char16_t>(c);
    } else if (c == ' ') {
      out += u'+';
    } else {
      out += u'%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string urlDecode(const std::string& bytes) {
  std::string out;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '+') {
      out += ' ';
    } else if (c != '%') {
      out += c;
    } else if (i + 1 < bytes.size() && bytes[i + 1] == '%') {
      out += '%';
      ++i;
    } else {
      const int high = i + 1 < bytes.size() ? hexDigit(bytes[i + 1]) : -1;
      const int low = i + 2 < bytes.size() ? hexDigit(bytes[i + 2]) : -1;
      if (high < 0 || low < 0) {
        const std::string escape = bytes.substr(i, 3);
        const std::u16string shown(escape.begin(), escape.end());
        throw messages::callFailure(messages::cat(u"DECODE: malformed URL escape: ", shown),
                                    messages::cat(u"DECODE: URL エスケープが正しくありません: ", shown));
      }
      out += static_cast<char>(high * 16 + low);
      i += 2;
    }
  }
  return out;
}

std::u16string htmlEncode(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (const char16_t c : text) {
    switch (c) {
      case u'"': out += u"&quot;"; break;
      case u'&': out += u"&amp;"; break;
      case u'<': out += u"&lt;"; break;
      case u'>': out += u"&gt;"; break;
      default: out += c;
    }
  }
  return out;
}

void appendCodePoint(std::u16string& out, uint32_t code) {
  if (code <= 0xFFFF) {
    out += static_cast<char16_t>(code);
  } else {
    code -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (code >> 10));
    out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
  }
}

// The reverse of htmlEncode plus decimal references "&#digits;". A reference
// with more than seven digits or beyond U+10FFFF is no character and stays
// as written.
std::u16string htmlDecode(std::u16string_view text) {
  static constexpr std::pair<std::u16string_view, char16_t> kNamed[] = {
      {u"&quot;", u'"'}, {u"&amp;", u'&'}, {u"&lt;", u'<'}, {u"&gt;", u'>'}};
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'&') {
      out += text[i];
      continue;
    }
    bool done = false;
    for (const auto& [name, c] : kNamed) {
      if (text.substr(i, name.size()) == name) {
        out += c;
        i += name.size() - 1;
        done = true;
        break;
      }
    }
    if (done) continue;
    if (i + 1 < text.size() && text[i + 1] == u'#') {
      size_t k = i + 2;
      uint32_t code = 0;
      while (k < text.size() && k - (i + 2) < 8 && text[k] >= u'0' && text[k] <= u'9')
        code = code * 10 + static_cast<uint32_t>(text[k++] - u'0');
      const size_t digits = k - (i + 2);
      if (digits >= 1 && digits <= 7 && k < text.size() && text[k] == u';' && code <= 0x10FFFF) {
        appendCodePoint(out, code);
        i = k;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

ScriptValue byteArray(const std::string& bytes) {
  std::vector<ScriptValue> elements;
  elements.reserve(bytes.size());
  for (const char b : bytes) elements.push_back(ScriptValue::integer(engine::VarType::UInt8, static_cast<unsigned char>(b)));
  return ScriptValue::array(engine::ArrayValue::fromList(std::move(elements)));
}

// The bytes held by a byte array (each element's number, low 8 bits).
std::string bytesOfArray(const ScriptValue& value) {
  std::string out;
  out.reserve(value.arrayRef().size());
  for (const ScriptValue& element : value.arrayRef().elements())
    out += static_cast<char>(static_cast<int64_t>(element.toDouble()) & 0xFF);
  return out;
}

}  // namespace

ScriptValue EncodeBuiltin(BuiltinCall& call, BuiltinHost& host) {
  const std::u16string& text = call.text(0);
  switch (call.count() >= 2 ? call.integer(1) : 0) {
    case kAnsi:
      return ScriptValue::byteString(firstBytes(call, host));
    case kUrl:
      return ScriptValue::string(urlEncode(firstBytes(call, host)));
    case kUtf8:
      return ScriptValue::byteString(utf16ToUtf8(text));
    case kHtml:
      return ScriptValue::string(htmlEncode(text));
    case kByteArray:
      return text.empty() ? ScriptValue::null() : byteArray(firstBytes(call, host));
    case kByteArrayW: {
      if (text.empty()) return ScriptValue::null();
      std::string bytes;
      bytes.reserve(text.size() * 2);
      for (const char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
      }
      return byteArray(bytes);
    }
    default:
      return ScriptValue::string(text);
  }
}

ScriptValue DecodeBuiltin(BuiltinCall& call, BuiltinHost& host) {
  const ScriptValue& value = call.first;
  const std::u16string& text = call.text(0);
  platform::Locale& locale = host.platform().locale;
  switch (call.count() >= 2 ? call.integer(1) : 0) {
    case kUrl:
      return ScriptValue::string(locale.decodeAnsi(urlDecode(firstBytes(call, host))));
    case kUtf8:
      return ScriptValue::string(utf8ToUtf16(firstBytes(call, host)));
    case kHtml:
      return ScriptValue::string(htmlDecode(text));
    case kByteArray:
      if (value.isArray()) return ScriptValue::byteString(bytesOfArray(value));
      return ScriptValue::string(value.isNull() || value.isEmpty() ? std::u16string() : text);
    case kByteArrayW: {
      if (!value.isArray()) return ScriptValue::string(value.isNull() || value.isEmpty() ? std::u16string() : text);
      const std::string bytes = bytesOfArray(value);
      std::u16string out;
      out.reserve(bytes.size() / 2);
      for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        out += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
      return ScriptValue::string(std::move(out));
    }
    default:
      return ScriptValue::string(text);
  }
}

}  // namespace maqo::builtins
