// Convert mode: a script written back as plain text, ".ORG" files first
// copied to ".MQS", and failures reported instead of a half-done output.
#include <gtest/gtest.h>

#include "host/script_convert.h"
#include "tests/unit/builtins/builtins_files_support.h"

namespace maqo::host {
namespace {

using builtins::files_test::readBytes;
using engine::reader_test::TempDir;
using engine::reader_test::TestPlatform;

TEST(HostScriptConvert, ExtensionsAreReplacedInTheLastElementOnly) {
  EXPECT_EQ(WithExtension(u"C:\\a.b\\x.org", u".MQS"), u"C:\\a.b\\x.MQS");
  EXPECT_EQ(WithExtension(u"C:\\a.b\\x", u".MQS"), u"C:\\a.b\\x.MQS");
  EXPECT_EQ(WithExtension(u"out", u".MQS"), u"out.MQS");
}

TEST(HostScriptConvert, WritesTheReaderLinesAsPlainText) {
  TempDir dir;
  TestPlatform t;
  const std::u16string org = dir.path("s.org");
  dir.write("s.org", "PRINT 1\r\nPRINT 2\r\n");
  EXPECT_EQ(ConvertScriptToText(t.p, org, dir.path("out.txt")), u"");
  EXPECT_EQ(readBytes(dir.path("s.MQS")), "PRINT 1\r\nPRINT 2\r\n");  // the copy
  EXPECT_EQ(readBytes(dir.path("out.MQS")), "PRINT 1\r\nPRINT 2\r\n");
  const std::u16string missing = ConvertScriptToText(t.p, dir.path("none.mqs"), u"");
  EXPECT_EQ(missing.rfind(u"FILE Not Found :", 0), 0u);
}

}  // namespace
}  // namespace maqo::host
