// POFF(P_MAQO_REEXEC): the state a restarting host leaves for the next
// process (log window, its lines, the script's text, whether to run it
// again), and taking it up again at the next start.
#include "tools/maqo/host_window.h"

#include "builtins/ini_file.h"
#include "dialogs/log/script_log.h"
#include "host/command_line.h"
#include "host/restart_state.h"
#include "platform/script_windows.h"
#include "platform/text_codec.h"
#include "tools/maqo/host_messages.h"
#include "tools/maqo/wide_text.h"

namespace maqo::app {

namespace {
constexpr char16_t kSavedLogFile[] = u"SV_COM_H.TMP";
}

void HostWindow::prepareRestart(bool runAgain) {
  // A command-line run that is not to run again simply ends.
  if (!interactive() && !runAgain) {
    DestroyWindow(hwnd_);
    return;
  }
  platform::ScriptWindows& windows = platform::scriptWindows();
  host::RestartState state;
  state.runAgain = runAgain;
  state.fileText = rawFileText_;
  const std::u16string savedLog = setup_.settingsFolder + u"\\" + kSavedLogFile;
  if (windows.logWindowVisible()) {
    HWND log = reinterpret_cast<HWND>(static_cast<uintptr_t>(windows.logWindow()));
    RECT r = {};
    GetWindowRect(log, &r);
    state.logLeft = r.left;
    state.logTop = r.top;
    state.logWidth = r.right - r.left;
    state.logHeight = r.bottom - r.top;
    wchar_t caption[512] = L"";
    GetWindowTextW(log, caption, static_cast<int>(std::size(caption)));
    state.logCaption = fromWide(caption);
    const std::vector<std::u16string> lines = dialogs::TheScriptLog().keptLines();
    if (!lines.empty()) {
      std::u16string joined;
      for (const auto& line : lines) joined += line + u"\r\n";
      platform_.files.writeAllReplacing(savedLog, utf16ToUtf8(joined));
    }
  }
  builtins::WriteIniValue(platform_, host::kRestartSection, host::kRestartFileKey, host::FormatRestartState(state),
                          true, setup_.settingsFile);
  wchar_t exePath[MAX_PATH * 2] = L"";
  GetModuleFileNameW(nullptr, exePath, static_cast<DWORD>(std::size(exePath)));
  restartCommandLine_ = u"\"" + fromWide(exePath) + u"\"";
  if (!interactive()) restartCommandLine_ += std::u16string(u" ") + host::kRestartMarker;
  windows.showLogWindow(false);
  DestroyWindow(hwnd_);
}

void HostWindow::restoreRestartState() {
  const std::u16string saved =
      builtins::ReadIniValue(platform_, host::kRestartSection, host::kRestartFileKey, setup_.settingsFile);
  if (saved.empty()) return;
  builtins::DeleteIniValue(platform_, host::kRestartSection, u"", setup_.settingsFile);
  const std::optional<host::RestartState> state = host::ParseRestartState(saved);
  if (!state) return;
  platform::ScriptWindows& windows = platform::scriptWindows();
  const std::u16string savedLog = setup_.settingsFolder + u"\\" + kSavedLogFile;
  const platform::ReadResult lines = platform_.files.readAll(savedLog);
  if (lines.status == platform::ReadStatus::Ok) {
    if (state->logWidth > 0 && state->logHeight > 0)
      windows.placeLogWindow({state->logLeft, state->logTop, state->logWidth, state->logHeight});
    windows.setLogText(utf8ToUtf16(lines.bytes));
    windows.showLogWindow(true);
    if (!state->logCaption.empty())
      SetWindowTextW(reinterpret_cast<HWND>(static_cast<uintptr_t>(windows.logWindow())), wide(state->logCaption));
    DeleteFileW(wide(savedLog));
  }
  const bool atCarriageReturns = state->fileText.find(u'\r') != std::u16string::npos;
  if (!state->fileText.empty() && openScript(state->fileText, setup_.start.restartMarker, atCarriageReturns) &&
      state->runAgain) {
    closeAfterRerun_ = setup_.start.restartMarker;
    PostMessageW(hwnd_, kMsgStartUp, 0, 0);
  }
  // The window that was in front before the restart comes back to the front.
  SetForegroundWindow(hwnd_);
}

}  // namespace maqo::app
