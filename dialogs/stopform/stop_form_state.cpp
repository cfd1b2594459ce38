#include "dialogs/stopform/stop_form_state.h"

namespace maqo::dialogs {

std::optional<ScreenPosition> StopFormPlacement(int argumentCount, ScreenPosition given, bool placedBefore,
                                                std::optional<ScreenPosition> mainWindow,
                                                std::optional<ScreenPosition> setting) {
  if (argumentCount >= 3) return given;
  if (placedBefore) return mainWindow;
  return setting;
}

int StopFormState::togglePause() {
  int state = runState_.load();
  for (;;) {
    int next = state == kStopFormPlaying ? kStopFormPaused : state == kStopFormPaused ? kStopFormPlaying : state;
    if (next == state || runState_.compare_exchange_weak(state, next)) return next;
  }
}

void StopFormState::setStopHandler(std::function<void()> handler) {
  std::lock_guard guard(handlerLock_);
  handler_ = std::move(handler);
}

void StopFormState::pressStop() {
  std::function<void()> handler;
  {
    std::lock_guard guard(handlerLock_);
    handler = handler_;
  }
  if (handler) handler();
}

StopFormState& TheStopForm() {
  static StopFormState state;
  return state;
}

}  // namespace maqo::dialogs
