// The desktop seam over user32 and kernel32.
#include <windows.h>

#include "platform/desktop.h"
#include "platform/win32/process_bitness.h"

namespace maqo::platform {

namespace {

HWND hwnd(WindowHandle h) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(h)); }
WindowHandle handle(HWND h) { return static_cast<WindowHandle>(reinterpret_cast<uintptr_t>(h)); }

std::u16string fromWide(const wchar_t* text, size_t length) {
  return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}

BOOL CALLBACK collectWindow(HWND h, LPARAM list) {
  reinterpret_cast<std::vector<WindowHandle>*>(list)->push_back(handle(h));
  return TRUE;
}

BOOL CALLBACK collectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  reinterpret_cast<std::vector<HMONITOR>*>(list)->push_back(monitor);
  return TRUE;
}

std::vector<HMONITOR> monitorHandles() {
  std::vector<HMONITOR> list;
  EnumDisplayMonitors(nullptr, nullptr, &collectMonitor, reinterpret_cast<LPARAM>(&list));
  return list;
}

WindowRect rectOf(const RECT& r) { return WindowRect{r.left, r.top, r.right, r.bottom}; }

class Win32Process final : public StartedProcess {
 public:
  explicit Win32Process(const PROCESS_INFORMATION& info) : info_(info) {}
  ~Win32Process() override {
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  uint32_t processId() override { return info_.dwProcessId; }
  IdleWait waitForInputIdle(int ms) override {
    const DWORD r = WaitForInputIdle(info_.hProcess, static_cast<DWORD>(ms));
    if (r == 0) return IdleWait::Idle;
    if (r == WAIT_TIMEOUT) return IdleWait::TimedOut;
    return IdleWait::Failed;
  }
  bool waitForExit(int ms) override {
    return WaitForSingleObject(info_.hProcess, static_cast<DWORD>(ms)) == WAIT_OBJECT_0;
  }
  std::optional<uint32_t> exitCode() override {
    DWORD code = 0;
    if (!GetExitCodeProcess(info_.hProcess, &code)) return std::nullopt;
    return code;
  }

 private:
  PROCESS_INFORMATION info_;
};

class Win32Desktop final : public Desktop {
 public:
  bool available() override { return true; }

  std::vector<WindowHandle> topLevelWindows() override {
    std::vector<WindowHandle> list;
    EnumWindows(&collectWindow, reinterpret_cast<LPARAM>(&list));
    return list;
  }
  std::vector<WindowHandle> descendants(WindowHandle parent) override {
    std::vector<WindowHandle> list;
    EnumChildWindows(hwnd(parent), &collectWindow, reinterpret_cast<LPARAM>(&list));
    return list;
  }

  bool isWindow(WindowHandle h) override { return h != 0 && IsWindow(hwnd(h)); }
  bool isVisible(WindowHandle h) override { return IsWindowVisible(hwnd(h)) != 0; }
  bool isEnabled(WindowHandle h) override { return IsWindowEnabled(hwnd(h)) != 0; }
  bool isIconic(WindowHandle h) override { return IsIconic(hwnd(h)) != 0; }
  bool isZoomed(WindowHandle h) override { return IsZoomed(hwnd(h)) != 0; }
  std::u16string title(WindowHandle h) override {
    wchar_t buffer[301] = {};
    const int n = GetWindowTextW(hwnd(h), buffer, 301);
    return fromWide(buffer, n > 0 ? static_cast<size_t>(n) : 0);
  }
  std::u16string className(WindowHandle h) override {
    wchar_t buffer[301] = {};
    const int n = GetClassNameW(hwnd(h), buffer, 301);
    return fromWide(buffer, n > 0 ? static_cast<size_t>(n) : 0);
  }
  WindowHandle parent(WindowHandle h) override { return handle(GetParent(hwnd(h))); }
  WindowHandle owner(WindowHandle h) override { return handle(GetWindow(hwnd(h), GW_OWNER)); }
  bool hasChild(WindowHandle h) override { return GetTopWindow(hwnd(h)) != nullptr; }
  std::optional<WindowRect> windowRect(WindowHandle h) override {
    RECT r;
    if (!GetWindowRect(hwnd(h), &r)) return std::nullopt;
    return rectOf(r);
  }
  std::optional<WindowRect> clientRect(WindowHandle h) override {
    RECT r;
    if (!GetClientRect(hwnd(h), &r)) return std::nullopt;
    return rectOf(r);
  }
  std::optional<std::pair<int, int>> clientOrigin(WindowHandle h) override {
    POINT p{0, 0};
    if (!ClientToScreen(hwnd(h), &p)) return std::nullopt;
    return std::pair<int, int>{p.x, p.y};
  }
  bool isMdiChild(WindowHandle h) override {
    return (GetWindowLongW(hwnd(h), GWL_EXSTYLE) & WS_EX_MDICHILD) != 0;
  }
  uint32_t processId(WindowHandle h) override {
    DWORD id = 0;
    GetWindowThreadProcessId(hwnd(h), &id);
    return id;
  }
  bool respondsWithin(WindowHandle h, int ms) override {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(hwnd(h), WM_NULL, 0, 0, SMTO_NORMAL, static_cast<UINT>(ms), &result) != 0;
  }

  WindowHandle foreground() override { return handle(GetForegroundWindow()); }
  WindowHandle windowUnderCursor() override {
    POINT p;
    if (!GetCursorPos(&p)) return 0;
    return handle(WindowFromPoint(p));
  }
  bool anyPopup() override { return AnyPopup() != 0; }
  std::u16string halfWidth(const std::u16string& text) override {
    if (text.empty()) return text;
    const auto* source = reinterpret_cast<const wchar_t*>(text.data());
    const int size = static_cast<int>(text.size());
    const int n = LCMapStringW(LOCALE_SYSTEM_DEFAULT, LCMAP_HALFWIDTH, source, size, nullptr, 0);
    if (n <= 0) return text;
    std::wstring out(static_cast<size_t>(n), L'\0');
    if (LCMapStringW(LOCALE_SYSTEM_DEFAULT, LCMAP_HALFWIDTH, source, size, out.data(), n) <= 0) return text;
    return fromWide(out.data(), out.size());
  }

  void show(WindowHandle h, ShowCommand command) override {
    static constexpr int codes[] = {SW_HIDE, SW_SHOW, SW_MINIMIZE, SW_SHOWMAXIMIZED, SW_SHOWNORMAL};
    ShowWindow(hwnd(h), codes[static_cast<int>(command)]);
  }
  void setPosition(WindowHandle h, ZPlacement z, int x, int y, int width, int height, PositionFlags flags) override {
    UINT f = 0;
    if (flags.noMove) f |= SWP_NOMOVE;
    if (flags.noSize) f |= SWP_NOSIZE;
    if (flags.noActivate) f |= SWP_NOACTIVATE;
    HWND after = nullptr;
    if (z == ZPlacement::Topmost)
      after = HWND_TOPMOST;
    else if (z == ZPlacement::NoTopmost)
      after = HWND_NOTOPMOST;
    else
      f |= SWP_NOZORDER;
    SetWindowPos(hwnd(h), after, x, y, width, height, f);
  }
  bool postMessage(WindowHandle h, uint32_t message, uint32_t wParam, uint32_t lParam) override {
    return PostMessageW(hwnd(h), message, wParam, static_cast<LPARAM>(static_cast<int32_t>(lParam))) != 0;
  }
  void bringForward(WindowHandle h) override {
    const DWORD target = GetWindowThreadProcessId(hwnd(h), nullptr);
    const DWORD front = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    const bool attach = front != 0 && front != target;
    if (attach) AttachThreadInput(target, front, TRUE);
    SetForegroundWindow(hwnd(h));
    if (attach) AttachThreadInput(target, front, FALSE);
    BringWindowToTop(hwnd(h));
  }
  std::optional<uint32_t> foregroundLockTimeout() override {
    DWORD ms = 0;
    if (!SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &ms, 0)) return std::nullopt;
    return ms;
  }
  void setForegroundLockTimeout(uint32_t ms) override {
    SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, reinterpret_cast<void*>(static_cast<uintptr_t>(ms)), 0);
  }

  std::vector<MonitorInfo> monitors() override {
    std::vector<MonitorInfo> list;
    for (HMONITOR monitor : monitorHandles()) {
      MONITORINFOEXW info{};
      info.cbSize = sizeof info;
      MonitorInfo m;
      if (GetMonitorInfoW(monitor, &info)) {
        m.bounds = rectOf(info.rcMonitor);
        m.primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
        DISPLAY_DEVICEW device{};
        device.cb = sizeof device;
        if (EnumDisplayDevicesW(info.szDevice, 0, &device, 0))
          m.adapterName = fromWide(device.DeviceString, wcsnlen(device.DeviceString, 128));
      }
      list.push_back(std::move(m));
    }
    return list;
  }
  std::optional<int> monitorOf(WindowHandle h) override {
    const HMONITOR nearest = MonitorFromWindow(hwnd(h), MONITOR_DEFAULTTONEAREST);
    const std::vector<HMONITOR> list = monitorHandles();
    for (size_t i = 0; i < list.size(); ++i)
      if (list[i] == nearest) return static_cast<int>(i);
    return std::nullopt;
  }

  std::unique_ptr<StartedProcess> startProcess(const ProcessStart& start) override {
    STARTUPINFOW info{};
    info.cb = sizeof info;
    info.dwFlags = STARTF_USESHOWWINDOW;
    info.wShowWindow = SW_SHOWDEFAULT;
    if (start.position) {
      info.dwFlags |= STARTF_USEPOSITION;
      info.dwX = static_cast<DWORD>(start.position->first);
      info.dwY = static_cast<DWORD>(start.position->second);
    }
    if (start.size) {
      info.dwFlags |= STARTF_USESIZE;
      info.dwXSize = static_cast<DWORD>(start.size->first);
      info.dwYSize = static_cast<DWORD>(start.size->second);
    }
    std::wstring commandLine(reinterpret_cast<const wchar_t*>(start.commandLine.c_str()), start.commandLine.size());
    const std::wstring folder(reinterpret_cast<const wchar_t*>(start.workingDirectory.c_str()),
                              start.workingDirectory.size());
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &info, &process))
      return nullptr;
    return std::make_unique<Win32Process>(process);
  }

  ProcessBitness processBitness(uint32_t processId) override {
    if (processId == 0) return ProcessBitness::Unknown;
    const std::optional<bool> bits64 = ProcessRuns64Bit(processId);
    if (!bits64) return ProcessBitness::Unknown;
    return *bits64 ? ProcessBitness::Bits64 : ProcessBitness::Bits32;
  }

  std::u16string processPath(uint32_t processId) override {
    if (processId == 0) return {};
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process) return {};
    wchar_t buffer[1024];
    DWORD size = 1024;
    std::u16string path;
    if (QueryFullProcessImageNameW(process, 0, buffer, &size)) path = fromWide(buffer, size);
    CloseHandle(process);
    return path;
  }
};

}  // namespace

Desktop& systemDesktop() {
  static Win32Desktop desktop;
  return desktop;
}

}  // namespace maqo::platform
