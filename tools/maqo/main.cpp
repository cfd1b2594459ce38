// maqo.exe: the host application. Without arguments it shows its tool bar;
// "maqo.exe file [params]" runs the script and exits with its exit code;
// "/a file [output]" writes the script as plain text; "/k file" and
// "/l file" hand the file to a running instance (which plays or
// only loads it) and start normally when there is none; "/NI file" runs
// without any visible window of its own.
#include <windows.h>

#include <string>
#include <vector>

#include "builtins/ini_file.h"
#include "dialogs/application_title.h"
#include "engine/library/builtin_library.h"
#include "host/builtin_families.h"
#include "host/command_line.h"
#include "host/host_settings.h"
#include "host/instance_rule.h"
#include "host/script_convert.h"
#include "host/settings_migration.h"
#include "platform/platform.h"
#include "platform/special_folders.h"
#include "tools/maqo/gui_ui.h"
#include "tools/maqo/host_window.h"
#include "tools/maqo/settings_files.h"
#include "tools/maqo/wide_text.h"

namespace maqo::app {
namespace {

constexpr int kExitError = 9;

struct MutexHolder {
  HANDLE handle = nullptr;
  ~MutexHolder() {
    if (handle) {
      ReleaseMutex(handle);
      CloseHandle(handle);
    }
  }
};

// True when the start may go ahead (holding one of the rule's mutexes).
bool passInstanceRule(const host::InstanceRule& rule, MutexHolder& holder) {
  if (rule.mutexes.empty()) return true;
  for (const std::u16string& name : rule.mutexes) {
    HANDLE mutex = CreateMutexW(nullptr, FALSE, wide(name));
    if (mutex && GetLastError() != ERROR_ALREADY_EXISTS) {
      holder.handle = mutex;
      return true;
    }
    if (mutex) CloseHandle(mutex);
  }
  return false;
}

struct InstanceSearch {
  std::vector<HWND> windows;
};

BOOL CALLBACK collectMainWindows(HWND hwnd, LPARAM param) {
  wchar_t name[64] = L"";
  GetClassNameW(hwnd, name, 64);
  CharUpperW(name);
  if (lstrcmpW(name, kMainWindowClass) == 0) reinterpret_cast<InstanceSearch*>(param)->windows.push_back(hwnd);
  return TRUE;
}

// Hands a resolved script path to the first running instance that takes it
// (one that runs a file and exits declines). True when one took it.
bool handOver(const std::u16string& path, host::StartMode mode) {
  InstanceSearch search;
  EnumWindows(collectMainWindows, reinterpret_cast<LPARAM>(&search));
  COPYDATASTRUCT data = {};
  data.dwData = kHandOverTag + static_cast<ULONG_PTR>(mode);
  data.cbData = static_cast<DWORD>((path.size() + 1) * sizeof(char16_t));
  data.lpData = const_cast<char16_t*>(path.c_str());
  for (HWND window : search.windows) {
    DWORD_PTR accepted = FALSE;
    if (SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 5000,
                            &accepted) &&
        accepted)
      return true;
  }
  return false;
}

void writeStartupDefaults(platform::Platform& p, const std::u16string& settingsFile) {
  const auto writes = host::StartupSettingWrites(
      [&](std::u16string_view key) { return builtins::ReadIniValue(p, host::kSettingsSection, key, settingsFile); },
      GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  for (const auto& entry : writes)
    builtins::WriteIniValue(p, host::kSettingsSection, entry.key, entry.value, false, settingsFile);
}

int runHost(const std::vector<std::u16string>& args) {
  static GuiUi ui;
  platform::Platform& console = platform::consolePlatform();
  platform::Platform p{console.clock, console.files, console.locale, ui};
  const bool japanese = p.locale.japanese();

  HostSetup setup;
  setup.start = host::ScanArguments(args);
  setup.japanese = japanese;

  // The settings file: in the user's application-data folder; one left
  // beside the executable by an older start moves there.
  wchar_t exePath[MAX_PATH * 2] = L"";
  GetModuleFileNameW(nullptr, exePath, static_cast<DWORD>(std::size(exePath)));
  const std::u16string settingsName = host::SettingsFileName(fromWide(exePath));
  const std::u16string exeFolder = p.files.executableDirectory();
  setup.settingsFolder =
      host::SettingsFolder(false, exeFolder, platform::specialFolderPath(platform::SpecialFolder::AppData));
  Win32MigrationFiles migrationFiles(p.files);
  host::MigrateSettingsBesideExecutable(migrationFiles, settingsName, exeFolder, setup.settingsFolder);
  migrationFiles.ensureFolder(setup.settingsFolder);
  setup.settingsFile = setup.settingsFolder + u"\\" + settingsName;
  setup.logFileName = settingsName.substr(0, settingsName.size() - 4) + u".LOG";
  builtins::IniHostSettings ini;
  ini.settingsFile = setup.settingsFile;
  builtins::SetIniHostSettings(ini);

  host::StartMode mode = setup.start.mode;
  if (mode == host::StartMode::Convert) {
    const std::u16string error = host::ConvertScriptToText(p, setup.start.fileText, setup.start.convertOutput);
    if (error.empty()) return 0;
    ui.messageBox(error, dialogs::kApplicationTitle);
    return kExitError;
  }
  if (mode == host::StartMode::HandOverPlay || mode == host::StartMode::HandOverLoad) {
    const host::FileText file = host::ParseFileText(setup.start.fileText, true);
    const std::u16string path = p.files.fullPath(
        host::ResolveScriptName(file.fileName, true, p.files.currentDirectory(), exeFolder));
    if (!p.files.fileExists(path)) {
      ui.beep();
      ui.messageBox(u"FILE Not Found :" + file.fileName, dialogs::kApplicationTitle);
      return kExitError;
    }
    if (handOver(path, mode)) return 0;
    // No instance took it: start normally with the file loaded (and played for /k).
    setup.fileToOpen = setup.start.fileText;
    setup.playAtStart = mode == host::StartMode::HandOverPlay;
    setup.start.mode = host::StartMode::Normal;
    setup.start.fileText.clear();
  }
  writeStartupDefaults(p, setup.settingsFile);

  const int notMultiplex =
      host::NumberSetting(builtins::ReadIniValue(p, host::kSettingsSection, u"NotMultiplex", setup.settingsFile));
  MutexHolder mutex;
  const host::InstanceRule rule = host::InstanceRuleFor(setup.start.mode, notMultiplex);
  if (!passInstanceRule(rule, mutex)) {
    if (!rule.silent) ui.messageBox(host::MultiplexMessage(japanese), dialogs::kApplicationTitle);
    return 0;
  }

  engine::BuiltinLibrary library;
  host::RegisterAllBuiltinFamilies(library);
  HostWindow window(p, ui, library, setup);
  if (!window.create()) {
    ui.messageBox(u"MAQO: the main window could not be created", dialogs::kApplicationTitle);
    return kExitError;
  }
  const int code = window.run();
  if (!window.restartCommandLine().empty()) {
    // The next process takes over: it must find the single-instance mutex free.
    if (mutex.handle) {
      ReleaseMutex(mutex.handle);
      CloseHandle(mutex.handle);
      mutex.handle = nullptr;
    }
    std::u16string commandLine = window.restartCommandLine();
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (CreateProcessW(nullptr, const_cast<wchar_t*>(wide(commandLine)), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &process)) {
      CloseHandle(process.hThread);
      CloseHandle(process.hProcess);
    } else {
      ui.messageBox(japanese ? u"MAQO を再起動できません" : u"MAQO could not be restarted", dialogs::kApplicationTitle);
    }
  }
  return code;
}

}  // namespace
}  // namespace maqo::app

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  std::vector<std::u16string> args = maqo::host::SplitCommandLine(maqo::app::fromWide(GetCommandLineW()));
  if (!args.empty()) args.erase(args.begin());  // the program's own name
  return maqo::app::runHost(args);
}
