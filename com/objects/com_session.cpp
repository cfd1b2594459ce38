#include "com/objects/com_session.h"

#include <atomic>

namespace maqo::com::objects {

namespace {
std::atomic<platform::ComAutomation*> installed{nullptr};
}

platform::ComAutomation& CurrentComAutomation() {
  platform::ComAutomation* automation = installed.load(std::memory_order_acquire);
  return automation != nullptr ? *automation : platform::systemComAutomation();
}

ScopedComAutomation::ScopedComAutomation(platform::ComAutomation& automation)
    : previous_(installed.exchange(&automation, std::memory_order_acq_rel)) {}

ScopedComAutomation::~ScopedComAutomation() { installed.store(previous_, std::memory_order_release); }

}  // namespace maqo::com::objects
