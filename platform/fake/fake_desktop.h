// A scriptable in-memory desktop for the window automation tests: windows
// with the facts the search and status logic read, a foreground window, a
// cursor, monitors and programs that can be started. Actions are recorded
// and applied to the windows where that is what the real desktop would do.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "platform/desktop.h"

namespace maqo::platform {

struct FakeWindow {
  WindowHandle handle = 0;
  std::u16string title;
  std::u16string className;
  bool visible = true;
  bool enabled = true;
  bool iconic = false;
  bool zoomed = false;
  bool mdiChild = false;
  bool busy = false;  // does not answer messages
  bool exists = true;
  WindowHandle parent = 0;
  WindowHandle owner = 0;
  WindowRect rect{0, 0, 400, 300};
  uint32_t processId = 0;
};

struct FakeProgram {
  uint32_t processId = 0;
  // Polls of waitForExit before the process ends; -1: it never ends.
  int runPolls = 0;
  std::optional<uint32_t> exitCode;
  bool consoleProgram = false;  // WaitForInputIdle fails
  std::vector<FakeWindow> windows;  // appear when it starts
};

struct FakeMove {
  WindowHandle handle;
  ZPlacement z;
  int x, y, width, height;
  PositionFlags flags;
};

class FakeDesktop final : public Desktop {
 public:
  // Adds a window (top-level windows in z order, top first) and returns its handle.
  WindowHandle add(FakeWindow window);
  FakeWindow& window(WindowHandle h);

  WindowHandle foregroundWindow = 0;
  WindowHandle underCursor = 0;
  bool popupShowing = false;
  std::vector<MonitorInfo> monitorList;
  std::map<WindowHandle, int> monitorIndex;
  std::map<std::u16string, FakeProgram> programs;  // by command line
  std::map<uint32_t, std::u16string> paths;
  std::map<uint32_t, ProcessBitness> bitness;

  // What was asked and done.
  int enumerations = 0;
  std::vector<ProcessStart> starts;
  std::vector<std::pair<WindowHandle, ShowCommand>> shows;
  std::vector<FakeMove> moves;
  struct Post {
    WindowHandle handle;
    uint32_t message, wParam, lParam;
  };
  std::vector<Post> posts;
  std::vector<WindowHandle> broughtForward;
  std::vector<uint32_t> lockTimeouts;  // every value set
  uint32_t lockTimeout = 200000;
  // When false, bringForward does not change the foreground window.
  bool foregroundFollows = true;

  // ---- Desktop ----
  bool available() override { return true; }
  std::vector<WindowHandle> topLevelWindows() override;
  std::vector<WindowHandle> descendants(WindowHandle parent) override;
  bool isWindow(WindowHandle h) override { return find(h) != nullptr; }
  bool isVisible(WindowHandle h) override;
  bool isEnabled(WindowHandle h) override;
  bool isIconic(WindowHandle h) override;
  bool isZoomed(WindowHandle h) override;
  std::u16string title(WindowHandle h) override;
  std::u16string className(WindowHandle h) override;
  WindowHandle parent(WindowHandle h) override;
  WindowHandle owner(WindowHandle h) override;
  bool hasChild(WindowHandle h) override;
  std::optional<WindowRect> windowRect(WindowHandle h) override;
  std::optional<WindowRect> clientRect(WindowHandle h) override;
  std::optional<std::pair<int, int>> clientOrigin(WindowHandle h) override;
  bool isMdiChild(WindowHandle h) override;
  uint32_t processId(WindowHandle h) override;
  bool respondsWithin(WindowHandle h, int ms) override;
  WindowHandle foreground() override { return foregroundWindow; }
  WindowHandle windowUnderCursor() override { return underCursor; }
  bool anyPopup() override { return popupShowing; }
  // Full-width ASCII and the ideographic space to their half-width forms.
  std::u16string halfWidth(const std::u16string& text) override;
  void show(WindowHandle h, ShowCommand command) override;
  void setPosition(WindowHandle h, ZPlacement z, int x, int y, int width, int height, PositionFlags flags) override;
  bool postMessage(WindowHandle h, uint32_t message, uint32_t wParam, uint32_t lParam) override;
  void bringForward(WindowHandle h) override;
  std::optional<uint32_t> foregroundLockTimeout() override { return lockTimeout; }
  void setForegroundLockTimeout(uint32_t ms) override;
  std::vector<MonitorInfo> monitors() override { return monitorList; }
  std::optional<int> monitorOf(WindowHandle h) override;
  std::unique_ptr<StartedProcess> startProcess(const ProcessStart& start) override;
  ProcessBitness processBitness(uint32_t processId) override;
  std::u16string processPath(uint32_t processId) override;

 private:
  FakeWindow* find(WindowHandle h);
  std::vector<FakeWindow> windows_;
  WindowHandle next_ = 0x1000;
};

}  // namespace maqo::platform
