// The math builtins: the documented results and edge cases, floating-point
// faults checked in software against the script's control word, RANDOM's
// generator and SET8087CW.
#include <gtest/gtest.h>

#include <cmath>

#include "builtins/math_builtins.h"
#include "tests/unit/builtins/builtins_fake_host.h"

namespace maqo::builtins {
namespace {

using engine::ScriptValue;
using engine::VarType;
using testing::errorOf;
using testing::FakeBuiltinHost;
using testing::u8;

TEST(BuiltinMath, Results) {
  FakeBuiltinHost host;
  const struct {
    std::u16string_view expression;
    double value;
  } cases[] = {
      {u"INT(-2.7)", -2},           {u"INT(2.7)", 2},
      {u"ABS(-3.5)", 3.5},          {u"ZCUT(5)", 5},
      {u"ZCUT(-5)", 0},             {u"CEIL(-2.7)", -2},
      {u"CEIL(2.1)", 3},            {u"CEIL(-1.5)", -1},
      {u"CEIL(4)", 4},              {u"ROUND(2.5)", 2},
      {u"ROUND(3.5)", 4},           {u"ROUND(-2.5)", -2},
      {u"ROUND(1234.5678, -2)", 1234.57},
      {u"ROUND(0.125, -2)", 0.12},  {u"ROUND(1234, 2)", 1200},
      {u"ROUND(1250, 2)", 1200},    {u"ROUND(1350, 2)", 1400},
      {u"ROUND(1.5, 0.9)", 2},      {u"ROUND(1E+300, -20)", 1e300},
      {u"POWER(2)", 1},             {u"POWER(2, 10)", 1024},
      {u"POWER(0, 0)", 1},          {u"LOGN(2, 8)", 3},
      {u"LOGN(10, 1000)", 3},       {u"SQRT(16)", 4},
      {u"EXP(0)", 1},               {u"LN(1)", 0},
      {u"SIN(0)", 0},               {u"COS(0)", 1},
      {u"TAN(0)", 0},               {u"ARCTAN(1) * 4", 3.14159265358979},
      {u"ARCSIN(1) * 2", 3.14159265358979},
      {u"ARCCOS(0) * 2", 3.14159265358979},
      {u"ARCSIN(0)", 0},            {u"ARCCOS(1)", 0},
  };
  for (const auto& c : cases) {
    const ScriptValue v = host.run(c.expression);
    EXPECT_NEAR(v.toDouble(), c.value, std::fabs(c.value) * 1e-14) << u8(c.expression);
  }
}

TEST(BuiltinMath, ResultKinds) {
  FakeBuiltinHost host;
  EXPECT_EQ(host.run(u"ZCUT(-5)").type(), VarType::Int32);
  EXPECT_EQ(host.run(u"ZCUT(5)").type(), VarType::Double);
  EXPECT_EQ(host.run(u"CEIL(2.1)").type(), VarType::Int32);
  EXPECT_EQ(host.run(u"INT(2.7)").type(), VarType::Double);
}

TEST(BuiltinMath, CeilGoesBeyondThirtyTwoBits) {
  FakeBuiltinHost host;
  const ScriptValue big = host.run(u"CEIL(3000000000.5)");
  EXPECT_EQ(big.type(), VarType::Int64);
  EXPECT_EQ(big.integerPayload(), 3000000001);
  EXPECT_EQ(host.run(u"CEIL(-3000000000.5)").integerPayload(), -3000000000);
  // Beyond 64 bits the double stays (no undefined conversion).
  const ScriptValue huge = host.run(u"CEIL(1E+300)");
  EXPECT_TRUE(huge.isDouble());
  EXPECT_EQ(huge.doublePayload(), 1e300);
}

TEST(BuiltinMath, RoundDigitsOutsideTheRangeAreAnError) {
  FakeBuiltinHost host;
  for (std::u16string_view call : {u"ROUND(1, 21)", u"ROUND(1, -21)"}) {
    const auto e = errorOf([&] { host.run(call); });
    EXPECT_TRUE(e.thrown) << u8(call);
    EXPECT_TRUE(e.catchable);
    EXPECT_TRUE(e.english.starts_with(u"KansuCall:")) << u8(e.english);
  }
  EXPECT_EQ(host.run(u"ROUND(1, 20)").toDouble(), 0);
  EXPECT_EQ(host.run(u"ROUND(1.5, -20)").toDouble(), 1.5);
}

TEST(BuiltinMath, UnmaskedFaultsAreErrorsMaskedOnesGiveNanOrInfinity) {
  const struct {
    std::u16string_view name;
    double x, y;
    const char* fault;  // English text after "KansuCall:"
  } cases[] = {
      {u"SQRT", -1, 0, "Invalid floating point operation"},
      {u"LN", 0, 0, "Floating point division by zero"},
      {u"LN", -1, 0, "Invalid floating point operation"},
      {u"EXP", 1000, 0, "Floating point overflow"},
      {u"POWER", 10, 400, "Floating point overflow"},
      {u"LOGN", 1, 8, "Floating point division by zero"},
      {u"LOGN", 2, 0, "Floating point division by zero"},
      {u"LOGN", 1, 1, "Invalid floating point operation"},
      {u"POWER", 0, -1, "Floating point division by zero"},
      {u"POWER", -8, 0.5, "Invalid floating point operation"},
      {u"ARCSIN", 2, 0, "Invalid floating point operation"},
      {u"ARCCOS", -2, 0, "Invalid floating point operation"},
  };
  FloatingPointControl startup;
  FloatingPointControl masked;
  masked.set(0x133F);
  for (const auto& c : cases) {
    MathArguments args;
    args.x[0] = c.x;
    args.x[1] = c.y;
    args.count = 2;
    const auto e = errorOf([&] { ComputeMath(c.name, args, startup); });
    EXPECT_EQ(u8(e.english), std::string("KansuCall:") + c.fault) << u8(c.name) << "(" << c.x << ")";
    EXPECT_TRUE(e.catchable);
    const double r = ComputeMath(c.name, args, masked).toDouble();
    EXPECT_TRUE(std::isnan(r) || std::isinf(r)) << u8(c.name) << " gave " << r;
  }
}

TEST(BuiltinMath, MaskedByDefaultUnderflowAndPrecision) {
  FakeBuiltinHost host;
  EXPECT_EQ(host.run(u"EXP(-1000)").toDouble(), 0);
  EXPECT_NEAR(host.run(u"SIN(1)").toDouble(), 0.841470984807897, 1e-15);
  // Unmasked, an inexact result is an error as well.
  host.run(u"SET8087CW($1312)");
  EXPECT_EQ(u8(errorOf([&] { host.run(u"SIN(1)"); }).english), "KansuCall:Floating point inexact result");
}

TEST(BuiltinMath, Set8087CwKeepsTheWordAndZeroRestoresTheStartupWord) {
  FakeBuiltinHost host;
  EXPECT_TRUE(errorOf([&] { host.run(u"SQRT(-1)"); }).thrown);
  EXPECT_EQ(host.run(u"SET8087CW($133F)").toText(), u"");
  EXPECT_EQ(host.state.floatingPoint.word(), 0x133F);
  EXPECT_EQ(u8(host.run(u"SQRT(-1)").toText()), "NAN");
  host.run(u"SET8087CW(0)");
  EXPECT_EQ(host.state.floatingPoint.word(), FloatingPointControl::kStartupWord);
  host.run(u"SET8087CW($133F)");
  host.run(u"SET8087CW()");
  EXPECT_EQ(host.state.floatingPoint.word(), FloatingPointControl::kStartupWord);
  EXPECT_TRUE(errorOf([&] { host.run(u"SET8087CW(65536)"); }).thrown);
  EXPECT_TRUE(errorOf([&] { host.run(u"SET8087CW(-1)"); }).thrown);
  // A new run starts from the start-up word again.
  host.run(u"SET8087CW($133F)");
  host.state.BeginRun();
  EXPECT_EQ(host.state.floatingPoint.word(), FloatingPointControl::kStartupWord);
}

TEST(BuiltinMath, RandomFollowsItsGenerator) {
  FakeBuiltinHost host;
  host.state.random.setSeed(0);
  // seed := seed * 134775813 + 1: 1, then 134775814.
  // (The evaluator rounds results to 15 digits.)
  EXPECT_NEAR(host.run(u"RANDOM()").toDouble(), 1.0 / 4294967296.0, 1e-24);
  EXPECT_EQ(host.run(u"RANDOM(1000)").toDouble(), static_cast<int64_t>(134775814ull * 1000 >> 32));
  host.state.random.setSeed(12345);
  for (int i = 0; i < 1000; ++i) {
    const ScriptValue r = host.run(u"RANDOM(10)");
    ASSERT_EQ(r.type(), VarType::Int32);
    ASSERT_GE(r.integerPayload(), 0);
    ASSERT_LT(r.integerPayload(), 10);
    const double f = host.run(u"RANDOM()").toDouble();
    ASSERT_GE(f, 0);
    ASSERT_LT(f, 1);
  }
  EXPECT_EQ(host.run(u"RANDOM(0)").integerPayload(), 0);
  const ScriptValue wide = host.run(u"RANDOM(10000000000)");
  EXPECT_GE(wide.integerPayload(), 0);
  EXPECT_LT(wide.integerPayload(), 10000000000);
}

}  // namespace
}  // namespace maqo::builtins
