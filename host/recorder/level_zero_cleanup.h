// The clean-up a level-0 recording gets when it stops: a fixed series of
// passes over the script lines that drops unmatched presses, turns press and
// release pairs into clicks, turns idle mouse moves into pauses and, when
// asked, strips extra movements. Every pass is one linear walk.
#pragma once
#include <string>
#include <vector>

#include "host/recorder/window_information.h"

namespace maqo::host::recorder {

struct LevelZeroCleanupOptions {
  bool dropExtraMovements = false;  // setting NotExtraMovRec = "1"
  ScreenRect virtualDesktop;        // mouse moves outside it are pause markers
};

std::vector<std::u16string> CleanUpLevelZero(std::vector<std::u16string> lines, const LevelZeroCleanupOptions& options);

// The passes one by one, in the order CleanUpLevelZero runs them.
std::vector<std::u16string> DropUnmatchedPresses(const std::vector<std::u16string>& lines);
std::vector<std::u16string> PutWindowFirst(const std::vector<std::u16string>& lines);
std::vector<std::u16string> DropExtraMovements(const std::vector<std::u16string>& lines);
std::vector<std::u16string> DropMoveBetweenButtonAndWindow(const std::vector<std::u16string>& lines);
std::vector<std::u16string> MovesToPauses(const std::vector<std::u16string>& lines, const ScreenRect& desktop);
std::vector<std::u16string> MergeKeyClicks(const std::vector<std::u16string>& lines);
std::vector<std::u16string> MendLostReleases(const std::vector<std::u16string>& lines);
std::vector<std::u16string> MergeButtonClicks(const std::vector<std::u16string>& lines);
std::vector<std::u16string> RepeatWindowAfterDrag(const std::vector<std::u16string>& lines);
std::vector<std::u16string> MendInputMethodKeys(const std::vector<std::u16string>& lines);

}  // namespace maqo::host::recorder
