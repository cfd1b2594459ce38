#include "com/dll/dll_call_image.h"

#include "com/dll/dll_values.h"

namespace maqo::com::dll {

void DllCallImage::resolvePointers(const std::function<uint32_t(const void*)>& addressOf) {
  for (const PointerFixup& fixup : fixups) {
    const uint32_t address = addressOf(buffers[fixup.target].data()) + fixup.targetOffset;
    Store32(buffers[fixup.buffer].data() + fixup.offset, address);
  }
}

}  // namespace maqo::com::dll
