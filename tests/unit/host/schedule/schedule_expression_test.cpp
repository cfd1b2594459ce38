// Expression entries are computed from a formula read once where that gives
// the same result as replacing the names in the text; these cases check the
// two agree, including texts where a name touches a digit or another name.
#include <gtest/gtest.h>

#include "engine/eval/formula.h"
#include "host/schedule/expression_template.h"
#include "platform/text_codec.h"

namespace maqo::host::schedule {
namespace {

TEST(ScheduleExpression, ReadOnceAgreesWithReplacedText) {
  const struct {
    const char16_t* text;
    bool prepared;
  } expressions[] = {
      {u"WW=1 AND HH=9 AND NN=0", true},
      {u"YMDNN=1440", true},
      {u"YMDNN MOD 7=3", true},
      {u"2-YMDNN>0", true},
      {u"NN MOD (HH-9)=0", true},
      {u"(YY*10000+MM*100+DD)=20270531", true},
      {u"IIF(WW=0,HH=10,HH=8)", true},
      {u"!(NN MOD 15)", true},
      {u"HHNN=930", false},   // replaced text reads one number
      {u"1YY=12027", false},  // ditto
      {u"YYY=1", false},
      {u"hh=9", false},       // lower case is no name, and fails after upper-casing
      {u"HH.5=9.5", false},
      {u"NN=", true},
      {u"", true},
  };
  const ScheduleMinute minutes[] = {{2027, 5, 31, 9, 30}, {2000, 1, 2, 0, 0}, {1999, 12, 31, 10, 15},
                                    {2026, 12, 7, 9, 0}, {2026, 12, 13, 10, 0}};
  for (const auto& e : expressions) {
    const ExpressionTemplate formula(e.text);
    const std::string name = utf16ToUtf8(e.text);
    EXPECT_EQ(formula.prepared(), e.prepared) << name;
    for (const ScheduleMinute& m : minutes) {
      for (const bool padded : {false, true}) {
        const engine::FormulaOutcome replaced = engine::ComputeFormula(formula.textAt(m, padded));
        const ExpressionResult result = formula.evaluateAt(m, padded);
        EXPECT_EQ(result.value, replaced.value) << name << " at " << utf16ToUtf8(MinuteText(m));
        EXPECT_EQ(result.failure, replaced.failure) << name << " at " << utf16ToUtf8(MinuteText(m));
      }
    }
  }
}

}  // namespace
}  // namespace maqo::host::schedule
