// The private messages and the tray menu item of the main window, shared by its source files.
#pragma once
#include <windows.h>

namespace maqo::app {

inline constexpr UINT kMsgStartUp = 0x8002;      // play the command-line file (and close after it in run-and-exit mode)
inline constexpr UINT kMsgTrayIcon = 0x8006;     // the tray icon's callback
inline constexpr UINT kMsgTrayAtStart = 0x8008;  // the last session ended in the tray
inline constexpr UINT kMsgHandOver = 0x800A;     // take the queued hand-overs
inline constexpr UINT kTrayIconId = 1;
// The tool menu's tray item, whose caption says which way it goes.
inline constexpr int kToolMenuTrayItem = 2001;

}  // namespace maqo::app
