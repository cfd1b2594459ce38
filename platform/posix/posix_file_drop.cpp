#include "platform/file_drop.h"

namespace maqo::platform {

namespace {

// The native build has no shell and no windows to drop onto.
class NoFileDropper final : public FileDropper {
 public:
  bool available() override { return false; }
  DropResult drop(const FileDropRequest&) override {
    return {DropStatus::Failed, u"there is no shell to drop files with on this system"};
  }
};

}  // namespace

FileDropper& systemFileDropper() {
  static NoFileDropper dropper;
  return dropper;
}

}  // namespace maqo::platform
