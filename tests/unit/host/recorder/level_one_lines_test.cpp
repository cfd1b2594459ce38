#include "host/recorder/level_one_lines.h"

#include <gtest/gtest.h>

namespace maqo::host::recorder {
namespace {

ClickFacts Found(int role, std::u16string name, std::u16string classUnder = u"Button",
                 std::u16string classTop = u"#32770") {
  ClickFacts facts;
  facts.accessible = AccessibleResult::Found;
  facts.role = role;
  facts.name = std::move(name);
  facts.classUnder = std::move(classUnder);
  facts.classTop = std::move(classTop);
  facts.titleUnder = u"x";
  return facts;
}

template <typename Change>
ClickFacts With(ClickFacts facts, Change change) {
  change(facts);
  return facts;
}

TEST(RecorderClickLine, DecisionListByRoleAndCounts) {
  const struct {
    const char* name;
    ClickFacts facts;
    const char16_t* expected;  // null: no line
  } cases[] = {
      {"button found once", With(Found(kRolePushButton, u"OK"), [](auto& f) { f.buttonIndex = 1; }),
       u"CLKITEM(id, \"OK\", CLK_BTN)"},
      {"third button of that name, right click",
       With(Found(kRolePushButton, u"OK"), [](auto& f) { f.buttonIndex = 3; f.click = ClickKind::Right; }),
       u"CLKITEM(id, \"OK\", CLK_BTN or CLK_RIGHTCLK, True, 3)"},
      {"check box checked, second of its name",
       With(Found(kRoleCheckBox, u"Wrap"), [](auto& f) { f.buttonIndex = 2; f.state = kStateChecked; }),
       u"CLKITEM(id, \"Wrap\", CLK_BTN, True, 2)"},
      {"check box mixed", With(Found(kRoleCheckBox, u"Wrap"), [](auto& f) { f.buttonIndex = 1; f.state = kStateMixed; }),
       u"CLKITEM(id, \"Wrap\", CLK_BTN, 2)"},
      {"check box without a button control", With(Found(kRoleCheckBox, u"Wrap"), [](auto& f) { f.sameNameIndex = 4; }),
       u"CLKITEM(id, \"Wrap\", CLK_ACC, False, 4)"},
      {"accessible button, second of its name", With(Found(kRolePushButton, u"Go", u"Static"), [](auto& f) { f.sameNameIndex = 2; }),
       u"CLKITEM(id, \"Go\", CLK_ACC, True, 2)"},
      {"accessible button, first of its name, double click",
       With(Found(kRolePushButton, u"Go", u"Static"), [](auto& f) { f.sameNameIndex = 1; f.click = ClickKind::Double; }),
       u"CLKITEM(id, \"Go\", CLK_ACC or CLK_DBLCLK)"},
      {"button inside an edit-like control writes nothing", Found(kRolePushButton, u"Go", u"ComboBox"), nullptr},
      {"tool bar button in a view control", Found(kRolePushButton, u"Back", u"ToolbarWindow32", u"ViewControlClass"),
       u"CLKITEM(id, \"Back\", CLK_ACC or CLK_BACK)"},
      {"task bar button", With(Found(kRolePushButton, u"App", u"ToolbarWindow32", u"Shell_TrayWnd"), [](auto& f) { f.titleUnder.clear(); }),
       u"CLKITEM(id, \"App\", CLK_TOOLBAR)"},
      {"task bar button of a 64-bit program",
       With(Found(kRolePushButton, u"App", u"ToolbarWindow32", u"Shell_TrayWnd"), [](auto& f) { f.titleUnder.clear(); f.sixtyFourBit = true; }),
       u"CLKITEM(id, \"App\", CLK_ACC)"},
      {"start button", With(Found(kRolePushButton, u"Start", u"Button", u"Button"), [](auto& f) { f.topParentClass = u"Shell_TrayWnd"; }),
       u"CLKITEM(id, \"Start\", CLK_ACC or CLK_BACK)"},
      {"caption button of a 64-bit window",
       With(Found(kRolePushButton, u"Minimize"), [](auto& f) { f.clickOnTopLevel = true; f.sixtyFourBit = true; }),
       u"CTRLWIN(id, MIN)"},
      {"caption button of a 32-bit window", With(Found(kRolePushButton, u"Close"), [](auto& f) { f.clickOnTopLevel = true; }), nullptr},
      {"list view item", Found(kRoleListItem, u"a.txt", u"SysListView32"), u"CLKITEM(id, \"a.txt\", CLK_LSTVEW or CLK_LEFTCLK)"},
      {"list view item, double click in an explorer window",
       With(Found(kRoleListItem, u"a.txt", u"SysListView32", u"CabinetWClass"), [](auto& f) { f.click = ClickKind::Double; }), nullptr},
      {"list box item found, second of its name", With(Found(kRoleListItem, u"Red", u"ListBox"), [](auto& f) { f.listIndex = 2; }),
       u"CLKITEM(id, \"Red\", CLK_LIST, True, 2)"},
      {"list item not found", Found(kRoleListItem, u"Red", u"ListBox"), u"CLKITEM(id, \"Red\", CLK_ACC)"},
      {"nameless list item", With(Found(kRoleListItem, u"", u"ListBox"), [](auto& f) { f.accessible = AccessibleResult::None; }),
       u"CLKITEM(id, ItemName, CLK_LIST) // Mend ItemName by yourself."},
      {"nameless drop-down button named by its window",
       With(Found(kRoleDropDownButton, u""), [](auto& f) { f.accessible = AccessibleResult::None; f.titleUnder = u"Pick"; f.buttonIndex = 1; }),
       u"CLKITEM(id, \"Pick\", CLK_BTN)"},
      {"nothing accessible there", With(Found(kRolePushButton, u"x"), [](auto& f) { f.accessible = AccessibleResult::None; }), nullptr},
      {"click into a watched text field", With(Found(kRolePushButton, u"x"), [](auto& f) { f.accessible = AccessibleResult::Skip; }), nullptr},
      {"tab found", With(Found(kRolePageTab, u"General", u"SysTabControl32"), [](auto& f) { f.tabFound = true; }),
       u"CLKITEM(id, \"General\", CLK_TAB)"},
      {"tab in a 64-bit ribbon", With(Found(kRolePageTab, u"Home", u"NetUIHWND"), [](auto& f) { f.sixtyFourBit = true; }),
       u"CLKITEM(id, \"Home\", CLK_ACC)"},
      {"tree item", Found(kRoleOutlineItem, u"Node", u"SysTreeView32"), u"CLKITEM(id, \"Node\", CLK_TREEVEW or CLK_LEFTCLK)"},
      {"drop-down button", Found(kRoleDropDownButton, u"More", u"Static"), u"CLKITEM(id, \"More\", CLK_ACC or CLK_BACK)"},
      {"multi-line drop-down button", Found(kRoleMenuButton, u"a\nb\n", u"Static"), u"CLKITEM(id, \"a\"+CHR(10)+\"b\", CLK_ACC)"},
      {"drop-down button, right click", With(Found(kRoleDropDownGrid, u"More"), [](auto& f) { f.click = ClickKind::Right; }), nullptr},
      {"link in a forms window", Found(kRoleLink, u"Help", u"WindowsForms10.LinkLabel"), u"CLKITEM(id, \"Help\", CLK_ACC or CLK_LEFTCLK)"},
      {"browser check box", With(Found(kRoleCheckBox, u"Agree", u"x", u"MozillaWindowClass"), [](auto& f) { f.state = kStateChecked; }),
       u"CLKITEM(id, \"Agree\", CLK_ACC, True)"},
      {"browser menu", Found(kRolePushButton, u"File", u"x", u"MozillaDropShadowWindowClass"),
       u"ClkItem(id, MenuName, CLK_ACC or CLK_BACK) // Mend MenuName by yourself."},
      {"client area of an MDI child named as the child",
       With(Found(kRoleClient, u"Doc1", u"x"), [](auto& f) { f.inMdiChild = true; f.mdiChildTitle = u"Doc1"; }), nullptr},
      {"any other role", Found(22, u"Cell", u"x"), u"CLKITEM(id, \"Cell\", CLK_ACC)"},
  };
  for (const auto& c : cases) {
    const auto line = ChooseClickLine(c.facts);
    if (c.expected) EXPECT_EQ(line, std::optional<std::u16string>(c.expected)) << c.name;
    else EXPECT_FALSE(line) << c.name;
  }
}

TEST(RecorderClickLine, ItemNamesWithLineBreaksAndNuls) {
  bool multiLine = false;
  EXPECT_EQ(QuotedItemName(u"\na\nb \n", &multiLine), u"\"a\"+CHR(10)+\"b\"");
  EXPECT_TRUE(multiLine);
  EXPECT_EQ(QuotedItemName(std::u16string(u" a\0b ", 5), &multiLine), u"\" ab \"");
  EXPECT_FALSE(multiLine);
}

TEST(RecorderSendString, KindsEscapesAndTheCut) {
  EXPECT_EQ(SendStringLine(u"a\"b\tc\r\nd", 1, 2, false), u"SENDSTR(id, \"a<#DBL>b<#TAB>c<#CR>d\", 2, True)");
  EXPECT_EQ(SendStringLine(u"x", 2, 1, false), u"SENDSTR(id, \"x\", 1, True, True)");
  const std::u16string typed(300, u'q');
  EXPECT_EQ(SendStringLine(typed, 1, 1, false),
            u"SENDSTR(id, \"" + std::u16string(255, u'q') + u"...\", 1, True) // 255 characters or more");
  EXPECT_EQ(SendStringLine(std::u16string(255, u'q'), 1, 1, false),
            u"SENDSTR(id, \"" + std::u16string(255, u'q') + u"\", 1, True)");
}

TEST(RecorderLevelOneTrailer, DropsTaskBarTailAndDeclaresPostedCommands) {
  using Lines = std::vector<std::u16string>;
  EXPECT_EQ(FinishLevelOne({u"id = GETID(\"Doc\", \"Notepad\", -1)", u"CLKITEM(id, \"OK\", CLK_BTN)",
                            u"id = GETID(\"\", \"Shell_TrayWnd\", -1)", u"SLEEP(1)",
                            u"CLKITEM(id, \"Recding...\", CLK_TOOLBAR)", u"id = GETID(\"\", \"Shell_TrayWnd\", -1)"},
                           u"Recding..."),
            (Lines{u"id = GETID(\"Doc\", \"Notepad\", -1)", u"CLKITEM(id, \"OK\", CLK_BTN)"}));
  EXPECT_EQ(FinishLevelOne({u"PostMessageA(IDTOHND(id), WM_COMMAND, 40001, 0)"}, u"Recding..."),
            (Lines{u"DEF_DLL PostMessageA(Hwnd,Long,Long,Dword):Bool:user32", u"WM_COMMAND = $111",
                   u"PostMessageA(IDTOHND(id), WM_COMMAND, 40001, 0)"}));
  EXPECT_EQ(FinishLevelOne({u"SLEEP(1)"}, u"Recding..."), Lines{});
}

}  // namespace
}  // namespace maqo::host::recorder
