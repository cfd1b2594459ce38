#include "dialogs/balloon/balloons.h"

#include <array>
#include <atomic>

#include "automation/automation_session.h"

namespace maqo::dialogs {

namespace {

// Whether a slot's balloon exists (each slot is driven by its own thread only).
std::array<std::atomic<bool>, automation::kThreadSlots + 1> shown{};

}  // namespace

platform::WindowHandle BalloonCall(platform::ScriptWindows& windows, int slot, const std::u16string& text, int x, int y,
                                   const BalloonStyle& style) {
  if (slot < 0 || slot > automation::kThreadSlots) return 0;
  auto& own = automation::currentSession().own;
  const size_t index = static_cast<size_t>(slot);
  if (text.empty()) {
    if (shown[index].load()) windows.hideBalloon(slot);
    return 0;
  }
  const int fontSize = BalloonFontSize(style.fontSize);
  const platform::TextExtent label = windows.measureBalloonText(text, style.fontName, fontSize);
  const BalloonLook look = LookOf(text, x, y, style, label.width, label.height);
  const platform::WindowHandle handle = windows.showBalloon(slot, look);
  shown[index].store(true);
  own.balloons[index] = handle;
  return handle;
}

void CloseBalloons(platform::ScriptWindows& windows) {
  windows.closeBalloons();
  auto& own = automation::currentSession().own;
  for (size_t i = 0; i < shown.size(); ++i) {
    shown[i].store(false);
    own.balloons[i] = 0;
  }
}

}  // namespace maqo::dialogs
