// The desktop seam: top-level and child windows, their properties and
// messages, monitors, and the processes that own windows. The window
// automation logic (automation/) asks only these questions, so it runs against
// the in-memory fake of platform/fake/fake_desktop.h in native tests. The
// win32 build answers with user32/kernel32; the native build has no desktop
// and reports that through available().
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace maqo::platform {

// A window handle as a number; 0 is no window.
using WindowHandle = uint64_t;

struct WindowRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  int32_t width() const { return right - left; }
  int32_t height() const { return bottom - top; }
};

enum class ShowCommand { Hide, Show, Minimize, ShowMaximized, ShowNormal };

// Where SetWindowPos puts a window in the z order.
enum class ZPlacement { Unchanged, Topmost, NoTopmost };

struct PositionFlags {
  bool noMove = false;
  bool noSize = false;
  bool noActivate = false;
};

struct MonitorInfo {
  WindowRect bounds;
  bool primary = false;
  std::u16string adapterName;  // the display adapter's description
};

enum class ProcessBitness { Unknown, Bits32, Bits64 };

struct ProcessStart {
  std::u16string commandLine;
  std::u16string workingDirectory;  // empty: inherit the current directory
  std::optional<std::pair<int, int>> position;
  std::optional<std::pair<int, int>> size;
};

enum class IdleWait { Idle, TimedOut, Failed };

// A started process; destroying it closes its handles.
class StartedProcess {
 public:
  virtual ~StartedProcess() = default;
  virtual uint32_t processId() = 0;
  // WaitForInputIdle with a time limit.
  virtual IdleWait waitForInputIdle(int ms) = 0;
  // True when the process has ended (waits at most ms).
  virtual bool waitForExit(int ms) = 0;
  virtual std::optional<uint32_t> exitCode() = 0;
};

class Desktop {
 public:
  virtual ~Desktop() = default;

  // False where there is no window manager (the native build).
  virtual bool available() = 0;

  // ---- enumeration (z order, top first) ----
  virtual std::vector<WindowHandle> topLevelWindows() = 0;
  virtual std::vector<WindowHandle> descendants(WindowHandle parent) = 0;

  // ---- facts about one window ----
  virtual bool isWindow(WindowHandle h) = 0;
  virtual bool isVisible(WindowHandle h) = 0;
  virtual bool isEnabled(WindowHandle h) = 0;
  virtual bool isIconic(WindowHandle h) = 0;
  virtual bool isZoomed(WindowHandle h) = 0;
  // GetWindowTextW and GetClassNameW into 301-character buffers (so at most 300).
  virtual std::u16string title(WindowHandle h) = 0;
  virtual std::u16string className(WindowHandle h) = 0;
  virtual WindowHandle parent(WindowHandle h) = 0;
  virtual WindowHandle owner(WindowHandle h) = 0;
  virtual bool hasChild(WindowHandle h) = 0;
  virtual std::optional<WindowRect> windowRect(WindowHandle h) = 0;
  // GetClientRect: left and top are 0.
  virtual std::optional<WindowRect> clientRect(WindowHandle h) = 0;
  // ClientToScreen of the client area's origin.
  virtual std::optional<std::pair<int, int>> clientOrigin(WindowHandle h) = 0;
  virtual bool isMdiChild(WindowHandle h) = 0;
  virtual uint32_t processId(WindowHandle h) = 0;
  // True when the window's thread answers WM_NULL within ms.
  virtual bool respondsWithin(WindowHandle h, int ms) = 0;

  // ---- desktop-wide ----
  virtual WindowHandle foreground() = 0;
  virtual WindowHandle windowUnderCursor() = 0;
  virtual bool anyPopup() = 0;
  // LCMapStringW(LCMAP_HALFWIDTH) with the system default locale; the text
  // unchanged when the mapping fails.
  virtual std::u16string halfWidth(const std::u16string& text) = 0;

  // ---- actions ----
  virtual void show(WindowHandle h, ShowCommand command) = 0;
  virtual void setPosition(WindowHandle h, ZPlacement z, int x, int y, int width, int height, PositionFlags flags) = 0;
  virtual bool postMessage(WindowHandle h, uint32_t message, uint32_t wParam, uint32_t lParam) = 0;
  // Attaches to the foreground thread's input for one SetForegroundWindow,
  // detaches, then BringWindowToTop.
  virtual void bringForward(WindowHandle h) = 0;
  virtual std::optional<uint32_t> foregroundLockTimeout() = 0;
  virtual void setForegroundLockTimeout(uint32_t ms) = 0;

  // ---- monitors, in the platform's order ----
  virtual std::vector<MonitorInfo> monitors() = 0;
  // Platform index of the monitor nearest to the window, or nothing.
  virtual std::optional<int> monitorOf(WindowHandle h) = 0;

  // ---- processes ----
  // Null when the process could not be started.
  virtual std::unique_ptr<StartedProcess> startProcess(const ProcessStart& start) = 0;
  virtual ProcessBitness processBitness(uint32_t processId) = 0;
  // The full path of the process's program, empty when it cannot be read.
  virtual std::u16string processPath(uint32_t processId) = 0;
};

// The build's desktop: user32/kernel32 on Windows; on other systems one whose
// available() is false and which lists no windows.
Desktop& systemDesktop();

}  // namespace maqo::platform
