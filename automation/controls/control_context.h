// What one control builtin call works with: the window automation context,
// the control seam, the target window, and the remote buffers in the
// controls' processes (opened on first need, one per process and call, freed
// when the call ends on any path).
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

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

  // The descendants of parent with their facts, read once per call: each kind
  // a search tries filters the same list, and asking every child again costs
  // several calls to the system per child.
  const std::vector<platform::ChildFacts>& children(platform::WindowHandle parent) {
    if (!children_ || childrenOf_ != parent) {
      children_ = controls.children(parent);
      childrenOf_ = parent;
    }
    return *children_;
  }

  // The call's buffer in the process of control, opened on first need and
  // kept for the call; null when it cannot be had. A window may embed a child
  // of another process, so each process gets its own: an address of one
  // process must never reach a control of another.
  platform::RemoteBuffer* remote(platform::WindowHandle control) {
    const uint32_t process = automation.desktop.processId(control);
    for (const auto& [owner, buffer] : buffers_)
      if (owner == process) return buffer.get();
    // A refusal is kept too, so it is asked for once.
    buffers_.emplace_back(process, controls.openRemoteBuffer(control));
    return buffers_.back().second.get();
  }

 private:
  std::vector<std::pair<uint32_t, std::unique_ptr<platform::RemoteBuffer>>> buffers_;
  std::optional<std::vector<platform::ChildFacts>> children_;
  platform::WindowHandle childrenOf_ = 0;
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
