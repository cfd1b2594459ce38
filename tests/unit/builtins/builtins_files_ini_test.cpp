// INI files: lookups, inserting and replacing keys, deleting keys and
// sections, paths, encodings, and files that cannot be read.
#include <gtest/gtest.h>

#include "builtins/file_builtins.h"
#include "builtins/ini_file.h"
#include "engine/eval/text_helpers.h"
#include "tests/unit/builtins/builtins_files_support.h"

namespace maqo::builtins {
namespace {

using namespace files_test;
using engine::VarType;

const Lines kSample = {
    u"[Main]", u"name = first ", u"quoted=\"12\"", u"number=12", u"  ", u"[Other]", u"name=second", u"bare line",
};

TEST(BuiltinsFilesIni, LookupFindsKeysOfTheirSectionOnly) {
  const struct {
    std::u16string section, key, expected;
  } cases[] = {
      {u"Main", u"name", u"first"},   {u" MAIN ", u"NAME", u"first"}, {u"Main", u"quoted", u"12"},
      {u"Other", u"name", u"second"}, {u"Main", u"missing", u""},     {u"None", u"name", u""},
      {u"Other", u"", u"bare line"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(utf8(c.section) + "/" + utf8(c.key));
    EXPECT_EQ(LookupIniValue(kSample, c.section, c.key), c.expected);
  }
}

struct ChangeCase {
  const char* label;
  Lines before;
  std::u16string section, key, value;
  Lines after;
};

TEST(BuiltinsFilesIni, SetInsertsBeforeTheBlankLinesOfTheNextSection) {
  const ChangeCase cases[] = {
      {"new key goes before the blank separator",
       {u"[A]", u"x=1", u"", u"[B]", u"y=2"}, u"A", u"z", u"3",
       {u"[A]", u"x=1", u"z=3", u"", u"[B]", u"y=2"}},
      {"at most three blank lines are passed back over",
       {u"[A]", u"x=1", u"", u"", u"", u"", u"[B]"}, u"A", u"z", u"3",
       {u"[A]", u"x=1", u"", u"z=3", u"", u"", u"", u"[B]"}},
      {"existing key is replaced, value kept as given",
       {u"[A]", u" X = 1", u"[B]"}, u"a", u" x ", u" two ", {u"[A]", u"x= two ", u"[B]"}},
      {"key of another section is left alone",
       {u"[A]", u"[B]", u"x=1"}, u"A", u"x", u"2", {u"[A]", u"x=2", u"[B]", u"x=1"}},
      {"missing section is appended", {u"[A]", u"x=1"}, u"B", u"y", u"2", {u"[A]", u"x=1", u"[B]", u"y=2"}},
      {"last section gets the key at the end", {u"[A]", u"x=1"}, u"A", u"y", u"2", {u"[A]", u"x=1", u"y=2"}},
      {"quoted value written as given", {}, u"S", u"k", u"\"v\"", {u"[S]", u"k=\"v\""}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    Lines lines = c.before;
    SetIniValueInLines(lines, c.section, c.key, c.value);
    EXPECT_EQ(lines, c.after);
  }
}

TEST(BuiltinsFilesIni, DeleteRemovesAKeyOrAWholeSection) {
  const ChangeCase cases[] = {
      {"one key", {u"[A]", u"x=1", u"y=2", u"[B]", u"x=3"}, u"A", u"x", u"", {u"[A]", u"y=2", u"[B]", u"x=3"}},
      {"key only in its section", {u"[A]", u"[B]", u"x=3"}, u"A", u"x", u"", {u"[A]", u"[B]", u"x=3"}},
      {"whole section, blank lines stay",
       {u"[A]", u"x=1", u"", u"y=2", u"", u"[B]", u"z=3"}, u"a", u"", u"", {u"", u"", u"[B]", u"z=3"}},
      {"last section", {u"[A]", u"x=1", u"[B]", u"z=3"}, u"B", u"", u"", {u"[A]", u"x=1"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    Lines lines = c.before;
    DeleteIniValueInLines(lines, c.section, c.key);
    EXPECT_EQ(lines, c.after);
  }
}

TEST(BuiltinsFilesIni, PathsAndFileArguments) {
  TestPlatform t;
  const std::u16string cwd = engine::UpperCase(t.files.currentDirectory());
  EXPECT_EQ(ResolveIniPath(t.p, u"a.ini"), cwd + u"\\a.ini");
  EXPECT_EQ(ResolveIniPath(t.p, u".\\a.ini"), cwd + u"\\a.ini");
  EXPECT_EQ(ResolveIniPath(t.p, u"/abs/a.ini"), u"/abs/a.ini");
  EXPECT_EQ(ResolveIniPath(t.p, u"C:\\x\\a.ini"), u"C:\\x\\a.ini");
  const std::u16string parent = ResolveIniPath(t.p, u"../a.ini");
  EXPECT_TRUE(parent.ends_with(u"a.ini"));
  EXPECT_LT(parent.size(), cwd.size() + 6);

  IniHostSettings settings;
  settings.scriptFile = u"C:\\scripts\\job.v2.mqs";
  EXPECT_EQ(IniFileArgument(u"", settings), u"C:\\scripts\\job.v2.INI");
  EXPECT_EQ(IniFileArgument(u"data", settings), u"data.INI");
  EXPECT_EQ(IniFileArgument(u"data.cfg", settings), u"data.cfg");
  settings.exeMode = true;
  EXPECT_EQ(IniFileArgument(u"", settings), u"");
}

TEST(BuiltinsFilesIni, ReadIniReturnsNumbersAsByteStrings) {
  TestPlatform t;
  TempDir dir;
  const std::u16string path = dir.write("v.ini", "[S]\r\nn=12\r\nq=\"12\"\r\nt=abc\r\n");
  FakeBuiltinHost host(t.p);
  const struct {
    const char16_t* key;
    const char16_t* text;
    VarType type;
  } cases[] = {{u"n", u"12", VarType::ByteString}, {u"q", u"12", VarType::String}, {u"t", u"abc", VarType::String},
               {u"none", u"", VarType::String}};
  for (const auto& c : cases) {
    SCOPED_TRACE(utf8(c.key));
    TestCall call(u"READINI", {u"S", c.key, path});
    const auto v = ReadIniBuiltin(call.get(), host);
    EXPECT_EQ(v.toDisplayText(), c.text);
    EXPECT_EQ(v.type(), c.type);
  }
}

TEST(BuiltinsFilesIni, WriteKeepsTheEncodingUnlessTheValueNeedsUnicode) {
  const struct {
    const char* label;
    std::string before;
    std::u16string value;
    std::string after;
  } cases[] = {
      {"ANSI file, ANSI value", "[S]\r\nk=1\r\n", u"caf\u00E9", "[S]\r\nk=caf\xE9\r\n"},
      {"ANSI file, Japanese value becomes UTF-8", "[S]\r\nk=caf\xE9\r\n", u"\u65E5\u672C",
       "[S]\r\nk=\xE6\x97\xA5\xE6\x9C\xAC\r\n"},
      {"UTF-16 file stays UTF-16", std::string("\xFF\xFE[\0S\0]\0\r\0\n\0", 12), u"v",
       std::string("\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0v\0\r\0\n\0", 22)},
      {"LF file keeps LF", "[S]\nk=1\n", u"2", "[S]\nk=2\n"},
      {"new file is ANSI", "", u"x", "[S]\r\nk=x\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    CodePagePlatform cp(1252);
    if (!cp.p) continue;
    TempDir dir;
    const std::u16string path = c.before.empty() ? dir.path("new.ini") : dir.write("f.ini", c.before);
    EXPECT_TRUE(WriteIniValue(*cp.p, u"S", u"k", c.value, true, path));
    EXPECT_EQ(readBytes(path), c.after);
    EXPECT_EQ(ReadIniValue(*cp.p, u"S", u"k", path), c.value);
  }
}

// A file that cannot be read while WRITEINI runs is left as it is: rewriting
// it from an empty copy would lose every other key.
TEST(BuiltinsFilesIni, UnreadableFileKeepsEveryKey) {
  TestPlatform t;
  TempDir dir;
  const std::string before = "[S]\r\na=1\r\nb=2\r\n";
  const std::u16string path = dir.write("s.ini", before);
  t.files.failReads(path, engine::kReadAttempts);
  EXPECT_FALSE(WriteIniValue(t.p, u"S", u"c", u"3", true, path));
  EXPECT_EQ(readBytes(path), before);
  t.files.failReads(path, engine::kReadAttempts);
  EXPECT_FALSE(DeleteIniValue(t.p, u"S", u"", path));
  EXPECT_EQ(readBytes(path), before);
  // A short lock is bridged by the retries.
  t.files.failReads(path, 2);
  EXPECT_TRUE(WriteIniValue(t.p, u"S", u"c", u"3", true, path));
  EXPECT_EQ(readBytes(path), before + "c=3\r\n");
}

TEST(BuiltinsFilesIni, BuiltinsWriteAndDelete) {
  TestPlatform t;
  TempDir dir;
  const std::u16string path = dir.write("b.ini", "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
  FakeBuiltinHost host(t.p);
  TestCall write(u"WRITEINI", {u"A", u"z", u"new", path});
  WriteIniBuiltin(write.get(), host);
  EXPECT_EQ(readBytes(path), "[A]\r\nx=1\r\nz=new\r\n\r\n[B]\r\ny=2\r\n");
  TestCall remove(u"DELETEINI", {u"A", u"", path});
  DeleteIniBuiltin(remove.get(), host);
  EXPECT_EQ(readBytes(path), "\r\n[B]\r\ny=2\r\n");
  TestCall removeMissing(u"DELETEINI", {u"A", u"", dir.path("none.ini")});
  DeleteIniBuiltin(removeMissing.get(), host);
  EXPECT_FALSE(t.files.fileExists(dir.path("none.ini")));
}

}  // namespace
}  // namespace maqo::builtins
