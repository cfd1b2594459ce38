// DELETEFILE and GETDIR: wildcard matching of long names, deleting inside
// the pattern's folder, natural order, folders, hidden entries and the
// orders by size.
#include <gtest/gtest.h>

#include <filesystem>

#include "builtins/file_builtins.h"
#include "builtins/file_directory.h"
#include "platform/directory_access.h"
#include "tests/unit/builtins/builtins_files_support.h"

namespace maqo::builtins {
namespace {

using namespace files_test;

TEST(BuiltinsFilesDirectory, WildcardsMatchLongNamesOnly) {
  const struct {
    const char16_t* pattern;
    const char16_t* name;
    bool matches;
  } cases[] = {
      {u"*.htm", u"page.htm", true},    {u"*.htm", u"page.html", false}, {u"*.HTM", u"Page.htm", true},
      {u"*.*", u"noext", true},         {u"*", u".hidden", true},        {u"a?c", u"abc", true},
      {u"a?c", u"ac", false},           {u"*.", u"noext", true},         {u"*.", u"a.txt", false},
      {u"f*1*", u"file10.txt", true},   {u"*b", u"abab", true},          {u"*.txt", u"a.txt.bak", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(utf8(c.pattern) + " ~ " + utf8(c.name));
    EXPECT_EQ(platform::MatchesWildcard(c.pattern, c.name), c.matches);
  }
}

TEST(BuiltinsFilesDirectory, NaturalOrderComparesDigitRunsAsNumbers) {
  const struct {
    const char16_t* a;
    const char16_t* b;
    int sign;
  } cases[] = {
      {u"FILE2", u"FILE10", -1}, {u"FILE10", u"FILE9", 1}, {u"A", u"B", -1},
      {u"FILE", u"FILE1", -1},   {u"X10Y2", u"X10Y10", -1}, {u"SAME", u"SAME", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(utf8(c.a) + " vs " + utf8(c.b));
    const int r = platform::CompareNatural(c.a, c.b);
    EXPECT_EQ((r > 0) - (r < 0), c.sign);
  }
}

TEST(BuiltinsFilesDirectory, DeleteFileStaysInsideThePatternFolder) {
  TempDir dir;
  dir.write("a.txt", "");
  dir.write("sub/b.txt", "");
  dir.write("sub/c.txt", "");
  dir.write("sub/page.htm", "");
  dir.write("sub/page.html", "");
  std::filesystem::create_directories(dir.fsPath("sub/folder.txt"));
  const std::u16string root = dir.root();
  EXPECT_EQ(DeleteMatchingFiles(root + u"/sub/*.txt"), 2);
  EXPECT_TRUE(std::filesystem::exists(dir.fsPath("a.txt")));
  EXPECT_FALSE(std::filesystem::exists(dir.fsPath("sub/b.txt")));
  EXPECT_TRUE(std::filesystem::is_directory(dir.fsPath("sub/folder.txt")));  // folders are passed over
  EXPECT_EQ(DeleteMatchingFiles(root + u"\\sub\\*.htm"), 1);
  EXPECT_TRUE(std::filesystem::exists(dir.fsPath("sub/page.html")));
  EXPECT_EQ(DeleteMatchingFiles(root + u"/sub/*.none"), 0);

  TestPlatform t;
  FakeBuiltinHost host(t.p);
  TestCall call(u"DELETEFILE", {root + u"/*.txt"});
  EXPECT_EQ(DeleteFileBuiltin(call.get(), host).integerPayload(), -1);
  TestCall again(u"DELETEFILE", {root + u"/*.txt"});
  EXPECT_EQ(DeleteFileBuiltin(again.get(), host).integerPayload(), 0);
}

TEST(BuiltinsFilesDirectory, GetDirListsInNaturalOrder) {
  TempDir dir;
  dir.write("file10.txt", "1234567890");
  dir.write("file2.txt", "12");
  dir.write("File1.txt", "12345");
  dir.write("notes.md", "");
  dir.write(".secret", "");
  dir.write("sub2/x", "");
  dir.write("sub10/x", "");
  const std::u16string root = dir.root();
  using Names = std::vector<std::u16string>;
  EXPECT_EQ(ListFolder(root, u"*.txt", false, 0), (Names{u"File1.txt", u"file2.txt", u"file10.txt"}));
  EXPECT_EQ(ListFolder(root + u"/", u"", false, 0),
            (Names{u"File1.txt", u"file2.txt", u"file10.txt", u"notes.md"}));
  EXPECT_EQ(ListFolder(root, u"", true, 0),
            (Names{u".secret", u"File1.txt", u"file2.txt", u"file10.txt", u"notes.md"}));
  EXPECT_EQ(ListFolder(root, u"\\", false, 0), (Names{u"sub2", u"sub10"}));
  EXPECT_EQ(ListFolder(root, u"/*10", false, 0), (Names{u"sub10"}));
  // By size; equal sizes keep the name order.
  EXPECT_EQ(ListFolder(root, u"", false, 1), (Names{u"notes.md", u"file2.txt", u"File1.txt", u"file10.txt"}));
  EXPECT_EQ(ListFolder(u"", u"", false, 0), Names{});
  EXPECT_EQ(ListFolder(root + u"/missing", u"", false, 0), Names{});
}

TEST(BuiltinsFilesDirectory, GetDirFillsTheResultArray) {
  TempDir dir;
  dir.write("b.txt", "");
  dir.write("a.txt", "");
  TestPlatform t;
  FakeBuiltinHost host(t.p);
  TestCall call(u"GETDIR", {dir.root(), u"*.txt"});
  EXPECT_EQ(GetDirBuiltin(call.get(), host).integerPayload(), 2);
  auto element = [&](double i) {
    const std::vector<engine::ScriptValue> index{engine::ScriptValue::number(i)};
    return host.globals().GetValue(host.frame(), u"GETDIR_FILES", index).toDisplayText();
  };
  EXPECT_EQ(element(0), u"a.txt");
  EXPECT_EQ(element(1), u"b.txt");
  TestCall none(u"GETDIR", {dir.root(), u"*.none"});
  EXPECT_EQ(GetDirBuiltin(none.get(), host).integerPayload(), 0);
}

}  // namespace
}  // namespace maqo::builtins
