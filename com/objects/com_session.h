// The COM automation the member calls and COM builtins use: the build's own
// unless a ScopedComAutomation installs another (tests install the fake).
#pragma once
#include "platform/com_automation.h"

namespace maqo::com::objects {

platform::ComAutomation& CurrentComAutomation();

class ScopedComAutomation {
 public:
  explicit ScopedComAutomation(platform::ComAutomation& automation);
  ~ScopedComAutomation();
  ScopedComAutomation(const ScopedComAutomation&) = delete;
  ScopedComAutomation& operator=(const ScopedComAutomation&) = delete;

 private:
  platform::ComAutomation* previous_;
};

}  // namespace maqo::com::objects
