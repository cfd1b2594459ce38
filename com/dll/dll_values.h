// Script values as the bytes a native function takes and gives: integers of
// every width, single, double and 80-bit floats, ANSI and UTF-16 characters,
// and VARIANTs. Pure code over byte buffers (little-endian, as on x86).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "engine/values/script_value.h"
#include "platform/locale.h"

namespace maqo::com::dll {

// The value as a 64-bit integer: integers as they are, other numbers
// rounded to the nearest; throws the argument type error when it is no number.
int64_t ToNativeInteger(const engine::ScriptValue& value);
// The value as a double; throws the argument type error when it is no number.
double ToNativeDouble(const engine::ScriptValue& value);

// Writes value as a scalar type (INT, FLOAT, DOUBLE, WORD, DWORD, BYTE, CHAR,
// WCHAR, LONGLONG, EXTENDED) at `at` (DllValueSize(type) bytes). Throws the
// argument type error when it does not convert.
void PutScalar(int type, const engine::ScriptValue& value, uint8_t* at, platform::Locale& locale);
// Reads a scalar type back as the script sees it.
engine::ScriptValue ReadScalar(int type, const uint8_t* at, platform::Locale& locale);

// The 80-bit x87 format: 1 sign bit, 15 exponent bits (bias 16383) and a
// 64-bit significand with an explicit integer bit. Every double converts
// exactly; the way back rounds to the nearest double.
void DoubleToExtended(double value, uint8_t out[10]);
double ExtendedToDouble(const uint8_t in[10]);

// Little-endian loads and stores.
inline uint32_t Load32(const uint8_t* at) {
  return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 | static_cast<uint32_t>(at[2]) << 16 |
         static_cast<uint32_t>(at[3]) << 24;
}
inline void Store32(uint8_t* at, uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace maqo::com::dll
