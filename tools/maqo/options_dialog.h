// The options dialog "TFSetset": recording level and options, the play,
// stop, record and tray hot keys, and the schedule button. Modal over the
// main window; hot keys that clash are refused before anything is saved.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>

#include "host/host_options.h"

namespace maqo::app {

struct OptionsDialogTexts {
  bool japanese = false;
};

// Shows the dialog with options filled in; the chosen options on OK, nothing
// on Cancel or close. onSchedule runs when the schedule button is pressed.
std::optional<host::HostOptions> ShowOptionsDialog(HWND owner, const host::HostOptions& options, bool japanese,
                                                   const std::function<void()>& onSchedule);

}  // namespace maqo::app
