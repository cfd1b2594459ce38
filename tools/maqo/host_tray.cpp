// The main window in the task tray: the icon (added again when the shell
// restarts), its clicks, and the way back.
#include "tools/maqo/host_window.h"

#include "dialogs/application_title.h"
#include "tools/maqo/host_messages.h"
#include "tools/maqo/wide_text.h"

namespace maqo::app {

bool HostWindow::addTrayIcon() {
  NOTIFYICONDATAW icon = {};
  icon.cbSize = sizeof(icon);
  icon.hWnd = hwnd_;
  icon.uID = kTrayIconId;
  icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  icon.uCallbackMessage = kMsgTrayIcon;
  icon.hIcon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, 16, 16, 0));
  if (!icon.hIcon) icon.hIcon = reinterpret_cast<HICON>(GetClassLongPtrW(hwnd_, GCLP_HICON));
  GetWindowTextW(hwnd_, icon.szTip, static_cast<int>(std::size(icon.szTip)));
  if (Shell_NotifyIconW(NIM_ADD, &icon)) return true;
  // The shell may still be starting: a few more rounds, then give up.
  for (int round = 0; round < 9; ++round) {
    Sleep(200);
    ui_.pumpMessages();
    ui_.pumpMessages();
    if (Shell_NotifyIconW(NIM_MODIFY, &icon) || Shell_NotifyIconW(NIM_ADD, &icon)) return true;
  }
  return false;
}

void HostWindow::intoTray() {
  ShowWindow(hwnd_, SW_HIDE);
  if (!addTrayIcon()) {
    // Without an icon nothing would bring the window back: it stays shown.
    ShowWindow(hwnd_, SW_SHOW);
    ui_.messageBox(text(u"The task tray icon could not be added", u"タスクトレイに格納できません"),
                   dialogs::kApplicationTitle);
    return;
  }
  inTray_ = true;
  ModifyMenuW(toolMenu_, kToolMenuTrayItem, MF_BYCOMMAND | MF_STRING, kToolMenuTrayItem,
              wide(text(u"Out of TaskTray", u"タスクトレイから出る(&W)")));
}

void HostWindow::outOfTray(bool closing) {
  NOTIFYICONDATAW icon = {};
  icon.cbSize = sizeof(icon);
  icon.hWnd = hwnd_;
  icon.uID = kTrayIconId;
  Shell_NotifyIconW(NIM_DELETE, &icon);
  inTray_ = false;
  if (closing) return;
  ModifyMenuW(toolMenu_, kToolMenuTrayItem, MF_BYCOMMAND | MF_STRING, kToolMenuTrayItem,
              wide(text(u"Into TaskTray", u"タスクトレイ に格納(&W)")));
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
}

void HostWindow::onTrayIcon(LPARAM event) {
  if (playing_) return;
  POINT at;
  GetCursorPos(&at);
  switch (LOWORD(event)) {
    case WM_LBUTTONDOWN:
      SetForegroundWindow(hwnd_);
      TrackPopupMenu(launchMenu_, TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, 0, hwnd_, nullptr);
      PostMessageW(hwnd_, WM_NULL, 0, 0);
      return;
    case WM_LBUTTONDBLCLK:
      outOfTray(false);
      return;
    case WM_RBUTTONUP:
      showToolMenu(at.x, at.y);
      return;
    default:
      return;
  }
}

}  // namespace maqo::app
