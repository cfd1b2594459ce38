// The reader on lines far longer than any script has: one pass over each
// line, no recursion per statement, and no file system question per CALL.
#include <gtest/gtest.h>

#include "engine/reader/script_reader.h"
#include "tests/unit/engine/reader/reader_test_support.h"

namespace maqo::engine {
namespace {

using reader_test::TempDir;

// The real file system, counting the questions that touch the disk.
class CountingFiles final : public platform::FileSystem {
 public:
  explicit CountingFiles(platform::FileSystem& real) : real_(real) {}
  platform::ReadResult readAll(const std::u16string& path) override { return real_.readAll(path); }
  std::u16string writeAllReplacing(const std::u16string& path, const std::string& bytes) override {
    return real_.writeAllReplacing(path, bytes);
  }
  bool fileExists(const std::u16string& path) override {
    ++lookups;
    return real_.fileExists(path);
  }
  bool directoryExists(const std::u16string& path) override { return real_.directoryExists(path); }
  std::optional<platform::FileStamp> stamp(const std::u16string& path) override { return real_.stamp(path); }
  std::u16string fullPath(const std::u16string& path) override { return real_.fullPath(path); }
  std::u16string canonicalPath(const std::u16string& path) override {
    ++lookups;
    return real_.canonicalPath(path);
  }
  std::u16string currentDirectory() override { return real_.currentDirectory(); }
  bool setCurrentDirectory(const std::u16string& path) override { return real_.setCurrentDirectory(path); }
  std::u16string copyFile(const std::u16string& from, const std::u16string& to) override {
    return real_.copyFile(from, to);
  }
  std::u16string executableDirectory() override { return real_.executableDirectory(); }

  int lookups = 0;

 private:
  platform::FileSystem& real_;
};

struct CountingPlatform {
  platform::FakeClock clock;
  CountingFiles files{platform::consolePlatform().files};
  platform::FakeLocale locale{platform::consolePlatform().locale, 0x0409, 1252};
  platform::RecordingUi ui;
  platform::Platform p{clock, files, locale, ui};
};

// A line of a hundred thousand CALLs of one file: every CALL is rewritten,
// the file is included once, and the disk is asked about it once, not per CALL.
TEST(ReaderLimits, AHundredThousandCallsOnOneLine) {
  constexpr int kCalls = 100000;
  std::u16string line;
  for (int i = 0; i < kCalls; ++i) line += u"CALL SUB;";
  line += u"X = 1";
  TempDir dir;
  const std::u16string main = dir.write("main.mqs", utf16ToUtf8(line));
  dir.write("sub.mqs", "PRINT 1\r\n");
  CountingPlatform t;
  TReadMqsFile reader(t.p);
  Lines lines;
  reader.creUscrptFil(lines, main);
  ASSERT_EQ(reader.ReadError, u"");
  ASSERT_EQ(lines.size(), 6u);
  ASSERT_EQ(lines[3].substr(0, 10), u"PROCEDURE ");
  const std::u16string procedure = lines[3].substr(10, lines[3].size() - 12);
  EXPECT_EQ(lines[4], u"PRINT 1");
  std::u16string expected;
  for (int i = 0; i < kCalls; ++i) expected += u"CALL " + procedure + u";";
  expected += u"X = 1";
  EXPECT_EQ(lines[1], expected);
  EXPECT_LE(t.files.lookups, 10) << "a few questions per file, not one per CALL";
}

// Ten megabytes on one line, in a string, a comment and a TEXTBLOCK body.
TEST(ReaderLimits, TenMegabyteLines) {
  const std::u16string big(10 << 20, u'x');
  CountingPlatform t;
  TReadMqsFile reader(t.p);
  Lines lines{u"s = \"" + big + u"\" // " + big, u"TEXTBLOCK T", big, u"ENDTEXTBLOCK", u"a = 1 // \"" + big};
  reader.creUscrptFil(lines, u"/maqo-no-such-folder/NONE.MQS");
  ASSERT_EQ(reader.ReadError, u"");
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[1], u"S = \"" + big + u"\"");
  EXPECT_EQ(lines[3], big);
  EXPECT_EQ(lines[5], u"A = 1");
}

}  // namespace
}  // namespace maqo::engine
