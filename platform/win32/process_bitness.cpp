#include "platform/win32/process_bitness.h"

namespace maqo::platform {

std::optional<bool> ProcessRuns64Bit(HANDLE process) {
  BOOL targetWow = FALSE;
  if (!IsWow64Process(process, &targetWow)) return std::nullopt;
  if (targetWow) return false;
  // Not under WOW64: the process has the system's own bitness, which is
  // 64-bit when we are 64-bit ourselves or run under WOW64.
  if (sizeof(void*) == 8) return true;
  BOOL selfWow = FALSE;
  if (!IsWow64Process(GetCurrentProcess(), &selfWow)) return std::nullopt;
  return selfWow != FALSE;
}

std::optional<bool> ProcessRuns64Bit(DWORD processId) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (!process) return std::nullopt;
  const std::optional<bool> bits64 = ProcessRuns64Bit(process);
  CloseHandle(process);
  return bits64;
}

}  // namespace maqo::platform
