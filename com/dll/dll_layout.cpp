#include "com/dll/dll_layout.h"

#include <array>

#include "com/dll/dll_messages.h"

namespace maqo::com::dll {

namespace {

uint32_t alignUp(uint32_t value, uint32_t alignment) { return (value + alignment - 1) / alignment * alignment; }

// The element kinds whose by-reference arguments are counted against the
// per-kind limit (texts, variants and arrays of them are not counted).
int referenceKind(int type) {
  switch (type) {
    case kByte: case kChar: return 0;
    case kInt: return 1;
    case kFloat: return 2;
    case kDouble: return 3;
    case kWord: case kWChar: return 4;
    case kDWord: return 5;
    case kLongLong: return 6;
    case kExtended: return 7;
    default: return -1;
  }
}

struct OpenBlock {
  uint32_t index;
  uint32_t offset = 0;
  uint32_t maxAlignment = 1;
};

}  // namespace

uint32_t DllValueSize(int type) {
  switch (type) {
    case kDouble: case kLongLong: return 8;
    case kExtended: return 10;
    case kWord: case kWChar: return 2;
    case kByte: case kChar: return 1;
    default: return 4;
  }
}

uint32_t DllValueAlignment(int type) {
  switch (type) {
    case kDouble: case kLongLong: case kExtended: return 8;
    case kWord: case kWChar: return 2;
    case kByte: case kChar: return 1;
    default: return 4;
  }
}

bool HasTextMembers(const DllSignature& signature) {
  int depth = 0;
  for (const DllParameter& p : signature.parameters) {
    if (p.type == kStructBegin) ++depth;
    else if (p.type == kStructEnd) --depth;
    else if (depth > 0 && !p.byReference && IsTextType(p.type)) return true;
  }
  return false;
}

DllLayout LayOutArguments(const DllSignature& signature,
                          const std::function<uint32_t(size_t argument)>& inlineTextBytes) {
  if (signature.argumentCount > kMaxArguments) throw engine::ScriptError(messages::tooManyArguments());
  DllLayout layout;
  layout.blocks.push_back({});
  layout.resultPointer = signature.returnsThroughVariant();
  std::vector<OpenBlock> open{{0, layout.resultPointer ? 4u : 0u, 4}};
  std::array<size_t, 8> references{};
  size_t structures = 0;

  // Places size bytes in the innermost open block; returns the offset.
  auto place = [&](uint32_t size, uint32_t alignment) {
    OpenBlock& block = open.back();
    if (block.index == 0) alignment = 4;             // the stack image: 4-byte slots
    else if (signature.packed) alignment = 1;
    block.offset = alignUp(block.offset, alignment);
    const uint32_t at = block.offset;
    if (at + size > kMaxBlockBytes) throw engine::ScriptError(messages::structureTooLarge());
    block.offset += size;
    if (alignment > block.maxAlignment) block.maxAlignment = alignment;
    return at;
  };

  for (size_t i = 0; i < signature.parameters.size(); ++i) {
    const DllParameter& p = signature.parameters[i];
    if (p.type == kStructBegin) {
      if (++structures > kMaxStructures) throw engine::ScriptError(messages::tooManyStructures());
      const uint32_t index = static_cast<uint32_t>(layout.blocks.size());
      DllBlock block;
      block.parent = open.back().index;
      block.parentOffset = place(4, 4);
      layout.blocks.push_back(block);
      open.push_back({index});
      continue;
    }
    if (p.type == kStructEnd) {
      const OpenBlock done = open.back();
      open.pop_back();
      // A C compiler pads a structure to a multiple of its strictest member
      // so that arrays of it stay aligned; functions copy sizeof(struct)
      // bytes, so the block must have that size (PACK: no padding).
      layout.blocks[done.index].size = signature.packed ? done.offset : alignUp(done.offset, done.maxAlignment);
      continue;
    }
    DllSlot slot;
    slot.parameter = i;
    const bool inStructure = open.back().index != 0;
    if (p.byReference) {
      const int kind = referenceKind(p.type);
      if (kind >= 0 && ++references[static_cast<size_t>(kind)] > kMaxReferencesPerKind)
        throw engine::ScriptError(messages::tooManyReferences());
      slot.size = 4;
      slot.offset = place(4, 4);
    } else if (inStructure && IsTextType(p.type) && inlineTextBytes && inlineTextBytes(layout.slots.size()) > 0) {
      slot.inlineText = true;
      slot.size = inlineTextBytes(layout.slots.size());
      slot.offset = place(slot.size, IsWideTextType(p.type) ? 2 : 1);
    } else {
      slot.size = DllValueSize(p.type);
      slot.offset = place(slot.size, DllValueAlignment(p.type));
    }
    slot.block = open.back().index;
    layout.slots.push_back(slot);
  }
  layout.blocks[0].size = alignUp(open.front().offset, 4);
  return layout;
}

}  // namespace maqo::com::dll
