// The decisions of LOCKHARDEX's low-level hooks: which of the user's events
// are swallowed while input is locked. Input this system synthesised passes
// always; Ctrl+Alt+Delete removes the hooks (the user's way out of a lock
// that a script forgot to lift).
#pragma once
#include <atomic>
#include <functional>

#include "platform/input.h"

namespace maqo::automation {

class LockFilter final : public platform::HookDecider {
 public:
  // protectedWindow 0: every window is locked. foreground and topLevelAt
  // answer for the moment of the event; removeHooks runs on Ctrl+Alt+Delete.
  LockFilter(platform::WindowHandle protectedWindow, std::function<platform::WindowHandle()> foreground,
             std::function<platform::WindowHandle(int x, int y)> topLevelAt, std::function<void()> removeHooks);

  platform::HookVerdict keyboard(const platform::HookEvent& event) override;
  platform::HookVerdict mouse(const platform::HookEvent& event) override;

 private:
  platform::WindowHandle protected_;
  std::function<platform::WindowHandle()> foreground_;
  std::function<platform::WindowHandle(int, int)> topLevelAt_;
  std::function<void()> removeHooks_;
  // Set by the hook thread only; atomics because the lock state may be read elsewhere.
  std::atomic<bool> ctrl_{false}, alt_{false}, del_{false};
  std::atomic<bool> pressStartedElsewhere_{false};
};

}  // namespace maqo::automation
