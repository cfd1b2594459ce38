#include <windows.h>

#include "platform/system_services.h"
#include "platform/win32/win32_system.h"

namespace maqo::platform {

LocalTime Win32SystemInfo::localTime() {
  SYSTEMTIME st{};
  GetLocalTime(&st);
  return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

// Windows always answers these; where the desktop cannot say (no
// interactive desktop), the system's own answer is 0.
std::optional<ScreenPoint> Win32SystemInfo::cursorPosition() {
  POINT p{};
  if (!GetCursorPos(&p)) p = POINT{};
  return ScreenPoint{p.x, p.y};
}

std::optional<ScreenSize> Win32SystemInfo::virtualScreenSize() {
  return ScreenSize{GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

std::optional<int> Win32SystemInfo::colorDepth() {
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return 0;
  const int depth = GetDeviceCaps(screen, PLANES) * GetDeviceCaps(screen, BITSPIXEL);
  ReleaseDC(nullptr, screen);
  return depth;
}

std::optional<OsVersion> Win32SystemInfo::osVersion() {
  // The version query as the executable's compatibility declarations shape it.
  OSVERSIONINFOEXW info{};
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info))) return std::nullopt;
#pragma GCC diagnostic pop
  OsVersion v;
  v.major = info.dwMajorVersion;
  v.minor = info.dwMinorVersion;
  v.build = info.dwBuildNumber;
  v.platformId = info.dwPlatformId;
  v.server = info.wProductType != VER_NT_WORKSTATION;
  return v;
}

bool Win32SystemInfo::wow64() {
  using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
  auto fn = reinterpret_cast<IsWow64ProcessFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "IsWow64Process")));
  BOOL result = FALSE;
  return fn != nullptr && fn(GetCurrentProcess(), &result) && result;
}

std::optional<ProcessorTimes> Win32SystemInfo::processorTimes() {
  FILETIME idle{}, kernel{}, user{};
  if (!GetSystemTimes(&idle, &kernel, &user)) return std::nullopt;
  auto value = [](const FILETIME& t) { return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  // Kernel time includes the idle time.
  return ProcessorTimes{value(idle), value(kernel) + value(user)};
}

SystemServices& systemServices() {
  static Win32SystemInfo info;
  static Win32CommandRunner commands;
  static Win32SoundDevice sound;
  static Win32PowerControl power;
  static Win32SensorReader sensors;
  static SystemServices services{info, commands, sound, power, sensors};
  return services;
}

}  // namespace maqo::platform
