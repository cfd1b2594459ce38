// The native build has no window manager: the desktop reports that it is not
// available, lists nothing and starts nothing, so the window builtins raise
// their "needs Windows" error before asking it anything.
#include "platform/desktop.h"

namespace maqo::platform {

namespace {

class NoDesktop final : public Desktop {
 public:
  bool available() override { return false; }
  std::vector<WindowHandle> topLevelWindows() override { return {}; }
  std::vector<WindowHandle> descendants(WindowHandle) override { return {}; }
  bool isWindow(WindowHandle) override { return false; }
  bool isVisible(WindowHandle) override { return false; }
  bool isEnabled(WindowHandle) override { return false; }
  bool isIconic(WindowHandle) override { return false; }
  bool isZoomed(WindowHandle) override { return false; }
  std::u16string title(WindowHandle) override { return {}; }
  std::u16string className(WindowHandle) override { return {}; }
  WindowHandle parent(WindowHandle) override { return 0; }
  WindowHandle owner(WindowHandle) override { return 0; }
  bool hasChild(WindowHandle) override { return false; }
  std::optional<WindowRect> windowRect(WindowHandle) override { return std::nullopt; }
  std::optional<WindowRect> clientRect(WindowHandle) override { return std::nullopt; }
  std::optional<std::pair<int, int>> clientOrigin(WindowHandle) override { return std::nullopt; }
  bool isMdiChild(WindowHandle) override { return false; }
  uint32_t processId(WindowHandle) override { return 0; }
  bool respondsWithin(WindowHandle, int) override { return false; }
  WindowHandle foreground() override { return 0; }
  WindowHandle windowUnderCursor() override { return 0; }
  bool anyPopup() override { return false; }
  std::u16string halfWidth(const std::u16string& text) override { return text; }
  void show(WindowHandle, ShowCommand) override {}
  void setPosition(WindowHandle, ZPlacement, int, int, int, int, PositionFlags) override {}
  bool postMessage(WindowHandle, uint32_t, uint32_t, uint32_t) override { return false; }
  void bringForward(WindowHandle) override {}
  std::optional<uint32_t> foregroundLockTimeout() override { return std::nullopt; }
  void setForegroundLockTimeout(uint32_t) override {}
  std::vector<MonitorInfo> monitors() override { return {}; }
  std::optional<int> monitorOf(WindowHandle) override { return std::nullopt; }
  std::unique_ptr<StartedProcess> startProcess(const ProcessStart&) override { return nullptr; }
  ProcessBitness processBitness(uint32_t) override { return ProcessBitness::Unknown; }
  std::u16string processPath(uint32_t) override { return {}; }
};

}  // namespace

Desktop& systemDesktop() {
  static NoDesktop desktop;
  return desktop;
}

}  // namespace maqo::platform
