// The windows a running script shows besides its dialogs: the log window (a
// memo of printed lines), one balloon per script-thread slot (a text box cut
// to its outline, optionally transparent) and the stop form (one STOP button).
// The logic that decides what they show lives in dialogs/; this seam only
// realises it. A build without windows (native mqsrun) accepts every call and
// shows nothing.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop.h"

namespace maqo::platform {

struct OutlinePoint {
  int x = 0, y = 0;
  bool operator==(const OutlinePoint&) const = default;
};

enum class BalloonLayering { None, ColourKey, Alpha };

struct BalloonTransparency {
  BalloonLayering layering = BalloonLayering::None;
  uint32_t keyColour = 0;  // ColourKey: the form's colour, made transparent
  int alpha = 255;         // Alpha: 8..255
};

struct BalloonShape {
  int width = 0, height = 0;           // the window
  int labelX = 0, labelY = 0;          // the label's place in it
  std::vector<OutlinePoint> outline;   // closed polygon
  bool region = false;                 // the window is cut to the outline
};

// Colours are 0x00BBGGRR.
struct BalloonLook {
  std::u16string text;
  int x = 0, y = 0;
  BalloonShape shape;
  std::u16string fontName;  // empty: the default font
  int fontSize = 10;
  bool antialiased = true;
  uint32_t textColour = 0;
  uint32_t formColour = 0x0000FFFF;
  BalloonTransparency transparency;
  bool drawOutline = true;
  uint32_t outlineColour = 0;
  bool onDesktop = false;  // parented to the desktop window as a tool window
};

struct TextExtent {
  int width = 0, height = 0;
};

struct ScreenRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// Where a window of that width must go so the user can still reach it: its
// left at least half its width left of the desktop and at most 60 pixels
// short of the desktop's right edge; its top within the desktop and at least
// 60 pixels above the bottom (a log window placed off-screen by a script or
// by a monitor that went away comes back).
inline OutlinePoint ReachablePosition(int left, int top, int width, const ScreenRect& desktop) {
  auto clamp = [](int v, int low, int high) { return v < low ? low : v > high ? high : v; };
  return {clamp(left, desktop.left - width / 2, desktop.right - 60), clamp(top, desktop.top, desktop.bottom - 60)};
}

struct WindowPlacement {
  int x = 0, y = 0;
  std::optional<int> width, height;
};

class ScriptWindows {
 public:
  virtual ~ScriptWindows() = default;

  // ---- log window ----
  // The log window (created on first use); 0 in a build without windows.
  virtual WindowHandle logWindow() = 0;
  // Adds a line at the end of the memo.
  virtual void appendLogLine(const std::u16string& line) = 0;
  // Replaces the memo's whole text (lines joined by CR LF).
  virtual void setLogText(const std::u16string& text) = 0;
  virtual void showLogWindow(bool show) = 0;
  virtual bool logWindowVisible() = 0;
  virtual void placeLogWindow(const WindowPlacement& placement) = 0;

  // ---- balloons, slot 0 the main script, s+1 thread slot s ----
  // The label's size for the text in that font.
  virtual TextExtent measureBalloonText(const std::u16string& text, const std::u16string& fontName,
                                        int fontSize) = 0;
  // Shows or updates the slot's balloon; returns its window (0 without windows).
  virtual WindowHandle showBalloon(int slot, const BalloonLook& look) = 0;
  virtual void hideBalloon(int slot) = 0;
  // Closes every balloon (the end of a run).
  virtual void closeBalloons() = 0;

  // ---- stop form ----
  // Shows the stop form, at position when given; onStop runs (on the window's
  // thread) when its button is pressed or the form is asked to close.
  virtual WindowHandle showStopForm(std::optional<OutlinePoint> position, const std::u16string& caption,
                                    std::function<void()> onStop) = 0;
  virtual void hideStopForm() = 0;
};

// The build's implementation, or the one a test installed.
ScriptWindows& scriptWindows();
// Installs windows for tests (null restores the build's own).
void setScriptWindows(ScriptWindows* windows);
// The build's own implementation (defined per platform).
ScriptWindows& buildScriptWindows();

// The implementation of a build without windows: every call is accepted and
// nothing is shown.
class NoScriptWindows final : public ScriptWindows {
 public:
  WindowHandle logWindow() override { return 0; }
  void appendLogLine(const std::u16string&) override {}
  void setLogText(const std::u16string&) override {}
  void showLogWindow(bool) override {}
  bool logWindowVisible() override { return false; }
  void placeLogWindow(const WindowPlacement&) override {}
  TextExtent measureBalloonText(const std::u16string& text, const std::u16string&, int fontSize) override {
    return {static_cast<int>(text.size()) * fontSize, fontSize * 2};
  }
  WindowHandle showBalloon(int, const BalloonLook&) override { return 0; }
  void hideBalloon(int) override {}
  void closeBalloons() override {}
  WindowHandle showStopForm(std::optional<OutlinePoint>, const std::u16string&, std::function<void()>) override {
    return 0;
  }
  void hideStopForm() override {}
};

}  // namespace maqo::platform
