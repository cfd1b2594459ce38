// The script's own windows on Windows: the log window (a memo), the balloons
// and the stop form. They all live on one window thread of their own that
// runs a message loop for the life of the process, so they stay responsive
// (the STOP button works) however busy the script is, and a window never
// dies with the script thread that first asked for it. Calls from other
// threads are carried to that thread with a bounded SendMessageTimeout;
// printed lines are queued and added to the memo in batches, so PRINT never
// waits for the window.
#include <windows.h>

#include <array>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/script_windows.h"
#include "platform/win32/win32_fonts.h"

namespace maqo::platform {

namespace {

WindowHandle handleOf(HWND h) { return static_cast<WindowHandle>(reinterpret_cast<uintptr_t>(h)); }
const wchar_t* wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

constexpr UINT kRunWork = WM_APP + 1;     // lParam: std::function<void()>* to run now
constexpr UINT kFlushMemo = WM_APP + 2;   // the queued memo text is due
constexpr DWORD kCallBoundMs = 5000;      // a call to the window thread never waits longer
constexpr int kBalloonSlots = 65;
constexpr int kLogClientWidth = 215, kLogClientHeight = 81;
constexpr int kStopClientWidth = 122, kStopClientHeight = 27;
constexpr int kStopButtonId = 1;

const wchar_t kControlClass[] = L"maqo_script_windows";
const wchar_t kLogClass[] = L"TUScript";
const wchar_t kBalloonClass[] = L"TFfukidsi";
const wchar_t kStopClass[] = L"TFTeisi";

struct Balloon {
  HWND window = nullptr;
  HFONT font = nullptr;
  BalloonLook look;
  bool hasLook = false;
};

// Two looks that differ only in text and position need no new shape.
bool sameStyle(const BalloonLook& a, const BalloonLook& b) {
  return a.shape.width == b.shape.width && a.shape.height == b.shape.height && a.shape.outline == b.shape.outline &&
         a.shape.labelX == b.shape.labelX && a.shape.labelY == b.shape.labelY && a.shape.region == b.shape.region &&
         a.fontName == b.fontName && a.fontSize == b.fontSize && a.antialiased == b.antialiased &&
         a.textColour == b.textColour && a.formColour == b.formColour &&
         a.transparency.layering == b.transparency.layering && a.transparency.keyColour == b.transparency.keyColour &&
         a.transparency.alpha == b.transparency.alpha && a.drawOutline == b.drawOutline &&
         a.outlineColour == b.outlineColour;
}

class Win32ScriptWindows;
Win32ScriptWindows* theWindows = nullptr;

LRESULT CALLBACK controlProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK balloonProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK stopFormProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK stopButtonProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK logProc(HWND, UINT, WPARAM, LPARAM);

class Win32ScriptWindows final : public ScriptWindows {
 public:
  Win32ScriptWindows() {
    theWindows = this;
    std::thread([this] { threadMain(); }).detach();
    std::unique_lock hold(startLock_);
    startSignal_.wait_for(hold, std::chrono::milliseconds(kCallBoundMs), [this] { return started_; });
  }

  // ---- log window ----
  WindowHandle logWindow() override {
    WindowHandle result = 0;
    run([&] { result = handleOf(ensureLog()); });
    return result;
  }
  void appendLogLine(const std::u16string& line) override {
    queueMemo([&](Pending& p) {
      if (p.memoHasText) p.append += u"\r\n";
      p.append += line;
      p.memoHasText = true;
    });
  }
  void setLogText(const std::u16string& text) override {
    queueMemo([&](Pending& p) {
      p.replace = true;
      p.replacement = text;
      p.append.clear();
      p.memoHasText = !text.empty();
    });
  }
  void showLogWindow(bool show) override {
    run([&] {
      flushMemo();
      HWND w = ensureLog();
      if (show) keepReachable(w);
      ShowWindow(w, show ? SW_SHOWNOACTIVATE : SW_HIDE);
    });
  }
  bool logWindowVisible() override { return log_ != nullptr && IsWindowVisible(log_); }
  void placeLogWindow(const WindowPlacement& placement) override {
    run([&] {
      HWND w = ensureLog();
      RECT r{};
      GetWindowRect(w, &r);
      const int width = placement.width.value_or(r.right - r.left);
      const int height = placement.height.value_or(r.bottom - r.top);
      SetWindowPos(w, nullptr, placement.x, placement.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    });
  }

  // ---- balloons ----
  TextExtent measureBalloonText(const std::u16string& text, const std::u16string& fontName, int fontSize) override {
    TextExtent extent;
    run([&] {
      HFONT font = createPointFont(fontName, fontSize, true);
      HDC dc = GetDC(nullptr);
      HGDIOBJ old = SelectObject(dc, font);
      RECT r{0, 0, 0, 0};
      DrawTextW(dc, wide(text), -1, &r, DT_CALCRECT | DT_NOPREFIX);
      SelectObject(dc, old);
      ReleaseDC(nullptr, dc);
      DeleteObject(font);
      extent = {r.right - r.left, r.bottom - r.top};
    });
    return extent;
  }
  WindowHandle showBalloon(int slot, const BalloonLook& look) override {
    if (slot < 0 || slot >= kBalloonSlots) return 0;
    WindowHandle result = 0;
    run([&] { result = handleOf(showBalloonHere(balloons_[static_cast<size_t>(slot)], look)); });
    return result;
  }
  void hideBalloon(int slot) override {
    if (slot < 0 || slot >= kBalloonSlots) return;
    run([&] {
      Balloon& b = balloons_[static_cast<size_t>(slot)];
      if (b.window) ShowWindow(b.window, SW_HIDE);
      b.look.text.clear();
    });
  }
  void closeBalloons() override {
    run([&] {
      for (Balloon& b : balloons_) {
        if (b.window) DestroyWindow(b.window);
        if (b.font) DeleteObject(b.font);
        b = Balloon{};
      }
    });
  }

  // ---- stop form ----
  WindowHandle showStopForm(std::optional<OutlinePoint> position, const std::u16string& caption,
                            std::function<void()> onStop) override {
    WindowHandle result = 0;
    run([&] {
      HWND w = ensureStopForm();
      {
        std::lock_guard hold(stopLock_);
        onStop_ = std::move(onStop);
      }
      SetWindowTextW(w, wide(caption));
      if (position) SetWindowPos(w, nullptr, position->x, position->y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      SetWindowPos(w, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
      result = handleOf(w);
    });
    return result;
  }
  void hideStopForm() override {
    run([&] {
      if (stop_) ShowWindow(stop_, SW_HIDE);
    });
  }

  // ---- on the window thread ----
  void runPosted(LPARAM work) { (*reinterpret_cast<std::function<void()>*>(work))(); }
  void flushMemo() {
    Pending p;
    {
      std::lock_guard hold(memoLock_);
      p.replace = pending_.replace;
      p.replacement = std::move(pending_.replacement);
      p.append = std::move(pending_.append);
      pending_.replace = false;
      pending_.replacement.clear();
      pending_.append.clear();
      flushPosted_ = false;
    }
    if (!p.replace && p.append.empty()) return;
    HWND memo = ensureMemo();
    SendMessageW(memo, WM_SETREDRAW, FALSE, 0);
    if (p.replace) SetWindowTextW(memo, wide(p.replacement));
    if (!p.append.empty()) {
      const LRESULT end = SendMessageW(memo, WM_GETTEXTLENGTH, 0, 0);
      SendMessageW(memo, EM_SETSEL, static_cast<WPARAM>(end), end);
      SendMessageW(memo, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(wide(p.append)));
    }
    SendMessageW(memo, WM_SETREDRAW, TRUE, 0);
    SendMessageW(memo, EM_SCROLLCARET, 0, 0);
    InvalidateRect(memo, nullptr, TRUE);
  }
  void layoutLog() {
    if (!log_ || !memo_) return;
    RECT r{};
    GetClientRect(log_, &r);
    MoveWindow(memo_, 0, 0, r.right, r.bottom, TRUE);
  }
  Balloon* balloonOf(HWND w) {
    for (Balloon& b : balloons_)
      if (b.window == w) return &b;
    return nullptr;
  }
  void paintBalloon(HWND w) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(w, &ps);
    if (Balloon* b = balloonOf(w)) {
      const BalloonLook& look = b->look;
      RECT all{0, 0, look.shape.width, look.shape.height};
      HBRUSH fill = CreateSolidBrush(look.formColour);
      FillRect(dc, &all, fill);
      DeleteObject(fill);
      if (look.drawOutline && !look.shape.outline.empty()) {
        std::vector<POINT> points;
        for (const OutlinePoint& p : look.shape.outline) points.push_back({p.x, p.y});
        points.push_back(points.front());
        HPEN pen = CreatePen(PS_SOLID, 2, look.outlineColour);
        HGDIOBJ oldPen = SelectObject(dc, pen);
        Polyline(dc, points.data(), static_cast<int>(points.size()));
        SelectObject(dc, oldPen);
        DeleteObject(pen);
      }
      HGDIOBJ oldFont = SelectObject(dc, b->font);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, look.textColour);
      RECT label{look.shape.labelX, look.shape.labelY, look.shape.width, look.shape.height};
      DrawTextW(dc, wide(look.text), -1, &label, DT_NOPREFIX);
      SelectObject(dc, oldFont);
    }
    EndPaint(w, &ps);
  }
  void pressStop() {
    std::function<void()> onStop;
    {
      std::lock_guard hold(stopLock_);
      onStop = onStop_;
    }
    if (onStop) onStop();
  }
  WNDPROC buttonProc() const { return buttonProc_; }

 private:
  struct Pending {
    bool replace = false;
    std::u16string replacement;
    std::u16string append;
    bool memoHasText = false;
  };

  void threadMain() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    const struct {
      const wchar_t* name;
      WNDPROC procedure;
      HBRUSH background;
    } classes[] = {
        {kControlClass, controlProc, nullptr},
        {kLogClass, logProc, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)},
        {kBalloonClass, balloonProc, nullptr},  // painted whole by the balloon itself
        {kStopClass, stopFormProc, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)},
    };
    for (const auto& c : classes) {
      WNDCLASSW wc{};
      wc.hInstance = instance;
      wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
      wc.lpfnWndProc = c.procedure;
      wc.hbrBackground = c.background;
      wc.lpszClassName = c.name;
      RegisterClassW(&wc);
    }
    control_ = CreateWindowExW(0, kControlClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    threadId_ = GetCurrentThreadId();
    {
      std::lock_guard hold(startLock_);
      started_ = true;
    }
    startSignal_.notify_all();
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }

  // Runs work on the window thread and waits for it (at most kCallBoundMs).
  void run(const std::function<void()>& work) {
    if (!control_) return;
    if (GetCurrentThreadId() == threadId_) {
      work();
      return;
    }
    std::function<void()> copy = work;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(control_, kRunWork, 0, reinterpret_cast<LPARAM>(&copy), SMTO_NORMAL, kCallBoundMs, &ignored);
  }

  template <typename Change>
  void queueMemo(Change change) {
    bool post = false;
    {
      std::lock_guard hold(memoLock_);
      change(pending_);
      post = !flushPosted_;
      flushPosted_ = true;
    }
    if (post && control_) PostMessageW(control_, kFlushMemo, 0, 0);
  }

  static void keepReachable(HWND w) {
    RECT r{};
    if (!GetWindowRect(w, &r)) return;
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const ScreenRect desktop{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                             top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    const OutlinePoint at = ReachablePosition(r.left, r.top, r.right - r.left, desktop);
    if (at.x != r.left || at.y != r.top)
      SetWindowPos(w, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  HWND ensureLog() {
    if (log_) return log_;
    RECT r{0, 0, kLogClientWidth, kLogClientHeight};
    const DWORD style = WS_OVERLAPPEDWINDOW;
    AdjustWindowRectEx(&r, style, FALSE, WS_EX_TOPMOST);
    log_ = CreateWindowExW(WS_EX_TOPMOST, kLogClass, L"UScript", style, CW_USEDEFAULT, CW_USEDEFAULT,
                           r.right - r.left, r.bottom - r.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ensureMemo();
    return log_;
  }
  HWND ensureMemo() {
    if (memo_) return memo_;
    if (!log_) return ensureLog(), memo_;  // the log window makes its memo
    memo_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                            WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                                ES_AUTOHSCROLL | ES_NOHIDESEL,
                            0, 0, kLogClientWidth, kLogClientHeight, log_, nullptr, GetModuleHandleW(nullptr), nullptr);
    // The edit control's default limit is 32K characters; the kept lines need more.
    SendMessageW(memo_, EM_SETLIMITTEXT, 0x7FFFFFFE, 0);
    memoFont_ = createPointFont(u"\uFF2D\uFF33 \u30B4\u30B7\u30C3\u30AF", 10, true);
    SendMessageW(memo_, WM_SETFONT, reinterpret_cast<WPARAM>(memoFont_), FALSE);
    layoutLog();
    return memo_;
  }

  HWND showBalloonHere(Balloon& b, const BalloonLook& look) {
    const bool newStyle = !b.hasLook || !sameStyle(b.look, look);
    if (!b.window) {
      b.window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kBalloonClass, L"", WS_POPUP, look.x,
                                 look.y, look.shape.width, look.shape.height, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
      if (!b.window) return nullptr;
    }
    HWND w = b.window;
    if (newStyle) {
      // A new style is built while hidden, so the old shape never shows with the new colours.
      ShowWindow(w, SW_HIDE);
      SetWindowRgn(w, nullptr, FALSE);
      if (b.font) DeleteObject(b.font);
      b.font = createPointFont(look.fontName, look.fontSize, look.antialiased);
      LONG_PTR exStyle = GetWindowLongPtrW(w, GWL_EXSTYLE);
      if (look.transparency.layering == BalloonLayering::None) {
        SetWindowLongPtrW(w, GWL_EXSTYLE, exStyle & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
      } else {
        SetWindowLongPtrW(w, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
        if (look.transparency.layering == BalloonLayering::ColourKey)
          SetLayeredWindowAttributes(w, look.transparency.keyColour, 0, LWA_COLORKEY);
        else
          SetLayeredWindowAttributes(w, 0, static_cast<BYTE>(look.transparency.alpha), LWA_ALPHA);
      }
    }
    b.look = look;
    b.hasLook = true;
    SetWindowPos(w, HWND_TOPMOST, look.x, look.y, look.shape.width, look.shape.height, SWP_NOACTIVATE);
    if (newStyle && look.shape.region && !look.shape.outline.empty()) {
      std::vector<POINT> points;
      for (const OutlinePoint& p : look.shape.outline) points.push_back({p.x, p.y});
      HRGN region = CreatePolygonRgn(points.data(), static_cast<int>(points.size()), WINDING);
      // The window owns the region from here on.
      if (region && !SetWindowRgn(w, region, TRUE)) DeleteObject(region);
    }
    InvalidateRect(w, nullptr, TRUE);
    ShowWindow(w, SW_SHOWNOACTIVATE);
    UpdateWindow(w);
    return w;
  }

  HWND ensureStopForm() {
    if (stop_) return stop_;
    const DWORD style = WS_POPUP | WS_CAPTION | WS_DLGFRAME;
    const DWORD exStyle = WS_EX_TOPMOST | WS_EX_DLGMODALFRAME;
    RECT r{0, 0, kStopClientWidth, kStopClientHeight};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    stop_ = CreateWindowExW(exStyle, kStopClass, L"MAQO", style, 0, 0, r.right - r.left, r.bottom - r.top, nullptr,
                            nullptr, instance, nullptr);
    HWND button = CreateWindowExW(0, L"BUTTON", L"STOP", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, kStopClientWidth,
                                  kStopClientHeight, stop_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStopButtonId)),
                                  instance, nullptr);
    // The button acts when it is pressed, not when it is released.
    buttonProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&stopButtonProc)));
    return stop_;
  }

  HWND control_ = nullptr;
  DWORD threadId_ = 0;
  std::mutex startLock_;
  std::condition_variable startSignal_;
  bool started_ = false;

  HWND log_ = nullptr;
  HWND memo_ = nullptr;
  HFONT memoFont_ = nullptr;
  std::mutex memoLock_;
  Pending pending_;
  bool flushPosted_ = false;

  std::array<Balloon, kBalloonSlots> balloons_{};

  HWND stop_ = nullptr;
  WNDPROC buttonProc_ = nullptr;
  std::mutex stopLock_;
  std::function<void()> onStop_;
};

LRESULT CALLBACK controlProc(HWND w, UINT message, WPARAM wp, LPARAM lp) {
  if (message == kRunWork) {
    theWindows->runPosted(lp);
    return 0;
  }
  if (message == kFlushMemo) {
    theWindows->flushMemo();
    return 0;
  }
  return DefWindowProcW(w, message, wp, lp);
}

LRESULT CALLBACK logProc(HWND w, UINT message, WPARAM wp, LPARAM lp) {
  if (message == WM_SIZE) {
    theWindows->layoutLog();
    return 0;
  }
  if (message == WM_CLOSE) {
    // The log window belongs to the engine: closing it only hides it.
    ShowWindow(w, SW_HIDE);
    return 0;
  }
  return DefWindowProcW(w, message, wp, lp);
}

LRESULT CALLBACK balloonProc(HWND w, UINT message, WPARAM wp, LPARAM lp) {
  if (message == WM_PAINT) {
    theWindows->paintBalloon(w);
    return 0;
  }
  if (message == WM_ERASEBKGND) return 1;
  if (message == WM_WINDOWPOSCHANGING) {
    // Stays above other windows unless it is the foreground window itself.
    auto* pos = reinterpret_cast<WINDOWPOS*>(lp);
    if (!(pos->flags & SWP_NOZORDER) && GetForegroundWindow() != w) pos->hwndInsertAfter = HWND_TOPMOST;
  }
  return DefWindowProcW(w, message, wp, lp);
}

LRESULT CALLBACK stopFormProc(HWND w, UINT message, WPARAM wp, LPARAM lp) {
  // A click (also from the keyboard or BM_CLICK) and a close request stop the run.
  if ((message == WM_COMMAND && LOWORD(wp) == kStopButtonId && HIWORD(wp) == BN_CLICKED) || message == WM_CLOSE) {
    theWindows->pressStop();
    return 0;
  }
  return DefWindowProcW(w, message, wp, lp);
}

LRESULT CALLBACK stopButtonProc(HWND w, UINT message, WPARAM wp, LPARAM lp) {
  if (message == WM_LBUTTONDOWN) theWindows->pressStop();
  return CallWindowProcW(theWindows->buttonProc(), w, message, wp, lp);
}

}  // namespace

ScriptWindows& buildScriptWindows() {
  // Never destroyed: its thread runs until the process ends.
  static Win32ScriptWindows* windows = new Win32ScriptWindows();
  return *windows;
}

}  // namespace maqo::platform
