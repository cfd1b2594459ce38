// Where a modal dialog goes on the screen: an asked-for position pulled back
// onto the virtual desktop, or the dialog centred on a monitor.
#pragma once
#include <optional>
#include <vector>

namespace maqo::dialogs {

struct ScreenRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
};

struct DialogPoint {
  int x = 0, y = 0;
  bool operator==(const DialogPoint&) const = default;
};

// The bounding rectangle of all monitors; an empty list gives an empty rectangle.
ScreenRect VirtualDesktop(const std::vector<ScreenRect>& monitors);

// Moves a width x height form at `at` so that it lies on the desktop: first
// its right and bottom edges are pulled in, then its left and top edges, so a
// form larger than the desktop keeps its top-left corner visible.
DialogPoint ClampToDesktop(DialogPoint at, int width, int height, const ScreenRect& desktop);

DialogPoint CentreOnMonitor(const ScreenRect& monitor, int width, int height);

// The whole placement rule. `requested` is an explicit position; without one
// the form is centred on `homeMonitor` (the main window's), or, when
// `preferredMonitor` is given (the monitor of a visible form window, chosen by
// the caller only with more than one monitor), centred there and clamped.
struct PlacementRequest {
  std::optional<DialogPoint> requested;
  int width = 0, height = 0;
  std::vector<ScreenRect> monitors;
  ScreenRect homeMonitor;
  std::optional<ScreenRect> preferredMonitor;
};
DialogPoint PlaceDialog(const PlacementRequest& request);

}  // namespace maqo::dialogs
