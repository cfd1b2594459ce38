// Script values as the bytes a native function takes and gives: integers of
// every width, single, double and 80-bit floats, ANSI and UTF-16 characters,
// and VARIANTs. Pure code over byte buffers (little-endian, as on x86).
#pragma once
#include <cstdint>
#include <cstring>
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

// Loads and stores of any width at any offset, in the byte order of x86
// (both builds run on x86, so memcpy gives the little-endian layout).
template <typename T>
void StoreAs(uint8_t* at, T value) {
  std::memcpy(at, &value, sizeof value);
}
template <typename T>
T LoadAs(const uint8_t* at) {
  T value;
  std::memcpy(&value, at, sizeof value);
  return value;
}
inline uint32_t Load32(const uint8_t* at) { return LoadAs<uint32_t>(at); }
inline void Store32(uint8_t* at, uint32_t value) { StoreAs(at, value); }

}  // namespace maqo::com::dll
