// The host application's main window "TUMAIN_MAQO": the tool bar of five
// buttons, the tool menu, the keys L/S/P/R/O, file drops, hand-overs from
// other instances, the global hot keys, and playing the loaded script with
// the stop form showing while this thread keeps its messages flowing.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <atomic>
#include <deque>
#include <memory>
#include <string>

#include "engine/library/builtin_library.h"
#include "host/command_line.h"
#include "host/hot_keys.h"
#include "host/script_session.h"
#include "platform/platform.h"
#include "tools/maqo/gui_ui.h"

namespace maqo::app {

inline constexpr wchar_t kMainWindowClass[] = L"TUMAIN_MAQO";
// WM_COPYDATA's dwData for a hand-over, plus the sender's mode (1 play, 3 load).
inline constexpr ULONG_PTR kHandOverTag = 0x4D514800;

struct HostSetup {
  host::StartRequest start;
  std::u16string settingsFile;    // full path
  std::u16string settingsFolder;  // the log and temporary files go here too
  std::u16string logFileName;     // "MAQO.LOG" for maqo.exe
  bool japanese = false;
  // A hand-over that found no running instance: the file to load (and play
  // when the mode was /k) as this normal start begins.
  std::u16string fileToOpen;
  bool playAtStart = false;
  bool stopFormHidden = false;
};

class HostWindow {
 public:
  HostWindow(platform::Platform& p, GuiUi& ui, const engine::BuiltinLibrary& library, HostSetup setup);
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  // Creates the window (shown unless the start runs a file and exits).
  bool create();
  // The message loop; returns the process's exit code.
  int run();
  // After run(): the command line of the process that takes over when a
  // script asked for a restart (empty otherwise). The caller releases the
  // single-instance mutex first, then starts it.
  const std::u16string& restartCommandLine() const { return restartCommandLine_; }

 private:
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  bool preview(MSG& msg);
  bool ours(HWND hwnd) const { return hwnd == hwnd_ || IsChild(hwnd_, hwnd); }

  void createChildren();
  void buildMenus();
  void replaceMinimizeCommand();
  void placeFromSettings();
  void onCommand(int id);
  void showToolMenu(int x, int y);

  bool openScript(const std::u16string& fileText, bool fromSwitchedCommandLine, bool splitAtCarriageReturns);
  void play();
  void load();
  void save();
  void onDrop(HDROP drop);
  void takeHandOvers();
  bool acceptHandOver(const COPYDATASTRUCT& data);

  void registerHotKey(int id, host::HotKeyPair pair);
  void registerStartupHotKeys();
  void showOptions();
  void onHotKey(int id);
  void waitForHotKeyRelease(host::HotKeyPair pair);

  // The task tray: the window hides behind an icon and comes back on a
  // double click, the tray hot key or the tool menu.
  void intoTray();
  void outOfTray(bool closing);
  bool addTrayIcon();
  void onTrayIcon(LPARAM event);

  // POFF(P_MAQO_REEXEC): the state for the next process, then this one ends.
  void prepareRestart(bool runAgain);
  // A restart state left by the previous process: log window, script, rerun.
  void restoreRestartState();

  void startSibling(const std::u16string& exeName, const std::u16string& arguments);
  void notAvailable(const std::u16string& what);
  std::u16string text(const char16_t* english, const char16_t* japanese) const {
    return setup_.japanese ? japanese : english;
  }
  std::u16string readSetting(std::u16string_view key);
  void writeSetting(std::u16string_view key, const std::u16string& value);
  bool interactive() const { return setup_.start.mode != host::StartMode::RunAndExit; }

  platform::Platform& platform_;
  GuiUi& ui_;
  HostSetup setup_;
  std::unique_ptr<host::ScriptSession> session_;
  HWND hwnd_ = nullptr;
  HWND buttons_[5] = {};
  HWND tooltip_ = nullptr;
  HFONT font_ = nullptr;
  HMENU toolMenu_ = nullptr;
  HMENU launchMenu_ = nullptr;

  std::u16string rawFileText_;
  std::u16string scriptPath_;
  host::FileText script_;
  bool playing_ = false;
  bool closeRequested_ = false;
  int exitCode_ = 0;
  host::HotKeyPair stopHotKey_ = host::kDefaultStopHotKey;
  host::HotKeyPair playHotKey_ = host::kDefaultPlayHotKey;
  bool optionsOpen_ = false;
  bool stopHotKeyFailureShown_ = false;
  bool inTray_ = false;
  // Set from the script's thread by POFF(P_MAQO_REEXEC): 1 restart, 2 restart and run again.
  std::atomic<int> restartRequest_{0};
  std::u16string restartCommandLine_;
  // A process restarted from a command-line run closes after its rerun.
  bool closeAfterRerun_ = false;
  UINT taskbarCreated_ = 0;

  struct HandOver {
    std::u16string path;
    bool play = false;
  };
  std::deque<HandOver> handOvers_;
};

}  // namespace maqo::app
