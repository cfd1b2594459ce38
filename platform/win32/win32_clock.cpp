#include <windows.h>

#include "platform/win32/win32_platform.h"

namespace maqo::platform {

int64_t Win32Clock::monotonicMs() { return static_cast<int64_t>(GetTickCount64()); }

void Win32Clock::sleepMs(int ms) { Sleep(ms < 0 ? 0 : static_cast<DWORD>(ms)); }

}  // namespace maqo::platform
