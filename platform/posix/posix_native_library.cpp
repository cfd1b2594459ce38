// The native build cannot load or call Windows DLLs: every DEF_DLL call ends
// with an error that says so (com/dll checks canCall() first).
#include "platform/native_library.h"

namespace maqo::platform {

namespace {

class PosixNativeLibraries final : public NativeLibraries {
 public:
  bool canCall() override { return false; }
  uintptr_t load(const std::u16string&) override { return 0; }
  void release(uintptr_t) override {}
  uintptr_t procedure(uintptr_t, const std::string&) override { return 0; }
  NativeCallResult call(uintptr_t, const uint8_t*, size_t, bool) override { return {}; }
  uint32_t addressOf(const void*) override { return 0; }
  std::string ansiTextAt(uint32_t) override { return {}; }
  std::u16string wideTextAt(uint32_t) override { return {}; }
  std::vector<uint8_t> bytesAt(uint32_t, size_t) override { return {}; }
  void clearVariant(uint8_t*) override {}
};

}  // namespace

NativeLibraries& systemNativeLibraries() {
  static PosixNativeLibraries libraries;
  return libraries;
}

}  // namespace maqo::platform
