// The input seam over user32: SendInput, the cursor, key states, BlockInput,
// the low-level hooks, hot keys (through a message-only window on the thread
// that registers them) and cursor shapes.
#include <windows.h>
#include <imm.h>

#include <mutex>

#include "platform/input.h"

namespace maqo::platform {

namespace {

WindowHandle handle(HWND h) { return static_cast<WindowHandle>(reinterpret_cast<uintptr_t>(h)); }

// The mark by which the hooks (ours and the system's) know input we synthesised.
constexpr ULONG_PTR kOurInput = 1;

// The hooks' state: one lock per process, touched on the thread that installed
// the hooks (the hook procedures run there).
HHOOK keyboardHook = nullptr;
HHOOK mouseHook = nullptr;
HookDecider* hookDecider = nullptr;

void unhookAll() {
  if (keyboardHook) UnhookWindowsHookEx(keyboardHook);
  if (mouseHook) UnhookWindowsHookEx(mouseHook);
  keyboardHook = mouseHook = nullptr;
  hookDecider = nullptr;
}

LRESULT CALLBACK keyboardHookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && hookDecider) {
    const auto* info = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    HookEvent event;
    event.message = static_cast<uint32_t>(wParam);
    event.virtualKey = info->vkCode;
    event.ours = info->dwExtraInfo == kOurInput;
    if (hookDecider->keyboard(event) == HookVerdict::Swallow) return 1;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK mouseHookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && hookDecider) {
    const auto* info = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
    HookEvent event;
    event.message = static_cast<uint32_t>(wParam);
    event.x = info->pt.x;
    event.y = info->pt.y;
    event.ours = info->dwExtraInfo == kOurInput;
    if (hookDecider->mouse(event) == HookVerdict::Swallow) return 1;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// WM_HOTKEY reaches this window while the registering thread pumps messages.
std::function<void(int)>* hotKeyListener = nullptr;

LRESULT CALLBACK hotKeyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_HOTKEY && hotKeyListener && *hotKeyListener) {
    // A copy: the handler may replace the listener.
    const std::function<void(int)> fired = *hotKeyListener;
    fired(static_cast<int>(wParam));
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

class Win32Input final : public Input {
 public:
  bool available() override { return true; }

  void sendKey(const KeyInput& key) override {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = key.unicode ? 0 : key.virtualKey;
    in.ki.wScan = key.scan;
    in.ki.dwFlags = (key.extended ? KEYEVENTF_EXTENDEDKEY : 0) | (key.up ? KEYEVENTF_KEYUP : 0) |
                    (key.unicode ? KEYEVENTF_UNICODE : 0);
    in.ki.dwExtraInfo = kOurInput;
    SendInput(1, &in, sizeof(INPUT));
  }

  void sendMouse(const MouseInput& mouse) override {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = mouse.dx;
    in.mi.dy = mouse.dy;
    in.mi.mouseData = static_cast<DWORD>(mouse.mouseData);
    in.mi.dwFlags = mouse.flags;
    in.mi.dwExtraInfo = kOurInput;
    SendInput(1, &in, sizeof(INPUT));
  }

  void setCursorPos(int x, int y) override { SetCursorPos(x, y); }
  std::optional<std::pair<int, int>> cursorPos() override {
    POINT p;
    if (!GetCursorPos(&p)) return std::nullopt;
    return std::pair{static_cast<int>(p.x), static_cast<int>(p.y)};
  }

  int16_t asyncKeyState(int virtualKey) override { return GetAsyncKeyState(virtualKey); }
  int16_t keyState(int virtualKey) override { return GetKeyState(virtualKey); }
  void clearKeyboardStateEntry(int virtualKey) override {
    BYTE state[256];
    if (virtualKey < 0 || virtualKey > 255 || !GetKeyboardState(state)) return;
    state[virtualKey] = 0;
    SetKeyboardState(state);
  }
  uint16_t scanCode(int virtualKey) override {
    return static_cast<uint16_t>(MapVirtualKeyW(static_cast<UINT>(virtualKey), MAPVK_VK_TO_VSC));
  }
  bool buttonsSwapped() override { return GetSystemMetrics(SM_SWAPBUTTON) != 0; }
  WindowRect virtualDesktop() override {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  }
  bool imeOpen() override {
    HWND ime = ImmGetDefaultIMEWnd(GetForegroundWindow());
    if (!ime) return false;
    DWORD_PTR result = 0;
    constexpr WPARAM kGetOpenStatus = 0x0005;  // IMC_GETOPENSTATUS
    if (!SendMessageTimeoutW(ime, WM_IME_CONTROL, kGetOpenStatus, 0, SMTO_ABORTIFHUNG, 1000, &result)) return false;
    return result != 0;
  }
  WindowHandle windowFromPoint(int x, int y) override { return handle(WindowFromPoint(POINT{x, y})); }

  bool blockInput(bool block) override { return BlockInput(block ? TRUE : FALSE) != 0; }
  bool installHooks(bool keyboard, bool mouse, HookDecider& decider) override {
    unhookAll();
    hookDecider = &decider;
    HINSTANCE self = GetModuleHandleW(nullptr);
    if (keyboard) keyboardHook = SetWindowsHookExW(WH_KEYBOARD_LL, &keyboardHookProc, self, 0);
    if (mouse) mouseHook = SetWindowsHookExW(WH_MOUSE_LL, &mouseHookProc, self, 0);
    if ((keyboard && !keyboardHook) || (mouse && !mouseHook)) {
      unhookAll();
      return false;
    }
    return true;
  }
  void removeHooks() override { unhookAll(); }
  bool hooksInstalled() override { return keyboardHook != nullptr || mouseHook != nullptr; }
  void setRealtimePriority(bool realtime) override {
    SetPriorityClass(GetCurrentProcess(), realtime ? REALTIME_PRIORITY_CLASS : NORMAL_PRIORITY_CLASS);
  }

  void setHotKeyListener(std::function<void(int id)> fired) override {
    listener_ = std::move(fired);
    hotKeyListener = &listener_;
  }
  bool registerHotKey(int id, uint32_t modifiers, uint32_t virtualKey) override {
    HWND target = hotKeyWindow();
    return target && RegisterHotKey(target, id, modifiers, virtualKey) != 0;
  }
  void unregisterHotKey(int id) override {
    if (window_) UnregisterHotKey(window_, id);
  }

  uint64_t systemCursor(int resourceId) override {
    return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(LoadCursorW(nullptr, MAKEINTRESOURCEW(resourceId))));
  }
  uint64_t cursorUnderMouse() override {
    POINT p;
    if (!GetCursorPos(&p)) return 0;
    HWND under = WindowFromPoint(p);
    if (!under) return 0;
    const DWORD target = GetWindowThreadProcessId(under, nullptr);
    const DWORD self = GetCurrentThreadId();
    const bool attach = target != self && AttachThreadInput(self, target, TRUE);
    HCURSOR cursor = GetCursor();
    if (attach) AttachThreadInput(self, target, FALSE);
    return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(cursor));
  }

 private:
  // Created on the first registration, on the thread that registers (the
  // user-interface thread), whose message pump then delivers WM_HOTKEY.
  HWND hotKeyWindow() {
    if (window_) return window_;
    static const wchar_t* kClass = L"MAQO_HOTKEY_SINK";
    WNDCLASSW wc{};
    wc.lpfnWndProc = &hotKeyWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);
    window_ = CreateWindowExW(0, kClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    return window_;
  }

  std::function<void(int)> listener_;
  HWND window_ = nullptr;
};

}  // namespace

Input& systemInput() {
  static Win32Input input;
  return input;
}

}  // namespace maqo::platform
