#include "platform/fake/fake_screen_capture.h"

namespace maqo::platform {

std::optional<PixelBuffer> FakeScreenCapture::captureScreen(const WindowRect& area) {
  log.push_back("screen " + std::to_string(area.left) + "," + std::to_string(area.top) + "," +
                std::to_string(area.right) + "," + std::to_string(area.bottom));
  if (area.width() <= 0 || area.height() <= 0) return std::nullopt;
  return screen.crop(area.left - desktop.left, area.top - desktop.top, area.width(), area.height());
}

std::optional<PixelBuffer> FakeScreenCapture::paintWindow(WindowHandle window, bool clientOnly, int width, int height) {
  log.push_back("paint " + std::to_string(window) + (clientOnly ? " client " : " window ") + std::to_string(width) +
                "x" + std::to_string(height));
  auto it = paintings.find(window);
  if (it == paintings.end() || width <= 0 || height <= 0) return std::nullopt;
  const Painting& p = it->second;
  return clientOnly ? p.picture.crop(p.clientX, p.clientY, width, height) : p.picture.crop(0, 0, width, height);
}

uint32_t FakeScreenCapture::extendedStyle(WindowHandle window) {
  auto it = exStyles.find(window);
  return it == exStyles.end() ? 0 : it->second;
}

bool FakeScreenCapture::setClipboardBitmap(const PixelBuffer& picture) {
  if (refuseClipboard) return false;
  clipboard = picture;
  return true;
}

}  // namespace maqo::platform
