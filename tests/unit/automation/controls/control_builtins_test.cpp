// The control builtins against fake controls: which item each finds, what
// it does to it, and what it reports.
#include "automation/controls/accessible_items.h"
#include "automation/controls/control_actions.h"
#include "tests/unit/automation/controls/control_fixture.h"

namespace maqo::automation::testing {
namespace {

using namespace controls;
using engine::ScriptValue;

class ControlBuiltinsTest : public ControlTest {};

TEST_F(ControlBuiltinsTest, ButtonsCountMatchesInReadingOrder) {
  // Added out of order: reading order is by top, then left.
  const WindowHandle third = add(u"Button", u"&OK", 190, 44).facts.handle;
  const WindowHandle first = add(u"Button", u"OK", 10, 44).facts.handle;
  const WindowHandle second = add(u"Button", u"OK", 100, 44).facts.handle;
  add(u"Button", u"Cancel", 10, 10);
  EXPECT_EQ(number(call(&Clkitem, u"CLKITEM", {s(id), u"OK", u"1", u"1", u"2"})), -1);
  EXPECT_EQ(logged("click"), (std::vector<std::string>{"click " + hex(second) + " L 0,0"}));
  controls.log.clear();
  call(&Clkitem, u"CLKITEM", {s(id), u"ok", u"1", u"1", u"3"});
  EXPECT_EQ(logged("click"), (std::vector<std::string>{"click " + hex(third) + " L 0,0"}));
  controls.log.clear();
  call(&Clkitem, u"CLKITEM", {s(id), u"OK"});
  EXPECT_EQ(logged("click"), (std::vector<std::string>{"click " + hex(first) + " L 0,0"}));
  EXPECT_EQ(number(call(&Clkitem, u"CLKITEM", {s(id), u"OK", u"1", u"1", u"4"})), 0);
  EXPECT_EQ(number(call(&Clkitem, u"CLKITEM", {u"0", u"OK"})), 0);
}

TEST_F(ControlBuiltinsTest, CheckBoxesAreClickedOnlyWhenTheStateDiffers) {
  platform::FakeControl& box = add(u"Button", u"Check", 10, 78, /*BS_AUTOCHECKBOX*/ 3);
  box.check = 1;
  const WindowHandle h = box.facts.handle;
  EXPECT_EQ(number(call(&Clkitem, u"CLKITEM", {s(id), u"Check", u"1", u"1"})), -1);
  EXPECT_TRUE(logged("click").empty());
  EXPECT_EQ(logged("focus"), (std::vector<std::string>{"focus " + hex(h)}));
  EXPECT_EQ(number(call(&Clkitem, u"CLKITEM", {s(id), u"Check", u"1", u"0"})), -1);
  EXPECT_EQ(logged("click").size(), 1u);
  EXPECT_EQ(controls.control(h).check, 0);
}

TEST_F(ControlBuiltinsTest, ThreeStateBoxReachesTheDesiredState) {
  platform::FakeControl& box = add(u"Button", u"Tri State", 150, 78, /*BS_AUTO3STATE*/ 6);
  const WindowHandle h = box.facts.handle;
  EXPECT_EQ(number(call(&Clkitem, u"CLKITEM", {s(id), u"Tri State", u"1", u"2"})), -1);
  EXPECT_EQ(controls.control(h).check, 2);  // 0 -> 1 -> 2: a second click
  EXPECT_EQ(logged("click").size(), 2u);
  EXPECT_EQ(number(call(&Chkbtn, u"CHKBTN", {s(id), u"Tri State"})), 2);
}

TEST_F(ControlBuiltinsTest, CheckStates) {
  add(u"Button", u"Off", 10, 10, 3).check = 0;
  add(u"Button", u"On", 10, 40, 3).check = 1;
  add(u"Button", u"Greyed", 10, 70, 3, /*enabled*/ false).check = 1;
  struct Case {
    std::u16string_view name;
    int64_t state;
  } cases[] = {{u"Off", 0}, {u"On", 1}, {u"Greyed", -1}, {u"Missing", -1}};
  for (const Case& c : cases) EXPECT_EQ(number(call(&Chkbtn, u"CHKBTN", {s(id), c.name})), c.state);
  EXPECT_TRUE(logged("click").empty());  // a query never clicks
}

TEST_F(ControlBuiltinsTest, ListBoxSelectsTheMatchingEntryAndNudges) {
  platform::FakeControl& list = add(u"ListBox", u"", 10, 110);
  list.items = {u"alpha", u"beta", u"gamma"};
  const WindowHandle h = list.facts.handle;
  EXPECT_EQ(number(call(&Clkitem, u"CLKITEM", {s(id), u"gamma", u"2"})), -1);
  EXPECT_EQ(controls.control(h).current, 2);
  EXPECT_EQ(logged("nudge"), (std::vector<std::string>{"nudge " + hex(h) + " 38 40"}));
  controls.log.clear();
  call(&Clkitem, u"CLKITEM", {s(id), u"alpha", u"2"});
  EXPECT_EQ(logged("nudge"), (std::vector<std::string>{"nudge " + hex(h) + " 40 38"}));
  EXPECT_EQ(number(call(&Clkitem, u"CLKITEM", {s(id), u"delta", u"2"})), 0);
}

TEST_F(ControlBuiltinsTest, BackgroundListClickParksThePointerBesideTheListAndPutsItBack) {
  platform::FakeControl& list = add(u"ListBox", u"", 10, 110);
  list.items = {u"alpha", u"beta", u"gamma"};
  for (const char16_t* kinds : {u"2", u"514"}) {  // CLK_LIST, CLK_LIST + CLK_BACK
    SCOPED_TRACE(std::string(kinds == std::u16string_view(u"2") ? "foreground" : "background"));
    input.cursor = {500, 400};
    input.log.clear();
    EXPECT_EQ(number(call(&Clkitem, u"CLKITEM", {s(id), u"gamma", kinds})), -1);
    std::vector<std::string> moves;
    for (const std::string& line : input.log)
      if (line.starts_with("cursor")) moves.push_back(line);
    if (kinds == std::u16string_view(u"2")) {
      EXPECT_TRUE(moves.empty());
    } else {
      EXPECT_EQ(moves, (std::vector<std::string>{"cursor 94,110", "cursor 500,400"}));
    }
  }
}

TEST_F(ControlBuiltinsTest, MultipleSelectionListTakesTabSeparatedNames) {
  platform::FakeControl& list = add(u"ListBox", u"", 10, 110, /*LBS_EXTENDEDSEL*/ 0x800);
  list.items = {u"one", u"two", u"three", u"four"};
  list.selected = {true, true, false, false};
  const WindowHandle h = list.facts.handle;
  EXPECT_EQ(number(call(&Clkitem, u"CLKITEM", {s(id), u"three\tone", u"2"})), -1);
  EXPECT_EQ(controls.control(h).selected, (std::vector<bool>{true, false, true, false}));
  EXPECT_EQ(call(&Getslctlst, u"GETSLCTLST", {s(id), u"1"}).toText(), u"one\tthree");
}

TEST_F(ControlBuiltinsTest, DropDownComboIsOpenedAndConfirmed) {
  platform::FakeControl& combo = add(u"ComboBox", u"", 160, 110, /*CBS_DROPDOWNLIST*/ 3);
  combo.items = {u"red", u"green"};
  const WindowHandle h = combo.facts.handle;
  EXPECT_EQ(number(call(&Clkitem, u"CLKITEM", {s(id), u"green", u"2"})), -1);
  EXPECT_EQ(logged("dropdown"), (std::vector<std::string>{"dropdown " + hex(h) + " 1"}));
  EXPECT_EQ(logged("key"), (std::vector<std::string>{"key " + hex(h) + " 13"}));
  EXPECT_EQ(call(&Getslctlst, u"GETSLCTLST", {s(id), u"1"}).toText(), u"green");
}

TEST_F(ControlBuiltinsTest, TabsAreMatchedNormalisedAndSelected) {
  platform::FakeControl& tab = add(u"SysTabControl32", u"", 320, 10);
  tab.items = {u"Main", u"Extra(&X)"};
  tab.current = 0;
  const WindowHandle h = tab.facts.handle;
  EXPECT_EQ(number(call(&Clkitem, u"CLKITEM", {s(id), u"Extra", u"8"})), -1);
  EXPECT_EQ(logged("tab"), (std::vector<std::string>{"tab " + hex(h) + " 1"}));
  EXPECT_EQ(controls.buffersOpened, 1);
  EXPECT_EQ(controls.buffersOpen, 0);  // freed when the call ended
}

class TreeTest : public ControlTest {
 protected:
  WindowHandle tree = 0;
  uint64_t root = 0, childA = 0, leaf = 0, childB = 0, leafB = 0;
  void SetUp() override {
    ControlTest::SetUp();
    add(u"ListBox", u"", 10, 110);                     // list 1
    add(u"ComboBox", u"", 160, 110);                   // list 2
    tree = add(u"SysTreeView32", u"", 320, 110).facts.handle;  // 3
    add(u"SysListView32", u"", 10, 220);               // 4
    root = controls.addNode(tree, 0, u"Root");
    childA = controls.addNode(tree, root, u"Child A");
    leaf = controls.addNode(tree, childA, u"Leaf");
    childB = controls.addNode(tree, root, u"Child B");
    leafB = controls.addNode(tree, childB, u"Leaf");
  }
};

TEST_F(TreeTest, AnchoredPathSelectsTheItemAndGetslctlstGivesItsPath) {
  EXPECT_EQ(number(call(&Clkitem, u"CLKITEM", {s(id), u"\\Root\\Child B\\Leaf", u"16"})), -1);
  EXPECT_EQ(controls.control(tree).caret, leafB);
  EXPECT_EQ(call(&Getslctlst, u"GETSLCTLST", {s(id), u"3"}).toText(), u"Root\\Child B\\Leaf");
  // A single name searches depth-first: the first Leaf.
  call(&Clkitem, u"CLKITEM", {s(id), u"leaf", u"16"});
  EXPECT_EQ(controls.control(tree).caret, leaf);
  // An anchored path starts at the roots only.
  EXPECT_EQ(number(call(&Clkitem, u"CLKITEM", {s(id), u"\\Child A", u"16"})), 0);
  EXPECT_EQ(number(call(&Clkitem, u"CLKITEM", {s(id), u"Child A\\Leaf", u"16"})), -1);
  EXPECT_EQ(controls.control(tree).caret, leaf);
}

TEST_F(TreeTest, CollapsedItemGetsTheExpandKeyAndItsCheckStateIsReported) {
  controls.control(tree).nodes[childA].state = 0x2000;  // state image 2: checked
  call(&Clkitem, u"CLKITEM", {s(id), u"Child A", u"16"});
  EXPECT_EQ(logged("key"), (std::vector<std::string>{"key " + hex(tree) + " 107"}));
  EXPECT_EQ(number(call(&Chkbtn, u"CHKBTN", {s(id), u"Child A"})), 1);
  EXPECT_EQ(number(call(&Chkbtn, u"CHKBTN", {s(id), u"Root"})), 0);
}

TEST_F(TreeTest, MouseOptionsGoToTheItemItself) {
  // CLK_TREEVIEW + CLK_MUSMOVE + CLK_LEFTCLK: the item is scrolled into view,
  // the pointer goes to its centre and it is clicked there.
  EXPECT_EQ(number(call(&Clkitem, u"CLKITEM", {s(id), u"Child B", u"3088"})), -1);
  const platform::WindowRect item = *controls.treeItemRect(*controls.openRemoteBuffer(tree), tree, childB);
  const auto [x, y] = CentreOf(item);
  EXPECT_EQ(logged("click"), (std::vector<std::string>{"click " + hex(tree) + " L " + std::to_string(x) + "," +
                                                       std::to_string(y)}));
  const auto origin = desktop.clientOrigin(tree);
  ASSERT_TRUE(origin.has_value());
  EXPECT_EQ(input.cursor, std::make_pair(origin->first + x, origin->second + y));
}

TEST_F(TreeTest, GetitemListsTreeItemsDepthFirst) {
  EXPECT_EQ(number(call(&Getitem, u"GETITEM", {s(id), u"16"})), 5);
  EXPECT_EQ(host.run(u"ALL_ITEM_LIST[3]").toText(), u"Child B");
}

TEST_F(ControlBuiltinsTest, ListViewRowsAreSelectedAndTheColumnListed) {
  platform::FakeControl& view = add(u"SysListView32", u"", 10, 220);
  view.headers = {u"Name", u"Size"};
  view.rows = {{u"Alpha", u"1"}, {u"Bravo", u"2"}, {u"Charlie", u"3"}};
  view.rowStates = {2, 0, 0};
  const WindowHandle h = view.facts.handle;
  EXPECT_EQ(number(call(&Clkitem, u"CLKITEM", {s(id), u"bravo", u"32"})), -1);
  EXPECT_EQ(controls.control(h).rowStates, (std::vector<uint32_t>{0, 3, 0}));
  EXPECT_EQ(logged("key"), (std::vector<std::string>{"key " + hex(h) + " 13"}));  // no check box, desired 1
  EXPECT_EQ(call(&Getslctlst, u"GETSLCTLST", {s(id), u"1", u"2"}).toText(), u"2");
  EXPECT_EQ(number(call(&Getitem, u"GETITEM", {s(id), u"32", u"1", u"2"})), 5);
  std::u16string listed;
  for (int i = 0; i < 5; ++i) listed += host.run(u"ALL_ITEM_LIST[" + num(i) + u"]").toText() + u",";
  EXPECT_EQ(listed, u"Name,Size,1,2,3,");
}

TEST_F(ControlBuiltinsTest, ListViewCheckBoxIsToggledWithSpace) {
  platform::FakeControl& view = add(u"SysListView32", u"", 10, 220);
  view.rows = {{u"Alpha"}, {u"Bravo"}};
  view.rowStates = {0x1000, 0x2000};  // unchecked, checked
  const WindowHandle h = view.facts.handle;
  call(&Clkitem, u"CLKITEM", {s(id), u"Alpha", u"32", u"1"});
  call(&Clkitem, u"CLKITEM", {s(id), u"Bravo", u"32", u"1"});
  EXPECT_EQ(logged("key"), (std::vector<std::string>{"key " + hex(h) + " 32"}));
  EXPECT_EQ(number(call(&Chkbtn, u"CHKBTN", {s(id), u"Bravo"})), 1);
}

class MenuTest : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    using platform::MenuItemFacts;
    controls.windowMenus[main] = 1;
    controls.menus[1].items = {{u"&File", 0, 2, 0}, {u"&Edit", 0, 3, 0}};
    controls.menus[2].items = {{u"&Open...\tCtrl+O", 101, 0, 0}, {u"Save &As...", 102, 0, 0},
                               {u"Print", 103, 0, MenuItemFacts::kGrayed}, {u"E&xit", 104, 0, 0}};
    controls.menus[3].items = {{u"&Wrap", 201, 0, MenuItemFacts::kChecked}, {u"Exit", 202, 0, 0}};
  }
  std::vector<std::string> commands() { return logged("command"); }
};

TEST_F(MenuTest, PathsAndNamesFindTheirItems) {
  const std::string w = hex(main);
  struct Case {
    std::u16string_view name, desired;
    int64_t result;
    std::vector<std::string> sent;
  } cases[] = {
      {u"File\\Exit", u"1", -1, {"command " + w + " 104"}},
      {u"Edit\\Exit", u"1", -1, {"command " + w + " 202"}},
      {u"Save As", u"1", -1, {"command " + w + " 102"}},
      {u"Open", u"1", -1, {"command " + w + " 101"}},
      {u"Print", u"1", 0, {}},                      // greyed: never sent
      {u"File\\Print", u"1", 0, {}},
      {u"Wrap", u"1", -1, {}},                      // already checked
      {u"Wrap", u"0", -1, {"command " + w + " 201"}},
      {u"Exit", u"1", -1, {"command " + w + " 104"}},  // depth-first: File's Exit first
  };
  for (const Case& c : cases) {
    controls.log.clear();
    EXPECT_EQ(number(call(&Clkitem, u"CLKITEM", {s(id), c.name, u"4", c.desired})), c.result) << utf16ToUtf8(c.name);
    EXPECT_EQ(commands(), c.sent) << utf16ToUtf8(c.name);
  }
  controls.log.clear();
  call(&Clkitem, u"CLKITEM", {s(id), u"Exit", u"4", u"1", u"2"});
  EXPECT_EQ(commands(), (std::vector<std::string>{"command " + w + " 202"}));
  EXPECT_FALSE(logged("initpopup").empty());
}

TEST_F(MenuTest, MenuBarItemIsClickedWithTheMouseInsideTheDesktop) {
  controls.frames = &desktop;
  desktop.window(main).rect = {-100, 50, 500, 450};  // near the desktop's left edge
  EXPECT_EQ(number(call(&Clkitem, u"CLKITEM", {s(id), u"File", u"4"})), -1);
  ASSERT_EQ(desktop.moves.size(), 1u);
  EXPECT_EQ(desktop.moves[0].x, -100 + 108);  // the item's left edge 8 pixels inside
  const std::vector<std::string> mouse = input.entries("mouse");
  ASSERT_EQ(mouse.size(), 2u);
  EXPECT_EQ(input.entries("cursor").back(), "cursor 13,75");  // the moved item's top-left + (5, 5)
  EXPECT_TRUE(commands().empty());
}

TEST_F(MenuTest, GetitemAndMenuHandles) {
  EXPECT_EQ(number(call(&Getitem, u"GETITEM", {s(id), u"4"})), 8);
  EXPECT_EQ(host.run(u"ALL_ITEM_LIST[1]").toText(), u"Open");
  EXPECT_EQ(number(call(&Getctlhnd, u"GETCTLHND", {s(id), u"__GET_MENU_HND__"})), 1);
}

TEST_F(ControlBuiltinsTest, TextsOfEditsStaticsStatusBarsAndTheClipboard) {
  platform::FakeControl& edit = add(u"Edit", u"", 10, 10);
  add(u"Static", u"Label:", 10, 40);
  platform::FakeControl& bar = add(u"msctls_statusbar32", u"", 0, 400);
  bar.items = {u"One", u"Two", std::u16string(5000, u'x')};
  const WindowHandle e = edit.facts.handle;
  call(&Sendstr, u"SENDSTR", {s(id), u"x", u"1", u"1"});
  EXPECT_EQ(call(&Getstr, u"GETSTR", {s(id), u"1"}).toText(), u"x");
  call(&Sendstr, u"SENDSTR", {s(id), u"yz", u"1", u"0"});  // appends
  EXPECT_EQ(controls.control(e).text, u"xyz");
  EXPECT_EQ(call(&Getstr, u"GETSTR", {s(id), u"1", u"1"}).toText(), u"Label:");
  EXPECT_EQ(call(&Getstr, u"GETSTR", {s(id), u"0", u"1"}).toText(), u"CtlHost");
  EXPECT_EQ(call(&Getstr, u"GETSTR", {s(id), u"2", u"2"}).toText(), u"Two");
  EXPECT_EQ(call(&Getstr, u"GETSTR", {s(id), u"3", u"2"}).toText().size(), 5000u);
  EXPECT_TRUE(call(&Getstr, u"GETSTR", {s(id), u"4", u"2"}).isEmpty());
  // With the mouse flag the pointer goes to the part read, not to the bar.
  call(&Getstr, u"GETSTR", {s(id), u"2", u"2", u"1"});
  const platform::WindowRect part = *controls.statusPartRect(*controls.openRemoteBuffer(bar.facts.handle),
                                                              bar.facts.handle, 1);
  const auto origin = desktop.clientOrigin(bar.facts.handle);
  ASSERT_TRUE(origin.has_value());
  EXPECT_EQ(input.cursor, std::make_pair(origin->first + CentreOf(part).first, origin->second + CentreOf(part).second));
  call(&Sendstr, u"SENDSTR", {u"0", u"clip"});
  EXPECT_EQ(call(&Getstr, u"GETSTR", {u"0"}).toText(), u"clip");
}

TEST_F(ControlBuiltinsTest, SendstrTypesIntoTheFocusedControl) {
  const WindowHandle e = add(u"Edit", u"", 10, 10).facts.handle;
  controls.focusedIn = e;
  call(&Sendstr, u"SENDSTR", {s(id), u"a\r\nb"});
  EXPECT_EQ(logged("char"), (std::vector<std::string>{"char " + hex(e) + " 97", "char " + hex(e) + " 13",
                                                       "char " + hex(e) + " 98"}));
  EXPECT_EQ(logged("modified").size(), 1u);
}

TEST_F(ControlBuiltinsTest, SlidersReadAndMove) {
  platform::FakeControl& track = add(u"msctls_trackbar32", u"", 320, 220);
  track.slider = platform::SliderState{0, 100, 10, 5, false};
  platform::FakeControl& vertical = add(u"msctls_trackbar32", u"", 320, 260);
  vertical.slider = platform::SliderState{0, 50, 5, 0, true};
  desktop.window(main).rect = {0, 0, 600, 500};
  controls.windowScrolls[{main, true}] = platform::SliderState{0, 9, 1, 2, true};
  platform::FakeControl self;  // the window's own facts: a vertical scroll bar
  self.facts = {main, 0, u"CtlHost", u"CtlHost", {0, 0, 600, 500}, true, true, 0x10000000 | 0x00200000};
  controls.add(self);
  EXPECT_EQ(number(call(&Getslider, u"GETSLIDER", {s(id), u"1"})), 5);
  EXPECT_EQ(number(call(&Getslider, u"GETSLIDER", {s(id), u"2", u"4"})), 1);  // SLD_BAR
  EXPECT_EQ(number(call(&Getslider, u"GETSLIDER", {s(id), u"1", u"2"})), 100);
  EXPECT_EQ(number(call(&Getslider, u"GETSLIDER", {s(id), u"3"})), 2);  // the window's own, last
  EXPECT_EQ(number(call(&Getslider, u"GETSLIDER", {s(id), u"4"})), -999999);
  EXPECT_EQ(number(call(&Setslider, u"SETSLIDER", {s(id), u"-10000000"})), 5);
  EXPECT_TRUE(logged("sliderpos").empty());
  EXPECT_EQ(number(call(&Setslider, u"SETSLIDER", {s(id), u"20"})), -1);
  EXPECT_EQ(controls.control(track.facts.handle).slider->position, 20);
  EXPECT_EQ(number(call(&Setslider, u"SETSLIDER", {s(id), u"7", u"3"})), -1);
  EXPECT_EQ((controls.windowScrolls[{main, true}].position), 7);
  EXPECT_EQ(logged("scroll").size(), 5u);
}

TEST_F(ControlBuiltinsTest, GetctlhndFindsByTitleThenByClass) {
  add(u"Button", u"&OK", 10, 10);
  const WindowHandle second = add(u"Button", u"OK", 10, 40).facts.handle;
  const WindowHandle edit = add(u"Edit", u"", 10, 70).facts.handle;
  EXPECT_EQ(number(call(&Getctlhnd, u"GETCTLHND", {s(id), u"OK", u"2"})), static_cast<int64_t>(second));
  EXPECT_EQ(number(call(&Getctlhnd, u"GETCTLHND", {s(id), u"edit"})), static_cast<int64_t>(edit));
  EXPECT_EQ(number(call(&Getctlhnd, u"GETCTLHND", {s(id), u"Nothing"})), 0);
}

TEST_F(ControlBuiltinsTest, AccessibilityOnlyModesNeedTheEngine) {
  // A build with accessibility trees installs the engine at registration:
  // take it out for this test and put it back after.
  struct WithoutEngine {
    AccessibleItems* saved = InstalledAccessibleItems();
    WithoutEngine() { InstallAccessibleItems(nullptr); }
    ~WithoutEngine() { InstallAccessibleItems(saved); }
  } withoutEngine;
  add(u"Button", u"OK", 10, 10);
  EXPECT_THROW(call(&Clkitem, u"CLKITEM", {s(id), u"OK", u"32768"}), engine::ScriptError);
  EXPECT_THROW(call(&Chkbtn, u"CHKBTN", {s(id), u"OK", u"1", u"1"}), engine::ScriptError);
  EXPECT_THROW(call(&Getstr, u"GETSTR", {s(id), u"1", u"3"}), engine::ScriptError);
  // The default kinds include the accessibility search: a miss is FALSE, not an error.
  EXPECT_EQ(number(call(&Clkitem, u"CLKITEM", {s(id), u"Missing"})), 0);
}

TEST_F(ControlBuiltinsTest, DisabledControlsAndHiddenOnes) {
  add(u"Button", u"Off", 10, 10, 0, /*enabled*/ false);
  EXPECT_EQ(number(call(&Clkitem, u"CLKITEM", {s(id), u"Off", u"1"})), 0);
  EXPECT_EQ(number(call(&Getitem, u"GETITEM", {s(id), u"1"})), 1);      // disabled ones count by default
  EXPECT_EQ(number(call(&Getitem, u"GETITEM", {s(id), u"1", u"0", u"0", u"1"})), 0);  // enabled only
}

TEST_F(ControlBuiltinsTest, ToolBarButtonsAreClickedAtTheirCentre) {
  using platform::ToolButtonFacts;
  platform::FakeControl& bar = add(u"ToolbarWindow32", u"", 10, 330);
  bar.toolButtons = {{{201, ToolButtonFacts::kEnabled, 0}, u"&New"},
                     {{202, 0, 0}, u"Open"},  // disabled: skipped
                     {{203, ToolButtonFacts::kEnabled | ToolButtonFacts::kHidden, 0}, u"Open"},
                     {{204, ToolButtonFacts::kEnabled | ToolButtonFacts::kChecked, 0}, u"Bold"}};
  const std::string h = hex(bar.facts.handle);
  EXPECT_EQ(number(call(&Clkitem, u"CLKITEM", {s(id), u"open", u"64"})), -1);
  EXPECT_EQ(logged("toolshow"), (std::vector<std::string>{"toolshow " + h + " 203"}));  // made visible first
  EXPECT_EQ(logged("click"), (std::vector<std::string>{"click " + h + " L 100,10"}));
  controls.log.clear();
  call(&Clkitem, u"CLKITEM", {s(id), u"Bold", u"64", u"1"});  // already checked: only the hot item
  EXPECT_TRUE(logged("click").empty());
  EXPECT_EQ(logged("toolhot"), (std::vector<std::string>{"toolhot " + h + " 3"}));
  call(&Clkitem, u"CLKITEM", {s(id), u"Bold", u"64", u"0"});
  EXPECT_EQ(logged("toolpress"), (std::vector<std::string>{"toolpress " + h + " 204 0"}));
  EXPECT_EQ(logged("toolcheck"), (std::vector<std::string>{"toolcheck " + h + " 204 0"}));
  EXPECT_EQ(number(call(&Getitem, u"GETITEM", {s(id), u"64"})), 4);
  EXPECT_EQ(host.run(u"ALL_ITEM_LIST[0]").toText(), u"New");
}

TEST_F(ControlBuiltinsTest, RemoteBufferIsRefusedCleanly) {
  platform::FakeControl& tab = add(u"SysTabControl32", u"", 320, 10);
  tab.items = {u"Main"};
  controls.remoteAllowed = false;
  EXPECT_EQ(number(call(&Clkitem, u"CLKITEM", {s(id), u"Main", u"8"})), 0);
  EXPECT_EQ(number(call(&Getitem, u"GETITEM", {s(id), u"8"})), 0);
}

}  // namespace
}  // namespace maqo::automation::testing
