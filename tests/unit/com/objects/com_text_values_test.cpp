// The pure parts of COM member calls: member chains and argument lists as
// scripts write them, the script value -> VARIANT table, and error texts.
#include <gtest/gtest.h>

#include <cmath>

#include "com/objects/com_errors.h"
#include "com/objects/com_values.h"
#include "com/objects/member_text.h"
#include "engine/errors/script_error.h"

namespace maqo::com::objects {
namespace {

using engine::ScriptValue;
namespace vt = platform::vt;

TEST(ComMemberArguments, SplitAsScriptsWriteThem) {
  struct Case {
    std::u16string_view text;
    std::vector<MemberArgument> expected;
  };
  const Case cases[] = {
      {u"", {}},
      {u"1, , 3", {{u"1", u"", false}, {u"EMPTYPARAM", u"", false}, {u"3", u"", false}}},
      {u",", {{u"EMPTYPARAM", u"", false}, {u"EMPTYPARAM", u"", false}}},
      {u"VAR N, VAR A[1]", {{u"N", u"", true}, {u"A[1]", u"", true}}},
      {u"VARIABLE", {{u"VARIABLE", u"", false}}},
      {u"1, C := \"C\", B:=\"B\"", {{u"1", u"", false}, {u"\"C\"", u"C", false}, {u"\"B\"", u"B", false}}},
      // ":=" inside a string is text, not a named argument.
      {u"\"x := 1\"", {{u"\"x := 1\"", u"", false}}},
      {u"F(1, 2), \"a,b\"", {{u"F(1, 2)", u"", false}, {u"\"a,b\"", u"", false}}},
      {u"N := VAR X", {{u"X", u"N", true}}},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseMemberArguments(c.text), c.expected) << std::string(c.text.begin(), c.text.end());
}

TEST(ComMemberArguments, SixteenAtMostAndTheSeventeenthIsAnError) {
  std::u16string sixteen = u"1";
  for (int i = 2; i <= 16; ++i) sixteen += u",1";
  EXPECT_EQ(ParseMemberArguments(sixteen).size(), 16u);
  EXPECT_THROW(ParseMemberArguments(sixteen + u",1"), engine::ScriptError);
}

TEST(ComMemberPath, ChainsSplitIntoHeadAndSteps) {
  const MemberPath path = ParseMemberPath(u"XL.CELLS(1, 2).VALUE.ITEM[\"a.b\"]");
  EXPECT_EQ(path.head, u"XL");
  ASSERT_EQ(path.steps.size(), 3u);
  EXPECT_EQ(path.steps[0].name, u"CELLS");
  EXPECT_TRUE(path.steps[0].parenthesised);
  EXPECT_EQ(path.steps[0].arguments.size(), 2u);
  EXPECT_EQ(path.steps[1].name, u"VALUE");
  EXPECT_FALSE(path.steps[1].parenthesised || path.steps[1].indexed);
  EXPECT_TRUE(path.steps[2].indexed);
  EXPECT_EQ(path.steps[2].arguments[0].text, u"\"a.b\"");

  const MemberPath with = ParseMemberPath(u".COUNT");
  EXPECT_EQ(with.head, u"");
  EXPECT_EQ(with.steps[0].name, u"COUNT");
  EXPECT_EQ(ParseMemberPath(u"A[1].B").head, u"A[1]");

  for (std::u16string_view bad : {u"A", u"A.", u"A..B", u"A.B(1", u"A.B(1)X", u"A.(1)"})
    EXPECT_THROW(ParseMemberPath(bad), engine::ScriptError) << std::string(bad.begin(), bad.end());
}

TEST(ComArgumentConversion, FollowsTheTable) {
  struct Case {
    ScriptValue value;
    uint16_t type;
    int64_t integer;
    double number;
  };
  const Case cases[] = {
      {ScriptValue::keywordBool(true), vt::kBool, -1, 0},  // servers read VT_BOOL 1 as false
      {ScriptValue::builtinBool(true), vt::kBool, -1, 0},
      {ScriptValue::keywordBool(false), vt::kBool, 0, 0},
      {ScriptValue::number(3.0), vt::kI4, 3, 0},
      {ScriptValue::number(-2147483648.0), vt::kI4, -2147483648LL, 0},
      {ScriptValue::number(2147483647.0), vt::kI4, 2147483647, 0},
      {ScriptValue::number(2.5), vt::kR8, 0, 2.5},
      {ScriptValue::number(5e9), vt::kR8, 0, 5e9},  // would overflow a VT_I4
      {ScriptValue::number(1e300), vt::kR8, 0, 1e300},
      {ScriptValue::number(-2147483649.0), vt::kR8, 0, -2147483649.0},
      {ScriptValue::integer(engine::VarType::Int16, 7), vt::kI2, 7, 0},
      {ScriptValue::int32(9), vt::kI4, 9, 0},
      {ScriptValue::integer(engine::VarType::Int64, 6000000000LL), vt::kR8, 0, 6e9},
      {ScriptValue::string(u"__EMPTYPARAM__"), vt::kError, platform::kDispParamNotFound, 0},
      {ScriptValue(), vt::kEmpty, 0, 0},
      {ScriptValue::null(), vt::kNull, 0, 0},
      {ScriptValue::nothing(), vt::kDispatch, 0, 0},
  };
  for (const Case& c : cases) {
    const platform::ComValue v = ToComArgument(c.value);
    EXPECT_EQ(v.type, c.type) << c.value.toText().size();
    EXPECT_EQ(v.integer, c.integer);
    EXPECT_EQ(v.number, c.number);
  }
  const platform::ComValue empty = ToComArgument(ScriptValue::string(u""));
  EXPECT_EQ(empty.type, vt::kBstr);
  EXPECT_EQ(empty.text, u"");
}

TEST(ComArgumentConversion, ArraysKeepTheirDimensionsBothWays) {
  engine::ArrayValue grid({{0, 1}, {1, 3}});
  for (size_t i = 0; i < grid.size(); ++i) grid.at(i) = ScriptValue::int32(static_cast<int32_t>(i));
  const platform::ComValue v = ToComArgument(ScriptValue::array(grid));
  EXPECT_EQ(v.type, vt::kArray | vt::kVariant);
  ASSERT_EQ(v.bounds.size(), 2u);
  EXPECT_EQ(v.bounds[1], (platform::ComArrayBound{1, 3}));
  ASSERT_EQ(v.elements.size(), 6u);
  EXPECT_EQ(v.elements[5].integer, 5);
  const ScriptValue back = FromComValue(v);
  ASSERT_TRUE(back.isArray());
  EXPECT_EQ(back.arrayRef(), grid);
}

TEST(ComResultConversion, KindsKeepTheirCodes) {
  platform::ComValue text;
  text.type = vt::kBstr;
  text.text = u"abc";
  EXPECT_EQ(FromComValue(text).toText(), u"abc");
  platform::ComValue boolean;
  boolean.type = vt::kBool;
  boolean.integer = -1;
  EXPECT_EQ(FromComValue(boolean).booleanPayload(), -1);
  platform::ComValue nothing;
  nothing.type = vt::kDispatch;
  EXPECT_TRUE(FromComValue(nothing).isNothing());
  platform::ComValue big;
  big.type = vt::kR8;
  big.number = 5e9;
  EXPECT_EQ(FromComValue(big).doublePayload(), 5e9);
}

TEST(ComErrorTexts, DescriptionFirstThenTheCodesText) {
  platform::ComFailure described{platform::kDispException, static_cast<int32_t>(0x800A0005), u" Invalid call ", u"Server", u"Exception occurred."};
  EXPECT_EQ(ComErrorText(described), u"Invalid call");
  platform::ComFailure bare{platform::kDispException, static_cast<int32_t>(0x800A0005), u"", u"", u"Invalid procedure"};
  EXPECT_EQ(ComErrorText(bare), u"Invalid procedure (0x800A0005)");
  platform::ComFailure nothing{static_cast<int32_t>(0x80004005), 0, u"", u"", u""};
  EXPECT_EQ(ComErrorText(nothing), u"COM error 0x80004005");
}

}  // namespace
}  // namespace maqo::com::objects
