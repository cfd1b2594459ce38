// OPTION lines: flags, settings with values, the host settings they change
// and what the end of the run puts back.
#include <gtest/gtest.h>

#include "tests/unit/engine/builder/builder_test_support.h"

namespace maqo::engine::builder_test {
namespace {

TEST_F(BuilderTest, SeveralFlagsOnOneLine) {
  buildMain({u"OPTION EXPLICIT, SAMESTR"});
  EXPECT_TRUE(program.Options.explicitVariables);
  EXPECT_TRUE(program.Options.sameStr);
  EXPECT_FALSE(program.Options.shortCircuit);
  EXPECT_EQ(body(), std::vector<std::string>{"0 "}) << "an OPTION line leaves an empty statement";
}

TEST_F(BuilderTest, OptionsThatActOnTheHostAtOnce) {
  buildMain({u"OPTION TOPSTOPFORM, NOSTOPHOTKEY", u"OPTION POSITION=10,20, EXPLICIT"});
  EXPECT_TRUE(host.stopFormOnTop);
  EXPECT_FALSE(host.stopHotkeyRegistered);
  EXPECT_EQ(host.stopFormPosition, std::make_pair(10, 20));
  EXPECT_TRUE(program.Options.explicitVariables) << "POSITION takes only the next item";
  // A position that is not a pair of integers is ignored, not an error.
  host.stopFormPosition.reset();
  buildMain({u"OPTION POSITION=A,20"});
  EXPECT_EQ(program.firstErrorLine(), -1);
  EXPECT_FALSE(host.stopFormPosition.has_value());
}

TEST_F(BuilderTest, InvalidOptionValues) {
  for (const char16_t* line : {u"OPTION LOGLINES=-1", u"OPTION LOGLINES=X", u"OPTION LOGFILE=1.5", u"OPTION LOGPATH=",
                               u"OPTION LOGPATH=\"\"", u"OPTION DEFAULTFONT=ARIAL,BIG", u"OPTION EXPLICIT=1",
                               u"OPTION NOSUCH"}) {
    buildMain({line});
    EXPECT_EQ(firstError(), "OPTION:SyntaxError") << utf16ToUtf8(line);
  }
  buildMain({u"OPTION NOSUCH"}, true);
  EXPECT_EQ(utf16ToUtf8(program.ScriptLines[1]), "__MAQO_ERROR_ARI__OPTION指定に間違いがあります");
}

TEST_F(BuilderTest, LogOptions) {
  buildMain({u"OPTION LOGFILE=3"});
  EXPECT_EQ(host.logFileMode, 3);
  EXPECT_EQ(host.logClears, 0);
  buildMain({u"OPTION LOGFILE=6"});
  EXPECT_EQ(host.logFileMode, 6);
  EXPECT_EQ(host.logClears, 1) << "the bit of value 4 starts a new log";
  buildMain({u"OPTION LOGPATH=\"C:\\Logs, old\\\""});
  EXPECT_EQ(host.logPath, u"C:\\Logs, old\\");
  EXPECT_EQ(program.Options.logPath, u"C:\\Logs, old\\");
  EXPECT_EQ(host.logClears, 2);
}

TEST_F(BuilderTest, SecondOptionOfASettingKeepsTheHostsOriginalForTheEnd) {
  host.logLineLimit = 400;
  host.dialog = {u"HOST FONT", 9};
  host.log = {u"LOG FONT", 10};
  buildMain({u"OPTION LOGLINES=100", u"OPTION LOGLINES=200", u"OPTION DEFAULTFONT=A,11",
             u"OPTION DEFAULTFONT=B,12"});
  EXPECT_EQ(host.logLineLimit, 200);
  EXPECT_EQ(host.dialog, (FontSetting{u"B", 12}));
  EXPECT_EQ(program.Options.savedLogLines, 400);
  RestoreOptionChanges(program.Options, host);
  EXPECT_EQ(host.logLineLimit, 400);
  EXPECT_EQ(host.dialog, (FontSetting{u"HOST FONT", 9}));
  EXPECT_EQ(host.log, (FontSetting{u"LOG FONT", 10}));
}

TEST_F(BuilderTest, DefaultFontForms) {
  struct Case {
    std::u16string line;
    FontSetting font;
  };
  const Case cases[] = {
      {u"OPTION DEFAULTFONT=\"MS Gothic\",12", {u"MS Gothic", 12}},
      {u"OPTION DEFAULTFONT=\"MS Gothic,12\"", {u"MS Gothic", 12}},
      {u"OPTION DEFAULTFONT=ARIAL, 10, EXPLICIT", {u"ARIAL", 10}},
      {u"OPTION DEFAULTFONT=\"Font, With Comma\",8", {u"Font, With Comma", 8}},
  };
  for (const auto& c : cases) {
    buildMain({c.line});
    SCOPED_TRACE(utf16ToUtf8(c.line));
    EXPECT_EQ(program.firstErrorLine(), -1) << firstError();
    EXPECT_EQ(host.dialog, c.font);
  }
  buildMain({u"OPTION DEFAULTFONT=ARIAL,10, EXPLICIT"});
  EXPECT_TRUE(program.Options.explicitVariables) << "the size is the one item DEFAULTFONT takes";
  buildMain({u"OPTION DEFAULTFONT=ARIAL,BIG"});
  EXPECT_EQ(host.dialog, (FontSetting{u"ARIAL", -1}));
}

TEST_F(BuilderTest, DialogTitle) {
  buildMain({u"OPTION DLGTITLE=\"Title, with comma\", SAMESTR"});
  EXPECT_EQ(program.Options.dialogTitle, u"Title, with comma");
  EXPECT_TRUE(program.Options.sameStr);
  buildMain({u"OPTION DLGTITLE=\"A<#CR>B<#TAB>C\""});
  EXPECT_EQ(program.Options.dialogTitle, u"A\r\nB\tC");
}

}  // namespace
}  // namespace maqo::engine::builder_test
