// The accessibility modes of the control builtins over a fake element tree:
// what CLKITEM, CHKBTN, GETITEM, GETSTR and SENDSTR find, what they do to the
// element, and how CLK_CONTINUE moves on per window.
#include "automation/accessibility/accessibility_engine.h"
#include "automation/accessibility/accessible_roles.h"
#include "automation/accessibility/point_reading.h"
#include "platform/fake/fake_accessible.h"
#include "tests/unit/automation/controls/control_fixture.h"

namespace maqo::automation::testing {
namespace {

using namespace controls;
using namespace accessibility;
using platform::fake::FakeAccessibleRow;
using platform::fake::FakeAccessibleTree;

constexpr uint32_t kClkAcc = 0x8000, kClkContinue = 0x2000000, kClkLeftClick = 0x800, kClkMouseMove = 0x400,
                   kItmAccClk = 0x400000, kItmAccTxt = 0x800000, kItmAccEdit = 0x1000000;

// Rows 18 pixels high, one every 20 pixels from (100, 100).
FakeAccessibleRow Row(int id, int parent, int r, std::u16string name, uint32_t st = 0) {
  return platform::fake::MakeFakeRow(id, parent, r, std::move(name), st, {100, 100 + id * 20, 80, 18});
}

// A form as a self-drawn window publishes it: three "Save" buttons (the
// middle one unavailable), check boxes, an edit, a label, a cell; the last
// button is reachable by navigation and by index alike.
std::vector<FakeAccessibleRow> Form() {
  std::vector<FakeAccessibleRow> rows{
      Row(0, -1, role::kClient, u"Form", state::kFocusable),
      Row(1, 0, role::kPushButton, u"&Save"),
      Row(2, 0, role::kPushButton, u"Save", state::kUnavailable),
      Row(3, 0, role::kPushButton, u"Save"),
      Row(4, 0, role::kCheckButton, u"Mixed one", state::kMixed),
      Row(5, 0, role::kCheckButton, u"Ticked", state::kChecked),
      Row(6, 0, role::kText, u"Field", state::kFocused),
      Row(7, 0, role::kStaticText, u"Label"),
      Row(8, 0, role::kCell, u"Cell"),
  };
  rows[0].rect = {0, 0, 392, 276};  // the fake window's own client area
  rows[6].value = u"abc";
  rows[8].value = u"42";
  rows[1].byIndex = false;  // navigation only
  rows[2].byNavigation = false;  // index only
  return rows;
}

class AccessibilityBuiltinsTest : public ControlTest {
 protected:
  FakeAccessibleTree tree{Form()};
  platform::fake::FakeAccessibility accessibility;
  ScopedAccessibility accessibilityInstalled{accessibility};

  void SetUp() override {
    ControlTest::SetUp();
    accessibility.publish(main, tree);
  }
  std::vector<std::u16string> actions() const {
    std::vector<std::u16string> out;
    for (const auto& line : tree.log)
      if (line.starts_with(u"action ")) out.push_back(line.substr(7));
    return out;
  }
  int64_t clkitem(std::u16string name, uint32_t kinds, int desired = 1) {
    return number(call(&Clkitem, u"CLKITEM", {s(id), name, s(kinds), s(desired)}));
  }
  std::vector<std::u16string> listed(int64_t count) {
    std::vector<std::u16string> out;
    for (int64_t i = 0; i < count; ++i) out.push_back(host.run(u"ALL_ITEM_LIST[" + num(i) + u"]").toText());
    return out;
  }
};

TEST_F(AccessibilityBuiltinsTest, ClickContinueMovesToTheNextAvailableMatch) {
  EXPECT_EQ(clkitem(u"Save", kClkAcc), -1);
  EXPECT_EQ(clkitem(u"Save", kClkAcc | kClkContinue), -1);
  // No further match: FALSE, nothing clicked.
  EXPECT_EQ(clkitem(u"Save", kClkAcc | kClkContinue), 0);
  // Without CLK_CONTINUE the search starts afresh.
  EXPECT_EQ(clkitem(u"Save", kClkAcc), -1);
  EXPECT_EQ(actions(), (std::vector<std::u16string>{u"&Save", u"Save", u"&Save"}));
}

TEST_F(AccessibilityBuiltinsTest, ContinueStartsAfreshOnAnotherWindow) {
  EXPECT_EQ(clkitem(u"Save", kClkAcc), -1);
  FakeAccessibleTree other{Form()};
  const WindowHandle second = window(u"Other", u"OTHER");
  accessibility.publish(second, other);
  const int otherId = getid(u"Other");
  EXPECT_EQ(number(call(&Clkitem, u"CLKITEM", {s(otherId), u"Save", s(kClkAcc | kClkContinue)})), -1);
  EXPECT_EQ(other.log.back(), u"action &Save");
}

TEST_F(AccessibilityBuiltinsTest, CheckStatesAndDesiredStates) {
  struct Case { std::u16string name; int64_t state; } cases[] = {
      {u"Mixed one", 2}, {u"Ticked", 1}, {u"Save", 0}, {u"Missing", -1}};
  for (const Case& c : cases)
    EXPECT_EQ(number(call(&Chkbtn, u"CHKBTN", {s(id), c.name, u"1", u"1"})), c.state) << utf16ToUtf8(c.name);
  // Already checked and asked for checked: TRUE without an action.
  EXPECT_EQ(clkitem(u"Ticked", kClkAcc, 1), -1);
  EXPECT_TRUE(actions().empty());
  EXPECT_EQ(clkitem(u"Ticked", kClkAcc, 0), -1);
  EXPECT_EQ(actions(), (std::vector<std::u16string>{u"Ticked"}));
}

TEST_F(AccessibilityBuiltinsTest, UnavailableOnlyMatchIsNotClicked) {
  tree.row(1).name = u"Other";
  tree.row(3).name = u"Other";
  EXPECT_EQ(clkitem(u"Save", kClkAcc), 0);
  EXPECT_TRUE(actions().empty());
}

TEST_F(AccessibilityBuiltinsTest, CollectingKindsListEachElementOnceWithinTheMaximum) {
  // The third "Save" is reachable twice, the window's own client area is left out.
  // Navigation first, then the children by index; the unavailable button
  // counts unless enabled-only is asked for.
  const int64_t n = number(call(&Getitem, u"GETITEM", {s(id), s(kItmAccClk)}));
  EXPECT_EQ(listed(n), (std::vector<std::u16string>{u"Save", u"Save", u"Mixed one", u"Ticked", u"Save"}));
  EXPECT_EQ(number(call(&Getitem, u"GETITEM", {s(id), s(kItmAccClk), u"0", u"0", u"1"})), 4);
  EXPECT_EQ(number(call(&Getitem, u"GETITEM", {s(id), s(kItmAccClk), u"2"})), 2);
  const int64_t texts = number(call(&Getitem, u"GETITEM", {s(id), s(kItmAccTxt | kItmAccEdit)}));
  EXPECT_EQ(listed(texts), (std::vector<std::u16string>{u"Label", u"42", u"abc"}));
  // The maximum holds across the kinds.
  const int64_t two = number(call(&Getitem, u"GETITEM", {s(id), s(kItmAccClk | kItmAccTxt), u"6"}));
  EXPECT_EQ(listed(two), (std::vector<std::u16string>{u"Save", u"Save", u"Mixed one", u"Ticked", u"Save", u"Label"}));
}

TEST_F(AccessibilityBuiltinsTest, GetstrReadsEditStaticAndCell) {
  struct Case { std::u16string number, kind, text; } cases[] = {
      {u"1", u"3", u"abc"}, {u"0", u"3", u"abc"}, {u"1", u"4", u"Label"}, {u"0", u"4", u"Label"},
      {u"1", u"5", u"42"}, {u"2", u"3", u""}};
  for (const Case& c : cases)
    EXPECT_EQ(text(call(&Getstr, u"GETSTR", {s(id), c.number, c.kind})), c.text) << utf16ToUtf8(c.kind);
  call(&Getstr, u"GETSTR", {s(id), u"1", u"4", u"1"});
  EXPECT_EQ(input.cursor, (std::pair<int, int>{104, 100 + 7 * 20 + 4}));
}

TEST_F(AccessibilityBuiltinsTest, SendstrAppendsOrReplacesTheValue) {
  call(&Sendstr, u"SENDSTR", {s(id), u"x", u"1", u"0", u"1"});
  EXPECT_EQ(tree.row(6).value, u"abcx");
  call(&Sendstr, u"SENDSTR", {s(id), u"new", u"1", u"1", u"1"});
  EXPECT_EQ(tree.row(6).value, u"new");
  // Kind 2 sets the value without giving the element the focus.
  tree.log.clear();
  call(&Sendstr, u"SENDSTR", {s(id), u"z", u"1", u"1", u"2"});
  EXPECT_EQ(tree.log, (std::vector<std::u16string>{u"value Field=z"}));
  call(&Sendstr, u"SENDSTR", {s(id), u"7", u"1", u"1", u"5"});
  EXPECT_EQ(tree.row(8).value, u"7");
}

TEST_F(AccessibilityBuiltinsTest, RefusedValueGoesToTheFocusedControl) {
  tree.row(6).valueWriteFails = true;
  call(&Sendstr, u"SENDSTR", {s(id), u"x", u"1", u"0", u"1"});  // no focused control: nothing
  EXPECT_EQ(tree.row(6).value, u"abc");
  const WindowHandle edit = add(u"Edit", u"", 10, 10).facts.handle;
  controls.focusedIn = edit;
  call(&Sendstr, u"SENDSTR", {s(id), u"x", u"1", u"0", u"1"});
  EXPECT_EQ(controls.control(edit).text, u"abcx");
}

TEST_F(AccessibilityBuiltinsTest, MouseOptionsPutThePointerAndClickWithinTheScreen) {
  EXPECT_EQ(clkitem(u"Mixed one", kClkAcc | kClkLeftClick), -1);
  EXPECT_EQ(input.cursor, (std::pair<int, int>{108, 100 + 4 * 20 + 8}));
  EXPECT_EQ(input.entries("mouse 0x2").size(), 1u);
  EXPECT_EQ(input.entries("mouse 0x4").size(), 1u);
  EXPECT_TRUE(actions().empty());
  // CLK_MUSMOVE alone: the pointer to the centre, then the default action.
  EXPECT_EQ(clkitem(u"Mixed one", kClkAcc | kClkMouseMove), -1);
  EXPECT_EQ(input.cursor, (std::pair<int, int>{140, 100 + 4 * 20 + 9}));
  EXPECT_EQ(actions(), (std::vector<std::u16string>{u"Mixed one"}));
  // Off the virtual screen the click option is no hit.
  input.desktop = {0, 0, 50, 50};
  EXPECT_EQ(clkitem(u"Mixed one", kClkAcc | kClkLeftClick), 0);
}

TEST_F(AccessibilityBuiltinsTest, FailingDefaultActionFallsBackToTheSpaceKey) {
  tree.row(3).actionFails = true;
  tree.row(1).name = u"Other";
  EXPECT_EQ(clkitem(u"Save", kClkAcc), -1);
  EXPECT_EQ(logged("key").size(), 1u);
  EXPECT_NE(logged("key")[0].find(" 32"), std::string::npos);
}

TEST_F(AccessibilityBuiltinsTest, BrowserFrameWalksItsEnabledDocumentWindows) {
  const WindowHandle frame = window(u"Browser", u"IEFrame");
  const WindowHandle document = add(u"Internet Explorer_Server", u"", 0, 0, 0, true, frame).facts.handle;
  accessibility.publish(document, tree);
  const int frameId = getid(u"Browser");
  EXPECT_EQ(number(call(&Clkitem, u"CLKITEM", {s(frameId), u"Docs", s(kClkAcc)})), 0);
  tree.row(7).role = role::kLink;
  EXPECT_EQ(number(call(&Clkitem, u"CLKITEM", {s(frameId), u"Label", s(kClkAcc)})), -1);
  EXPECT_EQ(actions(), (std::vector<std::u16string>{u"Label"}));
  // A disabled document (a modal dialog of the page is open) is not walked.
  desktop.window(document).enabled = false;
  EXPECT_EQ(number(call(&Clkitem, u"CLKITEM", {s(frameId), u"Label", s(kClkAcc)})), 0);
}

TEST_F(AccessibilityBuiltinsTest, WindowWithoutTreeFindsNothing) {
  const WindowHandle bare = window(u"Bare", u"BARE");
  (void)bare;
  const int bareId = getid(u"Bare");
  EXPECT_EQ(number(call(&Clkitem, u"CLKITEM", {s(bareId), u"Save", s(kClkAcc)})), 0);
  EXPECT_EQ(number(call(&Chkbtn, u"CHKBTN", {s(bareId), u"Save", u"1", u"1"})), -1);
  EXPECT_TRUE(call(&Getstr, u"GETSTR", {s(bareId), u"1", u"3"}).isEmpty());
}

TEST_F(AccessibilityBuiltinsTest, PosaccReadsTheElementAtAClientPoint) {
  // Client (100, 200) is screen (104, 220): the edit "Field".
  input.windowsAt[{104, 220}] = main;
  input.windowsAt[{104, 240}] = main;
  struct Case { int mode; std::u16string text; } cases[] = {
      {0, u"Field"}, {1, u"Field"}, {2, u""}, {3, u"Field"}, {4, u"abc"}, {5, u"role 42"}, {6, u"focused"},
      {8, u"96,200,80,18"}, {9, u""}, {11, u"Field"}, {0x201, u"Field"}};
  for (const Case& c : cases)
    EXPECT_EQ(text(call(&Posacc, u"POSACC", {s(id), u"100", u"200", s(c.mode)})), c.text) << c.mode;
  // ID 0: the point is a screen point.
  EXPECT_EQ(text(call(&Posacc, u"POSACC", {u"0", u"104", u"220", u"8"})), u"100,220,80,18");
  EXPECT_EQ(text(call(&Posacc, u"POSACC", {u"0", u"104", u"220", u"3"})), u"Field");
  // A label that repeats the window's title says nothing.
  tree.row(7).name = u"CtlHost";
  EXPECT_EQ(text(call(&Posacc, u"POSACC", {s(id), u"100", u"220", u"1"})), u"");
  // Another window over the point: nothing.
  input.windowsAt.clear();
  EXPECT_EQ(text(call(&Posacc, u"POSACC", {s(id), u"100", u"200", u"1"})), u"");
}

}  // namespace
}  // namespace maqo::automation::testing
