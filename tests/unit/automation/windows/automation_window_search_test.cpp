#include <gtest/gtest.h>

#include "builtins/builtin_table.h"
#include "automation/windows/window_finder.h"
#include "automation/windows/window_search.h"
#include "tests/unit/automation/automation_fixture.h"

namespace maqo::automation::testing {
namespace {

// ---- the matching tiers ----

TEST_F(AutomationTest, ExactTitleBehindBeatsPartialTitleInFront) {
  const WindowHandle partial = window(u"Untitled - Notepad");
  const WindowHandle exact = window(u"Notepad", u"Other");
  desktop.foregroundWindow = partial;
  EXPECT_EQ(handleOfId(getid(u"NOTEPAD")), exact);
  EXPECT_EQ(handleOfId(getid(u"notepad")), exact);
}

struct TierCase {
  const char* name;
  std::vector<FakeWindow> windows;  // z order, top first
  int foreground;                   // index into windows, -1 none
  std::u16string title, cls;
  int expected;  // index into windows, -1 not found
};

TEST_F(AutomationTest, MatchingTiersPickTheRightWindow) {
  auto w = [](std::u16string title, std::u16string cls, bool visible = true) {
    FakeWindow f;
    f.title = std::move(title);
    f.className = std::move(cls);
    f.visible = visible;
    return f;
  };
  const std::vector<TierCase> cases = {
      {"foreground exact before other exact", {w(u"A", u"X"), w(u"A", u"Y")}, 1, u"A", u"", 1},
      {"visible partial beats hidden exact", {w(u"Report", u"X", false), w(u"Report 2", u"X")}, -1, u"REPORT", u"", 1},
      {"foreground partial before other partial", {w(u"Doc 1", u"X"), w(u"Doc 2", u"X")}, 1, u"DOC", u"", 1},
      {"hidden exact when nothing visible matches", {w(u"Other", u"X"), w(u"Report", u"X", false)}, -1, u"REPORT", u"", 1},
      {"hidden partial last", {w(u"Other", u"X"), w(u"My Report", u"X", false)}, -1, u"REPORT", u"", 1},
      {"class is a prefix", {w(u"Box", u"EditPlus"), w(u"Box", u"Edit")}, -1, u"BOX", u"EDIT", 0},
      {"class excludes", {w(u"Box", u"Static"), w(u"Box", u"Edit")}, -1, u"BOX", u"EDIT", 1},
      {"full-width title finds half-width", {w(u"Other", u"X"), w(u"Notepad", u"X")}, -1, u"ＮＯＴＥＰＡＤ", u"", 1},
      {"full-width part finds half-width", {w(u"Untitled - Notepad", u"X")}, -1, u"ＮＯＴＥ", u"", 0},
      {"titles are trimmed", {w(u"  Calc \t", u"X")}, -1, u"CALC", u"", 0},
      {"empty title without class: first visible titleless", {w(u"A", u"X"), w(u"", u"Y")}, -1, u"", u"", 1},
      {"empty title with class: titleless of the class", {w(u"A", u"Y"), w(u"", u"Y")}, -1, u"", u"Y", 1},
      {"empty title with class: any window of the class", {w(u"A", u"Z"), w(u"B", u"Y")}, -1, u"", u"Y", 1},
      {"no-title name finds titleless of the class", {w(u"A", u"Y"), w(u"", u"Y", false)}, -1, u"_DF_NONE_TITLE_", u"Y", 1},
      {"missing", {w(u"A", u"X")}, -1, u"B", u"", -1},
  };
  for (const TierCase& c : cases) {
    FakeDesktop d;
    AutomationSession s{d};
    ScopedSession scope{s};
    std::vector<WindowHandle> handles;
    for (const FakeWindow& f : c.windows) handles.push_back(d.add(f));
    if (c.foreground >= 0) d.foregroundWindow = handles[static_cast<size_t>(c.foreground)];
    AutomationContext context{d, s, host.platform(), {}, true, -1};
    const WindowHandle found = FindTopLevel(context, AsciiUpper(c.title), AsciiUpper(c.cls));
    EXPECT_EQ(found, c.expected < 0 ? 0 : handles[static_cast<size_t>(c.expected)]) << c.name;
  }
}

TEST_F(AutomationTest, NoTitleNameFindsTitlelessWindowOfClassWithNullTitle) {
  window(u"Something", u"Dlg");
  const WindowHandle titleless = window(u"", u"Dlg");
  const int id = static_cast<int>(number(call(&Getid, u"GETID", {u"", u"DLG", u"0"}, true)));
  EXPECT_EQ(handleOfId(id), titleless);
}

// ---- the enumeration filter ----

TEST_F(AutomationTest, EnumerationSkipsHelperAndOwnWindows) {
  auto add = [&](std::u16string title, std::u16string cls, bool visible, auto&& tweak) {
    FakeWindow f;
    f.title = std::move(title);
    f.className = std::move(cls);
    f.visible = visible;
    tweak(f);
    return desktop.add(f);
  };
  auto none = [](FakeWindow&) {};
  const WindowHandle kept = add(u"Main", u"App", true, none);
  const WindowHandle hiddenKept = add(u"Hidden", u"App", false, none);
  add(u"x", u"IME", true, none);
  add(u"tip", u"tooltips_class32", true, none);
  add(u"", u"SysShadow", true, none);
  add(u"", u"App", true, [](FakeWindow& f) { f.rect = {0, 0, 0, 10}; });
  add(u"Disabled", u"App", false, [](FakeWindow& f) { f.enabled = false; });
  add(u"Owned", u"App", false, [](FakeWindow& f) { f.owner = 0x77; });
  add(u"DDE Server Window", u"OleDdeWndClass", false, none);
  add(u"", u"WorkerW", false, none);
  add(u"MSP PNP Notification Window", u"X", false, none);
  const WindowHandle log = add(u"Log", u"App", true, none);
  session.own.logWindow = {log, u"Log window"};
  const WindowHandle balloon = add(u"Balloon", u"App", true, none);
  session.own.balloons[3] = balloon;

  AutomationContext context{desktop, session, host.platform(), {}, true, -1};
  const TenumParm list = EnumerateWindows(context, 0);
  EXPECT_EQ(list.handles, (std::vector<WindowHandle>{kept, hiddenKept}));
  EXPECT_EQ(list.titles, (std::vector<std::u16string>{u"MAIN", u"HIDDEN"}));
  EXPECT_EQ(list.classes, (std::vector<std::u16string>{u"APP", u"APP"}));
}

TEST_F(AutomationTest, EnumerationStopsWhenTheRunStops) {
  for (int i = 0; i < 5; ++i) window(u"W");
  int asked = 0;
  AutomationContext context{desktop, session, host.platform(), [&] { return ++asked > 2; }, true, -1};
  EXPECT_EQ(EnumerateWindows(context, 0).size(), 2u);
}

TEST_F(AutomationTest, ChildTextFindsChildWindow) {
  const WindowHandle top = window(u"Dialog", u"#32770");
  FakeWindow ok;
  ok.title = u"OK";
  ok.className = u"Button";
  ok.parent = top;
  const WindowHandle okButton = desktop.add(ok);
  const int id = static_cast<int>(number(call(&Getid, u"GETID", {u"Dialog", u"", u"0", u"ok"})));
  EXPECT_EQ(handleOfId(id), okButton);
}

// ---- the retry schedule on a fake clock ----

TEST_F(AutomationTest, RetryScheduleOfDefaultAndTimedWaits) {
  struct Case {
    const char* name;
    std::u16string wait;
    bool sameTitleAsBefore, newWindowExpected;
    int enumerations;
    int64_t minimumMs, maximumMs;
  };
  const std::vector<Case> cases = {
      {"title used just before: 10 attempts, 100 ms", u"0", true, false, 10, 100, 400},
      {"new title: 20 attempts, 800 ms", u"0", false, false, 40, 800, 900},
      {"after an action that opens a window: 8 s", u"0", true, true, 400, 8000, 8100},
      {"explicit wait 2 s", u"2", true, false, 100, 2000, 2100},
      {"tiny wait: one attempt", u"0.0001", true, false, 1, 0, 30},
  };
  for (const Case& c : cases) {
    FakeDesktop d;
    AutomationSession s{d};
    ScopedSession scope{s};
    if (c.sameTitleAsBefore) s.memory(-1).lastTitle = u"MISSING";
    s.newWindowExpected = c.newWindowExpected;
    const int64_t start = host.clock.monotonicMs();
    EXPECT_EQ(getid(u"Missing", u"", c.wait), -1) << c.name;
    const int64_t spent = host.clock.monotonicMs() - start;
    EXPECT_EQ(d.enumerations, c.enumerations) << c.name;
    EXPECT_GE(spent, c.minimumMs) << c.name;
    EXPECT_LE(spent, c.maximumMs) << c.name;
    EXPECT_FALSE(s.newWindowExpected) << c.name;
    EXPECT_EQ(s.memory(-1).lastTitle, u"MISSING") << c.name;
  }
}

TEST_F(AutomationTest, WindowAppearingDuringTheWaitIsFound) {
  int pumps = 0;
  WindowHandle late = 0;
  host.ui.onPump = [&] {
    if (++pumps == 30) late = window(u"Late");
  };
  const int id = getid(u"Late", u"", u"5");
  EXPECT_EQ(handleOfId(id), late);
  EXPECT_EQ(session.memory(-1).lastId, id);
}

TEST_F(AutomationTest, EndlessWaitEndsOnStopRequest) {
  int checks = 0;
  host.stopWhen = [&] { return ++checks > 500; };
  EXPECT_EQ(getid(u"Never", u"", u"-1"), -1);
  EXPECT_EQ(session.memory(-1).lastId, -1);
}

TEST_F(AutomationTest, ScriptThreadsKeepTheirOwnTitleMemory) {
  host.callFrame.threadSlot = 4;
  host.mainThread = false;
  getid(u"Alpha", u"", u"0.0001");
  EXPECT_EQ(session.memory(4).lastTitle, u"");
  session.newWindowExpected = true;
  getid(u"Alpha");
  EXPECT_EQ(session.memory(4).lastTitle, u"ALPHA");
  EXPECT_EQ(session.memory(-1).lastTitle, u"");
  EXPECT_TRUE(session.newWindowExpected) << "only the main script clears it";
}

// ---- fallbacks for titles that carry more than the window's name ----

TEST_F(AutomationTest, StatementStartsWithAcwOfGetid) {
  const std::vector<std::pair<std::u16string, bool>> cases = {
      {u"ACW(GETID(\"A\", \"IEFRAME\"), 0, 0)", true},
      {u"ACW( GETID ( \"A\", \"IEFRAME\"))", true},
      {u"acw(\tgetid(\"A\"))", true},
      {u"ACW(ID, 0, 0)", false},
      {u"ID = GETID(\"A\", \"IEFRAME\")", false},
      {u"ACW(GETI", false},
      {u"", false},
  };
  for (const auto& [statement, expected] : cases)
    EXPECT_EQ(StartsWithAcwOfGetid(statement), expected) << utf16ToUtf8(statement);
}

TEST_F(AutomationTest, GetidFallsBackForBrowserTitlesOnlyInsideAcwAndForEditorPaths) {
  struct Case {
    const char* name;
    std::u16string windowTitle, windowClass;
    std::u16string title, cls, statement;
    bool found;
  };
  const std::u16string acw = u"ACW(GETID(T, C, 0.0001), 0, 0)";
  const std::vector<Case> cases = {
      {"browser page title inside ACW", u"Windows Internet Explorer", u"IEFrame", u"Start - Windows Internet Explorer",
       u"IEFrame", acw, true},
      {"older browser title inside ACW", u"Microsoft Internet Explorer", u"IEFrame",
       u"Start - Microsoft Internet Explorer", u"ieframe", acw, true},
      {"browser title outside ACW", u"Windows Internet Explorer", u"IEFrame", u"Start - Windows Internet Explorer",
       u"IEFrame", u"ID = GETID(T, C, 0.0001)", false},
      {"browser title inside ACW without the browser class", u"Windows Internet Explorer", u"IEFrame",
       u"Start - Windows Internet Explorer", u"", acw, false},
      {"editor title with a full path", u"memo.txt - 秀丸", u"Hidemaru32Class", u"C:\\Docs\\memo.txt - 秀丸", u"", u"",
       true},
      {"other title with a path", u"memo.txt - Editor", u"Ed", u"C:\\Docs\\memo.txt - Editor", u"", u"", false},
  };
  for (const Case& c : cases) {
    FakeDesktop d;
    AutomationSession s{d};
    ScopedSession scope{s};
    FakeWindow w;
    w.title = c.windowTitle;
    w.className = c.windowClass;
    const WindowHandle h = d.add(w);
    host.statement = c.statement;
    const int id = getid(c.title, c.cls, u"0.0001");
    EXPECT_EQ(id > 0 ? s.ids.handleOf(id, true, d) : 0, c.found ? h : 0) << c.name;
  }
}

// ---- special titles, IDs and handles ----

TEST_F(AutomationTest, SpecialTitlesAnswerAtOnce) {
  const WindowHandle front = window(u"Front");
  FakeWindow child;
  child.title = u"Button";
  child.className = u"Button";
  child.parent = front;
  const WindowHandle button = desktop.add(child);
  desktop.foregroundWindow = front;
  desktop.underCursor = button;
  const int enumerationsBefore = desktop.enumerations;
  const int active = getid(u"__GET_ACTIVE_WIN__");
  EXPECT_EQ(handleOfId(active), front);
  EXPECT_EQ(number(call(&Hndtoid, u"HNDTOID", {num(static_cast<int64_t>(number(call(&Idtohnd, u"IDTOHND", {u"0"}))))})),
            active);
  EXPECT_EQ(handleOfId(getid(u"__get_fromPoint_obj__")), button);
  EXPECT_EQ(handleOfId(getid(u"__GET_FROMPOINT_WIN__")), front);
  EXPECT_EQ(getid(u"__GET_LOGPRINT_WIN__"), -1);
  EXPECT_EQ(getid(u"__GET_FORM_WIN2__"), -1);
  session.own.stopForm = {window(u"Stop"), u"Stop"};
  EXPECT_EQ(handleOfId(getid(u"__GET_STOPFORM_WIN__")), session.own.stopForm.handle);
  session.own.balloons[0] = window(u"Main balloon");
  host.callFrame.threadSlot = 2;
  EXPECT_EQ(handleOfId(getid(u"__GET_FUKIDASI_WIN__")), session.own.balloons[0]) << "falls back to the main balloon";
  EXPECT_EQ(desktop.enumerations, enumerationsBefore + 1) << "only the hit test climbs through the visible list";
}

TEST_F(AutomationTest, IdTableHandsOutStableIdsAndForgetsClosedWindows) {
  const WindowHandle a = window(u"A"), b = window(u"B");
  auto hndtoid = [&](WindowHandle h) { return number(call(&Hndtoid, u"HNDTOID", {num(static_cast<int64_t>(h))})); };
  EXPECT_EQ(hndtoid(a), 1);
  EXPECT_EQ(hndtoid(b), 2);
  EXPECT_EQ(hndtoid(a), 1);
  EXPECT_EQ(hndtoid(0x999999), -1);
  EXPECT_EQ(number(call(&Idtohnd, u"IDTOHND", {u"2"})), static_cast<int64_t>(b));
  desktop.window(b).exists = false;
  EXPECT_EQ(number(call(&Idtohnd, u"IDTOHND", {u"2"})), 0);
  EXPECT_EQ(number(call(&Idtohnd, u"IDTOHND", {u"3"})), 0);
  EXPECT_EQ(number(call(&Idtohnd, u"IDTOHND", {u"-5"})), 0);
  EXPECT_EQ(session.ids.resolveWindow(static_cast<int64_t>(a), desktop), a) << "a raw handle resolves too";
  EXPECT_EQ(session.ids.resolveWindow(-1, desktop), 0u);
  EndRun();
  EXPECT_EQ(session.ids.count(), 0);
  EXPECT_EQ(hndtoid(a), 1) << "IDs start again at 1 after a run";
}

TEST_F(AutomationTest, GetallwinListsIdsIntoAllWinId) {
  const WindowHandle a = window(u"A");
  window(u"", u"IME");
  const WindowHandle b = window(u"B");
  EXPECT_EQ(number(call(&Getallwin, u"GETALLWIN", {})), 2);
  EXPECT_EQ(host.run(u"LENGTH(ALL_WIN_ID)").toDouble(), 2);
  EXPECT_EQ(handleOfId(static_cast<int>(host.run(u"ALL_WIN_ID[0]").toDouble())), a);
  EXPECT_EQ(handleOfId(static_cast<int>(host.run(u"ALL_WIN_ID[1]").toDouble())), b);

  FakeWindow child;
  child.title = u"Edit";
  child.className = u"Edit";
  child.parent = b;
  const WindowHandle edit = desktop.add(child);
  const int bId = session.ids.idOf(b);
  EXPECT_EQ(number(call(&Getallwin, u"GETALLWIN", {num(bId)})), 1);
  EXPECT_EQ(handleOfId(static_cast<int>(host.run(u"ALL_WIN_ID[0]").toDouble())), edit);
  EXPECT_EQ(number(call(&Getallwin, u"GETALLWIN", {u"77"})), 0) << "an unknown parent lists nothing";
}

TEST(AutomationNoDesktop, WindowBuiltinsNeedWindows) {
  builtins::testing::FakeBuiltinHost host;
  engine::CallSite site;
  platform::Desktop& none = platform::systemDesktop();
  if (none.available()) GTEST_SKIP() << "this build has a desktop";
  AutomationSession session{none};
  ScopedSession scope{session};
  for (const builtins::NamedBuiltin& b : WindowBuiltins()) {
    builtins::BuiltinCall c{*builtins::FindBuiltin(b.name), site, {}, {}, {}, 0};
    const auto e = builtins::testing::errorOf([&] { b.function(c, host); });
    EXPECT_TRUE(e.thrown && e.catchable) << builtins::testing::u8(b.name);
    EXPECT_EQ(e.english, std::u16string(b.name) + u" needs Windows");
  }
}

}  // namespace
}  // namespace maqo::automation::testing
