#include "engine/reader/reader_const.h"

#include <gtest/gtest.h>

#include "engine/reader/script_reader.h"
#include "platform/text_codec.h"
#include "tests/unit/engine/reader/reader_test_support.h"

namespace maqo::engine {
namespace {

std::u16string fakeFolder(ReaderFolder f) {
  switch (f) {
    case ReaderFolder::Windows: return u"C:\\WINDOWS";
    case ReaderFolder::System: return u"C:\\WINDOWS\\system32";
    case ReaderFolder::Current: return u"D:\\work";
    case ReaderFolder::Executable: return u"C:\\Tools";
    case ReaderFolder::AppData: return {};  // as on a system without one
  }
  return {};
}

TEST(ReaderConst, EvaluatesConstantExpressions) {
  const ReaderConstTable consts{{u"BASE", {u"C:\\lib", true}}, {u"N", {u"5", false}}};
  struct Case {
    const char16_t* text;
    const char16_t* value;
  };
  const Case cases[] = {
      {u"\"abc\"", u"abc"},
      {u"\"a\" + \"b\"+\"c\"", u"abc"},
      {u"1 + 2", u"3"},
      {u"1.5 + 2", u"3.5"},
      {u"$FF + 1", u"256"},
      {u"1E+2 + 1", u"101"},
      {u"\"n\" + 1 + 2", u"n12"},
      {u"\"n\" + (1 + 2)", u"n3"},
      {u"N + 1", u"6"},
      {u"BASE + \"\\sub\"", u"C:\\lib\\sub"},
      {u"base + \"\\x\"", u"C:\\lib\\x"},
      {u"GET_WIN_DIR + \"\\x\"", u"C:\\WINDOWS\\x"},
      {u"GET_SYS_DIR", u"C:\\WINDOWS\\system32"},
      {u"GET_CUR_DIR", u"D:\\work"},
      {u"GET_MAQO_DIR + \"\\lib\"", u"C:\\Tools\\lib"},
      {u"\"say \"\"", u"say \""},
      {u"\"\"\"\"", u"\"\""},
      {u"\"a<#CR>b<#_TAB>c<#DBL>d<#_DBL>\"", u"a\r\nb\tc\"d\""},
      {u"  ( \"x\" )  ", u"x"},
  };
  for (const auto& c : cases) {
    const ReaderConstResult r = EvalReaderConst(c.text, consts, fakeFolder);
    EXPECT_FALSE(r.failed) << utf16ToUtf8(c.text) << ": " << utf16ToUtf8(r.problem);
    EXPECT_EQ(r.value, c.value) << utf16ToUtf8(c.text);
  }
}

TEST(ReaderConst, AFailureGivesTheTextBack) {
  const char16_t* cases[] = {
      u"\"open",          u"UNKNOWN + \"x\"", u"\"a\" +",  u"(\"a\"",  u"\"a\" \"b\"", u"1A",
      u"GET_APPDATA_DIR",  // no such folder here
      u"",                 u"\"a\" - \"b\"",
  };
  for (const char16_t* text : cases) {
    const ReaderConstResult r = EvalReaderConst(text, {}, fakeFolder);
    EXPECT_TRUE(r.failed) << utf16ToUtf8(text);
    EXPECT_EQ(r.value, text);
  }
  const ReaderConstResult r = EvalReaderConst(u"GET_APPDATA_DIR", {}, fakeFolder);
  EXPECT_NE(r.problem.find(u"GET_APPDATA_DIR"), std::u16string::npos);
}

TEST(ReaderConst, TheRealFoldersOfTheSystem) {
  reader_test::TestPlatform t;
  TReadMqsFile reader(t.p);
  EXPECT_EQ(reader.EvalReaderConst(u"GET_CUR_DIR").value, t.files.currentDirectory());
  EXPECT_EQ(reader.EvalReaderConst(u"GET_MAQO_DIR").value, t.files.executableDirectory());
#ifdef _WIN32
  // The Windows folders exist on Windows (and under Wine).
  for (const char16_t* name : {u"GET_WIN_DIR", u"GET_SYS_DIR", u"GET_APPDATA_DIR"}) {
    const ReaderConstResult r = reader.EvalReaderConst(name);
    EXPECT_FALSE(r.failed) << utf16ToUtf8(name);
    EXPECT_TRUE(t.files.directoryExists(r.value)) << utf16ToUtf8(r.value);
  }
#else
  // Linux has no Windows folder: the name fails and says why.
  const ReaderConstResult r = reader.EvalReaderConst(u"GET_WIN_DIR + \"\\x\"");
  EXPECT_TRUE(r.failed);
  EXPECT_NE(r.problem.find(u"GET_WIN_DIR"), std::u16string::npos);
#endif
}

}  // namespace
}  // namespace maqo::engine
