// The DLLs a run has loaded: up to 64 (file name, module handle) pairs. A DLL
// is loaded the first time a call needs it and kept until the run ends, when
// every handle is released. Script threads call DLLs too, so every access
// holds the cache's lock.
#pragma once
#include <cstdint>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/native_library.h"

namespace maqo::com::dll {

class LibraryCache {
 public:
  static constexpr size_t kMaxLibraries = 64;

  explicit LibraryCache(platform::NativeLibraries& native) : native_(native) {}
  ~LibraryCache() { releaseAll(); }
  LibraryCache(const LibraryCache&) = delete;
  LibraryCache& operator=(const LibraryCache&) = delete;

  // The module handle of the file (names compared without regard to ASCII
  // case), loading it on first use. Throws ScriptError "Not DLL: " + file
  // when it cannot be loaded, and the limit error for a 65th DLL.
  uintptr_t module(const std::u16string& file);
  // Releases every handle and empties the list (end of a run).
  void releaseAll();
  size_t size();

 private:
  platform::NativeLibraries& native_;
  std::mutex lock_;
  std::vector<std::pair<std::u16string, uintptr_t>> entries_;  // upper-cased file name, handle
};

}  // namespace maqo::com::dll
