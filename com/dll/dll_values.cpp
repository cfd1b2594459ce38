#include "com/dll/dll_values.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "com/dll/dll_layout.h"
#include "com/dll/dll_messages.h"

namespace maqo::com::dll {

using engine::ScriptValue;
using engine::VarType;

namespace {


[[noreturn]] void wrongType() { throw engine::ScriptError(messages::wrongArgumentType()); }

}  // namespace

int64_t ToNativeInteger(const ScriptValue& value) {
  if (value.isInteger() || value.type() == VarType::UInt64) return value.integerPayload();
  if (value.isBoolean()) return value.booleanPayload();
  const std::optional<double> number = value.tryToDouble();
  if (!number || std::isnan(*number)) wrongType();
  // Outside the 64-bit range only the low bits would be kept anyway: clamp.
  if (*number >= 9.2233720368547758e18) return std::numeric_limits<int64_t>::max();
  if (*number <= -9.2233720368547758e18) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(std::nearbyint(*number));
}

double ToNativeDouble(const ScriptValue& value) {
  if (value.isBoolean()) return value.booleanPayload();
  const std::optional<double> number = value.tryToDouble();
  if (!number) wrongType();
  return *number;
}

void PutScalar(int type, const ScriptValue& value, uint8_t* at, platform::Locale& locale) {
  switch (type) {
    case kInt: case kDWord: StoreAs(at, static_cast<uint32_t>(ToNativeInteger(value))); return;
    case kWord: StoreAs(at, static_cast<uint16_t>(ToNativeInteger(value))); return;
    case kByte: *at = static_cast<uint8_t>(ToNativeInteger(value)); return;
    case kLongLong: StoreAs(at, ToNativeInteger(value)); return;
    case kFloat: StoreAs(at, static_cast<float>(ToNativeDouble(value))); return;
    case kDouble: StoreAs(at, ToNativeDouble(value)); return;
    case kExtended: DoubleToExtended(ToNativeDouble(value), at); return;
    case kChar: case kWChar: {
      if (value.isArray() || value.isObject()) wrongType();
      const std::u16string text = value.isNull() ? std::u16string() : value.toText();
      if (type == kWChar) {
        StoreAs(at, static_cast<uint16_t>(text.empty() ? 0 : text[0]));
      } else {
        const std::string bytes = text.empty() ? std::string() : locale.encodeAnsi(text.substr(0, 1));
        *at = bytes.empty() ? 0 : static_cast<uint8_t>(bytes[0]);
      }
      return;
    }
    default: throw engine::ScriptError(messages::unknownType());
  }
}

ScriptValue ReadScalar(int type, const uint8_t* at, platform::Locale& locale) {
  switch (type) {
    case kInt: return ScriptValue::int32(LoadAs<int32_t>(at));
    case kDWord: return ScriptValue::number(LoadAs<uint32_t>(at));
    case kWord: return ScriptValue::int32(LoadAs<uint16_t>(at));
    case kByte: return ScriptValue::int32(*at);
    case kLongLong: return ScriptValue::integer(VarType::Int64, LoadAs<int64_t>(at));
    case kFloat: return ScriptValue::single(LoadAs<float>(at));
    case kDouble: return ScriptValue::number(LoadAs<double>(at));
    case kExtended: return ScriptValue::number(ExtendedToDouble(at));
    case kChar: {
      const char c = static_cast<char>(*at);
      return ScriptValue::string(c == 0 ? std::u16string() : locale.decodeAnsi(std::string_view(&c, 1)));
    }
    case kWChar: {
      const char16_t c = LoadAs<uint16_t>(at);
      return ScriptValue::string(c == 0 ? std::u16string() : std::u16string(1, c));
    }
    default: return ScriptValue::int32(0);
  }
}

void DoubleToExtended(double value, uint8_t out[10]) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  const uint16_t sign = static_cast<uint16_t>((bits >> 63) << 15);
  const int exponent = static_cast<int>((bits >> 52) & 0x7FF);
  uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);
  uint64_t significand = 0;
  int extendedExponent = 0;
  if (exponent == 0x7FF) {  // infinity and NaN keep their payload's top bits
    extendedExponent = 0x7FFF;
    significand = (uint64_t{1} << 63) | (fraction << 11);
  } else if (exponent == 0) {
    if (fraction != 0) {  // a subnormal double is a normal extended
      int shift = 0;
      while ((fraction & (uint64_t{1} << 52)) == 0) {
        fraction <<= 1;
        ++shift;
      }
      extendedExponent = 1 - 1023 - shift + 16383;
      significand = fraction << 11;
    }
  } else {
    extendedExponent = exponent - 1023 + 16383;
    significand = (uint64_t{1} << 63) | (fraction << 11);
  }
  std::memcpy(out, &significand, 8);
  const uint16_t top = static_cast<uint16_t>(sign | extendedExponent);
  std::memcpy(out + 8, &top, 2);
}

double ExtendedToDouble(const uint8_t in[10]) {
  uint64_t significand;
  uint16_t top;
  std::memcpy(&significand, in, 8);
  std::memcpy(&top, in + 8, 2);
  const bool negative = (top & 0x8000) != 0;
  const int exponent = top & 0x7FFF;
  double magnitude;
  if (exponent == 0x7FFF) {
    magnitude = (significand << 1) == 0 ? std::numeric_limits<double>::infinity()
                                        : std::numeric_limits<double>::quiet_NaN();
  } else if (significand == 0) {
    magnitude = 0.0;
  } else {
    // Round the 64-bit significand to 53 bits first (to nearest, ties to
    // even), then scale: exact for every value a double can hold.
    const int shift = 11;
    uint64_t kept = significand >> shift;
    const uint64_t dropped = significand & ((uint64_t{1} << shift) - 1);
    const uint64_t half = uint64_t{1} << (shift - 1);
    int scale = exponent - 16383 - 52;
    if (dropped > half || (dropped == half && (kept & 1) != 0)) {
      ++kept;
      if (kept == (uint64_t{1} << 53)) {
        kept >>= 1;
        ++scale;
      }
    }
    magnitude = std::ldexp(static_cast<double>(kept), scale);
  }
  return negative ? -magnitude : magnitude;
}

}  // namespace maqo::com::dll
