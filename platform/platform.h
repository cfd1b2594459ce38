// The seams over the operating system, bundled so that engine code takes one
// reference. The native build wires the POSIX implementations, the win32 build
// the real ones, and tests wire fakes.
#pragma once
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/locale.h"
#include "platform/ui_sink.h"

namespace maqo::platform {

struct Platform {
  Clock& clock;
  FileSystem& files;
  Locale& locale;
  UiSink& ui;
};

// The implementations of this build for a console program (the UI sink writes to
// standard output and standard error).
Platform& consolePlatform();

// Sleeps ms in short steps, passing window messages and returning early when
// stop() becomes true. Returns true when it ended early.
template <typename StopCheck>
bool sleepPumping(Platform& p, int ms, StopCheck stop) {
  const int64_t end = p.clock.monotonicMs() + ms;
  for (;;) {
    p.ui.pumpMessages();
    if (stop()) return true;
    const int64_t left = end - p.clock.monotonicMs();
    if (left <= 0) return false;
    p.clock.sleepMs(left < 10 ? static_cast<int>(left) : 10);
  }
}

}  // namespace maqo::platform
