// What the DEF_DLL calls of a run share: the DLL cache, and every declaration
// already taken apart with its layout (made once per declaration unless
// text members of structures make it depend on the values) and the address
// of its function. Script threads call through the same session; its tables
// are guarded by locks.
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "com/dll/dll_layout.h"
#include "com/dll/dll_marshal.h"
#include "com/dll/dll_signature.h"
#include "com/dll/library_cache.h"
#include "engine/values/script_value.h"
#include "platform/locale.h"
#include "platform/native_library.h"

namespace maqo::com::dll {

class DllCallSession {
 public:
  explicit DllCallSession(platform::NativeLibraries& native) : native_(native), libraries_(native) {}

  // Calls the function declared as `declaration` (the text after its name)
  // under qualifiedName with the arguments (argumentsWritten of them in the
  // script): lays them out, loads the DLL, finds the function, calls it,
  // converts the return value and writes results back. Throws ScriptError.
  engine::ScriptValue call(std::u16string_view qualifiedName, std::u16string_view declaration, DllArguments& arguments,
                           size_t argumentsWritten, platform::Locale& locale);
  // End of a run: forgets the declarations and frees every DLL.
  void endRun();
  LibraryCache& libraries() { return libraries_; }

 private:
  struct Prepared {
    DllSignature signature;
    std::optional<DllLayout> layout;  // none: made per call
    std::atomic<uintptr_t> procedure{0};
  };
  std::shared_ptr<Prepared> prepare(std::u16string_view qualifiedName, std::u16string_view declaration);
  uintptr_t procedureOf(Prepared& prepared, std::u16string_view qualifiedName);

  platform::NativeLibraries& native_;
  LibraryCache libraries_;
  std::mutex lock_;
  std::unordered_map<std::u16string, std::shared_ptr<Prepared>> prepared_;
};

// The session of this process's runs (one engine runs at a time per process).
DllCallSession& RunDllSession();
// Gives this process's runs a new session over another native side (tests
// run whole scripts against a fake); the old session's DLLs are freed.
// Only while no script runs.
void UseNativeLibraries(platform::NativeLibraries& native);
// The run's end: releases what DEF_DLL calls acquired.
void EndRun();

}  // namespace maqo::com::dll
