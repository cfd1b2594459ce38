// Which windows a recording may name in a window line, and how a window line
// is written (title and class escaped, the class shortened where it varies).
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "host/recorder/window_information.h"

namespace maqo::host::recorder {

// The recorder's own windows and its caption while recording; none of them
// may appear in a recording.
struct RecorderOwnWindows {
  WindowHandle application = 0;
  WindowHandle main = 0;
  WindowHandle stopForm = 0;
  std::u16string recordingCaption = u"Recding...";
};

// The trimmed title of a window a recording may name, or nothing for invalid,
// minimised, invisible, own, empty-rectangle, tray, shadow, tooltip, task
// switcher and desktop windows.
std::optional<std::u16string> UsableWindowTitle(WindowHandle window, const std::optional<WindowFacts>& facts,
                                                const RecorderOwnWindows& own);

// The class as a window line writes it: nothing when it contains ":" (such
// names change between runs); a class containing "." is cut after its
// second ".".
std::optional<std::u16string> UsableClassName(std::u16string_view className);

// GETID("TITLE","CLASS") or GETID("TITLE") with both parts escaped.
std::u16string GetIdCall(std::u16string_view title, std::u16string_view className);

}  // namespace maqo::host::recorder
