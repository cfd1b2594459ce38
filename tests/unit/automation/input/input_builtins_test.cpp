// The input builtins against the call-recording fake input and fake desktop.
#include <gtest/gtest.h>

#include "tests/unit/automation/input/input_fixture.h"

namespace maqo::automation::testing {
namespace {

using Strings = std::vector<std::string>;
constexpr uint32_t kWmKeyDown = 0x100, kWmKeyUp = 0x101, kWmMouseMove = 0x200, kWmLDown = 0x201, kWmLUp = 0x202;

TEST_F(InputTest, KbdClicksPressesAndReleasesWithTheKeyRules) {
  run(&Kbd, u"KBD", {u"65"});
  run(&Kbd, u"KBD", {u"16", u"1"});
  run(&Kbd, u"KBD", {u"66"});
  run(&Kbd, u"KBD", {u"16", u"2"});
  EXPECT_EQ(keyLog(), (Strings{"key 65 down", "key 65 up", "key 16 down", "key 66 down", "key 66 up", "key 16 up"}));
  EXPECT_TRUE(inputSession.held.entries().empty());

  input.log.clear();
  session.newWindowExpected = false;
  run(&Kbd, u"KBD", {u"901"});
  EXPECT_EQ(keyLog(), (Strings{"key 13 down ext", "key 13 up ext"}));
  EXPECT_TRUE(session.newWindowExpected);

  input.log.clear();
  run(&Kbd, u"KBD", {u"12354"});
  run(&Kbd, u"KBD", {u"128512"});  // beyond the basic plane: two halves
  EXPECT_EQ(input.entries("char"), (Strings{"char 12354 down", "char 12354 up", "char 55357 down", "char 56832 down",
                                            "char 55357 up", "char 56832 up"}));
}

TEST_F(InputTest, KbdDownStaysHeldUntilTheRunEndReleasesIt) {
  run(&Kbd, u"KBD", {u"16", u"1"});
  run(&Btn, u"BTN", {u"0", u"1", u"10", u"10"});
  EXPECT_EQ(inputSession.held.entries(), (std::vector<std::u16string>{u"KBD16", u"LEFTDOWN"}));
  input.log.clear();
  releaseAtRunEnd();
  EXPECT_EQ(input.log, (Strings{"key 16 up", "mouse 0x4 0,0 0"}));
  EXPECT_TRUE(inputSession.held.entries().empty());
}

TEST_F(InputTest, BtnClipsToTheDesktopAndSkipsPointsOutsideIt) {
  input.desktop = {0, 0, 1920, 1080};
  struct Case {
    const char16_t* x;
    const char16_t* y;
    Strings expected;
  };
  const Case cases[] = {
      {u"100", u"200", {"cursor 100,200", "mouse 0x2 100,200 0", "mouse 0x4 100,200 0"}},
      {u"1920", u"1080", {"cursor 1919,1079", "mouse 0x2 1919,1079 0", "mouse 0x4 1919,1079 0"}},
      {u"1921", u"5", {}},
      {u"-1", u"5", {}},
  };
  for (const Case& c : cases) {
    input.log.clear();
    run(&Btn, u"BTN", {u"0", u"0", c.x, c.y});
    EXPECT_EQ(input.log, c.expected) << std::u16string(c.x).size();
  }
  // Without coordinates the pointer stays where it is.
  input.log.clear();
  run(&Btn, u"BTN", {u"2"});
  EXPECT_EQ(input.log, (Strings{"mouse 0x20 0,0 0", "mouse 0x40 0,0 0"}));
  input.log.clear();
  run(&Btn, u"BTN", {u"9", u"-3"});
  EXPECT_EQ(input.log, (Strings{"mouse 0x800 0,0 -360"}));
}

TEST_F(InputTest, SwappedButtonsExchangeLeftAndRightExceptInDirectMode) {
  input.swapped = true;
  inputSession.prepareRun();
  run(&Btn, u"BTN", {u"0"});
  EXPECT_EQ(input.log, (Strings{"mouse 0x8 0,0 0", "mouse 0x10 0,0 0"}));
  FakeWindow w;
  w.title = u"Direct";
  w.rect = {100, 100, 500, 400};
  const WindowHandle h = desktop.add(w);
  run(&Mouseorg, u"MOUSEORG", {num(session.ids.idOf(h)), u"2"});
  run(&Btn, u"BTN", {u"0", u"0", u"5", u"5"});
  // Three moves before each button message.
  ASSERT_EQ(desktop.posts.size(), 8u);
  EXPECT_EQ(desktop.posts[3].message, kWmLDown);
  EXPECT_EQ(desktop.posts[7].message, kWmLUp);
}

TEST_F(InputTest, OriginsMoveTheCursorRelativeToAWindowAndMmvClamps) {
  FakeWindow w;
  w.title = u"Origin";
  w.rect = {300, 200, 700, 500};
  const WindowHandle h = desktop.add(w);
  const std::u16string id = num(session.ids.idOf(h));
  run(&Mouseorg, u"MOUSEORG", {id});
  run(&Mmv, u"MMV", {u"10", u"20"});
  EXPECT_EQ(input.cursor, (std::pair{310, 220}));
  run(&Mouseorg, u"MOUSEORG", {id, u"1"});
  run(&Mmv, u"MMV", {u"0", u"0"});
  EXPECT_EQ(input.cursor, (std::pair{304, 220}));  // the client area's origin
  // A minimised origin window keeps the origin last computed.
  desktop.window(h).iconic = true;
  desktop.window(h).rect = {0, 0, 10, 10};
  run(&Mmv, u"MMV", {u"1", u"1"});
  EXPECT_EQ(input.cursor, (std::pair{305, 221}));
  run(&Mouseorg, u"MOUSEORG", {u"0"});
  run(&Mmv, u"MMV", {u"5000", u"-20"});
  EXPECT_EQ(input.cursor, (std::pair{1919, 0}));
  // ID -1 changes nothing.
  run(&Mouseorg, u"MOUSEORG", {u"-1", u"2"});
  EXPECT_EQ(session.memory(-1).origin.mode, 0);
}

TEST_F(InputTest, AcwRecordsWhereItMovedAWindowAsTheOriginAMinimisedWindowLeaves) {
  FakeWindow w;
  w.title = u"Moved";
  w.rect = {300, 200, 700, 500};
  const WindowHandle h = desktop.add(w);
  const std::u16string id = num(session.ids.idOf(h));
  run(&Mouseorg, u"MOUSEORG", {id});
  run(&Mmv, u"MMV", {u"0", u"0"});
  EXPECT_EQ(input.cursor, (std::pair{300, 200}));
  // Only a move records a position: a resize leaves the origin as it was.
  run(&Acw, u"ACW", {id, u"", u"", u"320", u"240"});
  EXPECT_EQ(session.memory(-1).origin.x, 300);
  run(&Acw, u"ACW", {id, u"500", u"400"});
  EXPECT_EQ(session.memory(-1).origin.x, 500);
  EXPECT_EQ(session.memory(-1).origin.y, 400);
  desktop.window(h).iconic = true;
  desktop.window(h).rect = {-32000, -32000, -31840, -31970};
  run(&Mmv, u"MMV", {u"1", u"1"});
  EXPECT_EQ(input.cursor, (std::pair{501, 401}));
}

TEST_F(InputTest, DirectClickGoesToTheChildUnderThePointInItsOwnCoordinates) {
  FakeWindow top;
  top.title = u"Host";
  top.rect = {100, 100, 600, 500};  // client origin (104, 120)
  const WindowHandle h = desktop.add(top);
  FakeWindow list;
  list.className = u"ListBox";
  list.parent = h;
  list.rect = {134, 160, 334, 360};  // client origin (138, 180)
  const WindowHandle child = desktop.add(list);
  FakeWindow hidden = list;
  hidden.visible = false;  // a hidden page's control on top takes no clicks
  desktop.add(hidden);
  run(&Mouseorg, u"MOUSEORG", {num(session.ids.idOf(h)), u"2"});
  run(&Kbd, u"KBD", {u"16", u"1"});  // direct Shift: state only
  EXPECT_TRUE(input.keys.empty());
  input.physicallyDown[16] = false;
  run(&Btn, u"BTN", {u"0", u"1", u"50", u"70"});  // screen (154, 190): child point (16, 10)
  EXPECT_EQ(input.entries("cursor"), Strings{});
  ASSERT_EQ(desktop.posts.size(), 4u);
  for (const auto& post : desktop.posts) EXPECT_EQ(post.handle, child);
  EXPECT_EQ(desktop.posts[0].message, kWmMouseMove);
  EXPECT_EQ(desktop.posts[0].lParam, (11u << 16) | 17u);
  EXPECT_EQ(desktop.posts[1].lParam, (9u << 16) | 15u);
  EXPECT_EQ(desktop.posts[2].lParam, (10u << 16) | 16u);
  EXPECT_EQ(desktop.posts[3].message, kWmLDown);
  EXPECT_EQ(desktop.posts[3].lParam, (10u << 16) | 16u);
  EXPECT_EQ(desktop.posts[3].wParam, 0x4u);  // MK_SHIFT, from the script's direct Shift
  // Shift was pressed for the moment and released again.
  EXPECT_EQ(keyLog(), (Strings{"key 16 down", "key 16 up"}));
  // The held entry names the child, and the run-end release goes there.
  EXPECT_EQ(inputSession.held.entries(),
            (std::vector<std::u16string>{u"KBD16," + num(static_cast<int64_t>(h)), u"LEFTDOWN," + num(static_cast<int64_t>(child))}));
  desktop.posts.clear();
  releaseAtRunEnd();
  ASSERT_FALSE(desktop.posts.empty());
  EXPECT_EQ(desktop.posts.back().handle, child);
  EXPECT_EQ(desktop.posts.back().message, kWmLUp);
}

TEST_F(InputTest, DirectKeysArePostedWithScanCodeAndExtendedBits) {
  FakeWindow top;
  top.title = u"Host";
  const WindowHandle h = desktop.add(top);
  run(&Mouseorg, u"MOUSEORG", {num(session.ids.idOf(h)), u"2"});
  run(&Kbd, u"KBD", {u"901"});
  ASSERT_EQ(desktop.posts.size(), 2u);
  const uint32_t scan = input.scanCode(901) ;  // taken before the mapping
  EXPECT_EQ(desktop.posts[0].message, kWmKeyDown);
  EXPECT_EQ(desktop.posts[0].wParam, 13u);
  EXPECT_EQ(desktop.posts[0].lParam, (scan << 16) + 1 + 0x01000000u);
  EXPECT_EQ(desktop.posts[1].message, kWmKeyUp);
  EXPECT_EQ(desktop.posts[1].lParam, (scan << 16) + 1 + 0x01000000u + 0xC0000000u);
  // A physically held Ctrl the script does not hold is lifted for the key.
  desktop.posts.clear();
  input.physicallyDown[162] = true;
  run(&Kbd, u"KBD", {u"65", u"1"});
  EXPECT_EQ(keyLog(), (Strings{"key 162 up", "key 162 down"}));
  // A window that is gone takes nothing.
  desktop.window(h).exists = false;
  desktop.posts.clear();
  run(&Kbd, u"KBD", {u"65"});
  EXPECT_TRUE(desktop.posts.empty());
}

TEST_F(InputTest, SckeyPressesModifiersClicksKeysAndReleasesInReverse) {
  FakeWindow w;
  w.title = u"Editor";
  w.iconic = true;
  w.rect = {10, 20, 410, 320};
  const WindowHandle h = desktop.add(w);
  desktop.foregroundWindow = 0;
  run(&Sckey, u"SCKEY", {num(session.ids.idOf(h)), u"17", u"16", u"S"});
  EXPECT_EQ(keyLog(), (Strings{"key 17 down", "key 16 down", "key 83 down", "key 83 up", "key 16 up", "key 17 up"}));
  // Restored off-screen for the keys, then put back and minimised again.
  ASSERT_EQ(desktop.moves.size(), 2u);
  EXPECT_EQ(desktop.moves[0].x, 999999);
  EXPECT_EQ(desktop.moves[1].x, 10);
  EXPECT_EQ(desktop.shows.back().second, platform::ShowCommand::Minimize);
  // No window, no keys.
  input.log.clear();
  run(&Sckey, u"SCKEY", {u"99", u"17", u"S"});
  EXPECT_TRUE(input.log.empty());
}

TEST_F(InputTest, LocksInstallAndRemoveAndEndWithTheRun) {
  input.physicallyDown[65] = true;  // stuck before the lock: clicked free
  run(&Lockhardex, u"LOCKHARDEX", {u"0"});
  EXPECT_TRUE(input.hooksInstalled());
  EXPECT_EQ(input.entries("hooks"), Strings{"hooks kb mouse"});
  EXPECT_EQ(keyLog(), (Strings{"key 65 down", "key 65 up"}));
  EXPECT_EQ(input.entries("priority"), (Strings{"priority realtime", "priority normal"}));
  // Our own KBD passes the hook, a user's key does not.
  EXPECT_EQ(input.decider->keyboard({0x100, 65, 0, 0, true}), platform::HookVerdict::Pass);
  EXPECT_EQ(input.decider->keyboard({0x100, 65, 0, 0, false}), platform::HookVerdict::Swallow);
  run(&Lockhardex, u"LOCKHARDEX", {});
  EXPECT_FALSE(input.hooksInstalled());

  run(&Lockhardex, u"LOCKHARDEX", {u"0", u"2"});
  EXPECT_EQ(input.entries("hooks").back(), "hooks mouse");
  run(&Lockhard, u"LOCKHARD", {u"1"});  // replaces the hooks
  EXPECT_FALSE(input.hooksInstalled());
  EXPECT_EQ(input.entries("block"), Strings{"block 1"});
  releaseAtRunEnd();
  EXPECT_EQ(input.entries("block"), (Strings{"block 1", "block 0"}));

  run(&Lockhardex, u"LOCKHARDEX", {u"0"});
  ReleaseInputLock(inputHost.platform());  // an error is shown
  EXPECT_FALSE(input.hooksInstalled());
}

TEST_F(InputTest, GetkeystateReadsTogglesAndSwapsButtons) {
  input.toggled[20] = true;
  EXPECT_EQ(number(run(&Getkeystate, u"GETKEYSTATE", {u"10001"})), -1);
  EXPECT_EQ(number(run(&Getkeystate, u"GETKEYSTATE", {u"10000"})), 0);
  input.ime = true;
  EXPECT_EQ(number(run(&Getkeystate, u"GETKEYSTATE", {u"10004"})), -1);
  input.pressedSince[13] = true;
  EXPECT_EQ(number(run(&Getkeystate, u"GETKEYSTATE", {u"901"})), -1);
  EXPECT_EQ(number(run(&Getkeystate, u"GETKEYSTATE", {u"901"})), 0);  // once, then not
  input.swapped = true;
  inputSession.prepareRun();
  input.physicallyDown[2] = true;
  EXPECT_EQ(number(run(&Getkeystate, u"GETKEYSTATE", {u"1"})), -1);
  // Down for the system but up for this thread: the thread's entry is cleared.
  input.physicallyDown[65] = true;
  input.upForThread[65] = true;
  EXPECT_EQ(number(run(&Getkeystate, u"GETKEYSTATE", {u"65"})), -1);
  EXPECT_EQ(input.clearedStateEntries, 1);
  input.upForThread[65] = false;
  run(&Getkeystate, u"GETKEYSTATE", {u"65"});
  EXPECT_EQ(input.clearedStateEntries, 1);
}

TEST_F(InputTest, GetkeystateReportsAButtonThePausesSawOnceAndTheRunEndForgetsIt) {
  auto clickSeenByAPause = [&](int vk) {
    input.physicallyDown[vk] = true;
    inputSession.noteMouseButtonsSeen();
    input.physicallyDown[vk] = false;
  };
  auto keystate = [&](const char16_t* code) { return number(run(&Getkeystate, u"GETKEYSTATE", {code})); };
  clickSeenByAPause(4);
  EXPECT_EQ(keystate(u"4"), -1);
  EXPECT_EQ(keystate(u"4"), 0);
  EXPECT_EQ(keystate(u"1"), 0);  // each button has its own mark
  // Swapped buttons: the pause saw the system's right button, which is LEFT.
  input.swapped = true;
  inputSession.prepareRun();
  clickSeenByAPause(2);
  EXPECT_EQ(keystate(u"2"), 0);
  EXPECT_EQ(keystate(u"1"), -1);
  // A mark left from one run is not reported in the next.
  clickSeenByAPause(1);
  releaseAtRunEnd();
  EXPECT_EQ(keystate(u"2"), 0);
}

TEST_F(InputTest, MuscurNumbersTheSystemCursors) {
  input.currentCursor = input.systemCursor(32512);  // IDC_ARROW
  EXPECT_EQ(number(run(&Muscur, u"MUSCUR", {})), 2);
  input.currentCursor = input.systemCursor(32514);  // IDC_WAIT
  EXPECT_EQ(number(run(&Muscur, u"MUSCUR", {})), 16);
  input.currentCursor = 0x4242;
  EXPECT_EQ(number(run(&Muscur, u"MUSCUR", {})), -0x4242);
}

TEST_F(InputTest, SethotkeyRegistersRunsAndIsSuspendedAroundOurOwnKeys) {
  inputHost.functions[u"ONQ"];
  EXPECT_EQ(number(run(&Sethotkey, u"SETHOTKEY", {u"81", u"3", u"OnQ"})), -1);
  EXPECT_EQ(input.hotKeys.size(), 1u);
  const int id = input.hotKeys.begin()->first;
  input.fireHotKey(id);
  EXPECT_EQ(inputHost.functions[u"ONQ"], (std::vector<std::pair<int, int>>{{81, 3}}));

  // Our own Ctrl would trigger it: unregistered around the press.
  input.log.clear();
  run(&Kbd, u"KBD", {u"17"});
  EXPECT_EQ(input.log, (Strings{"hotkey- " + std::to_string(id), "key 17 down",
                                "hotkey+ " + std::to_string(id) + " 3 81", "key 17 up"}));

  // Errors and refusals.
  EXPECT_THROW(run(&Sethotkey, u"SETHOTKEY", {u"81", u"3", u"NOPE"}), engine::ScriptError);
  EXPECT_EQ(number(run(&Sethotkey, u"SETHOTKEY", {u"0", u"0", u"OnQ"})), 0);
  input.refuseHotKeys = true;
  EXPECT_EQ(number(run(&Sethotkey, u"SETHOTKEY", {u"87", u"2", u"OnQ"})), 0);
  inputHost.mainThread = false;
  try {
    run(&Sethotkey, u"SETHOTKEY", {u"81", u"3", u"OnQ"});
    FAIL() << "no error from a thread";
  } catch (const engine::ScriptError& e) {
    EXPECT_EQ(e.message().english, u"SetHotKey: Can not be used from the thread");
  }
  // The run end unregisters what is left.
  input.refuseHotKeys = false;
  inputHost.mainThread = true;
  run(&Sethotkey, u"SETHOTKEY", {u"81", u"3", u"OnQ"});
  releaseAtRunEnd();
  EXPECT_TRUE(input.hotKeys.empty());
  input.fireHotKey(id);
  EXPECT_EQ(inputHost.functions[u"ONQ"].size(), 1u);
}

}  // namespace
}  // namespace maqo::automation::testing

namespace maqo::automation::testing {
namespace {

// A build without input devices names the builtin in a catchable error.
TEST_F(AutomationTest, InputBuiltinsNeedWindowsWhereThereIsNoInput) {
  platform::Input& none = platform::systemInput();
  if (none.available()) GTEST_SKIP() << "this build has real input";
  InputSession plain{none};
  ScopedInputSession scope{plain};
  const std::pair<builtins::BuiltinFunction, std::u16string_view> builtins[] = {
      {&Kbd, u"KBD"}, {&Btn, u"BTN"}, {&Mmv, u"MMV"}, {&Lockhard, u"LOCKHARD"}, {&Sethotkey, u"SETHOTKEY"}};
  for (auto [function, name] : builtins) {
    try {
      call(function, name, {u"65", u"0", u"F"});
      ADD_FAILURE() << "no error";
    } catch (const engine::ScriptError& e) {
      EXPECT_EQ(e.message().english, std::u16string(name) + u" needs Windows");
      EXPECT_TRUE(e.catchable());
    }
  }
}

}  // namespace
}  // namespace maqo::automation::testing
