#include "automation/image/image_session.h"

namespace maqo::automation {

namespace {
platform::ScreenCapture*& installed() {
  static platform::ScreenCapture* capture = nullptr;
  return capture;
}
}  // namespace

platform::ScreenCapture& currentScreenCapture() {
  if (platform::ScreenCapture* c = installed()) return *c;
  return platform::systemScreenCapture();
}

ScopedScreenCapture::ScopedScreenCapture(platform::ScreenCapture& capture) : previous_(installed()) {
  installed() = &capture;
}
ScopedScreenCapture::~ScopedScreenCapture() { installed() = previous_; }

}  // namespace maqo::automation
