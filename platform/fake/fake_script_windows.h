// Script windows for native tests: records what the logic asked the windows
// to show, keeps the memo's text as the real log window would, and lets a
// test press the stop form's button.
#pragma once
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "platform/script_windows.h"

namespace maqo::platform {

class FakeScriptWindows final : public ScriptWindows {
 public:
  static constexpr WindowHandle kLogHandle = 0x100, kStopHandle = 0x200, kBalloonBase = 0x300;

  WindowHandle logWindow() override { return kLogHandle; }
  void appendLogLine(const std::u16string& line) override {
    ++appends;
    memo += memo.empty() ? line : u"\r\n" + line;
  }
  void setLogText(const std::u16string& text) override {
    ++rewrites;
    memo = text;
  }
  void showLogWindow(bool show) override { logVisible = show; }
  bool logWindowVisible() override { return logVisible; }
  void placeLogWindow(const WindowPlacement& placement) override { logPlacement = placement; }

  // Every character 8 x 16 pixels, so label sizes are easy to predict.
  TextExtent measureBalloonText(const std::u16string& text, const std::u16string&, int) override {
    return {static_cast<int>(text.size()) * 8, 16};
  }
  WindowHandle showBalloon(int slot, const BalloonLook& look) override {
    balloons[slot] = look;
    return kBalloonBase + static_cast<WindowHandle>(slot);
  }
  void hideBalloon(int slot) override { balloons.erase(slot); }
  void closeBalloons() override {
    balloons.clear();
    ++balloonCloses;
  }

  WindowHandle showStopForm(std::optional<OutlinePoint> position, const std::u16string& caption,
                            std::function<void()> onStop) override {
    stopVisible = true;
    if (position) stopPosition = position;
    stopCaption = caption;
    onStop_ = std::move(onStop);
    return kStopHandle;
  }
  void hideStopForm() override { stopVisible = false; }
  // The user presses STOP.
  void pressStop() {
    if (onStop_) onStop_();
  }

  std::u16string memo;
  int appends = 0, rewrites = 0;
  bool logVisible = false;
  std::optional<WindowPlacement> logPlacement;
  std::map<int, BalloonLook> balloons;
  int balloonCloses = 0;
  bool stopVisible = false;
  std::optional<OutlinePoint> stopPosition;
  std::u16string stopCaption;

 private:
  std::function<void()> onStop_;
};

// Installs windows for the lifetime of a test.
class ScopedScriptWindows {
 public:
  explicit ScopedScriptWindows(ScriptWindows& windows) { setScriptWindows(&windows); }
  ~ScopedScriptWindows() { setScriptWindows(nullptr); }
  ScopedScriptWindows(const ScopedScriptWindows&) = delete;
  ScopedScriptWindows& operator=(const ScopedScriptWindows&) = delete;
};

}  // namespace maqo::platform
