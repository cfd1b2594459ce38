// The native build has no COM: the COM builtins and member calls report that
// they need Windows before asking anything else.
#include "platform/com_automation.h"

namespace maqo::platform {

namespace {

class NoComAutomation final : public ComAutomation {
 public:
  bool available() override { return false; }
  std::shared_ptr<ComObject> create(std::u16string_view, ComFailure& failure) override {
    failure.code = static_cast<int32_t>(0x80004001);  // E_NOTIMPL
    return nullptr;
  }
  std::shared_ptr<ComObject> active(std::u16string_view, ComFailure& failure) override {
    failure.code = static_cast<int32_t>(0x80004001);
    return nullptr;
  }
};

}  // namespace

ComAutomation& systemComAutomation() {
  static NoComAutomation none;
  return none;
}

}  // namespace maqo::platform
