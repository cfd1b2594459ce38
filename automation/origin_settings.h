// The coordinate origin of one script-thread slot, set by MOUSEORG: mouse
// coordinates are relative to a window's rectangle or client area, or go to
// the window directly as posted messages. The input builtins apply it, the
// image builtins read its capture mode, and ACW records where it moved a
// window, which stands in while the origin window is missing or minimised.
#pragma once
#include <cstdint>

namespace maqo::automation {

enum OriginMode { kOriginWindow = 0, kOriginClient = 1, kOriginDirect = 2 };

struct OriginSettings {
  int64_t window = 0;  // 0 none; a window ID, or in direct mode a window handle
  int mode = kOriginWindow;
  int captureMode = 0;  // MORG_FORE 1, MORG_BACK 2: read by the image builtins
  int x = 0, y = 0;     // the origin's screen position as last computed
};

}  // namespace maqo::automation
