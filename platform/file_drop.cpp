#include "platform/file_drop.h"

#include <algorithm>

namespace maqo::platform {

std::optional<DropPoint> DropScreenPoint(const DropGeometry& g, std::optional<DropPoint> clientPoint) {
  DropPoint at;
  if (!clientPoint) {
    at = {g.clientOrigin.x + g.clientWidth / 2, g.clientOrigin.y + g.clientHeight / 2};
  } else {
    if (clientPoint->x > g.clientWidth || clientPoint->y > g.clientHeight) return std::nullopt;
    at = {g.clientOrigin.x + clientPoint->x, g.clientOrigin.y + clientPoint->y};
  }
  const WindowRect& desk = g.virtualDesktop;
  at.x = std::max(desk.left, std::min(at.x, desk.right - 1));
  at.y = std::max(desk.top, std::min(at.y, desk.bottom - 1));
  if (g.taskbar) {
    const WindowRect& bar = *g.taskbar;
    if (bar.top > desk.top && at.y >= bar.top && at.y < bar.bottom && g.windowTop < bar.top) at.y = bar.top - 1;
  }
  return at;
}

}  // namespace maqo::platform
