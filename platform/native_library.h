// Loading native 32-bit DLLs, finding their functions and calling them with a
// prepared stack image. The layout of that image and the reading of what a
// function returns are pure code (com/dll); this seam holds only what needs
// the machine: the module handles, the call itself and reading memory that a
// called function handed back through a 32-bit address.
//
// The Windows build (i686) does the real work; the native build has no way
// to run Windows code and answers canCall() with false.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace maqo::platform {

// The registers a called function leaves its result in.
struct NativeCallResult {
  uint32_t eax = 0;
  uint32_t edx = 0;
  // The x87 top of stack stored as 80 bits (little-endian), only when the
  // call was made for a floating-point return; zeros otherwise.
  uint8_t st0[10] = {};
};

class NativeLibraries {
 public:
  virtual ~NativeLibraries() = default;
  // False when this build cannot call native functions at all.
  virtual bool canCall() = 0;
  // The module handle of a DLL file (loaded by the system's search rules), or
  // 0 when it cannot be loaded.
  virtual uintptr_t load(const std::u16string& file) = 0;
  virtual void release(uintptr_t module) = 0;
  // The address of an exported function by its exact (case-sensitive) name,
  // or 0 when the module exports no such function.
  virtual uintptr_t procedure(uintptr_t module, const std::string& name) = 0;
  // Calls the function: the image (bytes, a multiple of 4) is copied onto the
  // machine stack with its first byte at the lowest address, the function is
  // called, and the stack pointer is restored from the caller's frame, so
  // functions that pop their arguments (stdcall) and functions that leave
  // them (cdecl, varargs) both return cleanly. floatingReturn: the function
  // returns in the x87 register, which is then popped into st0 (popping it
  // after a function that pushed nothing would corrupt the x87 stack).
  virtual NativeCallResult call(uintptr_t procedure, const uint8_t* image, size_t bytes, bool floatingReturn) = 0;
  // The 32-bit address of our own memory, as the called function sees it.
  virtual uint32_t addressOf(const void* memory) = 0;
  // Memory the called function handed back: a zero-terminated ANSI or UTF-16
  // text, or count bytes (empty on failure).
  virtual std::string ansiTextAt(uint32_t address) = 0;
  virtual std::u16string wideTextAt(uint32_t address) = 0;
  virtual std::vector<uint8_t> bytesAt(uint32_t address, size_t count) = 0;
  // Releases what a VARIANT the called function filled owns (its string or
  // array); the 16 bytes are left empty.
  virtual void clearVariant(uint8_t* variant) = 0;
};

// The implementation of this build.
NativeLibraries& systemNativeLibraries();

}  // namespace maqo::platform
