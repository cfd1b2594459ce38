#include "automation/image/image_session.h"

#include <atomic>

namespace maqo::automation {

namespace {
// Read by script threads too.
std::atomic<platform::ScreenCapture*> installed{nullptr};
}  // namespace

platform::ScreenCapture& currentScreenCapture() {
  if (platform::ScreenCapture* c = installed.load()) return *c;
  return platform::systemScreenCapture();
}

ScopedScreenCapture::ScopedScreenCapture(platform::ScreenCapture& capture) : previous_(installed.exchange(&capture)) {}
ScopedScreenCapture::~ScopedScreenCapture() { installed.store(previous_); }

}  // namespace maqo::automation
