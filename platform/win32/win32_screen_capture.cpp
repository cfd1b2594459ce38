// Screen capture with GDI: BitBlt from the screen's device context, a
// window's own painting through PrintWindow, and bitmaps on the clipboard.
// Every picture is read back with GetDIBits as 32-bit top-down rows.
#include <windows.h>

#include "platform/screen_capture.h"

namespace maqo::platform {

namespace {

HWND hwnd(WindowHandle h) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(h)); }

BITMAPINFO topDown32(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// The bitmap's pixels (it must not be selected into a device context).
std::optional<PixelBuffer> readBitmap(HDC dc, HBITMAP bitmap, int width, int height) {
  PixelBuffer out(width, height);
  BITMAPINFO info = topDown32(width, height);
  if (GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), out.pixels.data(), &info, DIB_RGB_COLORS) != height)
    return std::nullopt;
  for (uint32_t& p : out.pixels) p &= 0x00FFFFFF;
  return out;
}

// A bitmap compatible with the screen, selected into a memory device
// context for the lifetime of the object; paint() draws into it.
class ScreenBitmap {
 public:
  ScreenBitmap(int width, int height) : width_(width), height_(height) {
    screen_ = GetDC(nullptr);
    if (!screen_) return;
    memory_ = CreateCompatibleDC(screen_);
    bitmap_ = CreateCompatibleBitmap(screen_, width, height);
    if (memory_ && bitmap_) previous_ = SelectObject(memory_, bitmap_);
  }
  ~ScreenBitmap() {
    if (previous_) SelectObject(memory_, previous_);
    if (bitmap_) DeleteObject(bitmap_);
    if (memory_) DeleteDC(memory_);
    if (screen_) ReleaseDC(nullptr, screen_);
  }
  ScreenBitmap(const ScreenBitmap&) = delete;
  ScreenBitmap& operator=(const ScreenBitmap&) = delete;

  bool ready() const { return previous_ != nullptr; }
  HDC screen() const { return screen_; }
  HDC memory() const { return memory_; }
  std::optional<PixelBuffer> pixels() {
    SelectObject(memory_, previous_);
    previous_ = nullptr;
    return readBitmap(memory_, bitmap_, width_, height_);
  }

 private:
  int width_, height_;
  HDC screen_ = nullptr, memory_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

class GdiScreenCapture final : public ScreenCapture {
 public:
  bool available() override { return true; }

  WindowRect virtualDesktop() override {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  }

  std::optional<PixelBuffer> captureScreen(const WindowRect& area) override {
    if (area.width() <= 0 || area.height() <= 0) return std::nullopt;
    ScreenBitmap target(area.width(), area.height());
    if (!target.ready()) return std::nullopt;
    if (!BitBlt(target.memory(), 0, 0, area.width(), area.height(), target.screen(), area.left, area.top, SRCCOPY))
      return std::nullopt;
    return target.pixels();
  }

  std::optional<PixelBuffer> paintWindow(WindowHandle window, bool clientOnly, int width, int height) override {
    if (width <= 0 || height <= 0 || !IsWindow(hwnd(window))) return std::nullopt;
    ScreenBitmap target(width, height);
    if (!target.ready()) return std::nullopt;
    if (!PrintWindow(hwnd(window), target.memory(), clientOnly ? PW_CLIENTONLY : 0)) return std::nullopt;
    return target.pixels();
  }

  uint32_t extendedStyle(WindowHandle window) override {
    return static_cast<uint32_t>(GetWindowLongW(hwnd(window), GWL_EXSTYLE));
  }

  std::optional<PixelBuffer> clipboardBitmap() override {
    if (!IsClipboardFormatAvailable(CF_BITMAP) || !OpenClipboard(nullptr)) return std::nullopt;
    std::optional<PixelBuffer> out;
    if (HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP))) {
      BITMAP facts{};
      if (GetObjectW(bitmap, sizeof facts, &facts) != 0 && facts.bmWidth > 0 && facts.bmHeight > 0) {
        HDC screen = GetDC(nullptr);
        out = readBitmap(screen, bitmap, facts.bmWidth, facts.bmHeight);
        ReleaseDC(nullptr, screen);
      }
    }
    CloseClipboard();
    return out;
  }

  bool setClipboardBitmap(const PixelBuffer& picture) override {
    if (picture.empty()) return false;
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, picture.width, picture.height);
    BITMAPINFO info = topDown32(picture.width, picture.height);
    const bool filled = bitmap && SetDIBits(screen, bitmap, 0, static_cast<UINT>(picture.height), picture.pixels.data(),
                                            &info, DIB_RGB_COLORS) == picture.height;
    ReleaseDC(nullptr, screen);
    bool placed = false;
    if (filled && OpenClipboard(nullptr)) {
      EmptyClipboard();
      placed = SetClipboardData(CF_BITMAP, bitmap) != nullptr;  // the clipboard owns it from here
      CloseClipboard();
    }
    if (!placed && bitmap) DeleteObject(bitmap);
    return placed;
  }
};

}  // namespace

ScreenCapture& systemScreenCapture() {
  static GdiScreenCapture capture;
  return capture;
}

}  // namespace maqo::platform
