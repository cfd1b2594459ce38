#include <gtest/gtest.h>

#include "builtins/builtin_table.h"
#include "automation/windows/window_activation.h"
#include "automation/windows/window_waits.h"
#include "tests/unit/automation/automation_fixture.h"

namespace maqo::automation::testing {
namespace {

using platform::ShowCommand;

// ---- ACW ----

TEST_F(AutomationTest, AcwMovesResizesAndKeepsWhatWasNotGiven) {
  struct Case {
    const char* name;
    std::vector<std::u16string_view> args;  // after the ID
    platform::WindowRect expected;
    bool restored;  // SW_SHOWNORMAL first
  };
  const std::vector<Case> cases = {
      {"move only", {u"100", u"120"}, {100, 120, 500, 420}, true},
      {"resize only", {u"", u"", u"300", u"200"}, {10, 20, 310, 220}, true},
      {"width only keeps the height", {u"", u"", u"300"}, {10, 20, 310, 320}, true},
      {"height only keeps the width", {u"", u"", u"0", u"150"}, {10, 20, 410, 170}, true},
      {"move and resize", {u"0", u"0", u"640", u"480"}, {0, 0, 640, 480}, true},
      {"x without y does not move", {u"50"}, {10, 20, 410, 320}, false},
      {"same place and size does nothing", {u"10", u"20", u"400", u"300"}, {10, 20, 410, 320}, false},
  };
  for (const Case& c : cases) {
    FakeDesktop d;
    AutomationSession s{d};
    ScopedSession scope{s};
    FakeWindow w;
    w.title = u"Target";
    w.rect = {10, 20, 410, 320};
    w.iconic = true;
    const WindowHandle h = d.add(w);
    const int id = s.ids.idOf(h);
    std::vector<std::u16string_view> args{u""};
    std::u16string idText = num(id);
    args[0] = idText;
    args.insert(args.end(), c.args.begin(), c.args.end());
    builtins::BuiltinCall call{*builtins::FindBuiltin(u"ACW"), site, {}, {}, {}, 0};
    for (std::u16string_view t : args) {
      builtins::BuiltinArgument a;
      a.text = std::u16string(t);
      if (auto n = engine::parseNumberText(t, engine::NumberTextMode::Strict)) {
        a.isNumber = true;
        a.number = *n;
        a.integer = static_cast<int64_t>(*n);
      }
      call.arguments.push_back(a);
    }
    Acw(call, host);
    const auto& r = d.window(h).rect;
    EXPECT_EQ(r.left, c.expected.left) << c.name;
    EXPECT_EQ(r.top, c.expected.top) << c.name;
    EXPECT_EQ(r.right, c.expected.right) << c.name;
    EXPECT_EQ(r.bottom, c.expected.bottom) << c.name;
    EXPECT_EQ(!d.window(h).iconic, c.restored) << c.name;
    EXPECT_EQ(d.foregroundWindow, h) << c.name;
  }
}

TEST_F(AutomationTest, AcwOfIdZeroActsOnTheWindowGetidFound) {
  const WindowHandle found = window(u"Found");
  const WindowHandle front = window(u"Front");
  desktop.foregroundWindow = front;
  ASSERT_GT(getid(u"Found"), 0);
  call(&Acw, u"ACW", {u"0", u"5", u"6"});
  EXPECT_EQ(desktop.window(found).rect.left, 5);
  EXPECT_EQ(desktop.window(front).rect.left, 0);
  call(&Acw, u"ACW", {u"-1", u"7", u"7"});
  EXPECT_EQ(desktop.window(found).rect.left, 5) << "a negative ID does nothing";
}

TEST_F(AutomationTest, ActionDelaySubtractsTheTimeAlreadySpent) {
  struct Case {
    int ms, pacing;
    bool mainThread;
    int64_t slept;
  };
  for (const Case& c : std::vector<Case>{{300, 100, true, 200}, {100, 105, true, 1}, {100, 120, true, 0},
                                         {2500, 500, true, 2000}, {300, 100, false, 300}, {1500, 999, false, 1500}}) {
    platform::FakeClock clock;
    platform::Platform p{clock, host.platformBundle.files, host.platformBundle.locale, host.ui};
    AutomationContext context{desktop, session, p, {}, c.mainThread, -1};
    const int64_t start = clock.monotonicMs();
    actionDelay(context, c.ms, c.pacing);
    EXPECT_EQ(clock.monotonicMs() - start, c.slept) << c.ms << " " << c.pacing;
  }
}

TEST_F(AutomationTest, LongActionDelayEndsOnStopRequest) {
  int checks = 0;
  AutomationContext context{desktop, session, host.platform(), [&] { return ++checks > 3; }, true, -1};
  const int64_t start = host.clock.monotonicMs();
  actionDelay(context, 60000, 0);
  EXPECT_LT(host.clock.monotonicMs() - start, 1000);
}

// ---- activation ----

TEST_F(AutomationTest, ActivationLeavesMenusAloneWhileAPopupShows) {
  const WindowHandle app = window(u"App");
  const WindowHandle menu = window(u"", u"#32768");
  const WindowHandle other = window(u"Other");
  desktop.foregroundWindow = other;
  desktop.popupShowing = true;
  AutomationContext context{desktop, session, host.platform(), {}, true, -1};
  activateWindow(context, menu, false);
  EXPECT_EQ(desktop.foregroundWindow, other);
  activateWindow(context, menu, true);
  EXPECT_EQ(desktop.foregroundWindow, menu);
  activateWindow(context, app, false);
  EXPECT_EQ(desktop.foregroundWindow, app);
}

TEST_F(AutomationTest, ActivationLowersAndRestoresTheForegroundLock) {
  const WindowHandle app = window(u"App");
  desktop.foregroundFollows = false;
  desktop.lockTimeout = 200000;
  AutomationContext context{desktop, session, host.platform(), {}, true, -1};
  activateWindow(context, app, true);
  EXPECT_EQ(desktop.lockTimeouts, (std::vector<uint32_t>{0, 200000}));
  EXPECT_EQ(desktop.broughtForward.size(), 3u);
}

// ---- CTRLWIN ----

TEST_F(AutomationTest, CtrlwinCommands) {
  const WindowHandle h = window(u"Target");
  const std::u16string id = num(session.ids.idOf(h));
  struct Case {
    std::u16string command;
    std::vector<std::pair<WindowHandle, ShowCommand>> shows;
  };
  for (const Case& c : std::vector<Case>{{u"4", {{h, ShowCommand::Hide}}},
                                         {u"5", {{h, ShowCommand::Show}}},
                                         {u"6", {{h, ShowCommand::Minimize}}},
                                         {u"7", {{h, ShowCommand::ShowMaximized}}},
                                         {u"8", {{h, ShowCommand::Show}, {h, ShowCommand::ShowNormal}}}}) {
    desktop.shows.clear();
    call(&Ctrlwin, u"CTRLWIN", {id, c.command});
    EXPECT_EQ(desktop.shows, c.shows) << utf16ToUtf8(c.command);
  }
  EXPECT_FALSE(desktop.window(h).zoomed);
  EXPECT_FALSE(session.newWindowExpected);
  call(&Ctrlwin, u"CTRLWIN", {id, u"2"});
  call(&Ctrlwin, u"CTRLWIN", {id, u"3"});
  call(&Ctrlwin, u"CTRLWIN", {id, u"16"});
  call(&Ctrlwin, u"CTRLWIN", {id, u"1025", u"7", u"-1"});
  ASSERT_EQ(desktop.posts.size(), 4u);
  EXPECT_EQ(desktop.posts[0].message, 0x0112u);
  EXPECT_EQ(desktop.posts[0].wParam, 0xF060u);
  EXPECT_EQ(desktop.posts[1].message, 0x0012u);
  EXPECT_EQ(desktop.posts[2].message, 16u);
  EXPECT_EQ(desktop.posts[2].wParam, 0u);
  EXPECT_EQ(desktop.posts[3].message, 1025u);
  EXPECT_EQ(desktop.posts[3].wParam, 7u);
  EXPECT_EQ(desktop.posts[3].lParam, 0xFFFFFFFFu);
  EXPECT_TRUE(session.newWindowExpected);

  call(&Ctrlwin, u"CTRLWIN", {id, u"9"});
  call(&Ctrlwin, u"CTRLWIN", {id, u"11"});
  ASSERT_EQ(desktop.moves.size(), 2u);
  EXPECT_EQ(desktop.moves[0].z, platform::ZPlacement::Topmost);
  EXPECT_FALSE(desktop.moves[0].flags.noActivate);
  EXPECT_TRUE(desktop.moves[1].flags.noActivate);

  const auto e = builtins::testing::errorOf([&] { call(&Ctrlwin, u"CTRLWIN", {id, u"16", u"4294967296"}); });
  EXPECT_TRUE(e.thrown && e.catchable);
  EXPECT_EQ(e.english, u"CTRLWIN: It is outside the range");
  desktop.posts.clear();
  call(&Ctrlwin, u"CTRLWIN", {u"99", u"16"});
  EXPECT_TRUE(desktop.posts.empty()) << "an ID without a window does nothing";
}

// ---- STATUS and MONITOR ----

TEST_F(AutomationTest, StatusItems) {
  FakeWindow w;
  w.title = u"  Editor ";
  w.className = u"EditorClass ";
  w.rect = {10, 20, 330, 260};
  w.processId = 42;
  w.zoomed = true;
  const WindowHandle h = desktop.add(w);
  FakeWindow c;
  c.title = u"child";
  c.parent = h;
  const WindowHandle child = desktop.add(c);
  desktop.foregroundWindow = h;
  desktop.paths[42] = u"C:\\Tools\\editor.exe";
  desktop.bitness[42] = platform::ProcessBitness::Bits64;
  desktop.monitorList = {{{0, 0, 1024, 768}, false, u"Second"}, {{1024, 0, 2048, 768}, true, u"Main"}};
  desktop.monitorIndex[h] = 0;
  const std::u16string id = num(session.ids.idOf(h));
  auto st = [&](std::u16string item) { return call(&Status, u"STATUS", {id, item}); };
  EXPECT_EQ(number(st(u"1")), 10);
  EXPECT_EQ(number(st(u"2")), 20);
  EXPECT_EQ(number(st(u"3")), 320);
  EXPECT_EQ(number(st(u"4")), 240);
  EXPECT_EQ(number(st(u"5")), 14);
  EXPECT_EQ(number(st(u"6")), 40);
  EXPECT_EQ(number(st(u"7")), 312);
  EXPECT_EQ(number(st(u"8")), 216);
  EXPECT_EQ(text(st(u"9")), u"Editor");
  EXPECT_EQ(number(st(u"10")), 0);
  EXPECT_EQ(number(st(u"11")), -1);
  EXPECT_EQ(number(st(u"12")), -1);
  EXPECT_EQ(number(st(u"13")), -1);
  EXPECT_EQ(text(st(u"14")), u"EditorClass");
  EXPECT_EQ(number(st(u"15")), 0);
  EXPECT_EQ(number(st(u"16")), -1);
  EXPECT_EQ(text(st(u"17")), u"C:\\Tools\\editor.exe");
  EXPECT_EQ(number(st(u"18")), 42);
  EXPECT_EQ(number(st(u"19")), -1);
  EXPECT_EQ(number(st(u"20")), 1) << "the primary monitor is number 0, the first other one 1";
  EXPECT_EQ(number(st(u"21")), -1);
  EXPECT_EQ(number(st(u"99")), 0);

  desktop.window(h).busy = true;
  EXPECT_EQ(number(st(u"15")), -1);
  desktop.bitness[42] = platform::ProcessBitness::Unknown;
  EXPECT_EQ(number(st(u"19")), 0) << "an unreadable bitness is not 64-bit";
  const std::u16string childId = num(session.ids.idOf(child));
  EXPECT_EQ(number(call(&Status, u"STATUS", {childId, u"16"})), std::stoi(utf16ToUtf8(id)));

  desktop.window(h).exists = false;
  EXPECT_EQ(number(st(u"21")), 0);
  EXPECT_EQ(number(st(u"16")), -1);
  EXPECT_EQ(number(st(u"18")), 0);
  EXPECT_EQ(number(st(u"1")), 0);
  EXPECT_TRUE(st(u"9").isBoolean()) << "FALSE";
}

TEST_F(AutomationTest, MonitorNumbersPutThePrimaryFirst) {
  desktop.monitorList = {{{0, 0, 800, 600}, false, u"A"}, {{800, 0, 2720, 1080}, true, u"B"},
                         {{-1024, 0, 0, 768}, false, u"C"}};
  EXPECT_EQ(number(call(&Monitor, u"MONITOR", {})), 3);
  auto mon = [&](std::u16string n, std::u16string item) { return call(&Monitor, u"MONITOR", {n, item}); };
  EXPECT_EQ(number(mon(u"0", u"0")), 800);
  EXPECT_EQ(number(mon(u"0", u"2")), 1920);
  EXPECT_EQ(number(mon(u"0", u"4")), -1);
  EXPECT_EQ(text(mon(u"0", u"5")), u"B");
  EXPECT_EQ(text(mon(u"1", u"5")), u"A");
  EXPECT_EQ(text(mon(u"2", u"5")), u"C");
  EXPECT_EQ(number(mon(u"2", u"0")), -1024);
  EXPECT_EQ(number(mon(u"1", u"4")), 0);
  EXPECT_EQ(number(mon(u"3", u"0")), 0) << "beyond the list: FALSE";
}

// ---- EXEC ----

TEST_F(AutomationTest, ExecReturnsTheWindowOfTheNewProcess) {
  platform::FakeProgram program;
  program.processId = 900;
  FakeWindow hidden;
  hidden.title = u"helper";
  hidden.visible = false;
  FakeWindow main;
  main.title = u"Main";
  program.windows = {hidden, main};
  desktop.programs[u"C:\\apps\\tool.exe /x"] = program;
  const int id = static_cast<int>(number(call(&Exec, u"EXEC", {u"C:\\apps\\tool.exe /x", u"0", u"30", u"40"})));
  ASSERT_GT(id, 0);
  EXPECT_EQ(desktop.title(handleOfId(id)), u"Main");
  ASSERT_EQ(desktop.starts.size(), 1u);
  EXPECT_EQ(desktop.starts[0].position, (std::optional<std::pair<int, int>>{{30, 40}}));
  EXPECT_FALSE(desktop.starts[0].size);
  EXPECT_EQ(desktop.window(handleOfId(id)).rect.left, 30);
  EXPECT_TRUE(session.newWindowExpected);

  EXPECT_EQ(number(call(&Exec, u"EXEC", {u"missing.exe"})), -1);
  EXPECT_EQ(number(call(&Exec, u"EXEC", {u""})), -1);
}

TEST_F(AutomationTest, ExecWithWaitReturnsTheExitCode) {
  platform::FakeProgram program;
  program.processId = 901;
  program.runPolls = 5;
  program.exitCode = 7;
  program.consoleProgram = true;
  desktop.programs[u"job.exe"] = program;
  EXPECT_EQ(number(call(&Exec, u"EXEC", {u"job.exe", u"1"})), 7);
  program.exitCode = std::nullopt;
  desktop.programs[u"job.exe"] = program;
  EXPECT_EQ(number(call(&Exec, u"EXEC", {u"job.exe", u"1"})), -1);
}

TEST_F(AutomationTest, ExecWaitEndsOnStopRequest) {
  platform::FakeProgram program;
  program.processId = 902;
  program.runPolls = -1;
  desktop.programs[u"forever.exe"] = program;
  int checks = 0;
  host.stopWhen = [&] { return ++checks > 50; };
  EXPECT_EQ(number(call(&Exec, u"EXEC", {u"forever.exe", u"1"})), -1);
}

}  // namespace
}  // namespace maqo::automation::testing
