// The log file: read on a run's first line, written whole, bounded by the
// line limit, and never written over an old log that could not be read.
#include <gtest/gtest.h>

#include "../engine/reader/reader_test_support.h"
#include "dialogs/log/log_file.h"
#include "dialogs/log/log_hosts.h"
#include "dialogs/log/script_log.h"
#include "engine/builder/headless_build_host.h"
#include "engine/reader/text_file.h"
#include "platform/fake/fake_script_windows.h"
#include "platform/text_codec.h"

namespace maqo::dialogs {
namespace {

using engine::reader_test::TempDir;
using engine::reader_test::TestPlatform;
using engine::reader_test::utf16File;

std::vector<std::u16string> fileLines(platform::Platform& p, const std::u16string& path) {
  engine::Lines lines;
  engine::ReadTextFile(p, path, lines);
  return lines;
}

TEST(LogFileBuffer, AppendsToTheOldLogWithinTheLimit) {
  TestPlatform t;
  TempDir dir;
  const std::u16string path = dir.write("MAQO.LOG", utf16File(u"old 1\r\nold 2\r\n"));
  LogFileBuffer buffer;
  buffer.setPath(path);
  buffer.setLimit(3);
  buffer.add(t.p, u"new 1", false);
  buffer.add(t.p, u"new 2", false);
  ASSERT_TRUE(buffer.flush(t.p));
  EXPECT_EQ(fileLines(t.p, path), (std::vector<std::u16string>{u"old 2", u"new 1", u"new 2"}));
  EXPECT_FALSE(buffer.dirty());

  // The next run reads the file again and adds to it, without repeating what it wrote.
  buffer.beginRun();
  buffer.add(t.p, u"run 2", false);
  ASSERT_TRUE(buffer.flush(t.p));
  EXPECT_EQ(fileLines(t.p, path), (std::vector<std::u16string>{u"new 1", u"new 2", u"run 2"}));
}

TEST(LogFileBuffer, NewLogOrMissingFileStartsEmpty) {
  const struct {
    bool oldFile, newLog;
  } cases[] = {{true, true}, {false, false}};
  for (const auto& c : cases) {
    TestPlatform t;
    TempDir dir;
    const std::u16string path = c.oldFile ? dir.write("MAQO.LOG", utf16File(u"old\r\n")) : dir.path("MAQO.LOG");
    LogFileBuffer buffer;
    buffer.setPath(path);
    buffer.add(t.p, u"fresh", c.newLog);
    ASSERT_TRUE(buffer.flush(t.p));
    EXPECT_EQ(fileLines(t.p, path), (std::vector<std::u16string>{u"fresh"})) << c.oldFile;
  }
}

TEST(LogFileBuffer, UnreadableOldLogIsNeverTruncated) {
  TestPlatform t;
  TempDir dir;
  const std::u16string path = dir.write("MAQO.LOG", utf16File(u"precious\r\n"));
  LogFileBuffer buffer;
  buffer.setPath(path);
  // Locked for the whole first read (every retry) and the first flush's read.
  t.files.failReads(path, engine::kReadAttempts * 2);
  buffer.add(t.p, u"new", false);
  EXPECT_TRUE(buffer.oldLogUnread());
  EXPECT_FALSE(buffer.flush(t.p)) << "no write while the old lines are not in the buffer";
  EXPECT_EQ(fileLines(t.p, path), (std::vector<std::u16string>{u"precious"}));
  EXPECT_TRUE(buffer.dirty());

  // Once the file can be read the old lines go first and nothing is lost.
  ASSERT_TRUE(buffer.flush(t.p));
  EXPECT_EQ(fileLines(t.p, path), (std::vector<std::u16string>{u"precious", u"new"}));
}

// OPTION lines reach the log through the build host, PRINT through the UI sink.
TEST(ScriptLogHosts, OptionsAndPrintedLinesReachTheLogFile) {
  TestPlatform t;
  TempDir dir;
  platform::FakeScriptWindows windows;
  platform::ScopedScriptWindows installed(windows);
  ScriptLog log;
  log.configure(u"", dir.path("DEFAULT.LOG"), false);
  engine::HeadlessBuildHost headless;
  LoggingBuildHost host(headless, log, t.p, u"MAQO.LOG");
  struct FixedTime final : platform::SystemInfo {
    platform::LocalTime localTime() override { return {2026, 12, 10, 22, 5, 9, 0}; }
    std::optional<platform::ScreenPoint> cursorPosition() override { return {}; }
    std::optional<platform::ScreenSize> virtualScreenSize() override { return {}; }
    std::optional<int> colorDepth() override { return {}; }
    std::optional<platform::OsVersion> osVersion() override { return {}; }
    bool wow64() override { return false; }
    std::optional<platform::ProcessorTimes> processorTimes() override { return {}; }
  } clock;
  LogPrintingUi ui(t.ui, log, t.p, clock);

  // A run without LOGPATH or LOGFILE writes no file in a console run.
  host.resetForRun();
  ui.printLine(u"quiet");
  log.endRun(t.p);
  EXPECT_FALSE(t.files.fileExists(dir.path("DEFAULT.LOG")));

  host.resetForRun();
  host.setLogLines(2);
  host.setLogFileMode(3);
  const std::u16string path = host.resolveLogPath(u"\"" + dir.root() + u"/\"");
  EXPECT_EQ(path, dir.root() + u"/MAQO.LOG");
  host.setLogPath(path);
  for (auto line : {u"a", u"b", u"c"}) ui.printLine(line);
  EXPECT_EQ(t.ui.printed.size(), 4u) << "the program's own sink still gets every line";
  log.endRun(t.p);
  EXPECT_EQ(fileLines(t.p, path), (std::vector<std::u16string>{u"26/12/10 22:05:09  b", u"26/12/10 22:05:09  c"}));
  EXPECT_EQ(log.keptLines(), (std::vector<std::u16string>{u"b", u"c"}));
  EXPECT_EQ(windows.appends + windows.rewrites, 0) << "the window is not touched before LOGPRINT";
}

// During a run the buffer is written when the minute changes; error reports
// reach the file only (log line), not the kept lines.
TEST(ScriptLog, FileWrittenWhenTheMinuteChanges) {
  TestPlatform t;
  TempDir dir;
  ScriptLog log;
  const std::u16string path = dir.path("MAQO.LOG");
  log.configure(u"", path, true);
  log.beginRun();
  log.setFileMode(2);
  const platform::LocalTime five{2026, 1, 1, 10, 5, 0, 0}, six{2026, 1, 1, 10, 6, 0, 0};
  log.printLine(t.p, u"a", five);
  log.flushWhenMinuteChanged(t.p, five);
  EXPECT_EQ(fileLines(t.p, path), (std::vector<std::u16string>{u"a"}));
  log.logLine(t.p, u"error", five);
  log.flushWhenMinuteChanged(t.p, five);
  EXPECT_TRUE(log.fileDirty()) << "not twice in one minute";
  log.flushWhenMinuteChanged(t.p, six);
  EXPECT_EQ(fileLines(t.p, path), (std::vector<std::u16string>{u"a", u"error"}));
  EXPECT_EQ(log.keptLines(), (std::vector<std::u16string>{u"a"}));
}

TEST(ScriptLog, MemoFollowsTheKeptLinesOnceShown) {
  TestPlatform t;
  platform::FakeScriptWindows windows;
  platform::ScopedScriptWindows installed(windows);
  ScriptLog log;
  log.configure(u"100", u"", false);
  const platform::LocalTime now{};
  auto line = [](int i) { return u"line " + utf8ToUtf16(std::to_string(i)); };
  log.printLine(t.p, line(1), now);
  log.logPrint(true, platform::WindowPlacement{10, 20, 300, 200});
  EXPECT_EQ(windows.memo, line(1)) << "the memo starts with what was printed before";
  EXPECT_TRUE(windows.logVisible);
  ASSERT_TRUE(windows.logPlacement);
  EXPECT_EQ(windows.logPlacement->width, 300);
  for (int i = 2; i <= 111; ++i) log.printLine(t.p, line(i), now);
  EXPECT_EQ(windows.rewrites, 2) << "the first showing and once past 110 lines";
  std::u16string expected;
  for (int i = 12; i <= 111; ++i) expected += (i > 12 ? u"\r\n" : u"") + line(i);
  EXPECT_EQ(windows.memo, expected) << "lines 12-111";

  log.logPrint(false, std::nullopt);
  EXPECT_FALSE(windows.logVisible);
  log.printLine(t.p, u"more", now);
  EXPECT_FALSE(windows.logVisible) << "output shows the window only while LOGPRINT says so";
}

}  // namespace
}  // namespace maqo::dialogs
