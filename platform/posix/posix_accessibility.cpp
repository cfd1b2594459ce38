// The native build has no accessibility trees.
#include "platform/accessibility.h"

namespace maqo::platform {

namespace {

class NoAccessibility final : public Accessibility {
 public:
  bool available() override { return false; }
  std::unique_ptr<AccessibleElement> fromWindow(WindowHandle) override { return nullptr; }
  std::unique_ptr<AccessibleElement> fromPoint(int, int) override { return nullptr; }
  std::u16string roleText(int) override { return {}; }
  std::u16string stateText(uint32_t) override { return {}; }
};

}  // namespace

Accessibility& systemAccessibility() {
  static NoAccessibility none;
  return none;
}

}  // namespace maqo::platform
