// FORMAT(value, [width], [decimals]).
#include <charconv>
#include <cmath>
#include <string>

#include "builtins/engine_interface.h"
#include "builtins/builtin_messages.h"
#include "engine/values/number_text.h"

namespace maqo::builtins {

using engine::ScriptValue;

namespace {

// A width beyond this would only fill memory with spaces.
constexpr int64_t kMaxFormatWidth = int64_t{1} << 24;
// Decimals beyond the digits a double can carry only add zeros.
constexpr int64_t kMaxFormatDecimals = 400;

std::u16string ascii(std::string_view s) { return std::u16string(s.begin(), s.end()); }

// The shortest fixed-point text of a finite double.
std::string fixedShortest(double x) {
  char buffer[400];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::fixed);
  return std::string(buffer, result.ptr);
}

// x with exactly decimals digits after the point, rounded half away from
// zero on its shortest decimal text (so 2.675 gives 2.68, as written).
std::u16string withDecimals(double x, int64_t decimals) {
  if (!std::isfinite(x)) return engine::formatDouble(x);
  std::string text = fixedShortest(std::fabs(x));
  const size_t point = text.find('.');
  std::string whole = point == std::string::npos ? text : text.substr(0, point);
  std::string fraction = point == std::string::npos ? std::string() : text.substr(point + 1);
  const auto keep = static_cast<size_t>(decimals);
  if (fraction.size() > keep) {
    const bool up = fraction[keep] >= '5';
    fraction.resize(keep);
    if (up) {
      std::string digits = whole + fraction;
      size_t i = digits.size();
      while (i > 0) {
        if (digits[--i] != '9') {
          ++digits[i];
          break;
        }
        digits[i] = '0';
        if (i == 0) digits.insert(digits.begin(), '1');
      }
      whole = digits.substr(0, digits.size() - keep);
      fraction = digits.substr(digits.size() - keep);
    }
  } else {
    fraction.append(keep - fraction.size(), '0');
  }
  std::string out = whole;
  if (keep > 0) out += "." + fraction;
  if (x < 0 && out.find_first_not_of("0.") != std::string::npos) out.insert(out.begin(), '-');
  return ascii(out);
}

std::u16string hexOfIntegerPart(double x) {
  int64_t value = 0;
  if (std::isfinite(x)) {
    const double t = std::trunc(x);
    value = t >= 9.2233720368547758e18 ? INT64_MAX : t <= -9.2233720368547758e18 ? INT64_MIN : static_cast<int64_t>(t);
  }
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<uint64_t>(value), 16);
  std::u16string out = ascii(std::string_view(buffer, static_cast<size_t>(result.ptr - buffer)));
  for (auto& c : out)
    if (c >= u'a' && c <= u'f') c = static_cast<char16_t>(c - 32);
  return out;
}

std::u16string integerPartText(double x) {
  if (!std::isfinite(x)) return engine::formatDouble(x);
  const double t = std::trunc(x);
  if (t == 0) return u"0";
  return ascii(fixedShortest(t));
}

}  // namespace

ScriptValue FormatBuiltin(BuiltinCall& call, BuiltinHost&) {
  const bool hasWidth = call.count() >= 2;
  const int64_t width = hasWidth ? call.integer(1) : 0;
  if (width > kMaxFormatWidth)
    throw messages::callFailure(messages::cat(u"FORMAT: the width is too large: ", call.text(1)),
                                messages::cat(u"FORMAT: 幅が大きすぎます: ", call.text(1)));
  const bool numeric = !call.first.isString() && engine::isNumberText(call.text(0), engine::NumberTextMode::Strict);

  if (!numeric) {
    // The text repeated to exactly width characters; nothing to repeat gives
    // the empty text.
    const std::u16string& text = call.text(0);
    std::u16string out;
    if (text.empty() || width <= 0) return ScriptValue::string(out);
    out.reserve(static_cast<size_t>(width));
    while (out.size() < static_cast<size_t>(width)) out += text;
    out.resize(static_cast<size_t>(width));
    return ScriptValue::string(std::move(out));
  }

  const double x = call.number(0);
  std::u16string text;
  const bool hex = call.count() >= 3 && call.integer(2) < 0;
  if (hex) {
    text = hexOfIntegerPart(x);
  } else if (call.count() < 3) {
    text = engine::formatDouble(x);
  } else {
    text = withDecimals(x, std::min(call.integer(2), kMaxFormatDecimals));
  }
  if (hasWidth && !hex) {
    const std::u16string integer = integerPartText(x);
    if (static_cast<int64_t>(integer.size()) < width) {
      if (static_cast<int64_t>(text.size()) > width) text.resize(static_cast<size_t>(width));
    } else {
      text = integer;
    }
  }
  if (hasWidth && static_cast<int64_t>(text.size()) < width)
    text.insert(0, static_cast<size_t>(width) - text.size(), u' ');
  return ScriptValue::string(std::move(text));
}

}  // namespace maqo::builtins
