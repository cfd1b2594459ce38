// A table of windows for the recorder's tests: each handle maps to its facts;
// the foreground window, the cursor and the clock are set by the test.
#pragma once
#include <map>

#include "host/recorder/window_information.h"

namespace maqo::host::recorder {

class FakeWindowInformation : public WindowInformation {
 public:
  std::map<WindowHandle, WindowFacts> windows;
  WindowHandle foreground = 0;
  ScreenPoint cursor;
  ScreenRect desktop{0, 0, 1920, 1080};
  std::uint32_t now = 1000;

  WindowHandle foregroundWindow() override { return foreground; }
  std::optional<WindowFacts> facts(WindowHandle window) override {
    const auto found = windows.find(window);
    if (found == windows.end()) return std::nullopt;
    return found->second;
  }
  ScreenPoint cursorPosition() override { return cursor; }
  ScreenRect virtualDesktop() override { return desktop; }
  std::uint32_t tickCount() override { return now; }
};

}  // namespace maqo::host::recorder
