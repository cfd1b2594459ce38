// The builder on a line of very many statements: each statement is a program
// line of its own, and the source line they share is held once.
#include <gtest/gtest.h>

#include "tests/unit/engine/builder/builder_test_support.h"

namespace maqo::engine::builder_test {
namespace {

TEST_F(BuilderTest, TenThousandStatementsOnOneLineShareItsSource) {
  constexpr int kStatements = 10000;
  std::u16string line;
  for (int i = 0; i < kStatements; ++i) line += u"A = " + u16(std::to_string(i)) + u"; ";
  buildMain({line});
  ASSERT_EQ(program.firstErrorLine(), -1) << firstError();
  ASSERT_EQ(program.lineCount(), kStatements + 2);
  EXPECT_EQ(program.ScriptLines[kStatements], u"A = " + u16(std::to_string(kStatements - 1)));
  for (int q : {1, kStatements / 2, kStatements}) {
    EXPECT_EQ(program.sourceRef(q).number, 1) << q;
    EXPECT_EQ(program.sourceRef(q).text, line) << q;
  }
  // Three source lines (header, the line, FEND), each held once.
  EXPECT_EQ(program.SourceRefs.size(), 3u);
}

}  // namespace
}  // namespace maqo::engine::builder_test
