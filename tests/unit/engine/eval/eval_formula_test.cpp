#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <mutex>
#include <random>
#include <thread>

#include "engine/errors/system_error_log.h"
#include "engine/eval/formula.h"
#include "platform/fake/fakes.h"
#include "platform/text_codec.h"

namespace maqo::engine {
namespace {

// A fresh folder for each test, removed afterwards.
class TempFolder {
 public:
  TempFolder() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() / ("maqo-eval-" + std::to_string(random()));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::u16string file(const char* name) const { return (path_ / name).u16string(); }

 private:
  std::filesystem::path path_;
};

// Files in memory, for tests that write the log many times.
class MemoryFiles final : public platform::FileSystem {
 public:
  platform::ReadResult readAll(const std::u16string& path) override {
    std::lock_guard<std::mutex> guard(lock_);
    auto it = files_.find(path);
    if (it == files_.end()) return {platform::ReadStatus::NotFound, {}, {}};
    return {platform::ReadStatus::Ok, it->second, {}};
  }
  std::u16string writeAllReplacing(const std::u16string& path, const std::string& bytes) override {
    std::lock_guard<std::mutex> guard(lock_);
    files_[path] = bytes;
    ++writes;
    return {};
  }
  bool fileExists(const std::u16string& path) override { return files_.count(path) > 0; }
  bool directoryExists(const std::u16string&) override { return true; }
  std::optional<platform::FileStamp> stamp(const std::u16string&) override { return std::nullopt; }
  std::u16string fullPath(const std::u16string& path) override { return path; }
  std::u16string canonicalPath(const std::u16string& path) override { return path; }
  std::u16string currentDirectory() override { return u"C:\\work"; }
  bool setCurrentDirectory(const std::u16string&) override { return false; }
  std::u16string copyFile(const std::u16string&, const std::u16string&) override { return u"not supported"; }
  std::u16string executableDirectory() override { return u"C:\\bin"; }

  int writes = 0;

 private:
  std::mutex lock_;
  std::map<std::u16string, std::string> files_;
};

LogTime fixedTime() { return {2024, 3, 5, 9, 7}; }

class EvalSystemErrorLog : public ::testing::Test {
 protected:
  TempFolder folder;
  std::u16string logPath = folder.file("SYSERR.LOG");
  platform::FileSystem& files = platform::consolePlatform().files;

  std::vector<std::u16string> fileLines() {
    SystemErrorLog reader(files, logPath, fixedTime);
    return reader.lines();
  }
  std::string fileBytes() { return files.readAll(logPath).bytes; }
};

TEST_F(EvalSystemErrorLog, WritesDatedLinesOnce) {
  SystemErrorLog log(files, logPath, fixedTime);
  log.append(u"first");
  log.append(u"second\r\nline");
  log.append(u"first");  // already there
  EXPECT_EQ(fileLines(), (std::vector<std::u16string>{u"24/03/05 09:07  first", u"24/03/05 09:07  second  line"}));
  EXPECT_EQ(fileBytes(), "\xEF\xBB\xBF" "24/03/05 09:07  first\r\n24/03/05 09:07  second  line\r\n");
}

TEST(EvalSystemErrorLogInMemory, KeepsTheLastHundredLines) {
  MemoryFiles files;
  files.writeAllReplacing(u"C:\\work\\SYSERR.LOG", "old 1\r\nold 2\n");
  SystemErrorLog log(files, {}, fixedTime);  // the current folder's SYSERR.LOG
  for (int i = 1; i <= 103; ++i) log.append(u"line " + u16(std::to_string(i)));
  const auto lines = SystemErrorLog(files, u"C:\\work\\SYSERR.LOG", fixedTime).lines();
  ASSERT_EQ(lines.size(), SystemErrorLog::kMaxLines);
  EXPECT_EQ(lines.front(), u"24/03/05 09:07  line 4");
  EXPECT_EQ(lines.back(), u"24/03/05 09:07  line 103");
}

TEST_F(EvalSystemErrorLog, ReadsTheFileOnFirstUse) {
  ASSERT_EQ(files.writeAllReplacing(logPath, "\xEF\xBB\xBF" "earlier\r\n"), u"");
  SystemErrorLog log(files, logPath, fixedTime);
  log.append(u"now");
  EXPECT_EQ(fileLines(), (std::vector<std::u16string>{u"earlier", u"24/03/05 09:07  now"}));
}

// A log file that exists but cannot be read right now is never replaced by a
// copy without its lines; the new line is written with the next append.
TEST_F(EvalSystemErrorLog, NeverOverwritesAFileItCouldNotRead) {
  ASSERT_EQ(files.writeAllReplacing(logPath, "kept\r\n"), u"");
  platform::FlakyFileSystem flaky(files);
  flaky.failReads(logPath, 1);
  SystemErrorLog log(flaky, logPath, fixedTime);
  log.append(u"while locked");
  EXPECT_EQ(fileBytes(), "kept\r\n");
  log.append(u"later");
  EXPECT_EQ(fileLines(),
            (std::vector<std::u16string>{u"kept", u"24/03/05 09:07  while locked", u"24/03/05 09:07  later"}));
}

TEST(EvalSystemErrorLogInMemory, ConcurrentWritersKeepTheFileWhole) {
  MemoryFiles files;
  SystemErrorLog log(files, u"L", fixedTime);
  std::vector<std::thread> writers;
  for (int t = 0; t < 4; ++t) {
    writers.emplace_back([&log, t] {
      for (int i = 0; i < 30; ++i) log.append(u"writer " + u16(std::to_string(t)) + u" line " + u16(std::to_string(i)));
    });
  }
  for (auto& w : writers) w.join();
  EXPECT_EQ(SystemErrorLog(files, u"L", fixedTime).lines().size(), SystemErrorLog::kMaxLines);
  EXPECT_EQ(files.writes, 120);
}

class EvalFormula : public ::testing::Test {
 protected:
  std::vector<std::u16string> fileLines() { return SystemErrorLog(files, u"SYSERR.LOG", fixedTime).lines(); }

  MemoryFiles files;
  platform::RecordingUi ui;
  SystemErrorLog log{files, u"SYSERR.LOG", fixedTime};
};

TEST_F(EvalFormula, Computes) {
  struct Case {
    const char16_t* formula;
    double value;
  };
  const Case cases[] = {
      {u"IIF(1 > 2, 10, 20)", 20},
      {u"iif(2 > 1, 10, 20)", 10},
      {u"POWER(2, 10)", 1024},
      {u"1 + 2 * 3", 7},
      {u"(1 + 2) * 3", 9},
      {u"10 - 2 - 3", 5},
      {u"-3 + 1", -2},
      {u"2 * -3", -6},
      {u"7 / 0", 0},
      {u"7 MOD 2", 1},
      {u"-7 MOD 2", -1},
      {u"2.5 MOD 10", 2},
      {u"6 | 3", 7},
      {u"6 OR 3", 7},
      {u"6 & 3", 2},
      {u"6 AND 3", 2},
      {u"1 < 2 & 2 < 3", 1},
      {u"!0", 1},
      {u"!5", 0},
      {u"3 >= 3", 1},
      {u"2 <> 2", 0},
      {u"2 <= 1", 0},
      {u"2 = 2", 1},
      {u"ABS(-5)", 5},
      {u"ZCUT(-1) + ZCUT(4)", 4},
      {u"INT(-2.7)", -2},
      {u"ROUND(2.5) + ROUND(3.5)", 6},
      {u"SQRT(16)", 4},
      {u"LOGN(2, 8)", 3},
      {u"COS(0) + SIN(0) + TAN(0)", 1},
      {u"LN(1) + EXP(0)", 1},
      {u"", 0},
      {u"   ", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(utf16ToUtf8(c.formula));
    EXPECT_DOUBLE_EQ(FEnzanKisan(c.formula, false, ui, log), c.value);
  }
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_TRUE(log.lines().empty());
}

TEST_F(EvalFormula, WrongFormulasGiveTheErrorValueAndOneLogLine) {
  struct Case {
    const char16_t* formula;
    std::u16string reason;
  };
  const Case cases[] = {
      {u"2 +", u"計算式に矛盾あり"},
      {u"1 2", u"計算式に矛盾あり"},
      {u"1.2.3", u"計算式に矛盾あり"},
      {u"FOO(1)", u"計算式に矛盾あり"},
      {u"1 # 2", u"計算式に矛盾あり"},
      {u"(1 + 2", u"()の括りに矛盾あり"},
      {u"ABS 1", u"kukonidat関数内に矛盾あり"},
      {u"IIF(1 2, 3)", u"kukonidat関数内に矛盾あり"},
      {u"ABS(1, 2)", u"ABS引数エラー"},
      {u"IIF(1, 2)", u"IIF引数エラー"},
      {u"7 MOD 0", u"UUM->FEnzanKisan->term：Division by zero"},
      {u"1E+300 * 1E+300", u"計算式に矛盾あり"},
      {u"10000000000 * 10000000000 * 10000000000 * 10000000000 * 10000000000 * 10000000000 * 10000000000 * "
       u"10000000000 * 10000000000 * 10000000000 * 10000000000 * 10000000000 * 10000000000 * 10000000000 * "
       u"10000000000 * 10000000000 * 10000000000 * 10000000000 * 10000000000 * 10000000000 * 10000000000 * "
       u"10000000000 * 10000000000 * 10000000000 * 10000000000 * 10000000000 * 10000000000 * 10000000000 * "
       u"10000000000 * 10000000000 * 10000000000 * 10000000000",
       u"UUM->FEnzanKisan->term：Floating point overflow"},
      {u"SQRT(-1)", u"UUM->FEnzanKisan->kansuu：Invalid floating point operation"},
      {u"LN(0)", u"UUM->FEnzanKisan->kansuu：Floating point overflow"},
  };
  size_t expectedLines = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(utf16ToUtf8(c.formula));
    EXPECT_EQ(FEnzanKisan(c.formula, false, ui, log), kFormulaError);
    const std::u16string line = u"構文解析処理: " + c.reason + u" :" + c.formula;
    ASSERT_EQ(log.lines().size(), ++expectedLines);
    EXPECT_EQ(utf16ToUtf8(log.lines().back()), utf16ToUtf8(u"24/03/05 09:07  " + line));
    ASSERT_EQ(ui.messages.size(), expectedLines);
    EXPECT_EQ(utf16ToUtf8(ui.messages.back()), utf16ToUtf8(line));
  }
}

TEST_F(EvalFormula, QuietFormulaLogsWithoutMessageBox) {
  EXPECT_EQ(FEnzanKisan(u"2 +", true, ui, log), kFormulaError);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(fileLines(), (std::vector<std::u16string>{u"24/03/05 09:07  構文解析処理: 計算式に矛盾あり :2 +"}));
}

TEST_F(EvalFormula, DeepNestingIsAnErrorNotACrash) {
  const std::u16string deep = std::u16string(100000, u'(') + u"1" + std::u16string(100000, u')');
  EXPECT_EQ(FEnzanKisan(deep, true, ui, log), kFormulaError);
  EXPECT_EQ(FEnzanKisan(std::u16string(100000, u'!') + u"1", true, ui, log), kFormulaError);
}

}  // namespace
}  // namespace maqo::engine
