// Without a window system the dialogs ask on the terminal.
#include "platform/dialog_windows.h"

namespace maqo::platform {

DialogWindows& buildDialogWindows() { return terminalDialogWindows(); }

}  // namespace maqo::platform
