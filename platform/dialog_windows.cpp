#include "platform/dialog_windows.h"

#include <atomic>

namespace maqo::platform {

namespace {
std::atomic<DialogWindows*> installed{nullptr};
}

DialogWindows& dialogWindows() {
  if (DialogWindows* dialogs = installed.load()) return *dialogs;
  return terminalDialogWindows();
}

void setDialogWindows(DialogWindows* dialogs) { installed.store(dialogs); }

}  // namespace maqo::platform
