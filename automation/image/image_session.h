// The screen capture the image builtins use: the build's own unless a
// ScopedScreenCapture installs another (tests, hosts).
#pragma once
#include "platform/screen_capture.h"

namespace maqo::automation {

platform::ScreenCapture& currentScreenCapture();

class ScopedScreenCapture {
 public:
  explicit ScopedScreenCapture(platform::ScreenCapture& capture);
  ~ScopedScreenCapture();
  ScopedScreenCapture(const ScopedScreenCapture&) = delete;
  ScopedScreenCapture& operator=(const ScopedScreenCapture&) = delete;

 private:
  platform::ScreenCapture* previous_;
};

}  // namespace maqo::automation
