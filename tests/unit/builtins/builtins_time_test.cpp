// SLEEP (on a fake clock: its length, stop requests, pauses), GETTIME with the
// frame's time stamp and its date texts, and EVAL.
#include <gtest/gtest.h>

#include "builtins/date_time.h"
#include "builtins/time_builtins.h"
#include "tests/unit/builtins/builtins_fake_host.h"

namespace maqo::builtins {
namespace {

using engine::ScriptValue;
using testing::errorOf;
using testing::FakeBuiltinHost;
using testing::u8;

// ---- SLEEP ----

TEST(BuiltinSleep, WaitsItsTimeInRoundsThatPassMessages) {
  const struct {
    std::u16string_view call;
    int64_t ms;
  } cases[] = {{u"SLEEP(2)", 2000}, {u"SLEEP(0.05)", 50}, {u"SLEEP(0.25)", 250}, {u"SLEEP(0.005)", 5}, {u"SLEEP(0)", 0}};
  for (const auto& c : cases) {
    FakeBuiltinHost host;
    const int64_t start = host.clock.monotonicMs();
    EXPECT_EQ(host.run(c.call).toText(), u"") << u8(c.call);
    EXPECT_EQ(host.clock.monotonicMs() - start, c.ms) << u8(c.call);
    EXPECT_GT(host.ui.pumps, 0) << u8(c.call);
  }
}

TEST(BuiltinSleep, EndsEarlyOnAStopRequest) {
  FakeBuiltinHost host;
  const int64_t start = host.clock.monotonicMs();
  host.stopWhen = [&] { return host.clock.monotonicMs() - start >= 300; };
  host.run(u"SLEEP(2)");
  EXPECT_LT(host.clock.monotonicMs() - start, 400);
}

TEST(BuiltinSleep, DoesNotEndWhilePaused) {
  FakeBuiltinHost host;
  const int64_t start = host.clock.monotonicMs();
  host.paused = true;
  // The pause lifts 5 s in; the stop check is where the test looks at the clock.
  host.stopWhen = [&] {
    if (host.clock.monotonicMs() - start >= 5000) host.paused = false;
    return false;
  };
  host.run(u"SLEEP(1)");
  EXPECT_GE(host.clock.monotonicMs() - start, 5000);
  EXPECT_LT(host.clock.monotonicMs() - start, 5200);
}

TEST(BuiltinSleep, PassesMessagesMoreOftenWhileComEventsAreActive) {
  FakeBuiltinHost quiet, events;
  events.comEvents = true;
  quiet.run(u"SLEEP(1)");
  events.run(u"SLEEP(1)");
  EXPECT_GT(events.ui.pumps, 4 * quiet.ui.pumps);
}

TEST(BuiltinSleep, Errors) {
  FakeBuiltinHost host;
  const auto many = errorOf([&] { host.run(u"SLEEP(1, 2)"); });
  EXPECT_EQ(u8(many.english), "SLEEP: Too many argument");
  EXPECT_EQ(u8(many.japanese), "SLEEP: 引数の数が多すぎます");
  EXPECT_FALSE(many.catchable);
  const auto negative = errorOf([&] { host.run(u"SLEEP(-1)"); });
  EXPECT_TRUE(negative.english.starts_with(u"KansuCall:"));
  EXPECT_TRUE(negative.catchable);
}

// ---- GETTIME ----

TEST(BuiltinGetTime, NowWithOffsetsAndTheTimeStampNames) {
  FakeBuiltinHost host;  // the fake clock reads 2024-05-17 13:45:30.250, a Friday
  EXPECT_EQ(host.run(u"GETTIME()").toDouble(), 769268730);
  EXPECT_EQ(host.run(u"G_TIME_YY").toDouble(), 2024);
  EXPECT_EQ(host.run(u"G_TIME_MM").toDouble(), 5);
  EXPECT_EQ(host.run(u"G_TIME_DD").toDouble(), 17);
  EXPECT_EQ(host.run(u"G_TIME_HH").toDouble(), 13);
  EXPECT_EQ(host.run(u"G_TIME_NN").toDouble(), 45);
  EXPECT_EQ(host.run(u"G_TIME_SS").toDouble(), 30);
  EXPECT_EQ(host.run(u"G_TIME_ZZ").toDouble(), 250);
  EXPECT_EQ(host.run(u"G_TIME_WW").toDouble(), 5);
  EXPECT_EQ(u8(host.run(u"G_TIME_YY2").toText()), "24");
  EXPECT_EQ(u8(host.run(u"G_TIME_ZZ2").toText()), "250");

  EXPECT_EQ(host.run(u"GETTIME(1)").toDouble(), 769268730 + 86400);
  EXPECT_EQ(host.run(u"GETTIME(-0.5)").toDouble(), 769268730 - 43200);
  EXPECT_EQ(host.run(u"G_TIME_HH").toDouble(), 1);
}

TEST(BuiltinGetTime, DateTexts) {
  const struct {
    std::u16string_view date;
    double days;
    double seconds;
  } cases[] = {
      {u"2000/01/01", 0, 0},
      {u"2000/01/01", 1, 86400},
      {u"2000-01-01", -1, -86400},
      {u"20000101", 0, 0},
      {u"2000/01/01 12:30", 0, 45000},
      {u"2000/01/01 12", 0, 43200},
      {u"2000/02/29 23:59:59", 0, 59 * 86400 + 86399},
      {u"20000102 000001", 0.5, 86400 + 43200 + 1},
      {u"1999/12/31", 0, -86400},
  };
  for (const auto& c : cases) {
    FakeBuiltinHost host;
    host.set(u"D", ScriptValue::string(c.date));
    host.set(u"N", ScriptValue::number(c.days));
    EXPECT_EQ(host.run(u"GETTIME(N, D)").toDouble(), c.seconds) << u8(c.date);
  }
  FakeBuiltinHost host;
  host.run(u"GETTIME(0, \"2000/01/01\")");
  EXPECT_EQ(host.run(u"G_TIME_YY").toDouble(), 2000);
  EXPECT_EQ(host.run(u"G_TIME_WW").toDouble(), 6);  // a Saturday
}

TEST(BuiltinGetTime, MalformedDatesAreRefused) {
  for (std::u16string_view date : {u"2000/1/15", u"2000/01/5", u"2000/13/01", u"2000/02/30", u"2001/02/29",
                                   u"abcd/01/01", u"2000/01/01 1", u"2000/01/01 24:00", u"2000/01/01 12:60",
                                   u"200001011", u"2000/01/01 12:00:00:00", u"+2000/01/01"}) {
    FakeBuiltinHost host;
    host.set(u"D", ScriptValue::string(date));
    const auto e = errorOf([&] { host.run(u"GETTIME(0, D)"); });
    EXPECT_EQ(u8(e.english), "It is wrong date:" + u8(date));
    EXPECT_TRUE(e.catchable);
    // The time stamp keeps the moment taken before the date was read.
    EXPECT_EQ(host.run(u"G_TIME_YY").toDouble(), 2024) << u8(date);
  }
}

TEST(BuiltinGetTime, OffsetsBeyondTheCalendarAreAnError) {
  FakeBuiltinHost host;
  EXPECT_TRUE(errorOf([&] { host.run(u"GETTIME(1E+10)"); }).thrown);
  EXPECT_TRUE(errorOf([&] { host.run(u"GETTIME(-1, \"0001/01/01\")"); }).thrown);
  EXPECT_EQ(host.run(u"GETTIME(0, \"0001/01/01\")").toDouble(), -730119.0 * 86400);
}

TEST(DateTime, DayNumbersAndStamps) {
  EXPECT_EQ(DayNumber(1, 1, 1), 0);
  EXPECT_EQ(DayNumber(2000, 1, 1) - DayNumber(1999, 12, 31), 1);
  EXPECT_EQ(DayNumber(2000, 3, 1) - DayNumber(2000, 2, 28), 2);
  EXPECT_EQ(DayNumber(1900, 3, 1) - DayNumber(1900, 2, 28), 1);
  const auto stamp = StampOf(DayNumber(9999, 12, 31) * kMsPerDay + kMsPerDay - 1);
  ASSERT_TRUE(stamp);
  EXPECT_EQ(stamp->year, 9999);
  EXPECT_EQ(stamp->millisecond, 999);
  EXPECT_FALSE(StampOf(DayNumber(9999, 12, 31) * kMsPerDay + kMsPerDay));
  EXPECT_FALSE(StampOf(-1));
}

// ---- EVAL ----

TEST(BuiltinEval, EvaluatesExpressions) {
  FakeBuiltinHost host;
  EXPECT_EQ(host.run(u"EVAL(\"1+2\")").toDouble(), 3);
  EXPECT_EQ(host.run(u"EVAL(\"f_read + 1\")").toDouble(), 3);
  host.set(u"X", ScriptValue::string(u"abc"));
  EXPECT_EQ(host.run(u"EVAL(\"x\")").toText(), u"abc");
  EXPECT_EQ(u8(errorOf([&] { host.run(u"EVAL(\"nothere\")"); }).english), "It isn't defined: NOTHERE");
}

TEST(BuiltinEval, StatementsGoToTheExecutor) {
  FakeBuiltinHost host;
  EXPECT_EQ(host.run(u"EVAL(\"a := b + 1\")").toText(), u"");
  EXPECT_EQ(host.run(u"EVAL(\"thread worker(1)\")").toText(), u"");
  ASSERT_EQ(host.statements.size(), 2u);
  EXPECT_EQ(u8(host.statements[0]), "A = B + 1");
  EXPECT_EQ(u8(host.statements[1]), "THREAD WORKER(1)");

  host.set(u"S", ScriptValue::string(u"call \"lib\\sub\""));
  host.run(u"EVAL(S)");
  host.run(u"EVAL(\"call other(1, 2)\")");
  host.run(u"EVAL(\"call done.mqs\")");
  ASSERT_EQ(host.scriptFiles.size(), 3u);
  EXPECT_EQ(u8(host.scriptFiles[0]), "lib\\sub.MQS");
  EXPECT_EQ(u8(host.scriptFiles[1]), "OTHER.MQS(1, 2)");
  EXPECT_EQ(u8(host.scriptFiles[2]), "DONE.MQS");
}

TEST(BuiltinEval, TextPreparation) {
  const struct {
    std::u16string_view in, out;
  } cases[] = {
      {u"obj.item(1).name", u"OBJ.ITEM[1].NAME"},
      {u"f(1).g(2).h", u"F[1].G[2].H"},
      {u"a(b(1)).c", u"A[B(1)].C"},
      {u"f(1).g(", u"F(1).G("},
      {u"len(\"a).b\")", u"LEN(\"a).b\")"},
      {u"\"say \"hi\"\"", u"\"say <#_DBL>hi<#_DBL>\""},
      {u"x + \"Lower\"", u"X + \"Lower\""},
  };
  for (const auto& c : cases) EXPECT_EQ(u8(PrepareEvalText(c.in)), u8(c.out)) << u8(c.in);
}

TEST(BuiltinEval, ScriptExtension) {
  EXPECT_EQ(u8(WithScriptExtension(u"SUB")), "SUB.MQS");
  EXPECT_EQ(u8(WithScriptExtension(u"SUB(1, 2)")), "SUB.MQS(1, 2)");
  EXPECT_EQ(u8(WithScriptExtension(u"A.mqs")), "A.mqs");
  EXPECT_EQ(u8(WithScriptExtension(u"C:\\X (86)\\SUB")), "C:\\X (86)\\SUB.MQS");
}

}  // namespace
}  // namespace maqo::builtins
