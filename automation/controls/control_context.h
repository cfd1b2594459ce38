// What one control builtin call works with: the window automation context,
// the control seam, the target window, and the remote buffer in the target's
// process (opened on first need, one per call, freed when the call ends on
// any path).
#pragma once
#include <memory>

#include "automation/automation_context.h"
#include "platform/controls.h"

namespace maqo::automation::controls {

class ControlContext {
 public:
  ControlContext(AutomationContext& automation, platform::Controls& controls, platform::WindowHandle window)
      : automation(automation), controls(controls), window(window) {}

  AutomationContext& automation;
  platform::Controls& controls;
  platform::WindowHandle window;

  // The call's buffer in the process of control (every control of one window
  // lives in one process); null when it cannot be had.
  platform::RemoteBuffer* remote(platform::WindowHandle control) {
    if (!buffer_ && !refused_) {
      buffer_ = controls.openRemoteBuffer(control);
      refused_ = buffer_ == nullptr;
    }
    return buffer_.get();
  }

 private:
  std::unique_ptr<platform::RemoteBuffer> buffer_;
  bool refused_ = false;
};

// The control seam the builtins use: the build's, unless a ScopedControls
// installs another (tests).
platform::Controls& currentControls();

class ScopedControls {
 public:
  explicit ScopedControls(platform::Controls& controls);
  ~ScopedControls();
  ScopedControls(const ScopedControls&) = delete;
  ScopedControls& operator=(const ScopedControls&) = delete;

 private:
  platform::Controls* previous_;
};

}  // namespace maqo::automation::controls
