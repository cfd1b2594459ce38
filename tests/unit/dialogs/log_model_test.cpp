// The log window's pure logic: the line limit from the settings, the kept
// lines, when the memo is rewritten, the log file's line forms and where the
// log file goes.
#include <gtest/gtest.h>

#include <set>

#include "dialogs/log/log_lines.h"
#include "dialogs/log/log_path.h"
#include "platform/text_codec.h"

namespace maqo::dialogs {
namespace {

TEST(LogLinesSetting, ClampsToTheUsableRange) {
  const struct {
    std::u16string_view text;
    int expected;
  } cases[] = {
      {u"", 2000},       {u"abc", 2000},     {u"0", 2000},          {u"-5", 2000},
      {u"1", 1},         {u"100", 100},      {u" 300 ,x", 300},     {u"100000", 100000},
      {u"100001", 100000}, {u"99999999999999999999", 100000}, {u"12abc", 2000}, {u"1.5", 2000},
  };
  for (const auto& c : cases)
    EXPECT_EQ(LogLinesFromSetting(c.text), c.expected) << std::string(c.text.begin(), c.text.end());
}

TEST(KeptLines, KeepsTheNewestLinesUpToTheLimit) {
  KeptLines kept(100);
  for (int i = 1; i <= 111; ++i) kept.add(utf8ToUtf16(std::to_string(i)));
  EXPECT_EQ(kept.size(), 100u);
  EXPECT_EQ(kept.lines().front(), u"12") << "lines 12-111 stay";
  EXPECT_EQ(kept.lines().back(), u"111");

  kept.setLimit(3);
  EXPECT_EQ(kept.joined(), u"109\r\n110\r\n111") << "a lower limit drops the oldest at once";
  kept.setLimit(0);
  kept.add(u"newest");
  EXPECT_EQ(kept.joined(), u"newest") << "the newest line is always kept";
}

TEST(KeptLines, MemoIsRewrittenPastALimitAndATenth) {
  EXPECT_FALSE(MemoNeedsRewrite(110, 100));
  EXPECT_TRUE(MemoNeedsRewrite(111, 100));
  EXPECT_FALSE(MemoNeedsRewrite(2200, 2000));
  EXPECT_TRUE(MemoNeedsRewrite(2201, 2000));
  EXPECT_TRUE(MemoNeedsRewrite(2, 1));
}

TEST(LogFileLine, FormsByMode) {
  const platform::LocalTime t{2026, 3, 4, 5, 6, 7, 0};
  const struct {
    int mode;
    std::optional<std::u16string> expected;
  } cases[] = {
      {0, u"26/03/04 05:06  text"},    {1, std::nullopt}, {2, u"text"}, {3, u"26/03/04 05:06:07  text"},
      {4, u"26/03/04 05:06  text"},    {6, u"text"},      {7, u"26/03/04 05:06:07  text"},
  };
  for (const auto& c : cases) EXPECT_EQ(LogFileLine(c.mode, u"text", t), c.expected) << "mode " << c.mode;
}

TEST(LogFileLine, CutsVeryLongText) {
  const platform::LocalTime t{2026, 1, 1, 0, 0, 0, 0};
  EXPECT_EQ(LogFileLine(2, std::u16string(kLogFileLineCut, u'x'), t)->size(), kLogFileLineCut);
  const auto cut = LogFileLine(2, std::u16string(kLogFileLineCut + 1, u'x'), t);
  EXPECT_EQ(cut->size(), kLogFileLineCut + 3);
  EXPECT_TRUE(cut->ends_with(u"x..."));
}

TEST(LogPath, DefaultNameIsTheProgramsWithLog) {
  EXPECT_EQ(LogFileNameFor(u"C:\\Tools\\maqo.exe"), u"MAQO.LOG");
  EXPECT_EQ(LogFileNameFor(u"mqsrun"), u"MQSRUN.LOG");
}

TEST(LogPath, ResolvesQuotesFoldersAndFolderNames) {
  const std::set<std::u16string> folders{u"C:\\Logs", u"C:\\Users\\me\\AppData"};
  const auto isFolder = [&](const std::u16string& p) { return folders.contains(p); };
  const engine::ReaderFolderLookup lookup = [](engine::ReaderFolder f) -> std::u16string {
    return f == engine::ReaderFolder::AppData ? u"C:\\Users\\me\\AppData" : u"C:\\Windows";
  };
  const struct {
    std::u16string_view value, expected;
  } cases[] = {
      {u"C:\\a\\run.log", u"C:\\a\\run.log"},
      {u"\"C:\\a\\run.log\"", u"C:\\a\\run.log"},
      {u"C:\\a\\", u"C:\\a\\MAQO.LOG"},
      {u"C:\\Logs", u"C:\\Logs\\MAQO.LOG"},
      {u"GET_APPDATA_DIR", u"C:\\Users\\me\\AppData\\MAQO.LOG"},
      {u"GET_APPDATA_DIR + \"\\x.log\"", u"C:\\Users\\me\\AppData\\x.log"},
      {u"\"GET_APPDATA_DIR + \"\\x.log\"\"", u"C:\\Users\\me\\AppData\\x.log"},
      {u"", u""},
      {u"\"\"", u""},
      // Only the folder names, quoted text and "+" are known: anything the
      // general evaluator would run (functions, variables) makes the path invalid.
      {u"GET_APPDATA_DIR + DOSCMD(\"del x\")", u""},
      {u"GET_NOSUCH_DIR", u""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ResolveLogPath(c.value, u"MAQO.LOG", lookup, isFolder), c.expected)
        << std::string(c.value.begin(), c.value.end());
}

}  // namespace
}  // namespace maqo::dialogs
