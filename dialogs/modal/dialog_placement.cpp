#include "dialogs/modal/dialog_placement.h"

#include <algorithm>

namespace maqo::dialogs {

ScreenRect VirtualDesktop(const std::vector<ScreenRect>& monitors) {
  if (monitors.empty()) return {};
  ScreenRect box = monitors.front();
  for (const ScreenRect& m : monitors) {
    box.left = std::min(box.left, m.left);
    box.top = std::min(box.top, m.top);
    box.right = std::max(box.right, m.right);
    box.bottom = std::max(box.bottom, m.bottom);
  }
  return box;
}

DialogPoint ClampToDesktop(DialogPoint at, int width, int height, const ScreenRect& desktop) {
  if (at.x + width > desktop.right) at.x = desktop.right - width;
  if (at.y + height > desktop.bottom) at.y = desktop.bottom - height;
  at.x = std::max(at.x, desktop.left);
  at.y = std::max(at.y, desktop.top);
  return at;
}

DialogPoint CentreOnMonitor(const ScreenRect& monitor, int width, int height) {
  return {monitor.left + (monitor.width() - width) / 2, monitor.top + (monitor.height() - height) / 2};
}

DialogPoint PlaceDialog(const PlacementRequest& request) {
  const ScreenRect desktop = request.monitors.empty() ? request.homeMonitor : VirtualDesktop(request.monitors);
  if (request.requested) return ClampToDesktop(*request.requested, request.width, request.height, desktop);
  if (request.preferredMonitor) {
    return ClampToDesktop(CentreOnMonitor(*request.preferredMonitor, request.width, request.height), request.width,
                          request.height, desktop);
  }
  return CentreOnMonitor(request.homeMonitor, request.width, request.height);
}

}  // namespace maqo::dialogs
