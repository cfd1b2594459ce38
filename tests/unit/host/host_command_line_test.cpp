// The host's command line: splitting, the start mode of the first argument,
// and taking a file text apart into the script name and its parameters.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/command_line.h"
#include "platform/text_codec.h"

namespace maqo::host {
namespace {

using Args = std::vector<std::u16string>;

std::string utf8(const std::u16string& text) { return utf16ToUtf8(text); }

TEST(HostCommandLine, SplitsLikeTheRuntime) {
  const struct {
    std::u16string line;
    Args args;
  } cases[] = {
      {u"maqo.exe", {u"maqo.exe"}},
      {u"  \"C:\\Program Files\\maqo.exe\"  a.mqs ", {u"C:\\Program Files\\maqo.exe", u"a.mqs"}},
      {u"m \"C:\\my scripts\\a.mqs\" p1 \"p 2\"", {u"m", u"C:\\my scripts\\a.mqs", u"p1", u"p 2"}},
      {u"m C:\\dir\\a.mqs", {u"m", u"C:\\dir\\a.mqs"}},           // single backslashes stay
      {u"m \"a\\\"b\"", {u"m", u"a\"b"}},                          // \" is a literal quote
      {u"m \"C:\\dir\\\\\" x", {u"m", u"C:\\dir\\", u"x"}},        // \\" ends the quote after one backslash
      {u"m \"\"", {u"m", u""}},                                    // an empty quoted argument counts
      {u"m a\"b c\"d", {u"m", u"ab cd"}},                          // quotes group inside a word
      {u"", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(utf8(c.line));
    EXPECT_EQ(SplitCommandLine(c.line), c.args);
  }
}

TEST(HostCommandLine, FirstArgumentChoosesTheMode) {
  const struct {
    const char* label;
    Args args;
    StartMode mode;
    std::u16string fileText, output;
    bool hidden, marker;
  } cases[] = {
      {"nothing", {}, StartMode::Normal, u"", u"", false, false},
      {"file", {u"a.mqs"}, StartMode::RunAndExit, u"a.mqs", u"", false, false},
      {"file and parameters joined by CR", {u"a.mqs", u"p 1", u"-R3"}, StartMode::RunAndExit, u"a.mqs\rp 1\r-R3", u"",
       false, false},
      {"/k", {u"/k", u"b.mqs"}, StartMode::HandOverPlay, u"b.mqs", u"", false, false},
      {"/K", {u"/K", u"b.mqs"}, StartMode::HandOverPlay, u"b.mqs", u"", false, false},
      {"/l", {u"/l", u"b.mqs"}, StartMode::HandOverLoad, u"b.mqs", u"", false, false},
      {"/L", {u"/L", u"b.mqs"}, StartMode::HandOverLoad, u"b.mqs", u"", false, false},
      {"/NI", {u"/NI", u"b.mqs", u"x"}, StartMode::RunAndExit, u"b.mqs\rx", u"", true, false},
      {"/ni", {u"/ni", u"b.mqs"}, StartMode::RunAndExit, u"b.mqs", u"", true, false},
      {"/Ni is a file name", {u"/Ni"}, StartMode::RunAndExit, u"/Ni", u"", false, false},
      {"/a with output", {u"/a", u"in.mqs", u"out", u"extra"}, StartMode::Convert, u"in.mqs", u"out", false, false},
      {"/A alone", {u"/A", u"in.mqs"}, StartMode::Convert, u"in.mqs", u"", false, false},
      {"a switch later is a parameter", {u"a.mqs", u"/k"}, StartMode::RunAndExit, u"a.mqs\r/k", u"", false, false},
      {"restart marker stops the scan", {u"a.mqs", kRestartMarker, u"more"}, StartMode::RunAndExit, u"a.mqs", u"",
       false, true},
      {"restart marker alone", {kRestartMarker}, StartMode::Normal, u"", u"", false, true},
      {"switch without a file", {u"/k"}, StartMode::HandOverPlay, u"", u"", false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const StartRequest r = ScanArguments(c.args);
    EXPECT_EQ(r.mode, c.mode);
    EXPECT_EQ(r.fileText, c.fileText);
    EXPECT_EQ(r.convertOutput, c.output);
    EXPECT_EQ(r.forceHidden, c.hidden);
    EXPECT_EQ(r.restartMarker, c.marker);
  }
  EXPECT_TRUE(ScanArguments({u"C:\\t\\WebRec_$Temp$.mqs"}).webRecorderTemp);
  EXPECT_FALSE(ScanArguments({u"a.mqs"}).webRecorderTemp);
}

TEST(HostCommandLine, ScriptNameEndsAtAnExtensionFollowedByASeparator) {
  const struct {
    std::u16string text;
    size_t end;
  } cases[] = {
      {u"C:\\a.mqs", 8},
      {u"C:\\a.MQS p1", 8},
      {u"C:\\a.Mqs\rp1", 8},
      {u"\"C:\\a b.mqs\" p1", 11},
      {u"C:\\x.mqs.d\\a.mqs", 16},         // a folder named like a script is part of the name
      {u"C:\\x.mqsd\\a.mqs x", 15},
      {u"C:\\a.mqsx", std::u16string::npos},
      {u"C:\\a.txt", std::u16string::npos},
      {u"", std::u16string::npos},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(utf8(c.text));
    EXPECT_EQ(ScriptNameEnd(c.text), c.end);
  }
}

TEST(HostCommandLine, FileTextGivesNameParametersAndRunCount) {
  const struct {
    const char* label;
    std::u16string text;
    bool atCarriageReturns;
    std::u16string name;
    Args parameters;
    int runCount;
  } cases[] = {
      {"name only", u"C:\\a.mqs", false, u"C:\\a.mqs", {}, 1},
      {"blank-separated, quotes removed", u"C:\\a.mqs p1 \"p 2\"  p3", false, u"C:\\a.mqs", {u"p1", u"p 2", u"p3"}, 1},
      {"run count is not a parameter", u"C:\\a.mqs -R5 p1", false, u"C:\\a.mqs", {u"p1"}, 5},
      {"lower-case run count", u"C:\\a.mqs -r12", false, u"C:\\a.mqs", {}, 12},
      {"-R without digits is a parameter", u"C:\\a.mqs -Rx -R", false, u"C:\\a.mqs", {u"-Rx", u"-R"}, 1},
      {"-R0 runs once", u"C:\\a.mqs -R0", false, u"C:\\a.mqs", {}, 1},
      {"CR-separated keeps blanks", u"C:\\a.mqs\rp 1\r\"q\"\r-R2", true, u"C:\\a.mqs", {u"p 1", u"\"q\""}, 2},
      {"quoted name with parameters", u"\"C:\\a b.mqs\" p1", false, u"C:\\a b.mqs", {u"p1"}, 1},
      {"folder named like a script", u"C:\\x.mqs.d\\a.mqs p", false, u"C:\\x.mqs.d\\a.mqs", {u"p"}, 1},
      {"extension added", u"C:\\a", false, u"C:\\a.MQS", {}, 1},
      {"extension added before CR parameters", u"C:\\a\rp", true, u"C:\\a.MQS", {u"p"}, 1},
      {"trimmed", u"  C:\\a.mqs  ", false, u"C:\\a.mqs", {}, 1},
      {"backslashes in parameters stay", u"a.mqs C:\\dir\\ \"D:\\x y\\\"", false, u"a.mqs", {u"C:\\dir\\", u"D:\\x y\\"}, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const FileText f = ParseFileText(c.text, c.atCarriageReturns);
    EXPECT_EQ(f.fileName, c.name);
    EXPECT_EQ(f.parameters, c.parameters);
    EXPECT_EQ(f.runCount, c.runCount);
  }
}

}  // namespace
}  // namespace maqo::host

namespace maqo::host {
namespace {

TEST(HostCommandLine, RelativeScriptNames) {
  const struct {
    std::u16string name;
    bool switched;
    std::u16string expected;
  } cases[] = {
      {u"C:\\s\\a.mqs", false, u"C:\\s\\a.mqs"},
      {u"\\\\server\\share\\a.mqs", true, u"\\\\server\\share\\a.mqs"},
      {u"a.mqs", true, u"D:\\work\\a.mqs"},
      {u"a.mqs", false, u"D:\\work\\a.mqs"},
      {u"sub\\a.mqs", false, u"D:\\work\\sub\\a.mqs"},
      {u".\\a.mqs", true, u"D:\\work\\a.mqs"},
      {u"./a.mqs", false, u"C:\\Tools\\maqo\\a.mqs"},
      {u"..\\a.mqs", true, u"D:\\a.mqs"},
      {u"../a.mqs", false, u"C:\\Tools\\a.mqs"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(utf8(c.name));
    EXPECT_EQ(ResolveScriptName(c.name, c.switched, u"D:\\work\\", u"C:\\Tools\\maqo"), c.expected);
  }
}

}  // namespace
}  // namespace maqo::host
