// Runs far beyond any real script end with their result: blocks nested a
// hundred thousand deep and lines of ten megabytes.
#include <gtest/gtest.h>

#include "tests/unit/engine/exec/exec_test_support.h"

namespace maqo::engine::exec_test {
namespace {

using ExecLimits = EngineTest;

// Every kind of block, nested in turn to a depth of a hundred thousand.
TEST_F(ExecLimits, BlocksNestedAHundredThousandDeep) {
  struct Block {
    std::vector<std::u16string> open, close;
  };
  const Block kinds[] = {
      {{u"IFB TRUE"}, {u"ENDIF"}},
      {{u"WHILE N < 1"}, {u"WEND"}},
      {{u"REPEAT"}, {u"UNTIL TRUE"}},
      {{u"SELECT 1", u"CASE 1"}, {u"SELEND"}},
      {{u"TRY"}, {u"EXCEPT", u"ENDTRY"}},
      {{u"FOR I = 1 TO 1"}, {u"NEXT"}},
  };
  constexpr int kDepth = 100000;
  std::vector<std::u16string> lines{u"N = 0"};
  for (int d = 0; d < kDepth; ++d) {
    const auto& open = kinds[d % std::size(kinds)].open;
    lines.insert(lines.end(), open.begin(), open.end());
  }
  lines.push_back(u"N = N + 1");
  for (int d = kDepth - 1; d >= 0; --d) {
    const auto& close = kinds[d % std::size(kinds)].close;
    lines.insert(lines.end(), close.begin(), close.end());
  }
  lines.push_back(u"PRINT N");
  EXPECT_EQ(play(lines), PlayOutcome::Completed) << ::testing::PrintToString(ui.messages());
  EXPECT_EQ(ui.printed(), std::vector<std::string>{"1"});
}

// A ten-megabyte string literal, and a line of fifty thousand statements.
TEST_F(ExecLimits, TenMegabyteLines) {
  const std::u16string big(10 << 20, u'x');
  std::u16string statements;
  for (int i = 0; i < 50000; ++i) statements += u"C = C + 1;";
  EXPECT_EQ(play({u"S = \"" + big + u"\"", u"PRINT LENGTH(S)", u"C = 0", statements, u"PRINT C"}),
            PlayOutcome::Completed);
  EXPECT_EQ(ui.printed(), (std::vector<std::string>{"10485760", "50000"}));
}

}  // namespace
}  // namespace maqo::engine::exec_test
