#include "automation/image/capture_area.h"

#include <algorithm>

#include "automation/windows/window_finder.h"

namespace maqo::automation {

using platform::WindowHandle;
using platform::WindowRect;

namespace {

bool intersects(const WindowRect& a, const WindowRect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool inside(const WindowRect& area, const WindowRect& desk) {
  return area.left >= desk.left && area.top >= desk.top && area.right <= desk.right && area.bottom <= desk.bottom;
}

// True when a visible window above the target in z order overlaps the area,
// so the screen would show that window instead of the target.
bool covered(AutomationContext& c, platform::ScreenCapture& capture, WindowHandle target, const WindowRect& area) {
  platform::Desktop& d = c.desktop;
  const WindowHandle top = ClimbToTopLevel(c, target, false);
  const bool maximised = d.isZoomed(top);
  constexpr uint32_t kTopmost = 0x00000008, kToolWindow = 0x00000080;
  for (WindowHandle w : d.topLevelWindows()) {
    if (w == top) return false;
    if (!d.isVisible(w) || w == c.session.own.stopForm.handle) continue;
    const std::optional<WindowRect> r = d.windowRect(w);
    if (!r || r->width() <= 0 || r->height() <= 0) continue;
    if (d.title(w).empty()) {
      const std::u16string cls = AsciiUpper(d.className(w));
      if (cls == u"SYSSHADOW" || cls == u"TOOLTIPS_CLASS32") continue;
    }
    if (maximised) {
      const uint32_t ex = capture.extendedStyle(w);
      if ((ex & kTopmost) && (ex & kToolWindow)) continue;
    }
    if (intersects(*r, area)) return true;
  }
  return false;
}

}  // namespace

std::optional<WindowRect> ReferenceRect(platform::Desktop& desktop, WindowHandle window, bool client) {
  if (!client) return desktop.windowRect(window);
  const auto origin = desktop.clientOrigin(window);
  const auto size = desktop.clientRect(window);
  if (!origin || !size) return std::nullopt;
  return WindowRect{origin->first, origin->second, origin->first + size->width(), origin->second + size->height()};
}

std::optional<platform::PixelBuffer> CaptureArea(AutomationContext& c, platform::ScreenCapture& capture,
                                                 CaptureRequest r) {
  if (r.x == kFailedCoordinate || r.y == kFailedCoordinate) return std::nullopt;
  const WindowRect desk = capture.virtualDesktop();
  auto clampSize = [&](int& width, int& height) {
    width = std::min(width, desk.width());
    height = std::min(height, desk.height());
  };
  if (r.window == 0) {
    int width = r.width.value_or(desk.right - r.x), height = r.height.value_or(desk.bottom - r.y);
    clampSize(width, height);
    if (width <= 0 || height <= 0) return std::nullopt;
    return capture.captureScreen({r.x, r.y, r.x + width, r.y + height});
  }

  platform::Desktop& d = c.desktop;
  WindowHandle h = r.window;
  if (!d.isWindow(h)) return std::nullopt;
  if (d.isMdiChild(h)) {
    // The frame paints its MDI children: take the frame, shifted to the child.
    const WindowHandle top = ClimbToTopLevel(c, h, false);
    const auto child = ReferenceRect(d, h, r.client), frame = ReferenceRect(d, top, r.client);
    if (top != 0 && child && frame) {
      r.x += child->left - frame->left;
      r.y += child->top - frame->top;
      h = top;
    }
  }
  const std::optional<WindowRect> ref = ReferenceRect(d, h, r.client);
  if (!ref) return std::nullopt;
  int width = r.width.value_or(ref->width() - r.x), height = r.height.value_or(ref->height() - r.y);
  clampSize(width, height);
  if (width <= 0 || height <= 0) return std::nullopt;
  const WindowRect area{ref->left + r.x, ref->top + r.y, ref->left + r.x + width, ref->top + r.y + height};

  bool fromScreen = r.captureMode == kCaptureFore;
  if (r.captureMode != kCaptureFore && r.captureMode != kCaptureBack)
    fromScreen = inside(area, desk) && !covered(c, capture, h, area);
  if (fromScreen) return capture.captureScreen(area);

  if (r.x < 0 || r.y < 0) return std::nullopt;
  if (r.client && r.x == 0 && r.y == 0 && width == ref->width() && height == ref->height())
    return capture.paintWindow(h, true, width, height);
  const std::optional<platform::PixelBuffer> whole = capture.paintWindow(h, r.client, r.x + width, r.y + height);
  if (!whole || whole->width < r.x + width || whole->height < r.y + height) return std::nullopt;
  return whole->crop(r.x, r.y, width, height);
}

}  // namespace maqo::automation
