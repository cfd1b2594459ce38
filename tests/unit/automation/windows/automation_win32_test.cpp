// The window builtins against real windows: testwin.exe (built beside the
// test program) is started with chosen titles and classes, and the builtins
// find, move, show, hide and close it. Windows only; the suite runs under Wine.
#ifdef _WIN32
#include <windows.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "builtins/builtin_table.h"
#include "automation/windows/window_activation.h"
#include "automation/windows/window_finder.h"
#include "tests/unit/automation/automation_fixture.h"

namespace maqo::automation::testing {
namespace {

// The builtin host with the real clock and message pump, so waits take real time.
class RealTimeHost : public FakeBuiltinHost {
 public:
  platform::Platform real{platform::consolePlatform().clock, platform::consolePlatform().files,
                          platform::consolePlatform().locale, platform::consolePlatform().ui};
  platform::Platform& platform() override { return real; }
};

std::wstring wide(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }

class AutomationWin32 : public ::testing::Test {
 protected:
  RealTimeHost host;
  AutomationSession session{platform::systemDesktop()};
  ScopedSession installed{session};
  engine::CallSite site;
  std::vector<PROCESS_INFORMATION> started;
  std::u16string folder = platform::consolePlatform().files.executableDirectory();
  std::u16string testwin = folder + u"\\testwin.exe";

  void SetUp() override {
    ASSERT_TRUE(platform::consolePlatform().files.fileExists(testwin)) << "testwin.exe is not beside the tests";
  }
  void TearDown() override {
    for (PROCESS_INFORMATION& p : started) {
      if (WaitForSingleObject(p.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(p.hProcess, 1);
      WaitForSingleObject(p.hProcess, 5000);
      CloseHandle(p.hThread);
      CloseHandle(p.hProcess);
    }
  }

  std::u16string quoted(const std::u16string& s) { return u"\"" + s + u"\""; }
  std::u16string logPath(const char16_t* name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::u16string path(reinterpret_cast<const char16_t*>(temp));
    path += name;
    DeleteFileW(wide(path).c_str());
    return path;
  }
  std::string readLog(const std::u16string& path) {
    std::ifstream in(wide(path).c_str(), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  // Starts testwin with the arguments and returns the ID of its window.
  int start(const std::u16string& arguments, const std::u16string& title, const std::u16string& cls = u"") {
    std::wstring commandLine = wide(quoted(testwin) + u" " + arguments);
    STARTUPINFOW info{};
    info.cb = sizeof info;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &info, &process))
      return -1;
    started.push_back(process);
    WaitForInputIdle(process.hProcess, 10000);
    return getid(title, cls, u"10");
  }

  engine::ScriptValue call(builtins::BuiltinFunction f, std::u16string_view name,
                           std::initializer_list<std::u16string_view> args) {
    // Only the first argument is also passed as a value here.
    builtins::BuiltinCall c = TextArgumentCall(name, site, 0, args);
    c.second = engine::ScriptValue();
    return f(c, host);
  }
  int64_t number(const engine::ScriptValue& v) { return static_cast<int64_t>(v.toDouble()); }
  static std::u16string num(int64_t n) { return utf8ToUtf16(std::to_string(n)); }
  int getid(std::u16string_view title, std::u16string_view cls = u"", std::u16string_view wait = u"0") {
    return static_cast<int>(number(call(&Getid, u"GETID", {title, cls, wait})));
  }
  int64_t status(int id, int item) { return number(call(&Status, u"STATUS", {num(id), num(item)})); }
  void settle() {
    for (int i = 0; i < 20; ++i) {
      platform::consolePlatform().ui.pumpMessages();
      Sleep(10);
    }
  }
};

TEST_F(AutomationWin32, ExactTitleWinsEvenBehindAndFullWidthFindsIt) {
  const int partial = start(u"/title \"Untitled - Notepad\" /class Notepad", u"Untitled - Notepad", u"Notepad");
  const int exact = start(u"/title Notepad /class Other", u"Notepad", u"Other");
  ASSERT_GT(partial, 0);
  ASSERT_GT(exact, 0);
  ASSERT_NE(partial, exact);
  call(&Ctrlwin, u"CTRLWIN", {num(partial), u"1"});
  settle();
  EXPECT_EQ(getid(u"NOTEPAD"), exact);
  EXPECT_EQ(getid(u"ＮＯＴＥＰＡＤ"), exact);
  EXPECT_EQ(getid(u"UNTITLED"), partial);
  EXPECT_EQ(getid(u"", u"OTHER"), exact);

  const int active = getid(u"__GET_ACTIVE_WIN__");
  const int64_t front = number(call(&Idtohnd, u"IDTOHND", {u"0"}));
  EXPECT_NE(front, 0);
  EXPECT_EQ(number(call(&Hndtoid, u"HNDTOID", {num(front)})), active);
  EXPECT_EQ(number(call(&Hndtoid, u"HNDTOID", {num(front)})), active) << "stable";

  const auto begin = std::chrono::steady_clock::now();
  EXPECT_EQ(getid(u"No window has this title", u"", u"0.0001"), -1);
  EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(2));

  const int64_t count = number(call(&Getallwin, u"GETALLWIN", {}));
  EXPECT_GE(count, 2);
  EXPECT_EQ(static_cast<int64_t>(host.run(u"LENGTH(ALL_WIN_ID)").toDouble()), count);
  int listed = 0;
  for (int64_t i = 0; i < count; ++i) {
    const int id = static_cast<int>(host.run(u"ALL_WIN_ID[" + num(i) + u"]").toDouble());
    if (id == partial || id == exact) ++listed;
  }
  EXPECT_EQ(listed, 2) << "both testwins are listed";
}

TEST_F(AutomationWin32, AcwCtrlwinAndStatus) {
  const std::u16string log = logPath(u"maqo-testwin-ctrl.log");
  const int id = start(u"/title \"Maqo Control\" /pos 50 60 300 200 /log " + quoted(log), u"Maqo Control");
  ASSERT_GT(id, 0);
  EXPECT_EQ(status(id, 1), 50);
  EXPECT_EQ(status(id, 3), 300);

  call(&Acw, u"ACW", {num(id), u"120", u"130"});
  EXPECT_EQ(status(id, 1), 120);
  EXPECT_EQ(status(id, 2), 130);
  EXPECT_EQ(status(id, 3), 300) << "moving does not resize";
  EXPECT_EQ(status(id, 4), 200);
  call(&Acw, u"ACW", {num(id), u"", u"", u"350", u"250"});
  EXPECT_EQ(status(id, 1), 120) << "resizing does not move";
  EXPECT_EQ(status(id, 3), 350);
  EXPECT_EQ(status(id, 4), 250);
  call(&Acw, u"ACW", {num(id), u"", u"", u"380"});
  EXPECT_EQ(status(id, 3), 380);
  EXPECT_EQ(status(id, 4), 250) << "a width alone keeps the height";

  EXPECT_EQ(status(id, 12), -1);
  EXPECT_EQ(status(id, 21), -1);
  EXPECT_EQ(call(&Status, u"STATUS", {num(id), u"9"}).toText(), u"Maqo Control");
  EXPECT_EQ(call(&Status, u"STATUS", {num(id), u"14"}).toText(), u"MaqoTestWin");
  EXPECT_EQ(status(id, 18), static_cast<int64_t>(started.back().dwProcessId));
  const std::u16string path = call(&Status, u"STATUS", {num(id), u"17"}).toText();
  EXPECT_NE(AsciiUpper(path).find(u"TESTWIN.EXE"), std::u16string::npos) << utf16ToUtf8(path);
  // testwin is built with this program's bitness; TRUE is -1.
  EXPECT_EQ(status(id, 19), sizeof(void*) == 8 ? -1 : 0) << "ST_WIN64 of a process of our own bitness";
  EXPECT_EQ(status(id, 15), 0);
  EXPECT_EQ(status(id, 20), 0);
  EXPECT_GE(number(call(&Monitor, u"MONITOR", {})), 1);
  EXPECT_EQ(number(call(&Monitor, u"MONITOR", {u"0", u"4"})), -1);

  call(&Ctrlwin, u"CTRLWIN", {num(id), u"6"});
  EXPECT_EQ(status(id, 10), -1);
  call(&Ctrlwin, u"CTRLWIN", {num(id), u"7"});
  EXPECT_EQ(status(id, 10), 0);
  EXPECT_EQ(status(id, 11), -1);
  call(&Ctrlwin, u"CTRLWIN", {num(id), u"4"});
  EXPECT_EQ(status(id, 12), 0);
  call(&Ctrlwin, u"CTRLWIN", {num(id), u"5"});
  EXPECT_EQ(status(id, 12), -1);
  call(&Ctrlwin, u"CTRLWIN", {num(id), u"274", u"61472"});  // WM_SYSCOMMAND SC_MINIMIZE
  settle();
  EXPECT_EQ(status(id, 10), -1);
  call(&Ctrlwin, u"CTRLWIN", {num(id), u"1025", u"3", u"4"});
  call(&Ctrlwin, u"CTRLWIN", {num(id), u"2"});
  for (int i = 0; i < 100 && status(id, 21) != 0; ++i) settle();
  EXPECT_EQ(status(id, 21), 0) << "closed";
  EXPECT_EQ(number(call(&Idtohnd, u"IDTOHND", {num(id)})), 0);
  WaitForSingleObject(started.back().hProcess, 5000);
  const std::string text = readLog(log);
  EXPECT_NE(text.find("WM_SYSCOMMAND 0xF020"), std::string::npos) << text;
  EXPECT_NE(text.find("WM_USER+1 3 4"), std::string::npos) << text;
  EXPECT_NE(text.find("WM_SYSCOMMAND 0xF060"), std::string::npos) << text;
  EXPECT_NE(text.find("WM_CLOSE"), std::string::npos) << text;
}

TEST_F(AutomationWin32, BusyWhileTheWindowHangs) {
  const std::u16string log = logPath(u"maqo-testwin-busy.log");
  const int id = start(u"/title \"Maqo Busy\" /hangafter 500 /hangfor 3000 /log " + quoted(log), u"Maqo Busy");
  ASSERT_GT(id, 0);
  EXPECT_EQ(status(id, 15), 0);
  for (int i = 0; i < 100 && readLog(log).find("HANG") == std::string::npos; ++i) Sleep(20);
  Sleep(100);
  EXPECT_EQ(status(id, 15), -1) << readLog(log);
  for (int i = 0; i < 300 && readLog(log).find("AWAKE") == std::string::npos; ++i) Sleep(20);
  Sleep(200);
  EXPECT_EQ(status(id, 15), 0);
}

TEST_F(AutomationWin32, ExecFindsTheWindowOrWaitsForTheExitCode) {
  const int id = static_cast<int>(number(call(&Exec, u"EXEC", {quoted(testwin) + u" /title \"Maqo Exec\""})));
  ASSERT_GT(id, 0);
  EXPECT_EQ(call(&Status, u"STATUS", {num(id), u"9"}).toText(), u"Maqo Exec");
  call(&Ctrlwin, u"CTRLWIN", {num(id), u"2"});

  EXPECT_EQ(number(call(&Exec, u"EXEC", {quoted(testwin) + u" /title \"Maqo Exit\" /exitafter 300 /exit 5", u"1"})), 5);
  EXPECT_EQ(number(call(&Exec, u"EXEC", {quoted(folder + u"\\no-such-program.exe")})), -1);
}

}  // namespace
}  // namespace maqo::automation::testing
#endif
