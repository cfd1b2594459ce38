// Pass 1 with the values (the call image), the return value, and pass 2 (the
// write-back into the script's variables). Pure code: the arguments come
// from a DllArguments source and memory the function handed back is read
// through the NativeLibraries seam, so all of it is tested natively.
#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

#include "com/dll/dll_call_image.h"
#include "com/dll/dll_layout.h"
#include "com/dll/dll_signature.h"
#include "engine/values/script_value.h"
#include "platform/locale.h"
#include "platform/native_library.h"

namespace maqo::com::dll {

// The arguments of one call as the script wrote them.
class DllArguments {
 public:
  virtual ~DllArguments() = default;
  // The argument's text as written; empty for an argument left out.
  virtual std::u16string_view text(size_t argument) = 0;
  // The value of a by-value argument (an argument left out is the integer 0).
  virtual engine::ScriptValue value(size_t argument) = 0;
  // By-reference and array arguments: the elements of the variable the text
  // names, from its index on (all when it has none); one for a scalar.
  virtual std::vector<engine::ScriptValue> elements(size_t argument) = 0;
  // Stores elements back where elements() read them.
  virtual void storeElements(size_t argument, std::vector<engine::ScriptValue> values) = 0;
  // Stores the value of a structure member into the variable its text names
  // (nothing when the text names no variable).
  virtual void storeValue(size_t argument, const engine::ScriptValue& value) = 0;
};

// Builds the buffers and pointers of a call. Throws ScriptError: the argument
// type error for a value that does not convert.
DllCallImage BuildCallImage(const DllSignature& signature, const DllLayout& layout, DllArguments& arguments,
                            platform::Locale& locale);

// The bytes a text member of a structure copies into its block (0: no text,
// a null pointer is passed); for LayOutArguments.
uint32_t InlineTextBytes(int type, const engine::ScriptValue& value, platform::Locale& locale);

// The return value from the registers (or the result variant).
engine::ScriptValue ConvertReturn(const DllSignature& signature, const platform::NativeCallResult& registers,
                                  DllCallImage& image, platform::NativeLibraries& memory, platform::Locale& locale);

// Pass 2: structure members, by-reference arguments and arrays back into the
// variables their texts name.
void WriteBack(const DllSignature& signature, const DllLayout& layout, DllCallImage& image, DllArguments& arguments,
               platform::NativeLibraries& memory, platform::Locale& locale);

}  // namespace maqo::com::dll
