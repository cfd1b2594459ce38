// An in-memory screen for the image tests: the test paints the screen and
// the windows' own paintings, and reads back what went to the clipboard.
// Each capture is logged so tests can tell which source a capture used.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "platform/screen_capture.h"

namespace maqo::platform {

class FakeScreenCapture final : public ScreenCapture {
 public:
  // ---- what the test sets ----
  // The whole virtual desktop; its top-left is desktop.left, desktop.top.
  WindowRect desktop{0, 0, 64, 48};
  PixelBuffer screen{64, 48, 0xFFFFFF};
  // What each window paints through PrintWindow (its whole window; the
  // client part starts at clientX, clientY).
  struct Painting {
    PixelBuffer picture;
    int clientX = 0, clientY = 0;
  };
  std::map<WindowHandle, Painting> paintings;
  std::map<WindowHandle, uint32_t> exStyles;
  std::optional<PixelBuffer> clipboard;
  bool refuseClipboard = false;

  // ---- what was done: "screen l,t,r,b", "paint h client w x h" ----
  std::vector<std::string> log;

  bool available() override { return true; }
  WindowRect virtualDesktop() override { return desktop; }
  std::optional<PixelBuffer> captureScreen(const WindowRect& area) override;
  std::optional<PixelBuffer> paintWindow(WindowHandle window, bool clientOnly, int width, int height) override;
  uint32_t extendedStyle(WindowHandle window) override;
  std::optional<PixelBuffer> clipboardBitmap() override { return clipboard; }
  bool setClipboardBitmap(const PixelBuffer& picture) override;
};

}  // namespace maqo::platform
