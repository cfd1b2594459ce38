#include "tools/maqo/host_window.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <exception>

#include "builtins/ini_file.h"
#include "dialogs/application_title.h"
#include "dialogs/stopform/stop_form_state.h"
#include "host/host_options.h"
#include "host/host_settings.h"
#include "host/setting_numbers.h"
#include "platform/dialog_windows.h"
#include "platform/letter_case.h"
#include "platform/script_windows.h"
#include "platform/text_codec.h"
#include "tools/maqo/host_messages.h"
#include "tools/maqo/options_dialog.h"
#include "tools/maqo/wide_text.h"

namespace maqo::app {

namespace {

// Client 214 x 32: Load, Save, Play (fills the middle), Rec, Tool.
constexpr int kClientWidth = 214, kClientHeight = 32;
constexpr int kButtonWidth = 38, kPlayWidth = 62;

enum ButtonIndex { kLoad, kSave, kPlay, kRec, kTool };
constexpr int kButtonIds[] = {1001, 1002, 1003, 1004, 1005};

// The system menu's own Minimize item.
constexpr UINT kMinimizeCommand = 10;

enum MenuId : int {
  kMenuTray = kToolMenuTrayItem,
  kMenuOptions,
  kMenuLaunchSetting,
  kMenuLaunchSetting2,
  kMenuWebRec,
  kMenuMqs2Exe,
  kMenuDebugger,
  kMenuSettingsFolder,
  kMenuHelp,
  kMenuAbout,
  kMenuExit,
};

bool endsWithScriptExtension(const std::u16string& name) { return platform::upperCaseText(name).ends_with(u".MQS"); }

std::u16string folderOf(const std::u16string& path) {
  const size_t slash = path.find_last_of(u"\\/");
  return slash == std::u16string::npos ? std::u16string() : path.substr(0, slash);
}

}  // namespace

HostWindow::HostWindow(platform::Platform& p, GuiUi& ui, const engine::BuiltinLibrary& library, HostSetup setup)
    : platform_(p), ui_(ui), setup_(std::move(setup)) {
  host::ScriptSessionSettings settings;
  settings.logLinesSetting = readSetting(u"LogLines");
  settings.logFilePath = setup_.settingsFolder + u"\\" + setup_.logFileName;
  settings.logFileName = setup_.logFileName;
  settings.writeLogWithoutOption = true;
  settings.messageCaption = dialogs::kApplicationTitle;
  settings.oneScriptRun = !interactive();
  settings.settleBeforeRun = true;
  session_ = std::make_unique<host::ScriptSession>(p, library, settings);
  // MSGBOX, INPUT, SLCTBOX and POPUPMENU show the program's own forms.
  platform::setDialogWindows(&platform::buildDialogWindows());
  session_->engine().OnRestartRequest = [this](bool runAgain) { restartRequest_.store(runAgain ? 2 : 1); };
  ui_.preview = [this](void* msg) { return preview(*static_cast<MSG*>(msg)); };
}

HostWindow::~HostWindow() {
  ui_.preview = nullptr;
  if (font_) DeleteObject(font_);
  if (toolMenu_) DestroyMenu(toolMenu_);
}

std::u16string HostWindow::readSetting(std::u16string_view key) {
  return builtins::ReadIniValue(platform_, host::kSettingsSection, key, setup_.settingsFile);
}

void HostWindow::writeSetting(std::u16string_view key, const std::u16string& value) {
  builtins::WriteIniValue(platform_, host::kSettingsSection, key, value, false, setup_.settingsFile);
}

bool HostWindow::create() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = windowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, L"MAINICON");
  if (!wc.hIcon) wc.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kMainWindowClass;
  if (!RegisterClassExW(&wc)) return false;

  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
  RECT frame = {0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, style, FALSE, 0);
  // A run from the command line keeps the window at nothing: it is never
  // shown at the tool bar's size.
  const int width = interactive() ? frame.right - frame.left : 0;
  const int height = interactive() ? frame.bottom - frame.top : 0;
  hwnd_ = CreateWindowExW(0, kMainWindowClass, L"MAQO", interactive() ? style : WS_POPUP | WS_SYSMENU, 0, 0, width,
                          height, nullptr, nullptr, instance, this);
  if (!hwnd_) return false;
  if (interactive()) {
    createChildren();
    buildMenus();
    replaceMinimizeCommand();
    placeFromSettings();
    DragAcceptFiles(hwnd_, TRUE);
    // Drops and hand-overs from a process at a lower integrity level.
    ChangeWindowMessageFilterEx(hwnd_, WM_DROPFILES, MSGFLT_ALLOW, nullptr);
    ChangeWindowMessageFilterEx(hwnd_, WM_COPYDATA, MSGFLT_ALLOW, nullptr);
    ChangeWindowMessageFilterEx(hwnd_, 0x0049, MSGFLT_ALLOW, nullptr);
    if (host::FirstFieldIsOne(readSetting(u"StayOnTop")))
      SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    registerStartupHotKeys();
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    UpdateWindow(hwnd_);
    if (host::FirstFieldIsOne(readSetting(u"TaskTrayStart"))) PostMessageW(hwnd_, kMsgTrayAtStart, 0, 0);
    if (!setup_.fileToOpen.empty() && openScript(setup_.fileToOpen, true, true) && setup_.playAtStart)
      PostMessageW(hwnd_, kMsgStartUp, 0, 0);
    restoreRestartState();
  } else {
    PostMessageW(hwnd_, kMsgStartUp, 0, 0);
  }
  return true;
}

int HostWindow::run() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (preview(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return exitCode_;
}

void HostWindow::createChildren() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  font_ = CreateFontW(-MulDiv(9, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Tahoma");
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, GetModuleHandleW(nullptr),
                             nullptr);
  const struct {
    const char16_t* caption;
    const char16_t* hintEnglish;
    const char16_t* hintJapanese;
    int width;
  } buttons[] = {
      {u"Load", u"Load(L)", u"読込み(L)", kButtonWidth}, {u"Save", u"Save(S)", u"保存(S)", kButtonWidth},
      {u"Play", u"Play(P)", u"再生(P)", kPlayWidth},     {u"Rec", u"Record(R)", u"記録(R)", kButtonWidth},
      {u"Tool", u"Options(O)", u"設定(O)", kButtonWidth},
  };
  int x = 0;
  for (int i = 0; i < 5; ++i) {
    buttons_[i] = CreateWindowExW(0, L"BUTTON", wide(buttons[i].caption), WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, x, 0,
                                  buttons[i].width, kClientHeight, hwnd_,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kButtonIds[i])),
                                  GetModuleHandleW(nullptr), nullptr);
    SendMessageW(buttons_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
    x += buttons[i].width;
    if (tooltip_) {
      std::u16string hint = text(buttons[i].hintEnglish, buttons[i].hintJapanese);
      TOOLINFOW tool = {};
      tool.cbSize = sizeof(tool);
      tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
      tool.hwnd = hwnd_;
      tool.uId = reinterpret_cast<UINT_PTR>(buttons_[i]);
      tool.lpszText = const_cast<wchar_t*>(wide(hint));
      SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
  }
  // Nothing is loaded yet and nothing was recorded.
  EnableWindow(buttons_[kSave], FALSE);
  EnableWindow(buttons_[kPlay], FALSE);
}

void HostWindow::buildMenus() {
  toolMenu_ = CreatePopupMenu();
  launchMenu_ = CreatePopupMenu();
  AppendMenuW(launchMenu_, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(launchMenu_, MF_STRING, kMenuLaunchSetting,
              wide(text(u"Setting LaunchMenu(&Z)...", u"ランチメニュの設定(&Z)...")));
  const struct {
    int id;
    const char16_t* english;
    const char16_t* japanese;
  } items[] = {
      {kMenuTray, u"Into TaskTray", u"タスクトレイ に格納(&W)"},
      {0, nullptr, nullptr},
      {kMenuOptions, u"Options...", u"設定(&X)..."},
      {0, nullptr, nullptr},
      {-1, u"LaunchMenu", u"ランチメニュ(&M)"},
      {0, nullptr, nullptr},
      {kMenuWebRec, u"WebRec", u"WebRec（Web記録）(&R)"},
      {0, nullptr, nullptr},
      {kMenuMqs2Exe, u"Mqs2Exe", u"Mqs2Exe（EXE作成）(&U)"},
      {0, nullptr, nullptr},
      {kMenuDebugger, u"Debugger", u"Debugger（デバッグ）(&D)"},
      {0, nullptr, nullptr},
      {kMenuSettingsFolder, u".INI/.LOG Folder", u".INI/.LOG Folder(&F)"},
      {0, nullptr, nullptr},
      {kMenuHelp, u"Help", u"Help(&H)"},
      {0, nullptr, nullptr},
      {kMenuAbout, u"About", u"About(&A)"},
      {0, nullptr, nullptr},
      {kMenuExit, u"Exit", u"終了(&Z)"},
  };
  for (const auto& item : items) {
    if (item.id == 0) {
      AppendMenuW(toolMenu_, MF_SEPARATOR, 0, nullptr);
    } else if (item.id < 0) {
      AppendMenuW(toolMenu_, MF_POPUP, reinterpret_cast<UINT_PTR>(launchMenu_), wide(text(item.english, item.japanese)));
    } else {
      AppendMenuW(toolMenu_, MF_STRING, static_cast<UINT_PTR>(item.id), wide(text(item.english, item.japanese)));
    }
  }
}

void HostWindow::replaceMinimizeCommand() {
  HMENU system = GetSystemMenu(hwnd_, FALSE);
  if (!system) return;
  DeleteMenu(system, SC_MINIMIZE, MF_BYCOMMAND);
  InsertMenuW(system, 3, MF_BYPOSITION | MF_STRING, kMinimizeCommand, wide(text(u"Mi&nimize", u"最小化(&N)")));
}

void HostWindow::placeFromSettings() {
  const host::SettingPoint at = host::ParsePointSetting(readSetting(u"Position"));
  RECT r;
  GetWindowRect(hwnd_, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  // Inside the virtual desktop: right and bottom edges first, then left and top.
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int right = left + GetSystemMetrics(SM_CXVIRTUALSCREEN), bottom = top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
  int x = at.x, y = at.y;
  if (x + width > right) x = right - width;
  if (y + height > bottom) y = bottom - height;
  if (x < left) x = left;
  if (y < top) y = top;
  SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK HostWindow::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<HostWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->hwnd_ = hwnd;
  }
  auto* self = reinterpret_cast<HostWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  try {
    return self->handle(message, wParam, lParam);
  } catch (const std::exception& e) {
    // A failure in one command is reported and the window stays usable.
    self->ui_.messageBox(u"MAQO: " + utf8ToUtf16(e.what()), dialogs::kApplicationTitle);
    return 0;
  }
}

bool HostWindow::preview(MSG& msg) {
  if (!hwnd_ || !msg.hwnd || !ours(msg.hwnd)) return false;
  switch (msg.message) {
    case WM_KEYDOWN: {
      if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
      const auto enabled = [this](int button) { return IsWindowEnabled(buttons_[button]) != FALSE; };
      switch (msg.wParam) {
        case 'L': if (!playing_) load(); return true;
        case 'S': if (!playing_ && enabled(kSave)) save(); return true;
        case 'P': if (!playing_ && enabled(kPlay)) play(); return true;
        case 'R': if (!playing_) onCommand(kButtonIds[kRec]); return true;
        case 'O': if (!playing_) onCommand(kButtonIds[kTool]); return true;
        default: return false;
      }
    }
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
      // Alt and F10 alone would move the focus into the system menu.
      return msg.wParam == VK_MENU || msg.wParam == VK_F10;
    case WM_RBUTTONUP: {
      POINT at;
      GetCursorPos(&at);
      showToolMenu(at.x + 5, at.y + 20);
      return true;
    }
    default:
      return false;
  }
}

void HostWindow::showToolMenu(int x, int y) {
  if (playing_ || !toolMenu_) return;
  SetForegroundWindow(hwnd_);
  TrackPopupMenu(toolMenu_, TPM_LEFTALIGN | TPM_TOPALIGN, x, y, 0, hwnd_, nullptr);
  PostMessageW(hwnd_, WM_NULL, 0, 0);
}

LRESULT HostWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (taskbarCreated_ != 0 && message == taskbarCreated_) {
    // The shell restarted: its icons are gone, ours comes back.
    if (inTray_) addTrayIcon();
    return 0;
  }
  switch (message) {
    case kMsgTrayIcon:
      onTrayIcon(lParam);
      return 0;
    case kMsgTrayAtStart:
      if (!inTray_) intoTray();
      return 0;
    case WM_COMMAND:
      onCommand(LOWORD(wParam));
      return 0;
    case WM_SYSCOMMAND: {
      const UINT command = static_cast<UINT>(wParam & 0xFFF0);
      HMENU system = GetSystemMenu(hwnd_, FALSE);
      if (wParam == kMinimizeCommand || command == SC_MINIMIZE) {
        if (system) EnableMenuItem(system, kMinimizeCommand, MF_BYCOMMAND | MF_GRAYED);
        ShowWindow(hwnd_, SW_MINIMIZE);
        return 0;
      }
      if (command == SC_RESTORE && system) EnableMenuItem(system, kMinimizeCommand, MF_BYCOMMAND | MF_ENABLED);
      break;
    }
    case WM_DROPFILES:
      onDrop(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_COPYDATA:
      return acceptHandOver(*reinterpret_cast<const COPYDATASTRUCT*>(lParam)) ? TRUE : FALSE;
    case kMsgHandOver:
      takeHandOvers();
      return 0;
    case kMsgStartUp:
      if (!interactive()) {
        // Run and exit: the command-line file opens, plays, and the window closes.
        if (openScript(setup_.start.fileText, setup_.start.forceHidden, true)) {
          play();
        } else {
          exitCode_ = 9;
        }
        DestroyWindow(hwnd_);
      } else {
        play();
      }
      return 0;
    case WM_HOTKEY:
      onHotKey(static_cast<int>(wParam));
      return 0;
    case WM_CLOSE:
      if (playing_) {
        // The run ends first; play() closes the window once it returns.
        closeRequested_ = true;
        session_->engine().RequestStop();
        return 0;
      }
      DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY: {
      for (int id = host::kStopHotKeyId; id <= host::kLaunchMenuHotKeyId; ++id) UnregisterHotKey(hwnd_, id);
      if (interactive() && !IsIconic(hwnd_)) {
        RECT r;
        GetWindowRect(hwnd_, &r);
        writeSetting(u"Position", host::DecimalText(r.left) + u"," + host::DecimalText(r.top));
      }
      if (interactive()) {
        const bool wasInTray = inTray_;
        if (inTray_) outOfTray(true);
        writeSetting(u"TaskTrayStart", wasInTray ? u"1" : u"0");
      }
      PostQuitMessage(exitCode_);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void HostWindow::onCommand(int id) {
  switch (id) {
    case kButtonIds[kLoad]:
      if (!playing_) load();
      return;
    case kButtonIds[kSave]:
      if (!playing_) save();
      return;
    case kButtonIds[kPlay]:
      play();
      return;
    case kButtonIds[kRec]:
      if (!playing_) notAvailable(text(u"The recorder", u"記録"));
      return;
    case kButtonIds[kTool]: {
      RECT r;
      GetWindowRect(buttons_[kTool], &r);
      showToolMenu(r.left + 5, r.top + 20);
      return;
    }
    case kMenuTray:
      if (inTray_) {
        outOfTray(false);
      } else {
        intoTray();
      }
      return;
    case kMenuOptions:
      showOptions();
      return;
    case kMenuLaunchSetting:
    case kMenuLaunchSetting2: notAvailable(text(u"The launch menu", u"ランチメニュ")); return;
    case kMenuWebRec: startSibling(u"WebRec.exe", u""); return;
    case kMenuMqs2Exe:
      startSibling(u"Mqs2Exe.exe", platform_.files.fileExists(scriptPath_) ? u" /O \"" + scriptPath_ + u"\"" : u"");
      return;
    case kMenuDebugger:
      startSibling(u"mqdebug.exe", platform_.files.fileExists(scriptPath_) ? u" \"" + scriptPath_ + u"\"" : u"");
      return;
    case kMenuSettingsFolder: {
      // The path is quoted on both sides, so a folder with blanks is selected too.
      const std::u16string arguments = u"/n,/select,\"" + setup_.settingsFile + u"\"";
      ShellExecuteW(hwnd_, L"open", L"explorer.exe", wide(arguments), nullptr, SW_SHOWNORMAL);
      return;
    }
    case kMenuHelp: {
      const std::u16string help = platform_.files.executableDirectory() + u"\\maqo.chm";
      if (!platform_.files.fileExists(help)) {
        ui_.messageBox(help + text(u" was not found", u" がありません"), dialogs::kApplicationTitle);
        return;
      }
      ShellExecuteW(hwnd_, L"open", wide(help), nullptr, nullptr, SW_SHOWNORMAL);
      return;
    }
    case kMenuAbout:
      SetWindowPos(hwnd_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      ui_.messageBox(u"MAQO version " + utf8ToUtf16(MAQO_VERSION), dialogs::kApplicationTitle);
      return;
    case kMenuExit:
      PostMessageW(hwnd_, WM_CLOSE, 0, 0);
      return;
    default:
      return;
  }
}

void HostWindow::notAvailable(const std::u16string& what) {
  ui_.messageBox(what + text(u" is not available yet", u"はまだ使えません"), dialogs::kApplicationTitle);
}

void HostWindow::startSibling(const std::u16string& exeName, const std::u16string& arguments) {
  const std::u16string path = platform_.files.executableDirectory() + u"\\" + exeName;
  if (!platform_.files.fileExists(path)) {
    ui_.messageBox(path + text(u" was not found", u" がありません"), dialogs::kApplicationTitle);
    return;
  }
  // Started without waiting, as EXEC does without its wait flag.
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(hwnd_, L"open", wide(path), arguments.empty() ? nullptr : wide(arguments),
                    wide(platform_.files.executableDirectory()), SW_SHOWNORMAL));
  if (result <= 32) ui_.messageBox(path + text(u" could not be started", u" を起動できません"), dialogs::kApplicationTitle);
}

bool HostWindow::openScript(const std::u16string& fileText, bool fromSwitchedCommandLine,
                            bool splitAtCarriageReturns) {
  host::FileText parsed = host::ParseFileText(fileText, splitAtCarriageReturns);
  const std::u16string resolved =
      host::ResolveScriptName(parsed.fileName, fromSwitchedCommandLine, platform_.files.currentDirectory(),
                              platform_.files.executableDirectory());
  const std::u16string path = platform_.files.fullPath(resolved);
  if (!platform_.files.fileExists(path)) {
    ui_.beep();
    if (hwnd_ && IsWindowVisible(hwnd_)) SetForegroundWindow(hwnd_);
    ui_.messageBox(u"FILE Not Found :" + parsed.fileName, dialogs::kApplicationTitle);
    return false;
  }
  platform_.files.setCurrentDirectory(folderOf(path));
  rawFileText_ = fileText;
  scriptPath_ = path;
  script_ = std::move(parsed);
  const size_t slash = path.find_last_of(u"\\/");
  const std::u16string name = slash == std::u16string::npos ? path : path.substr(slash + 1);
  if (interactive()) SetWindowTextW(hwnd_, wide(name));
  builtins::IniHostSettings ini = builtins::GetIniHostSettings();
  ini.scriptFile = path;
  builtins::SetIniHostSettings(ini);
  if (buttons_[kPlay]) {
    EnableWindow(buttons_[kPlay], TRUE);
    EnableWindow(buttons_[kSave], FALSE);
  }
  return true;
}

void HostWindow::play() {
  if (playing_ || scriptPath_.empty()) return;
  playing_ = true;
  registerHotKey(host::kStopHotKeyId, stopHotKey_);
  dialogs::TheStopForm().startPlaying();
  platform::ScriptWindows& windows = platform::scriptWindows();
  if (!setup_.stopFormHidden) {
    const host::SettingPoint at = host::ParsePointSetting(readSetting(u"Position"));
    windows.showStopForm(platform::OutlinePoint{at.x, at.y}, dialogs::kApplicationTitle,
                         [] { dialogs::TheStopForm().pressStop(); });
  }
  if (interactive()) EnableWindow(buttons_[kPlay], FALSE);

  engine::PlayRequest request;
  request.scriptPath = scriptPath_;
  request.shownName = script_.fileName;
  request.parameters = script_.parameters;
  request.repeatCount = script_.runCount;
  engine::PlayOutcome outcome = engine::PlayOutcome::ErrorStopped;
  try {
    outcome = session_->play(request);
  } catch (const std::exception& e) {
    ui_.messageBox(u"pplay:" + utf8ToUtf16(e.what()), dialogs::kApplicationTitle);
  }
  exitCode_ = session_->exitCodeAfter(outcome, false);

  windows.hideStopForm();
  dialogs::TheStopForm().stop();
  UnregisterHotKey(hwnd_, host::kStopHotKeyId);
  playing_ = false;
  if (const int restart = restartRequest_.exchange(0); restart != 0) {
    prepareRestart(restart == 2);
    return;
  }
  if (closeAfterRerun_) {
    DestroyWindow(hwnd_);
    return;
  }
  if (interactive()) {
    // An interactive start ends with code 0 whatever the last script set.
    exitCode_ = 0;
    EnableWindow(buttons_[kPlay], TRUE);
    if (IsWindowVisible(hwnd_)) SetFocus(buttons_[kPlay]);
    if (closeRequested_) {
      DestroyWindow(hwnd_);
      return;
    }
    if (!handOvers_.empty()) PostMessageW(hwnd_, kMsgHandOver, 0, 0);
  }
}

void HostWindow::load() {
  wchar_t file[MAX_PATH * 4] = L"";
  OPENFILENAMEW ofn = {};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = hwnd_;
  ofn.lpstrFilter = L"MQScript Files (*.MQS)\0*.MQS\0All (*.*)\0*.*\0";
  ofn.lpstrFile = file;
  ofn.nMaxFile = static_cast<DWORD>(std::size(file));
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!GetOpenFileNameW(&ofn)) return;
  openScript(u"\"" + fromWide(file) + u"\"", false, false);
}

void HostWindow::save() {
  // Only a recording is saved, and the recorder is not built into this host yet.
  ui_.messageBox(text(u"There are no valid data", u"保存すべき有効データがありません"), dialogs::kApplicationTitle);
}

void HostWindow::onDrop(HDROP drop) {
  std::u16string name;
  if (!playing_ && DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) > 0) {
    const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    std::wstring buffer(length + 1, L'\0');
    DragQueryFileW(drop, 0, buffer.data(), length + 1);
    name = fromWide(buffer.c_str());
  }
  DragFinish(drop);
  // A drop during a run starts nothing: one run at a time.
  if (name.empty()) return;
  if (!endsWithScriptExtension(name)) {
    ui_.messageBox(text(u"It is not MAQO file", u"指定外ファイル"), dialogs::kApplicationTitle);
    return;
  }
  if (openScript(u"\"" + name + u"\"", false, false)) play();
}

bool HostWindow::acceptHandOver(const COPYDATASTRUCT& data) {
  const ULONG_PTR mode = data.dwData - kHandOverTag;
  if (data.dwData < kHandOverTag || (mode != 1 && mode != 3)) return false;
  if (!interactive() || closeRequested_ || !data.lpData || data.cbData < sizeof(wchar_t)) return false;
  const auto* chars = static_cast<const char16_t*>(data.lpData);
  std::u16string path(chars, data.cbData / sizeof(char16_t));
  while (!path.empty() && path.back() == u'\0') path.pop_back();
  if (path.empty()) return false;
  // Queued: the sender's SendMessage returns at once, and a run in progress
  // is never changed under its feet; the queue is taken once it ends.
  handOvers_.push_back({path, mode == 1});
  PostMessageW(hwnd_, kMsgHandOver, 0, 0);
  return true;
}

void HostWindow::takeHandOvers() {
  if (playing_ || handOvers_.empty()) return;
  const HandOver next = handOvers_.front();
  handOvers_.pop_front();
  if (openScript(u"\"" + next.path + u"\"", true, true) && next.play) play();
  if (!handOvers_.empty() && !playing_) PostMessageW(hwnd_, kMsgHandOver, 0, 0);
}

void HostWindow::registerHotKey(int id, host::HotKeyPair pair) {
  UnregisterHotKey(hwnd_, id);
  if (!pair.valid()) return;
  const bool registered = RegisterHotKey(hwnd_, id, pair.modifierBits(), pair.virtualKey()) != FALSE;
  if (!registered && id == host::kStopHotKeyId && interactive() && !stopHotKeyFailureShown_) {
    // Said once: a stop key that is taken (by another program or by one of our
    // own hot keys) would otherwise fail quietly at every run.
    stopHotKeyFailureShown_ = true;
    ui_.messageBox(text(u"The stop hot key ", u"停止のホットキー ") + host::HotKeyDisplayName(pair) +
                       text(u" could not be registered", u" を登録できません"),
                   dialogs::kApplicationTitle);
  }
}

void HostWindow::registerStartupHotKeys() {
  // The options' load: play, record and tray are registered now; the stop
  // key only while a run is on.
  const host::HostOptions options =
      host::LoadHostOptions([this](std::u16string_view key) { return readSetting(key); });
  stopHotKey_ = options.stop;
  playHotKey_ = options.play;
  registerHotKey(host::kPlayHotKeyId, options.play);
  registerHotKey(host::kRecordHotKeyId, options.record);
  registerHotKey(host::kTrayHotKeyId, options.tray);
}

void HostWindow::showOptions() {
  if (playing_ || optionsOpen_) return;
  optionsOpen_ = true;
  EnableMenuItem(toolMenu_, kMenuOptions, MF_BYCOMMAND | MF_GRAYED);
  const host::HostOptions stored =
      host::LoadHostOptions([this](std::u16string_view key) { return readSetting(key); });
  const auto chosen = ShowOptionsDialog(hwnd_, stored, setup_.japanese,
                                        [this] { notAvailable(text(u"The scheduler", u"スケジューラー")); });
  if (chosen) {
    for (const auto& entry : host::HostOptionWrites(*chosen)) writeSetting(entry.key, entry.value);
    registerStartupHotKeys();
    // A new stop pair is tried at the next run; its failure is said again.
    if (!(chosen->stop == stored.stop)) stopHotKeyFailureShown_ = false;
  }
  EnableMenuItem(toolMenu_, kMenuOptions, MF_BYCOMMAND | MF_ENABLED);
  optionsOpen_ = false;
}

void HostWindow::waitForHotKeyRelease(host::HotKeyPair pair) {
  const unsigned modifiers = pair.modifierBits();
  const auto down = [](int key) { return (GetAsyncKeyState(key) & 0x8000) != 0; };
  for (int round = 0; round < 61; ++round) {
    const bool held = down(static_cast<int>(pair.virtualKey())) || ((modifiers & MOD_ALT) && down(VK_MENU)) ||
                      ((modifiers & MOD_CONTROL) && down(VK_CONTROL)) || ((modifiers & MOD_SHIFT) && down(VK_SHIFT)) ||
                      ((modifiers & MOD_WIN) && (down(VK_LWIN) || down(VK_RWIN)));
    if (!held) return;
    Sleep(50);
  }
}

void HostWindow::onHotKey(int id) {
  engine::TUScript& engine = session_->engine();
  switch (id) {
    case host::kStopHotKeyId: {
      const int level = engine.StopRequest.load();
      if (level <= 90) engine.StopRequest.fetch_add(10);
      if (level > 10) SetForegroundWindow(hwnd_);
      return;
    }
    case host::kPlayHotKeyId:
      if (playing_) {
        dialogs::TheStopForm().togglePause();
        engine.RunState.store(dialogs::TheStopForm().runState());
        return;
      }
      if (IsWindowEnabled(buttons_[kPlay])) {
        waitForHotKeyRelease(playHotKey_);
        play();
      }
      return;
    case host::kRecordHotKeyId:
      if (!playing_) notAvailable(text(u"The recorder", u"記録"));
      return;
    case host::kTrayHotKeyId:
      if (!playing_) {
        if (inTray_) {
          outOfTray(false);
        } else {
          intoTray();
        }
      }
      return;
    default:
      return;
  }
}

}  // namespace maqo::app
