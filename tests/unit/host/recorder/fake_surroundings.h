// The level-1 converter's surroundings for tests: the window table plus maps
// from points to windows and click facts, a text-entry watch that reports a
// preset change once, and a log of the command targets set.
#pragma once
#include <map>
#include <utility>
#include <vector>

#include "host/recorder/level_one_converter.h"
#include "tests/unit/host/recorder/fake_window_information.h"

namespace maqo::host::recorder {

// Points map to a window under them and to the click facts there; windows to
// their top-level window.
class FakeSurroundings : public LevelOneSurroundings {
 public:
  FakeWindowInformation table;
  std::map<std::pair<int, int>, WindowHandle> under;
  std::map<WindowHandle, WindowHandle> topLevel;
  std::map<std::pair<int, int>, ClickFacts> clicks;
  std::optional<TextEntryChange> changedText;
  std::vector<WindowHandle> commandTargets;
  std::vector<WindowHandle> watchesStarted;

  WindowHandle foregroundWindow() override { return table.foreground; }
  std::optional<WindowFacts> facts(WindowHandle window) override { return table.facts(window); }
  ScreenPoint cursorPosition() override { return table.cursor; }
  ScreenRect virtualDesktop() override { return table.desktop; }
  std::uint32_t tickCount() override { return table.now; }
  WindowHandle windowAt(ScreenPoint point) override { return under[{point.x, point.y}]; }
  WindowHandle topLevelOf(WindowHandle window) override {
    const auto found = topLevel.find(window);
    return found == topLevel.end() ? window : found->second;
  }
  std::optional<WindowHandle> mdiChildAt(ScreenPoint) override { return std::nullopt; }
  ClickFacts clickFactsAt(ScreenPoint point, ClickKind click, WindowHandle) override {
    ClickFacts facts = clicks[{point.x, point.y}];
    facts.click = click;
    return facts;
  }
  void startTextWatch(WindowHandle window) override { watchesStarted.push_back(window); }
  void moveTextWatchTo(WindowHandle) override {}
  std::optional<TextEntryChange> checkTextWatch() override { return std::exchange(changedText, std::nullopt); }
  void resetTextWatch() override {}
  void setCommandTarget(WindowHandle window) override { commandTargets.push_back(window); }
};

}  // namespace maqo::host::recorder
