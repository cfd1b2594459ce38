#include "automation/automation_session.h"

#include <algorithm>

namespace maqo::automation {

SlotWindowMemory& AutomationSession::memory(int threadSlot) {
  const int index = threadSlot >= 0 && threadSlot < kThreadSlots ? threadSlot + 1 : 0;
  return slots_[static_cast<size_t>(index)];
}

bool AutomationSession::isOwnWindow(platform::WindowHandle h) const {
  if (h == 0) return false;
  if (h == own.logWindow.handle || h == own.mainWindow.handle || h == own.applicationWindow.handle ||
      h == own.stopForm.handle)
    return true;
  return std::find(own.balloons.begin(), own.balloons.end(), h) != own.balloons.end();
}

const std::u16string* AutomationSession::ownName(platform::WindowHandle h) const {
  if (h == 0) return nullptr;
  for (const OwnWindow* w : {&own.logWindow, &own.mainWindow, &own.applicationWindow, &own.stopForm})
    if (w->handle == h) return &w->name;
  return nullptr;
}

bool AutomationSession::inVisibleCache(platform::WindowHandle h, int64_t nowMs) {
  std::lock_guard guard(cacheLock_);
  if (visibleTakenAt_ == INT64_MIN || nowMs - visibleTakenAt_ > 1000) {
    visible_.clear();
    for (platform::WindowHandle w : desktop_->topLevelWindows())
      if (desktop_->isVisible(w)) visible_.push_back(w);
    visibleTakenAt_ = nowMs;
  }
  return std::find(visible_.begin(), visible_.end(), h) != visible_.end();
}

void AutomationSession::resetForRun() {
  ids.clear();
  newWindowExpected = false;
  std::lock_guard guard(slotLock_);
  for (SlotWindowMemory& m : slots_) m = {};
}

namespace {
AutomationSession*& installed() {
  static AutomationSession* session = nullptr;
  return session;
}
}  // namespace

AutomationSession& currentSession() {
  if (AutomationSession* s = installed()) return *s;
  static AutomationSession processSession(platform::systemDesktop());
  return processSession;
}

ScopedSession::ScopedSession(AutomationSession& session) : previous_(installed()) { installed() = &session; }
ScopedSession::~ScopedSession() { installed() = previous_; }

void BeginRun() { currentSession().resetForRun(); }
void EndRun() { currentSession().resetForRun(); }

}  // namespace maqo::automation
