#include "automation/controls/control_context.h"

#include <atomic>

namespace maqo::automation::controls {

namespace {
std::atomic<platform::Controls*> installed{nullptr};
}

platform::Controls& currentControls() {
  platform::Controls* c = installed.load();
  return c ? *c : platform::systemControls();
}

ScopedControls::ScopedControls(platform::Controls& controls) : previous_(installed.exchange(&controls)) {}
ScopedControls::~ScopedControls() { installed.store(previous_); }

}  // namespace maqo::automation::controls
