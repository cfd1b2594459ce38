// Turns level-0 event records into raw-input script lines (MMV, BTN, KBD and
// ACW window lines) as they arrive, keeping the down state of keys and
// buttons, the last window line and, in relative mode, the mouse-origin
// window. One converter lives for one recording.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/recorder/record_line.h"
#include "host/recorder/window_information.h"
#include "host/recorder/window_title_filter.h"

namespace maqo::host::recorder {

class LevelZeroConverter {
 public:
  // relativePositions: mouse positions are written relative to the last
  // window named by a MOUSEORG line.
  LevelZeroConverter(WindowInformation& windows, RecorderOwnWindows own, bool relativePositions);

  // Appends the lines one record produces (possibly none) to `lines`.
  void convert(const EventRecord& record, std::vector<std::u16string>& lines);

  bool started() const { return started_; }

 private:
  void addWindowLineIfMoved(std::vector<std::u16string>& lines);
  void addWindowLine(WindowHandle window, const WindowFacts& facts, const std::u16string& title,
                     std::vector<std::u16string>& lines);
  std::u16string mousePosition(int x, int y, std::vector<std::u16string>& lines);

  WindowInformation& windows_;
  RecorderOwnWindows own_;
  bool relative_;
  bool started_ = false;
  std::uint32_t previousEventTime_;
  bool wentDown_ = false;
  // Key codes go up to 901 (the keypad Enter); larger ones are not tracked.
  std::array<bool, 1024> keyDown_{};
  std::array<bool, 10> buttonDown_{};
  std::optional<WindowHandle> lastWindow_;
  ScreenRect lastWindowRect_;
  std::optional<WindowHandle> mouseOrigin_;
  std::optional<ScreenRect> mouseOriginRect_;
};

}  // namespace maqo::host::recorder
