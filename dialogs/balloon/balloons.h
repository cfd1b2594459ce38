// FUKIDASI/BALLOON: one balloon per script-thread slot (0 the main script,
// s+1 thread slot s), shown, updated and hidden through the window seam, and
// registered as the system's own windows so GETID(GET_FUKIDASI_WIN) finds them.
#pragma once
#include <string>

#include "dialogs/balloon/balloon_shape.h"
#include "platform/script_windows.h"

namespace maqo::dialogs {

// One balloon call of slot: an empty text hides the balloon (nothing when
// the slot never showed one); any other shows or updates it at (x, y).
// Returns the balloon's window (0 when hidden or without windows).
platform::WindowHandle BalloonCall(platform::ScriptWindows& windows, int slot, const std::u16string& text, int x, int y,
                                   const BalloonStyle& style);

// The end of a run: every balloon is closed.
void CloseBalloons(platform::ScriptWindows& windows);

}  // namespace maqo::dialogs
