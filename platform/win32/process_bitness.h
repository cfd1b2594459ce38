// Whether another process runs 64-bit code, asked the same way by the window
// builtins (STATUS) and the control builtins (which structure layout a
// process's common controls expect).
#pragma once
#include <windows.h>

#include <optional>

namespace maqo::platform {

// Nothing when the process cannot be opened or asked.
std::optional<bool> ProcessRuns64Bit(DWORD processId);
// The same for a process handle already open with query rights.
std::optional<bool> ProcessRuns64Bit(HANDLE process);

}  // namespace maqo::platform
