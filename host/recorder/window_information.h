// What the recorder asks about windows while it converts event records: the
// foreground window, a window's title, class, rectangle and visibility, the
// cursor, the virtual desktop and the tick count. The host implements it over
// the window API; tests use a table of windows.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace maqo::host::recorder {

using WindowHandle = std::uint64_t;

struct ScreenRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool empty() const { return right <= left || bottom <= top; }
  // Edges included.
  bool contains(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
  bool operator==(const ScreenRect&) const = default;
};

struct WindowFacts {
  std::u16string title;
  std::u16string className;
  ScreenRect rect;
  bool visible = true;
  bool minimized = false;
};

struct ScreenPoint {
  int x = 0, y = 0;
};

class WindowInformation {
 public:
  virtual ~WindowInformation() = default;
  virtual WindowHandle foregroundWindow() = 0;
  // Nothing when the handle names no window (any more).
  virtual std::optional<WindowFacts> facts(WindowHandle window) = 0;
  virtual ScreenPoint cursorPosition() = 0;
  virtual ScreenRect virtualDesktop() = 0;
  // Milliseconds, wrapping like the system tick count.
  virtual std::uint32_t tickCount() = 0;
};

}  // namespace maqo::host::recorder
