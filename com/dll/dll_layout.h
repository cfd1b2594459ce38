// Pass 1 of a DEF_DLL call without the values: where every argument goes.
// Arguments outside structures go into the stack image, each at a multiple
// of 4; a structure ("{" ... "}") is a block of its own whose members sit at
// their natural alignment (none with PACK), and a 4-byte pointer to the
// block takes the structure's place in the enclosing block or the image.
//
// Offsets are 32-bit, as the called code sees them; the layout knows nothing
// about the machine it is computed on. It depends on the declaration only,
// except for text members of structures, which are copied into the block
// itself and so take as many bytes as their text.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "com/dll/dll_signature.h"

namespace maqo::com::dll {

// Limits of one call.
inline constexpr uint32_t kMaxBlockBytes = 2048;  // the stack image and every structure block
inline constexpr size_t kMaxArguments = 40;
inline constexpr size_t kMaxStructures = 8;
inline constexpr size_t kMaxReferencesPerKind = 20;

struct DllSlot {
  size_t parameter = 0;  // index into DllSignature::parameters
  uint32_t block = 0;    // 0: the stack image, else a structure block
  uint32_t offset = 0;
  uint32_t size = 0;     // bytes it occupies (4 for any pointer)
  bool inlineText = false;  // a text member copied into its structure block
};

struct DllBlock {
  uint32_t size = 0;
  uint32_t parent = 0;        // the enclosing block (structure blocks only)
  uint32_t parentOffset = 0;  // where the pointer to this block sits in it
};

struct DllLayout {
  std::vector<DllSlot> slots;    // one per argument, in argument order
  std::vector<DllBlock> blocks;  // [0] is the stack image
  // VARIANT and SAFEARRAY results: the pointer to the result variant sits at
  // offset 0 of the image and the arguments follow it.
  bool resultPointer = false;
};

// The size of a type by value in a block (text and by-reference arguments
// are 4-byte pointers).
uint32_t DllValueSize(int type);
// Its natural alignment inside a structure.
uint32_t DllValueAlignment(int type);

// Lays the arguments out. inlineTextBytes(argument) gives the bytes a text
// member of a structure copies into its block (0 when it has no text and is
// passed as a null pointer); it is asked for such members only. Throws
// ScriptError: more than 40 arguments, 8 structures or 20 by-reference
// arguments of one element kind, and the structure size message when a
// block would pass 2048 bytes.
DllLayout LayOutArguments(const DllSignature& signature, const std::function<uint32_t(size_t argument)>& inlineTextBytes);

// True when some structure member is a text (the layout then depends on the
// values and is made for every call).
bool HasTextMembers(const DllSignature& signature);

}  // namespace maqo::com::dll
