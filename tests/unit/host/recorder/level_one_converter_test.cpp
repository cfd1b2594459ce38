#include "host/recorder/level_one_converter.h"

#include <gtest/gtest.h>

#include "tests/unit/host/recorder/fake_surroundings.h"

namespace maqo::host::recorder {
namespace {

using Lines = std::vector<std::u16string>;

constexpr WindowHandle kDialog = 20, kOkButton = 21, kMenu = 30, kEditor = 40;

class LevelOneConverterTest : public ::testing::Test {
 protected:
  LevelOneConverterTest() {
    s.table.windows[kDialog] = {u"Options, \"new\"", u"#32770", {0, 0, 300, 200}};
    s.table.windows[kOkButton] = {u"OK", u"Button", {10, 10, 60, 30}};
    s.table.windows[kMenu] = {u"", u"#32768", {0, 0, 100, 100}};
    s.table.windows[kEditor] = {u"Doc", u"Notepad", {0, 0, 500, 500}};
    s.under[{20, 20}] = kOkButton;
    s.topLevel[kOkButton] = kDialog;
    ClickFacts ok;
    ok.accessible = AccessibleResult::Found;
    ok.role = kRolePushButton;
    ok.name = u"OK";
    ok.classUnder = u"Button";
    ok.classTop = u"#32770";
    ok.titleUnder = u"OK";
    ok.buttonIndex = 1;
    s.clicks[{20, 20}] = ok;
  }

  Lines Feed(LevelOneConverter& converter, std::initializer_list<const char16_t*> records) {
    for (const char16_t* text : records) {
      const auto record = ParseEventRecord(text, false);
      EXPECT_TRUE(record);
      if (record) converter.convert(*record, lines);
    }
    return lines;
  }

  FakeSurroundings s;
  Lines lines;
};

TEST_F(LevelOneConverterTest, ClickInANewWindowWritesWindowLinePauseAndClick) {
  LevelOneConverter converter(s, {});
  s.changedText = TextEntryChange{u"typed", 1, 2};
  Feed(converter, {u"M,513,20,20", u"M,514,20,20", u"M,513,20,20"});
  EXPECT_EQ(lines, (Lines{u"SENDSTR(id, \"typed\", 2, True)", u"id = GETID(\"Options, <#DBL>new<#DBL>\", \"#32770\", -1)",
                          u"SLEEP(1)", u"CLKITEM(id, \"OK\", CLK_BTN)", u"CLKITEM(id, \"OK\", CLK_BTN)"}));
  EXPECT_EQ(s.commandTargets, (std::vector<WindowHandle>{kDialog}));
  EXPECT_EQ(s.watchesStarted, (std::vector<WindowHandle>{kDialog}));
}

TEST_F(LevelOneConverterTest, SystemCommandsBecomeWindowCommands) {
  LevelOneConverter converter(s, {});
  Feed(converter, {u"S,61472,40", u"S,61728,40", u"S,61728,40", u"S,12345,40", u"S,61536,30"});
  EXPECT_EQ(lines, (Lines{u"id = GETID(\"Doc\", \"Notepad\", -1)", u"SLEEP(1)", u"CTRLWIN(id, MIN)",
                          u"CTRLWIN(id, NORMAL)", u"CTRLWIN(id, CLOSE)"}));
}

TEST_F(LevelOneConverterTest, PendingMenuCommandIsPostedBeforeTheNextWindowLine) {
  LevelOneConverter converter(s, {2});
  s.table.foreground = kEditor;
  Feed(converter, {u"K", u"C, 40001", u"M,513,20,20"});
  EXPECT_EQ(lines, (Lines{u"id = GETID(\"Doc\", \"Notepad\", -1)", u"PostMessageA(IDTOHND(id), WM_COMMAND, 40001, 0)",
                          u"// PostMessageA(IDTOHND(id), WM_COMMAND, 40001, 0)",
                          u"id = GETID(\"Options, <#DBL>new<#DBL>\", \"#32770\", -1)", u"SLEEP(1)",
                          u"CLKITEM(id, \"OK\", CLK_BTN)"}));
}

TEST_F(LevelOneConverterTest, MenuItemFoundInTheMenuReplacesTheOpeningClicks) {
  LevelOneConverter converter(s, {});
  s.table.foreground = kEditor;
  s.under[{50, 50}] = kMenu;
  ClickFacts item;
  item.accessible = AccessibleResult::Found;
  item.role = kRoleMenuItem;
  item.name = u"Save";
  item.classTop = u"#32768";
  item.menuChecked = false;
  s.clicks[{50, 50}] = item;
  Feed(converter, {u"K"});
  lines.push_back(u"CLKITEM(id, \"File\", CLK_TOOLBAR)");
  lines.push_back(u"CLKITEM(id, \"x\", CLK_ACC or CLK_BACK or CLK_MUSMOVE)");
  Feed(converter, {u"M,513,50,50"});
  EXPECT_EQ(lines, (Lines{u"id = GETID(\"Doc\", \"Notepad\", -1)", u"SLEEP(1)", u"CLKITEM(id, \"Save\", CLK_MENU, False)"}));
}

}  // namespace
}  // namespace maqo::host::recorder
