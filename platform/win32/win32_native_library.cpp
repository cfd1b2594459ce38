// DLL loading and the call thunk for the i686 build.
#include <windows.h>
#include <oleauto.h>

#include <cstring>

#include "platform/native_library.h"

// The call thunk (cdecl):
//   maqo_call_thunk(image, bytes, procedure, result, floatingReturn)
// Reserves `bytes` below the stack pointer (16-byte aligned), copies the image
// there, calls the procedure, stores EAX:EDX (and, for a floating-point
// return only, the popped x87 top of stack as 80 bits), then restores the
// stack pointer from its own frame: the same code serves callees that pop
// their arguments and callees that leave them.
extern "C" void maqo_call_thunk(const void* image, uint32_t bytes, uintptr_t procedure,
                                maqo::platform::NativeCallResult* result, int floatingReturn);

#if defined(__i386__)
asm(R"(
    .text
    .globl _maqo_call_thunk
    .def _maqo_call_thunk; .scl 2; .type 32; .endef
_maqo_call_thunk:
    pushl %ebp
    movl  %esp, %ebp
    pushl %esi
    pushl %edi
    pushl %ebx
    movl  12(%ebp), %ecx
    subl  %ecx, %esp
    andl  $-16, %esp
    movl  %esp, %edi
    movl  8(%ebp), %esi
    shrl  $2, %ecx
    cld
    rep movsl
    movl  16(%ebp), %eax
    call  *%eax
    movl  20(%ebp), %ecx
    movl  %eax, 0(%ecx)
    movl  %edx, 4(%ecx)
    cmpl  $0, 24(%ebp)
    je    1f
    fstpt 8(%ecx)
1:
    leal  -12(%ebp), %esp
    popl  %ebx
    popl  %edi
    popl  %esi
    popl  %ebp
    ret
)");
#endif

namespace maqo::platform {

namespace {

class Win32NativeLibraries final : public NativeLibraries {
 public:
  bool canCall() override {
#if defined(__i386__)
    return true;
#else
    return false;
#endif
  }

  uintptr_t load(const std::u16string& file) override {
    return reinterpret_cast<uintptr_t>(LoadLibraryW(reinterpret_cast<const wchar_t*>(file.c_str())));
  }

  void release(uintptr_t module) override {
    if (module != 0) FreeLibrary(reinterpret_cast<HMODULE>(module));
  }

  uintptr_t procedure(uintptr_t module, const std::string& name) override {
    return reinterpret_cast<uintptr_t>(GetProcAddress(reinterpret_cast<HMODULE>(module), name.c_str()));
  }

  NativeCallResult call(uintptr_t procedure, const uint8_t* image, size_t bytes, bool floatingReturn) override {
    NativeCallResult result;
#if defined(__i386__)
    maqo_call_thunk(image, static_cast<uint32_t>(bytes), procedure, &result, floatingReturn ? 1 : 0);
#endif
    return result;
  }

  uint32_t addressOf(const void* memory) override {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(memory));
  }

  std::string ansiTextAt(uint32_t address) override {
    if (address == 0) return {};
    return std::string(reinterpret_cast<const char*>(static_cast<uintptr_t>(address)));
  }

  std::u16string wideTextAt(uint32_t address) override {
    if (address == 0) return {};
    return std::u16string(reinterpret_cast<const char16_t*>(static_cast<uintptr_t>(address)));
  }

  std::vector<uint8_t> bytesAt(uint32_t address, size_t count) override {
    if (address == 0) return {};
    const auto* start = reinterpret_cast<const uint8_t*>(static_cast<uintptr_t>(address));
    return std::vector<uint8_t>(start, start + count);
  }

  void clearVariant(uint8_t* variant) override {
    VARIANT v;
    std::memcpy(&v, variant, sizeof v);
    VariantClear(&v);
    std::memset(variant, 0, sizeof v);
  }
};

}  // namespace

NativeLibraries& systemNativeLibraries() {
  static Win32NativeLibraries libraries;
  return libraries;
}

}  // namespace maqo::platform
