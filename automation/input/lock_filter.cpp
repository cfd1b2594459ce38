#include "automation/input/lock_filter.h"

namespace maqo::automation {

namespace {
constexpr uint32_t kWmKeyDown = 0x0100, kWmKeyUp = 0x0101, kWmSysKeyDown = 0x0104, kWmSysKeyUp = 0x0105;
constexpr uint32_t kWmMouseMove = 0x0200, kWmNcMouseMove = 0x00A0, kWmLButtonUp = 0x0202;
}  // namespace

LockFilter::LockFilter(platform::WindowHandle protectedWindow, std::function<platform::WindowHandle()> foreground,
                       std::function<platform::WindowHandle(int, int)> topLevelAt, std::function<void()> removeHooks)
    : protected_(protectedWindow),
      foreground_(std::move(foreground)),
      topLevelAt_(std::move(topLevelAt)),
      removeHooks_(std::move(removeHooks)) {}

platform::HookVerdict LockFilter::keyboard(const platform::HookEvent& event) {
  using platform::HookVerdict;
  if (event.ours) return HookVerdict::Pass;
  const bool down = event.message == kWmKeyDown || event.message == kWmSysKeyDown;
  const bool up = event.message == kWmKeyUp || event.message == kWmSysKeyUp;
  if (down || up) {
    const uint32_t vk = event.virtualKey;
    if (vk == 162 || vk == 163) ctrl_ = down;
    if (vk == 164 || vk == 165) alt_ = down;
    if (vk == 46) del_ = down;
  }
  if (ctrl_ && alt_ && del_) {
    if (removeHooks_) removeHooks_();
    return HookVerdict::Pass;
  }
  if (protected_ == 0) return HookVerdict::Swallow;
  return foreground_ && foreground_() == protected_ ? HookVerdict::Swallow : HookVerdict::Pass;
}

platform::HookVerdict LockFilter::mouse(const platform::HookEvent& event) {
  using platform::HookVerdict;
  if (event.ours) return HookVerdict::Pass;
  if (protected_ == 0) return HookVerdict::Swallow;
  if (event.message == kWmMouseMove || event.message == kWmNcMouseMove) return HookVerdict::Pass;
  const platform::WindowHandle top = topLevelAt_ ? topLevelAt_(event.x, event.y) : 0;
  if (top != protected_) {
    pressStartedElsewhere_ = true;
    return HookVerdict::Pass;
  }
  // A drag that began outside may end over the protected window once.
  if (event.message == kWmLButtonUp && pressStartedElsewhere_.exchange(false)) return HookVerdict::Pass;
  return HookVerdict::Swallow;
}

}  // namespace maqo::automation
