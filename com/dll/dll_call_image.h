// The memory a DEF_DLL call hands to the function: the stack image and the
// structure blocks of the layout, then the private copies (texts, arrays,
// variants) that pointers in them lead to. Pointers are recorded as fixups
// and written as 32-bit addresses only when every buffer is complete, so the
// image can be built and checked on any machine.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

namespace maqo::com::dll {

inline constexpr uint32_t kNoBuffer = 0xFFFFFFFFu;

// "At buffer/offset goes the address of target's byte targetOffset."
struct PointerFixup {
  uint32_t buffer = 0;
  uint32_t offset = 0;
  uint32_t target = 0;
  uint32_t targetOffset = 0;
};

struct DllCallImage {
  std::vector<std::vector<uint8_t>> buffers;  // [0] the stack image, then the structure blocks, then copies
  std::vector<PointerFixup> fixups;
  // Per argument: the private copy a by-reference argument, an array or a
  // by-value text points to (kNoBuffer: none, or a null pointer was passed).
  std::vector<uint32_t> copies;
  // The variant a VARIANT or SAFEARRAY result is written to.
  uint32_t resultVariant = kNoBuffer;

  uint32_t add(std::vector<uint8_t> bytes) {
    buffers.push_back(std::move(bytes));
    return static_cast<uint32_t>(buffers.size() - 1);
  }
  void pointTo(uint32_t buffer, uint32_t offset, uint32_t target, uint32_t targetOffset = 0) {
    fixups.push_back({buffer, offset, target, targetOffset});
  }
  // Writes every pointer as the address the called function sees.
  void resolvePointers(const std::function<uint32_t(const void*)>& addressOf);
};

}  // namespace maqo::com::dll
