#include "engine/threads/routed_ui.h"

namespace maqo::engine {

namespace {
thread_local int currentSlot = -1;
}

int CurrentScriptThreadSlot() { return currentSlot; }

ScriptThreadMark::ScriptThreadMark(int slot) : previous_(currentSlot) { currentSlot = slot; }

ScriptThreadMark::~ScriptThreadMark() { currentSlot = previous_; }

void RoutedUi::onUiThread(const std::function<void()>& work) {
  if (currentSlot < 0) {
    work();
  } else {
    handOver_.run(work);
  }
}

void RoutedUi::pumpMessages() {
  host_.pumpMessages();
  if (afterPump_) afterPump_();
}

void RoutedUi::messageBox(const std::u16string& text, const std::u16string& caption) {
  onUiThread([&] { host_.messageBox(text, caption); });
}

void RoutedUi::errorDialog(const std::u16string& message) {
  onUiThread([&] { host_.errorDialog(message); });
}

void RoutedUi::printLine(const std::u16string& text) {
  onUiThread([&] { host_.printLine(text); });
}

void RoutedUi::beep() {
  onUiThread([&] { host_.beep(); });
}

}  // namespace maqo::engine
