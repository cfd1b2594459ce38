#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/win32_system.h"

namespace maqo::platform {

namespace {

const wchar_t* W(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }

// mciSendStringW from winmm.dll, loaded on first use; null when it is missing.
using MciSendStringFn = DWORD(WINAPI*)(LPCWSTR, LPWSTR, UINT, HWND);
MciSendStringFn mciSendString() {
  static const MciSendStringFn fn = [] {
    HMODULE winmm = LoadLibraryW(L"winmm.dll");
    return winmm ? reinterpret_cast<MciSendStringFn>(reinterpret_cast<void*>(GetProcAddress(winmm, "mciSendStringW")))
                 : nullptr;
  }();
  return fn;
}

bool mci(const std::u16string& command, std::u16string* reply = nullptr) {
  const MciSendStringFn send = mciSendString();
  if (send == nullptr) return false;
  wchar_t buffer[128] = {};
  const DWORD error = send(W(command), buffer, 128, nullptr);
  if (reply) *reply = reinterpret_cast<const char16_t*>(buffer);
  return error == 0;
}

constexpr char16_t kAlias[] = u"maqo_sound";

std::u16string digits(int n) {
  std::u16string s;
  for (char c : std::to_string(n)) s += static_cast<char16_t>(c);
  return s;
}

std::u16string registryDefault(HKEY root, const std::u16string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, W(path), 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
  wchar_t buffer[MAX_PATH * 2] = {};
  DWORD size = sizeof buffer - sizeof(wchar_t);
  DWORD type = 0;
  std::u16string value;
  if (RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS &&
      (type == REG_SZ || type == REG_EXPAND_SZ))
    value = reinterpret_cast<const char16_t*>(buffer);
  RegCloseKey(key);
  return value;
}

std::vector<std::u16string> subKeys(HKEY root, const std::u16string& path) {
  std::vector<std::u16string> names;
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, W(path), 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
  wchar_t name[256];
  for (DWORD i = 0;; ++i) {
    DWORD length = 256;
    if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(reinterpret_cast<const char16_t*>(name), length);
  }
  RegCloseKey(key);
  return names;
}

}  // namespace

// ---- sound ----

bool Win32SoundDevice::play(const std::u16string& file, int device) {
  std::lock_guard guard(lock_);
  if (open_) mci(u"close " + std::u16string(kAlias));
  open_ = mci(u"open \"" + file + u"\" alias " + kAlias);
  if (!open_) return false;
  if (device > 0) mci(u"set " + std::u16string(kAlias) + u" output " + digits(device));
  if (!mci(u"play " + std::u16string(kAlias))) {
    mci(u"close " + std::u16string(kAlias));
    open_ = false;
    return false;
  }
  return true;
}

bool Win32SoundDevice::playing() {
  std::lock_guard guard(lock_);
  if (!open_) return false;
  std::u16string mode;
  return mci(u"status " + std::u16string(kAlias) + u" mode", &mode) && mode == u"playing";
}

void Win32SoundDevice::close() {
  std::lock_guard guard(lock_);
  if (open_) mci(u"close " + std::u16string(kAlias));
  open_ = false;
}

void Win32SoundDevice::tone(int hz, int ms) { Beep(static_cast<DWORD>(hz), static_cast<DWORD>(ms)); }

void Win32SoundDevice::defaultBeep() { MessageBeep(MB_OK); }

std::vector<EventSound> Win32SoundDevice::eventSounds() {
  std::vector<EventSound> sounds;
  const std::u16string apps = u"AppEvents\\Schemes\\Apps";
  for (const std::u16string& app : subKeys(HKEY_CURRENT_USER, apps))
    for (const std::u16string& event : subKeys(HKEY_CURRENT_USER, apps + u"\\" + app)) {
      std::u16string file = registryDefault(HKEY_CURRENT_USER, apps + u"\\" + app + u"\\" + event + u"\\.Current");
      if (!file.empty()) sounds.push_back({app, event, std::move(file)});
    }
  return sounds;
}

// ---- power ----

bool Win32PowerControl::enableShutdownPrivilege() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  const bool ok = LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid) &&
                  AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) &&
                  GetLastError() == ERROR_SUCCESS;
  CloseHandle(token);
  return ok;
}

bool Win32PowerControl::setSuspendState(bool suspend, bool force) {
  using SetSuspendStateFn = BOOLEAN(WINAPI*)(BOOLEAN, BOOLEAN, BOOLEAN);
  HMODULE powrprof = LoadLibraryW(L"powrprof.dll");
  if (powrprof == nullptr) return false;
  auto fn = reinterpret_cast<SetSuspendStateFn>(reinterpret_cast<void*>(GetProcAddress(powrprof, "SetSuspendState")));
  const bool ok = fn != nullptr && fn(suspend ? FALSE : TRUE, force ? TRUE : FALSE, FALSE);
  FreeLibrary(powrprof);
  return ok;
}

void Win32PowerControl::broadcastSysCommand(unsigned command, intptr_t parameter) {
  PostMessageW(HWND_BROADCAST, WM_SYSCOMMAND, command, static_cast<LPARAM>(parameter));
}

void Win32PowerControl::requireDisplay() { SetThreadExecutionState(ES_DISPLAY_REQUIRED); }

bool Win32PowerControl::exitSession(unsigned flags) {
  return ExitWindowsEx(flags, SHTDN_REASON_MAJOR_OTHER | SHTDN_REASON_FLAG_PLANNED) != FALSE;
}

}  // namespace maqo::platform
