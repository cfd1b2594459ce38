#include "engine/values/number_text.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace maqo::engine {
namespace {

constexpr size_t kMaxNumberLength = 64;
constexpr size_t kPlainNumberLength = 32;

int hexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

// "$" followed by hex digits, as a 64-bit two's-complement integer.
std::optional<int64_t> parseHex(std::u16string_view digits) {
  if (digits.empty()) return std::nullopt;
  uint64_t value = 0;
  for (char16_t c : digits) {
    const int d = hexDigit(c);
    if (d < 0) return std::nullopt;
    if (value > (UINT64_MAX >> 4)) return std::nullopt;  // a 65th bit
    value = (value << 4) | static_cast<uint64_t>(d);
  }
  return static_cast<int64_t>(value);
}

bool isFloatCharacter(char16_t c) {
  return (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.' || c == u'e' || c == u'E';
}

std::u16string widen(const char* begin, const char* end) { return std::u16string(begin, end); }

std::u16string formatWithPrecision(double value, int precision) {
  if (std::isnan(value)) return u"NAN";
  if (std::isinf(value)) return value < 0 ? u"-INF" : u"INF";
  if (value == 0) return u"0";  // also turns -0 into "0"
  char buffer[64];
  // General format at a fixed precision is printf's %.Ng: trailing zeros and
  // a trailing "." are already removed.
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                    std::chars_format::general, precision);
  return widen(buffer, result.ptr);
}

}  // namespace

std::u16string_view trimControlAndSpace(std::u16string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && text[begin] <= u' ') ++begin;
  while (end > begin && text[end - 1] <= u' ') --end;
  return text.substr(begin, end - begin);
}

std::optional<double> parseNumberText(std::u16string_view text, NumberTextMode mode, bool trim) {
  if (trim) text = trimControlAndSpace(text);
  const size_t length = text.size();
  if (length == 0 || length > kMaxNumberLength) return std::nullopt;
  if (length > kPlainNumberLength && text.substr(0, kPlainNumberLength).find(u'.') == std::u16string_view::npos)
    return std::nullopt;

  if (text[0] == u'$') {
    const auto hex = parseHex(text.substr(1));
    if (!hex) return std::nullopt;
    return static_cast<double>(*hex);
  }

  for (size_t i = 0; i < length; ++i) {
    const char16_t c = text[i];
    if (!isFloatCharacter(c)) return std::nullopt;
    if (mode == NumberTextMode::Strict && (c == u'e' || c == u'E')) {
      if (i + 1 >= length) return std::nullopt;
      if (text[i + 1] != u'+' && text[i + 1] != u'-') return std::nullopt;
    }
  }
  if (length == 1 && !(text[0] >= u'0' && text[0] <= u'9')) return std::nullopt;

  // Every code unit is ASCII now; from_chars takes no leading "+".
  char narrow[kMaxNumberLength];
  size_t n = 0;
  size_t start = 0;
  if (text[0] == u'+') {
    if (text[1] == u'+' || text[1] == u'-') return std::nullopt;
    start = 1;
  }
  for (size_t i = start; i < length; ++i) narrow[n++] = static_cast<char>(text[i]);

  double value = 0;
  const auto result = std::from_chars(narrow, narrow + n, value, std::chars_format::general);
  if (result.ptr != narrow + n) return std::nullopt;
  if (result.ec == std::errc::result_out_of_range) {
    // Too large is no number; too small is zero, as a floating-point
    // conversion flushes an underflow. Which of the two it was shows in the
    // sign of the exponent (64 characters of digits alone cannot overflow).
    const size_t e = std::string_view(narrow, n).find_first_of("eE");
    if (e == std::string_view::npos || e + 1 >= n || narrow[e + 1] != '-') return std::nullopt;
    return narrow[0] == '-' ? -0.0 : 0.0;
  }
  if (result.ec != std::errc()) return std::nullopt;
  return value;
}

bool isNumberText(std::u16string_view text, NumberTextMode mode, bool trim) {
  return parseNumberText(text, mode, trim).has_value();
}

double numberTextValue(std::u16string_view text, NumberTextMode mode, bool trim) {
  return parseNumberText(text, mode, trim).value_or(kNotANumberValue);
}

std::optional<int64_t> parseIntegerText(std::u16string_view text) {
  if (text.empty()) return std::nullopt;
  if (text[0] == u'$') return parseHex(text.substr(1));
  size_t i = 0;
  bool negative = false;
  if (text[0] == u'+' || text[0] == u'-') {
    negative = text[0] == u'-';
    i = 1;
  }
  if (i >= text.size()) return std::nullopt;
  uint64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c < u'0' || c > u'9') return std::nullopt;
    const uint64_t digit = static_cast<uint64_t>(c - u'0');
    if (magnitude > (UINT64_MAX - digit) / 10) return std::nullopt;
    magnitude = magnitude * 10 + digit;
  }
  const uint64_t limit = negative ? (uint64_t{1} << 63) : (uint64_t{1} << 63) - 1;
  if (magnitude > limit) return std::nullopt;
  if (negative) return magnitude == (uint64_t{1} << 63) ? INT64_MIN : -static_cast<int64_t>(magnitude);
  return static_cast<int64_t>(magnitude);
}

std::u16string formatDouble(double value) { return formatWithPrecision(value, 15); }

std::u16string formatSingle(float value) { return formatWithPrecision(static_cast<double>(value), 7); }

std::u16string formatInteger(int64_t value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return widen(buffer, result.ptr);
}

std::u16string formatUnsigned(uint64_t value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return widen(buffer, result.ptr);
}

}  // namespace maqo::engine
