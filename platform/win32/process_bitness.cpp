#include "platform/win32/process_bitness.h"

namespace maqo::platform {

std::optional<bool> ProcessRuns64Bit(DWORD processId) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (!process) return std::nullopt;
  BOOL targetWow = FALSE;
  const BOOL asked = IsWow64Process(process, &targetWow);
  CloseHandle(process);
  if (!asked) return std::nullopt;
  if (targetWow) return false;
  // Not under WOW64: the process has the system's own bitness, which is
  // 64-bit when we are 64-bit ourselves or run under WOW64.
  if (sizeof(void*) == 8) return true;
  BOOL selfWow = FALSE;
  if (!IsWow64Process(GetCurrentProcess(), &selfWow)) return std::nullopt;
  return selfWow != FALSE;
}

}  // namespace maqo::platform
