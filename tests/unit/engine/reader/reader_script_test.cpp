#include "engine/reader/script_reader.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/unit/engine/reader/reader_test_support.h"

namespace maqo::engine {
namespace {

using reader_test::TempDir;
using reader_test::TestPlatform;

std::u16string backslashUpper(std::u16string path) {
  for (auto& c : path)
    if (c == u'/') c = u'\\';
  return asciiUpper(path);
}

// The folder as the reader writes it into CALL lines.
std::u16string readerSpelling(TestPlatform& t, const TempDir& dir) {
  return backslashUpper(t.files.fullPath(dir.root()));
}

std::string crlf(std::initializer_list<const char*> lines) {
  std::string out;
  for (const char* l : lines) out += std::string(l) + "\r\n";
  return out;
}

// Runs with another current folder and puts the old one back.
class CurrentFolder {
 public:
  CurrentFolder(platform::FileSystem& files, const std::u16string& folder)
      : files_(files), old_(files.currentDirectory()) {
    files_.setCurrentDirectory(folder);
  }
  ~CurrentFolder() { files_.setCurrentDirectory(old_); }

 private:
  platform::FileSystem& files_;
  std::u16string old_;
};

TEST(ReaderScript, WrapsTheMainPartAsAProcedure) {
  struct Case {
    const char* what;
    std::string source;
    Lines lines;
  };
  const Case cases[] = {
      {"statements only", crlf({"a = 1", "print a"}), {u"PROCEDURE __MAIN__()", u"A = 1", u"PRINT A", u"FEND"}},
      {"an empty file", "", {u"PROCEDURE __MAIN__()", u"FEND"}},
      {"statements, then functions",
       crlf({"a = 1", "", "function f(x)", "result = x", "fend", "procedure p()", "fend"}),
       {u"PROCEDURE __MAIN__()", u"A = 1", u"", u"FEND", u"FUNCTION F(X)", u"RESULT = X", u"FEND", u"PROCEDURE P()",
        u"FEND"}},
      {"a module first",
       crlf({"module m", "endmodule"}),
       {u"PROCEDURE __MAIN__()", u"FEND", u"MODULE M 0", u"ENDMODULE"}},
      {"a FUNCTION inside a TEXTBLOCK is text",
       crlf({"textblock t", "function f()", "endtextblock", "class c", "endclass"}),
       {u"PROCEDURE __MAIN__()", u"TEXTBLOCK T", u"function f()", u"ENDTEXTBLOCK", u"FEND", u"CLASS C 0", u"ENDCLASS"}},
      {"continued lines keep the line numbers",
       crlf({"a = 1 + _", "2", "b = 3 _", "  + 4"}),
       {u"PROCEDURE __MAIN__()", u"", u"A = 1 + 2", u"", u"B = 3 + 4", u"FEND"}},
      {"a continuation on the last line does not swallow the inserted FEND",
       crlf({"print 1 _"}),
       {u"PROCEDURE __MAIN__()", u"PRINT 1", u"FEND"}},
  };
  TempDir dir;
  for (const auto& c : cases) {
    TestPlatform t;
    TReadMqsFile reader(t.p);
    Lines lines;
    reader.creUscrptFil(lines, dir.write("main.mqs", c.source));
    EXPECT_EQ(reader.ReadError, u"") << c.what;
    EXPECT_EQ(lines, c.lines) << c.what;
  }
}

TEST(ReaderScript, AnEarlyFendIsAReadErrorInTheSystemLanguage) {
  TempDir dir;
  const std::u16string path = dir.write("main.mqs", crlf({"a = 1", "fend", "function f()", "fend"}));
  for (const uint16_t language : {uint16_t{0x0409}, uint16_t{0x0411}}) {
    TestPlatform t(language);
    TReadMqsFile reader(t.p);
    Lines lines;
    reader.creUscrptFil(lines, path);
    EXPECT_EQ(reader.ReadError,
              language == 0x0411 ? u"FEND文の位置がおかしい" : u"Position of the FEND sentence is strange");
    EXPECT_TRUE(lines.empty());
  }
}

TEST(ReaderScript, CalledFilesAreReadOnceRelativeToTheirCaller) {
  TempDir dir;
  TempDir elsewhere;
  TestPlatform t;
  const std::u16string main = dir.write("main.mqs", crlf({"call lib\\a", "CALL LIB/A.MQS; x = 1", "call  b // again"}));
  dir.write("lib/a.mqs", crlf({"call ..\\b", "print \"a\""}));
  dir.write("b.mqs", crlf({"print \"b\"", "call lib\\a"}));
  // The current folder at read time must not matter: the run starts in the script's folder.
  CurrentFolder cd(t.files, elsewhere.root());
  TReadMqsFile reader(t.p);
  Lines lines;
  reader.creUscrptFil(lines, main);
  ASSERT_EQ(reader.ReadError, u"");
  const std::u16string d = readerSpelling(t, dir);
  EXPECT_EQ(lines, (Lines{
                       u"PROCEDURE __MAIN__()",
                       u"CALL " + d + u"\\LIB\\A.MQS",
                       u"CALL " + d + u"\\LIB\\A.MQS;X = 1",
                       u"CALL " + d + u"\\B.MQS",
                       u"FEND",
                       u"PROCEDURE " + d + u"\\LIB\\A.MQS()",
                       u"CALL " + d + u"\\B.MQS",
                       u"PRINT \"a\"",
                       u"FEND",
                       u"PROCEDURE " + d + u"\\B.MQS()",
                       u"PRINT \"b\"",
                       u"CALL " + d + u"\\LIB\\A.MQS",
                       u"FEND",
                   }));
}

TEST(ReaderScript, CallTargets) {
  TempDir dir;
  dir.write("sub.mqs", "print 1\r\n");
  dir.write("lib/a.mqs", "print 2\r\n");
  dir.write("tools (x86)/t.mqs", "print 3\r\n");
  struct Case {
    const char* what;
    const char* source;
    const char16_t* expected;  // the first line of the main part, <D> standing for the folder
  };
  const Case cases[] = {
      {"argument list", "call sub(1, \"x\")", u"CALL <D>\\SUB.MQS(1, \"x\")"},
      {"explicit extension", "call sub.mqs", u"CALL <D>\\SUB.MQS"},
      {"dot folder", "call .\\lib\\a", u"CALL <D>\\LIB\\A.MQS"},
      {"string target", "call \"lib\\\" + \"a\"", u"CALL <D>\\LIB\\A.MQS"},
      {"string target with arguments", "call \"sub\"(\"s\")", u"CALL <D>\\SUB.MQS(\"s\")"},
      {"a constant in the target", "const LIBDIR = \"lib\"\r\ncall LIBDIR + \"/a\"", u"CONST LIBDIR = \"lib\""},
      {"folder with parentheses", "call tools (x86)\\t", u"CALL <D>\\TOOLS \uFF08X86\uFF09\\T.MQS"},
      {"two calls on a line", "call sub; call lib\\a", u"CALL <D>\\SUB.MQS;CALL <D>\\LIB\\A.MQS"},
      {"after a statement", "x = 1; call sub", u"X = 1; CALL <D>\\SUB.MQS"},
      {"not a CALL: part of a word", "recall sub", u"RECALL SUB"},
      {"not a CALL: in a string", "x = \"call sub\"", u"X = \"call sub\""},
      {"not a CALL: a member", "obj.call sub", u"OBJ.call SUB"},
  };
  for (const auto& c : cases) {
    TestPlatform t;
    TReadMqsFile reader(t.p);
    Lines lines;
    reader.creUscrptFil(lines, dir.write("main.mqs", c.source));
    ASSERT_EQ(reader.ReadError, u"") << c.what;
    ASSERT_GE(lines.size(), 2u);
    std::u16string expected = c.expected;
    const std::u16string d = readerSpelling(t, dir);
    for (size_t at; (at = expected.find(u"<D>")) != std::u16string::npos;) expected.replace(at, 3, d);
    EXPECT_EQ(lines[1], expected) << c.what;
  }
  // The constant case: its CALL is the second line.
  TestPlatform t;
  TReadMqsFile reader(t.p);
  Lines lines;
  reader.creUscrptFil(lines, dir.write("main.mqs", "const LIBDIR = \"lib\", X = 2\r\ncall LIBDIR + \"/a\"\r\n"));
  EXPECT_EQ(lines[2], u"CALL " + readerSpelling(t, dir) + u"\\LIB\\A.MQS");
  EXPECT_EQ(reader.ReaderConsts.at(u"LIBDIR").text, u"lib");
}

TEST(ReaderScript, CallErrors) {
  TempDir dir;
  TestPlatform t;
  TReadMqsFile reader(t.p);
  Lines lines;
  reader.creUscrptFil(lines, dir.write("main.mqs", "print 1\r\ncall lib\\missing\r\n"));
  EXPECT_EQ(reader.ReadError, u"FILE Not Found :" + readerSpelling(t, dir) + u"\\LIB\\MISSING.MQS");
  EXPECT_TRUE(lines.empty());

  reader.creUscrptFil(lines, dir.write("main.mqs", "call NOPE + \"x\"\r\n"));
  EXPECT_EQ(reader.ReadError.rfind(u"Syntax Error: CALL NOPE + \"x\"", 0), 0u) << utf16ToUtf8(reader.ReadError);

  // A missing file CALLed from an included file is reported the same way.
  dir.write("a.mqs", "call gone\r\n");
  reader.creUscrptFil(lines, dir.write("main.mqs", "call a\r\n"));
  EXPECT_EQ(reader.ReadError, u"FILE Not Found :" + readerSpelling(t, dir) + u"\\GONE.MQS");
}

TEST(ReaderScript, OneFileReachedTwoWaysIsIncludedOnce) {
  TempDir dir;
  TestPlatform t;
  dir.write("lib/a.mqs", "print 1\r\n");
  std::string source = "call lib\\a\r\ncall lib\\..\\lib\\a\r\n";
#ifndef _WIN32
  std::filesystem::create_directory_symlink(dir.fsPath("lib"), dir.fsPath("alias"));
  source += "call alias\\a\r\n";
#endif
  TReadMqsFile reader(t.p);
  Lines lines;
  reader.creUscrptFil(lines, dir.write("main.mqs", source));
  ASSERT_EQ(reader.ReadError, u"");
  const std::u16string call = u"CALL " + readerSpelling(t, dir) + u"\\LIB\\A.MQS";
  EXPECT_EQ(lines[1], call);
  EXPECT_EQ(lines[2], call);
#ifndef _WIN32
  EXPECT_EQ(lines[3], call);
#endif
  EXPECT_EQ(std::count(lines.begin(), lines.end(), u"PRINT 1"), 1);
}

TEST(ReaderScript, EachFileStartsClean) {
  TempDir dir;
  TestPlatform t;
  dir.write("a.mqs", "textblock t\r\nnever closed\r\n");
  dir.write("b.mqs", "print 1 _\r\n");
  dir.write("c.mqs", "print 2\r\n");
  TReadMqsFile reader(t.p);
  Lines lines;
  reader.creUscrptFil(lines, dir.write("main.mqs", "call a\r\ncall b\r\ncall c\r\n"));
  ASSERT_EQ(reader.ReadError, u"");
  const std::u16string d = readerSpelling(t, dir);
  // An open TEXTBLOCK or a pending "_" at the end of a file does not reach into the next one.
  EXPECT_EQ(Lines(lines.begin() + 5, lines.end()),
            (Lines{u"PROCEDURE " + d + u"\\A.MQS()", u"TEXTBLOCK T", u"never closed", u"FEND",
                   u"PROCEDURE " + d + u"\\B.MQS()", u"PRINT 1", u"FEND", u"PROCEDURE " + d + u"\\C.MQS()", u"PRINT 2",
                   u"FEND"}));
}

TEST(ReaderScript, ModulesOfAnIncludedFileAreNumberedWhereItIsCalled) {
  TempDir dir;
  TestPlatform t;
  dir.write("lib.mqs", "module n\r\nendmodule\r\nclass o\r\nendclass\r\n");
  TReadMqsFile reader(t.p);
  Lines lines;
  reader.creUscrptFil(lines, dir.write("main.mqs", "call lib\r\nmodule m\r\nendmodule\r\nmodule n\r\nendmodule\r\n"));
  ASSERT_EQ(reader.ReadError, u"");
  EXPECT_NE(std::find(lines.begin(), lines.end(), u"MODULE N 0"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), u"CLASS O 1"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), u"MODULE M 2"), lines.end());
  EXPECT_EQ(std::count(lines.begin(), lines.end(), u"MODULE N 0"), 2);
}

TEST(ReaderScript, TheHostsOwnTextIsReadRelativeToTheCurrentFolder) {
  TempDir dir;
  TestPlatform t;
  dir.write("sub.mqs", "print 1\r\n");
  CurrentFolder cd(t.files, dir.root());
  TReadMqsFile reader(t.p);
  Lines lines{u"call sub", u"x = 1"};
  EXPECT_TRUE(reader.creUscrptFil(lines, dir.path("not-there.mqs")));
  ASSERT_EQ(reader.ReadError, u"");
  EXPECT_EQ(lines[1], u"CALL " + backslashUpper(t.files.currentDirectory()) + u"\\SUB.MQS");
  EXPECT_EQ(lines[2], u"X = 1");
}

class ReaderStamps : public ::testing::Test {
 protected:
  // Sets a file's modification time relative to a fixed point.
  void setTime(const std::string& relative, int seconds) {
    std::filesystem::last_write_time(dir.fsPath(relative), base + std::chrono::seconds(seconds));
  }
  bool read() {
    lines.clear();
    return reader.creUscrptFil(lines, mainPath);
  }

  TempDir dir;
  TestPlatform t;
  TReadMqsFile reader{t.p};
  Lines lines;
  std::u16string mainPath = dir.write("main.mqs", "call a\r\n");
  std::u16string aPath = dir.write("a.mqs", "print 1\r\n");
  std::filesystem::file_time_type base = std::filesystem::last_write_time(dir.fsPath("main.mqs"));
};

TEST_F(ReaderStamps, ChangedMeansAnyFileDiffersFromWhatWasRecorded) {
  setTime("main.mqs", -100);
  setTime("a.mqs", -100);
  EXPECT_TRUE(read()) << "the first read";
  EXPECT_FALSE(read()) << "nothing changed";
  EXPECT_EQ(reader.ScriptTimestamps.size(), 2u);
  ASSERT_TRUE(reader.ScriptTimestamps.find(t.files.canonicalPath(aPath)).has_value());

  setTime("a.mqs", -50);
  EXPECT_TRUE(read()) << "an included file got newer";
  EXPECT_FALSE(read());

  setTime("main.mqs", -200);
  EXPECT_TRUE(read()) << "an older file (restored from a backup) is a change too";
  EXPECT_FALSE(read());

  dir.write("a.mqs", "print 12\r\n");
  setTime("a.mqs", -50);
  EXPECT_TRUE(read()) << "same time, other size";
  EXPECT_FALSE(read());

  reader.ScriptTimestamps.clear();
  EXPECT_TRUE(read()) << "after clear";
}

TEST_F(ReaderStamps, AFailedReadMakesTheNextOneCountAsChanged) {
  EXPECT_TRUE(read());
  EXPECT_FALSE(read());
  std::filesystem::rename(dir.fsPath("a.mqs"), dir.fsPath("a.bak"));
  read();
  EXPECT_NE(reader.ReadError, u"");
  EXPECT_TRUE(reader.ScriptTimestamps.empty());
  std::filesystem::rename(dir.fsPath("a.bak"), dir.fsPath("a.mqs"));
  EXPECT_TRUE(read()) << "every file is as before the failure, but the failed read checked nothing";
  EXPECT_EQ(reader.ReadError, u"");
  EXPECT_FALSE(read());
}

}  // namespace
}  // namespace maqo::engine
