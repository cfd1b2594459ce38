#include "automation/input/input_session.h"

namespace maqo::automation {

uint32_t DirectModeState::mouseKeyFlags() const {
  uint32_t flags = 0;
  if (left) flags |= 0x0001;
  if (right) flags |= 0x0002;
  if (shift != 0) flags |= 0x0004;
  if (ctrl != 0) flags |= 0x0008;
  if (middle) flags |= 0x0010;
  return flags;
}

InputSession::~InputSession() {
  // The hooks never outlive the state their decisions read.
  if (lock.active && lock.kind == LockKind::Hooks) input_->removeHooks();
}

void InputSession::prepareRun() {
  swapped = input_->available() && input_->buttonsSwapped();
  direct = {};
  for (auto& seen : buttonSeen_) seen.store(false);
}

namespace {
constexpr int kMouseButtonKeys[3] = {1, 2, 4};  // VK_LBUTTON, VK_RBUTTON, VK_MBUTTON
}

void InputSession::noteMouseButtonsSeen() {
  if (!input_->available()) return;
  for (size_t i = 0; i < buttonSeen_.size(); ++i)
    if (input_->asyncKeyState(kMouseButtonKeys[i]) != 0) buttonSeen_[i].store(true);
}

bool InputSession::takeMouseButtonSeen(int virtualKey) {
  for (size_t i = 0; i < buttonSeen_.size(); ++i)
    if (kMouseButtonKeys[i] == virtualKey) return buttonSeen_[i].exchange(false);
  return false;
}

namespace {
InputSession*& installed() {
  static InputSession* session = nullptr;
  return session;
}
}  // namespace

InputSession& currentInputSession() {
  if (InputSession* s = installed()) return *s;
  static InputSession processSession(platform::systemInput());
  return processSession;
}

ScopedInputSession::ScopedInputSession(InputSession& session) : previous_(installed()) { installed() = &session; }
ScopedInputSession::~ScopedInputSession() { installed() = previous_; }

}  // namespace maqo::automation
