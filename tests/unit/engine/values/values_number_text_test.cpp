#include "engine/values/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/text_codec.h"

namespace maqo::engine {
namespace {

std::u16string repeat(char16_t c, size_t n) { return std::u16string(n, c); }

struct NumberCase {
  std::u16string text;
  bool loose;
  bool strict;
  double value;  // when a number
};

TEST(ValuesNumberText, LooseAndStrictRule) {
  // 33 characters: a "." among the first 32 makes it a number, after them not.
  const std::u16string dotEarly = u"1234." + repeat(u'5', 28);
  const std::u16string dotLate = repeat(u'1', 32) + u".";
  const std::u16string digits64 = u"0." + repeat(u'0', 61) + u"1";
  const NumberCase cases[] = {
      {u"1E+5", true, true, 100000},
      {u"1e-2", true, true, 0.01},
      {u"1E5", true, false, 100000},
      {u"12e3", true, false, 12000},
      {u"$1F", true, true, 31},
      {u"$ff", true, true, 255},
      {u"$FFFFFFFFFFFFFFFF", true, true, -1},             // 64-bit two's complement
      {u"$0000000000000000F", true, true, 15},            // leading zeros do not overflow
      {u"$10000000000000000", false, false, 0},           // 65 bits
      {u"$", false, false, 0},
      {u"$1G", false, false, 0},
      {u"-$1", false, false, 0},
      {repeat(u'1', 65), false, false, 0},
      {repeat(u'1', 33), false, false, 0},
      {repeat(u'1', 32), true, true, 11111111111111111111111111111111.0},
      {dotEarly, true, true, 1234.5555555555555555555555555555},
      {dotLate, false, false, 0},
      {digits64, true, true, 1e-62},
      {u"  12  ", true, true, 12},
      {u"\t7\r\n", true, true, 7},
      {u"-0", true, true, 0},
      {u"+1", true, true, 1},
      {u"1.5", true, true, 1.5},
      {u".5", true, true, 0.5},
      {u"5.", true, true, 5},
      {u"1e400", false, false, 0},  // overflow is no number
      {u"1e-400", true, true, 0},   // underflow is zero
      {u"e", false, false, 0},
      {u"E", false, false, 0},
      {u".", false, false, 0},
      {u"+", false, false, 0},
      {u"-", false, false, 0},
      {u"1e", false, false, 0},
      {u"1e+", false, false, 0},
      {u"+-1", false, false, 0},
      {u"--1", false, false, 0},
      {u"1.2.3", false, false, 0},
      {u"1 2", false, false, 0},
      {u"1,5", false, false, 0},
      {u"0x10", false, false, 0},
      {u"abc", false, false, 0},
      {u"", false, false, 0},
      {u"   ", false, false, 0},
  };
  for (const auto& c : cases) {
    const std::string label = utf16ToUtf8(c.text);
    const auto loose = parseNumberText(c.text, NumberTextMode::Loose);
    const auto strict = parseNumberText(c.text, NumberTextMode::Strict);
    EXPECT_EQ(loose.has_value(), c.loose) << label;
    EXPECT_EQ(strict.has_value(), c.strict) << label;
    if (c.loose) {
      ASSERT_TRUE(loose) << label;
      EXPECT_DOUBLE_EQ(*loose, c.value) << label;
    } else {
      EXPECT_EQ(numberTextValue(c.text), kNotANumberValue) << label;
    }
    EXPECT_EQ(isNumberText(c.text, NumberTextMode::Strict), c.strict) << label;
  }
}

TEST(ValuesNumberText, UntrimmedModeRejectsSpaces) {
  EXPECT_TRUE(isNumberText(u" 12 "));
  EXPECT_FALSE(isNumberText(u" 12 ", NumberTextMode::Loose, /*trim=*/false));
  EXPECT_TRUE(isNumberText(u"12", NumberTextMode::Loose, /*trim=*/false));
}

TEST(ValuesNumberText, SentinelAndNegativeZero) {
  EXPECT_EQ(kNotANumberValue, -2.1e9);
  EXPECT_EQ(numberTextValue(u"x"), -2.1e9);
  const double minusZero = *parseNumberText(u"-0");
  EXPECT_EQ(minusZero, 0.0);
  EXPECT_EQ(formatDouble(minusZero), u"0");
}

TEST(ValuesNumberText, IntegerConversion) {
  struct Case {
    std::u16string text;
    std::optional<int64_t> value;
  };
  const Case cases[] = {
      {u"12", 12},         {u"-7", -7},      {u"+3", 3},         {u"$10", 16},
      {u"1.5", {}},        {u"1e3", {}},     {u" 1", {}},        {u"", {}},
      {u"-", {}},          {u"9223372036854775807", INT64_MAX},  {u"-9223372036854775808", INT64_MIN},
      {u"9223372036854775808", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(parseIntegerText(c.text), c.value) << utf16ToUtf8(c.text);
}

TEST(ValuesNumberText, DoublesPrintWithFifteenSignificantDigits) {
  struct Case {
    double value;
    std::u16string text;
  };
  const Case cases[] = {
      {1.0 / 3.0, u"0.333333333333333"},
      {0.1 + 0.2, u"0.3"},
      {2.0, u"2"},
      {-2.5, u"-2.5"},
      {100000, u"100000"},
      {123456789012345.0, u"123456789012345"},
      {1e15, u"1e+15"},
      {0.0001, u"0.0001"},
      {0.00001, u"1e-05"},
      {-2.1e9, u"-2100000000"},
      {2.0 / 3.0, u"0.666666666666667"},
      {std::numeric_limits<double>::infinity(), u"INF"},
      {-std::numeric_limits<double>::infinity(), u"-INF"},
      {std::nan(""), u"NAN"},
  };
  for (const auto& c : cases) EXPECT_EQ(formatDouble(c.value), c.text) << c.value;
  EXPECT_EQ(formatSingle(0.1f), u"0.1");
  EXPECT_EQ(formatInteger(INT64_MIN), u"-9223372036854775808");
  EXPECT_EQ(formatUnsigned(UINT64_MAX), u"18446744073709551615");
}

TEST(ValuesNumberText, PrintedNumbersReadBackStrictly) {
  // What PRINT writes is read back as the same number by the tokenizer's rule.
  for (double value : {1e15, 1.5e-7, -3.25e200, 0.1 + 0.2, 1.0 / 7.0}) {
    const auto back = parseNumberText(formatDouble(value), NumberTextMode::Strict);
    ASSERT_TRUE(back) << value;
    EXPECT_EQ(formatDouble(*back), formatDouble(value));
  }
}

}  // namespace
}  // namespace maqo::engine
