// VARIANTs (16 bytes: the type at 0, the value at 8) built from script values
// for VARIANT and SAFEARRAY arguments, and read back from the variants a
// function fills. ScriptValue uses the VARIANT type codes, so scalars map
// one to one; texts become BSTRs and arrays SAFEARRAYs of VARIANTs, all held in the call image's own buffers (marked static, so a
// function that tries to free them leaves them alone).
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "com/dll/dll_call_image.h"
#include "engine/values/script_value.h"
#include "platform/native_library.h"

namespace maqo::com::dll {

inline constexpr uint32_t kVariantBytes = 16;
inline constexpr uint16_t kVtBstr = 8, kVtVariant = 12, kVtArray = 0x2000, kVtByRef = 0x4000;

// Writes value as a VARIANT at buffer/offset of the image (its text or array
// goes into buffers of its own). Throws the argument type error for objects.
void PutVariant(DllCallImage& image, uint32_t buffer, uint32_t offset, const engine::ScriptValue& value);
// A SAFEARRAY descriptor for an array value of any number of dimensions;
// returns the buffer and the offset of the descriptor within it. Throws the
// argument type error when the value is no array.
std::pair<uint32_t, uint32_t> AddSafeArray(DllCallImage& image, const engine::ScriptValue& value);

// Reads a VARIANT the function filled: scalars, BSTRs and SAFEARRAYs
// (through memory for what its pointers lead to); other kinds give Empty.
engine::ScriptValue ReadVariant(const uint8_t* variant, platform::NativeLibraries& memory);
// Reads the SAFEARRAY whose descriptor is at descriptorAddress, with all its
// dimensions and bounds. elementType 0: take it from the descriptor (as for
// a SAFEARRAY* a function replaced). A damaged or unreadable descriptor, or
// elements of a kind values cannot hold, give Empty.
engine::ScriptValue ReadSafeArray(uint32_t descriptorAddress, uint16_t elementType, platform::NativeLibraries& memory);
// Where the element at a row-major (script) position lies in SAFEARRAY
// order, in which the first index varies fastest.
size_t SafeArrayPosition(size_t rowMajor, const std::vector<engine::ArrayBound>& bounds);

}  // namespace maqo::com::dll
