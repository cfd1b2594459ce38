// The native build has no screen: the capture reports that it is not
// available, so the image builtins raise their "needs Windows" error before
// asking it anything.
#include "platform/screen_capture.h"

namespace maqo::platform {

namespace {

class NoScreenCapture final : public ScreenCapture {
 public:
  bool available() override { return false; }
  WindowRect virtualDesktop() override { return {}; }
  std::optional<PixelBuffer> captureScreen(const WindowRect&) override { return std::nullopt; }
  std::optional<PixelBuffer> paintWindow(WindowHandle, bool, int, int) override { return std::nullopt; }
  uint32_t extendedStyle(WindowHandle) override { return 0; }
  std::optional<PixelBuffer> clipboardBitmap() override { return std::nullopt; }
  bool setClipboardBitmap(const PixelBuffer&) override { return false; }
};

}  // namespace

ScreenCapture& systemScreenCapture() {
  static NoScreenCapture capture;
  return capture;
}

}  // namespace maqo::platform
