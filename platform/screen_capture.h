// The screen-capture seam: copies of the screen or of a window's own painting
// as pixel buffers, the facts the occlusion test needs, and bitmaps on the
// clipboard. The image search logic (automation/image/) asks only these
// questions, so it runs natively against platform/fake/fake_screen_capture.h.
// The win32 build answers with GDI and user32; the native build has no screen
// and reports that through available().
#pragma once
#include <optional>

#include "platform/desktop.h"
#include "platform/pixel_buffer.h"

namespace maqo::platform {

class ScreenCapture {
 public:
  virtual ~ScreenCapture() = default;

  // False where there is no screen (the native build).
  virtual bool available() = 0;
  // The bounds of the virtual desktop (all monitors).
  virtual WindowRect virtualDesktop() = 0;

  // A copy of the screen area (screen coordinates; BitBlt SRCCOPY from the
  // screen's device context). Nothing when the copy failed.
  virtual std::optional<PixelBuffer> captureScreen(const WindowRect& area) = 0;
  // The window's own painting (PrintWindow), clientOnly with PW_CLIENTONLY:
  // a picture of width x height whose top-left is the window's (or client
  // area's) top-left. Nothing when the window could not paint.
  virtual std::optional<PixelBuffer> paintWindow(WindowHandle window, bool clientOnly, int width, int height) = 0;

  // GetWindowLongW(GWL_EXSTYLE), for the occlusion test.
  virtual uint32_t extendedStyle(WindowHandle window) = 0;

  // The clipboard's bitmap; nothing when it holds none or cannot be opened.
  virtual std::optional<PixelBuffer> clipboardBitmap() = 0;
  // Puts the picture on the clipboard as a bitmap; false when it could not.
  virtual bool setClipboardBitmap(const PixelBuffer& picture) = 0;
};

// The build's screen capture: GDI on Windows; elsewhere one whose available()
// is false.
ScreenCapture& systemScreenCapture();

}  // namespace maqo::platform
