#include "engine/reader/text_file.h"

#include <gtest/gtest.h>

#include "engine/reader/script_reader.h"
#include "tests/unit/engine/reader/reader_test_support.h"

namespace maqo::engine {
namespace {

using reader_test::TempDir;
using reader_test::TestPlatform;

// Shows which way bytes were decoded: the ANSI path marks its text.
class MarkingLocale final : public platform::Locale {
 public:
  unsigned ansiCodePage() override { return 1252; }
  unsigned oemCodePage() override { return 437; }
  uint16_t systemLanguage() override { return 0x0409; }
  std::u16string decodeAnsi(std::string_view bytes) override {
    std::u16string out = u"[ansi]";
    for (char c : bytes) out.push_back(static_cast<unsigned char>(c));  // Latin-1 is enough here
    return out;
  }
  std::string encodeAnsi(std::u16string_view, bool*) override { return {}; }
  std::u16string decodeOem(std::string_view) override { return {}; }
  int compareText(std::u16string_view a, std::u16string_view b) override { return a.compare(b); }
};

TEST(ReaderTextFile, DetectsTheEncodingFromTheBytes) {
  struct Case {
    std::string bytes;
    TextEncoding encoding;
    std::u16string text;
  };
  const Case cases[] = {
      {std::string("\xFF\xFE" "a\0\x42\x30", 6), TextEncoding::Utf16Le, u"a\u3042"},
      {"\xEF\xBB\xBF" "caf\xC3\xA9", TextEncoding::Utf8Bom, u"caf\u00E9"},
      {"\xEF\xBB\xBF" "plain", TextEncoding::Utf8Bom, u"plain"},
      {"caf\xC3\xA9", TextEncoding::Utf8, u"caf\u00E9"},
      // ASCII only: the ANSI path, which gives the same text.
      {"plain", TextEncoding::AnsiAuto, u"[ansi]plain"},
      // Not valid UTF-8 (a CP1252 e-acute).
      {"caf\xE9", TextEncoding::AnsiAuto, u"[ansi]caf\u00E9"},
      // A big-endian mark is not recognised.
      {std::string("\xFE\xFF\0a", 4), TextEncoding::AnsiAuto, std::u16string(u"[ansi]\u00FE\u00FF\0a", 10)},
      {"", TextEncoding::AnsiAuto, u"[ansi]"},
  };
  MarkingLocale locale;
  for (const auto& c : cases) {
    const DecodedText d = DecodeTextBytes(c.bytes, locale);
    EXPECT_EQ(d.encoding, c.encoding) << c.bytes;
    EXPECT_EQ(d.text, c.text) << c.bytes;
  }
  EXPECT_EQ(static_cast<int>(TextEncoding::Utf16Le), 64);
  EXPECT_EQ(static_cast<int>(TextEncoding::AnsiAuto), 4);
}

TEST(ReaderTextFile, SplitsAtEveryKindOfLineEnd) {
  struct Case {
    std::u16string text;
    Lines lines;
  };
  const Case cases[] = {
      {u"a\r\nb\rc\nd", {u"a", u"b", u"c", u"d"}},
      {u"a\r\n", {u"a"}},
      {u"", {}},
      {u"a\n\n", {u"a", u""}},
      {u"\r\n", {u""}},
      {u"a\r\r\nb", {u"a", u"", u"b"}},
      {u"a\n\rb", {u"a", u"", u"b"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitTextLines(c.text), c.lines) << utf16ToUtf8(c.text);
}

TEST(ReaderTextFile, ReadsARealFile) {
  TempDir dir;
  TestPlatform t;
  const std::u16string path = dir.write("x.txt", "\xEF\xBB\xBF" "one\r\ntwo\rthree\n");
  Lines lines{u"old"};
  const TextReadResult r = ReadTextFile(t.p, path, lines);
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.encoding, TextEncoding::Utf8Bom);
  EXPECT_EQ(lines, (Lines{u"one", u"two", u"three"}));
}

TEST(ReaderTextFile, RetriesALockedFileTenTimesThenReportsIt) {
  TempDir dir;
  TestPlatform t;
  const std::u16string path = dir.write("locked.txt", "text");
  t.files.failReads(path, 100);
  Lines lines{u"previous"};
  const int64_t before = t.clock.monotonicMs();
  const TextReadResult r = ReadTextFile(t.p, path, lines);
  EXPECT_EQ(r.status, platform::ReadStatus::Failed);
  EXPECT_NE(r.error.find(u"used by another process"), std::u16string::npos);
  EXPECT_EQ(t.files.readAttempts(path), kReadAttempts);
  // Nine pauses of 80 ms between ten attempts, with messages pumped meanwhile.
  EXPECT_EQ(t.clock.monotonicMs() - before, (kReadAttempts - 1) * kReadRetryPauseMs);
  EXPECT_GE(t.ui.pumps, kReadAttempts - 1);
  EXPECT_EQ(lines, Lines{u"previous"});
  EXPECT_TRUE(t.ui.messages.empty());
}

TEST(ReaderTextFile, AFileFreedDuringTheRetriesIsRead) {
  TempDir dir;
  TestPlatform t;
  const std::u16string path = dir.write("busy.txt", "ok");
  t.files.failReads(path, 3);
  Lines lines;
  EXPECT_TRUE(ReadTextFile(t.p, path, lines).ok());
  EXPECT_EQ(t.files.readAttempts(path), 4);
  EXPECT_EQ(lines, Lines{u"ok"});
}

TEST(ReaderTextFile, OutOfMemoryIsShownAndNotRetried) {
  TempDir dir;
  TestPlatform t;
  const std::u16string path = dir.write("big.txt", "x");
  t.files.failReads(path, 100, u"Not enough storage: Out of memory");
  Lines lines;
  EXPECT_FALSE(ReadTextFile(t.p, path, lines).ok());
  EXPECT_EQ(t.files.readAttempts(path), 1);
  EXPECT_EQ(t.ui.messages, std::vector<std::u16string>{u"File: Out Of Memory"});
}

TEST(ReaderTextFile, AMissingFileIsNotRetriedAndLeavesTheLines) {
  TempDir dir;
  TestPlatform t;
  Lines lines{u"kept"};
  const TextReadResult r = ReadTextFile(t.p, dir.path("none.txt"), lines);
  EXPECT_EQ(r.status, platform::ReadStatus::NotFound);
  EXPECT_EQ(t.clock.sleeps(), 0);
  EXPECT_EQ(lines, Lines{u"kept"});
}

TEST(ReaderTextFile, ALockedScriptIsAReadErrorThatNamesTheFile) {
  TempDir dir;
  for (const uint16_t language : {uint16_t{0x0409}, uint16_t{0x0411}}) {
    TestPlatform t(language);
    const std::u16string path = dir.write("main.mqs", "PRINT 1\r\n");
    t.files.failReads(t.files.fullPath(path), 100);
    TReadMqsFile reader(t.p);
    Lines lines;
    reader.creUscrptFil(lines, path);
    EXPECT_NE(reader.ReadError.find(t.files.fullPath(path)), std::u16string::npos) << utf16ToUtf8(reader.ReadError);
    EXPECT_NE(reader.ReadError.find(language == 0x0411 ? u"ファイルを読み込めません" : u"Cannot read the file"),
              std::u16string::npos);
    EXPECT_TRUE(lines.empty());
  }
}

}  // namespace
}  // namespace maqo::engine
