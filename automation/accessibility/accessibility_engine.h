// The accessibility engine the control builtins hand over to: it finds the
// windows to walk, asks the platform for their element trees, runs the search
// over them and operates the hit (default action, or the mouse options with
// the pointer and button clicks), keeping CLK_CONTINUE's place per script slot.
#pragma once
#include "automation/accessibility/find_accessible.h"
#include "automation/controls/accessible_items.h"
#include "platform/accessibility.h"

namespace maqo::automation::accessibility {

class AccessibilityEngine final : public controls::AccessibleItems {
 public:
  bool click(controls::ControlContext& c, const controls::ClickRequest& request) override;
  int checkState(controls::ControlContext& c, const std::u16string& name, int number) override;
  void collect(controls::ControlContext& c, uint32_t kinds, int number, bool includeUnavailable,
               std::vector<std::u16string>& out) override;
  std::optional<std::u16string> readText(controls::ControlContext& c, int number, int mode, bool mouse) override;
  bool setText(controls::ControlContext& c, const std::u16string& text, int number, uint32_t elementKinds,
               bool append) override;
};

// The accessibility seam the engine uses: the build's, unless a
// ScopedAccessibility installs another (tests).
platform::Accessibility& currentAccessibility();

// Installs an accessibility seam and the engine over it for its lifetime.
class ScopedAccessibility {
 public:
  explicit ScopedAccessibility(platform::Accessibility& accessibility);
  ~ScopedAccessibility();
  ScopedAccessibility(const ScopedAccessibility&) = delete;
  ScopedAccessibility& operator=(const ScopedAccessibility&) = delete;

 private:
  platform::Accessibility* previous_;
  controls::AccessibleItems* previousEngine_;
};

// The engine of the process (one; it keeps no state of its own).
AccessibilityEngine& processAccessibilityEngine();

}  // namespace maqo::automation::accessibility
