// The dispatcher: the argument record, the non-numeric rules, raw positions,
// the argument limit, SCKEY's one-character keys, the math path, stop
// requests between arguments, the pacing record and unavailable builtins.
#include <gtest/gtest.h>

#include "builtins/argument_path.h"
#include "builtins/builtin_table.h"
#include "builtins/dispatch.h"
#include <deque>

#include "engine/eval/expression_tree.h"
#include "tests/unit/builtins/builtins_fake_host.h"

namespace maqo::builtins {
namespace {

using engine::ScriptValue;
using testing::errorOf;
using testing::FakeBuiltinHost;
using testing::u8;

// The call site the compiler makes of "NAME(arguments)"; the expression is
// kept alive for the rest of the test run.
const engine::CallSite& callOf(std::u16string_view text) {
  static std::deque<engine::ExpressionPtr> compiled;
  compiled.push_back(engine::CompileExpression(text));
  const engine::ExpressionNode* root = compiled.back()->root();
  EXPECT_TRUE(root != nullptr && root->call != nullptr) << u8(text);
  return *root->call;
}

class ArgumentRecord : public ::testing::Test {
 protected:
  // The argument record of a call, as the dispatcher would build it.
  BuiltinCall record(std::u16string_view text) {
    const engine::CallSite& site = callOf(text);
    BuiltinCall call{*FindBuiltin(site.name), site, {}, {}, {}, 0};
    completed = CollectArguments(call, site, host);
    return call;
  }

  FakeBuiltinHost host;
  bool completed = false;
};

TEST_F(ArgumentRecord, TextNumberAndIntegerPerArgument) {
  host.set(u"S", ScriptValue::string(u"12.5 "));
  const BuiltinCall call = record(u"CHKNUM(S)");
  ASSERT_EQ(call.count(), 1);
  EXPECT_EQ(call.text(0), u"12.5 ");  // the untrimmed text
  EXPECT_TRUE(call.at(0).isNumber);
  EXPECT_EQ(call.number(0), 12.5);
  EXPECT_EQ(call.integer(0), 12);
  // Missing positions read as the empty text and 0.
  EXPECT_EQ(call.text(5), u"");
  EXPECT_EQ(call.number(5), 0);
}

TEST_F(ArgumentRecord, IntegerIsTruncatedTowardZeroAndClamped) {
  const struct {
    std::u16string_view text;
    int64_t integer;
  } cases[] = {
      {u"SLEEP(-2.7)", -2}, {u"SLEEP(2.7)", 2}, {u"SLEEP(1E+30)", INT64_MAX}, {u"SLEEP(-1E+30)", INT64_MIN},
      {u"SLEEP($FF)", 255},
  };
  for (const auto& c : cases) EXPECT_EQ(record(c.text).integer(0), c.integer) << u8(c.text);
}

TEST_F(ArgumentRecord, FirstTwoValuesAreKeptWhole) {
  const BuiltinCall call = record(u"DOSCMD(\"dir\", 5, 0)");
  EXPECT_TRUE(call.first.isString());
  EXPECT_EQ(call.first.toText(), u"dir");
  EXPECT_TRUE(call.second.isDouble());
}

TEST_F(ArgumentRecord, BooleansAndNullTakeTheirArgumentForms) {
  EXPECT_EQ(record(u"SLEEP(TRUE)").text(0), u"1");
  EXPECT_EQ(record(u"SLEEP(1 = 1)").number(0), 1);
  // NULL is the empty text, which no number position accepts.
  const auto e = errorOf([&] { record(u"SLEEP(NULL)"); });
  EXPECT_EQ(u8(e.english), "Definition is wrong: ");
}

TEST_F(ArgumentRecord, NonNumericTextWhereANumberIsNeeded) {
  const struct {
    std::u16string_view call;
    const char* error;  // nullptr: accepted
  } cases[] = {
      {u"SENDSTR(\"abc\", \"x\")", "Definition is wrong: abc"},
      {u"SENDSTR(1, \"x\")", nullptr},
      {u"SENDSTR(1, 2, \"z\")", "Definition is wrong: z"},
      {u"GETTIME(\"x\")", "Definition is wrong: x"},
      {u"GETTIME(0, \"2000/01/01\")", nullptr},
      {u"RANDOM(\"\")", "Definition is wrong: "},
      {u"SLEEP(\"1E5\")", "Definition is wrong: 1E5"},  // the strict number test
      {u"SLEEP(\" 1.5 \")", nullptr},
      {u"CLKITEM(1, \"OK\", \"\", \"\")", nullptr},
      {u"CLKITEM(1, \"OK\", \"x\")", "Definition is wrong: x"},
      {u"CLKITEM(1, \"OK\", 0, \"y\")", "Definition is wrong: y"},
      {u"BALLOON(\"msg\", \"\", \"\", \"any\")", nullptr},
      {u"BALLOON(\"msg\", \"x\")", "Definition is wrong: x"},
      {u"MSGBOX(\"a\", \"b\", \"c\", \"d\", \"e\")", nullptr},
  };
  for (const auto& c : cases) {
    const auto e = errorOf([&] { record(c.call); });
    if (c.error == nullptr) {
      EXPECT_FALSE(e.thrown) << u8(c.call) << ": " << u8(e.english);
    } else {
      EXPECT_EQ(u8(e.english), c.error) << u8(c.call);
      EXPECT_EQ(u8(e.japanese), std::string(c.error).substr(21) + ": 定義が間違っています") << u8(c.call);
      EXPECT_TRUE(e.catchable);
    }
  }
}

TEST_F(ArgumentRecord, AnUndefinedNameIsTheEvaluatorsError) {
  const auto e = errorOf([&] { record(u"SENDSTR(ABC, \"x\")"); });
  EXPECT_EQ(u8(e.english), "It isn't defined: ABC");
}

TEST_F(ArgumentRecord, RawPositionsKeepTheTextAsWritten) {
  // JOIN's first argument names an array; it is not evaluated (X is undefined).
  const BuiltinCall join = record(u"JOIN(X[1], \",\")");
  EXPECT_EQ(join.text(0), u"X[1]");
  EXPECT_EQ(join.text(1), u",");
  const BuiltinCall qsort = record(u"QSORT(A, 1, B, C + 1)");
  EXPECT_EQ(qsort.text(0), u"A");
  EXPECT_EQ(qsort.text(1), u"1");
  EXPECT_EQ(qsort.text(2), u"B");
  EXPECT_EQ(qsort.text(3), u"C + 1");
}

TEST_F(ArgumentRecord, AnArrayAtAnEvaluatedPositionIsSyntaxError20) {
  host.set(u"ARR", ScriptValue::array(engine::ArrayValue::fromList({ScriptValue::number(1)})));
  const auto e = errorOf([&] { record(u"RANDOM(ARR)"); });
  EXPECT_EQ(u8(e.english), "SyntaxError-20");
  EXPECT_FALSE(e.catchable);
  // VARTYPE looks at the value: no text, no error.
  const BuiltinCall vartype = record(u"VARTYPE(ARR)");
  EXPECT_TRUE(vartype.first.isArray());
  EXPECT_EQ(vartype.text(0), u"");
}

TEST_F(ArgumentRecord, ThirtySixArgumentsAndNoMore) {
  std::u16string call = u"MSGBOX(1";
  for (int i = 2; i <= 36; ++i) call += u", 1";
  const BuiltinCall full = record(call + u")");
  EXPECT_EQ(full.count(), 36);
  const auto e = errorOf([&] { record(call + u", 1)"); });
  EXPECT_EQ(u8(e.english), "Error: There are too many arguments to the Function");
  EXPECT_EQ(u8(e.japanese), "Error: 関数への引数が多すぎます");
  EXPECT_FALSE(e.catchable);
}

TEST_F(ArgumentRecord, SckeyReadsOneCharacterAsAVirtualKey) {
  host.set(u"AB", ScriptValue::number(7));
  const BuiltinCall call = record(u"SCKEY(0, A, 5, AB, VK_SHIFT)");
  EXPECT_EQ(call.number(1), 65);  // VK_A
  EXPECT_EQ(call.number(2), 53);  // VK_5, not 5
  EXPECT_EQ(call.number(3), 7);   // a longer name is a name
  EXPECT_EQ(call.number(4), 16);
  // The first argument is a window ID, read as usual.
  EXPECT_EQ(record(u"SCKEY(5, A)").number(0), 5);
  // Another builtin reads a one-character name as a variable.
  EXPECT_EQ(u8(errorOf([&] { record(u"SLEEP(A)"); }).english), "It isn't defined: A");
}

TEST_F(ArgumentRecord, AStopRequestEndsTheCallBetweenArguments) {
  host.stopWhen = [] { return true; };
  const BuiltinCall call = record(u"DOSCMD(\"a\", 0, 0)");
  EXPECT_FALSE(completed);
  EXPECT_EQ(call.count(), 1);
}

TEST(BuiltinCheck, TooFewArgumentsIsTheCheckPassesMessage) {
  const auto lacking = LackingArguments(*FindBuiltin(u"CHGMOJ"), 2);
  ASSERT_TRUE(lacking.has_value());
  EXPECT_EQ(u8(lacking->english), "Argument is lacking:CHGMOJ");
  EXPECT_EQ(u8(lacking->japanese), "CHGMOJ：引数が足りません");
  EXPECT_FALSE(LackingArguments(*FindBuiltin(u"CHGMOJ"), 3).has_value());
  EXPECT_FALSE(LackingArguments(*FindBuiltin(u"SAFEARRAY"), 0).has_value());
  // At run time a missing argument is the empty text and 0: GETTIME() runs.
  FakeBuiltinHost host;
  EXPECT_TRUE(host.run(u"GETTIME()").isDouble());
}

// ---- DispatchBuiltin, through the library ----

TEST(DispatchBuiltin, MathPathUsesAtMostThreeArguments) {
  FakeBuiltinHost host;
  // The fourth argument is not evaluated: its undefined name does no harm.
  EXPECT_EQ(host.run(u"SIN(0, 2, 3, UNDEFINED_NAME)").toDouble(), 0);
  EXPECT_EQ(host.run(u"POWER(2)").toDouble(), 1);
  EXPECT_EQ(host.run(u"POWER(2, 10)").toDouble(), 1024);
  EXPECT_EQ(host.run(u"GLOBAL.ABS(-3)").toDouble(), 3);
  host.set(u"A", ScriptValue::string(u"abc"));
  const auto e = errorOf([&] { host.run(u"SIN(A)"); });
  EXPECT_EQ(u8(e.english), "Is non-numeric: A");
  EXPECT_EQ(u8(e.japanese), "A: 数値以外である");
  EXPECT_TRUE(e.catchable);
  // A number held as text converts.
  host.set(u"N", ScriptValue::string(u"4"));
  EXPECT_EQ(host.run(u"SQRT(N)").toDouble(), 2);
}

TEST(DispatchBuiltin, UnavailableFamiliesNameTheBuiltin) {
  FakeBuiltinHost host;
  for (std::u16string_view call : {u"IEGETDATA(1, \"x\")", u"SPEAK(\"hello\")", u"CREATEFORM(\"f.html\")"}) {
    const auto e = errorOf([&] { host.run(call); });
    const std::string name = u8(call.substr(0, call.find(u'(')));
    EXPECT_EQ(u8(e.english), name + " is not available yet");
    EXPECT_EQ(u8(e.japanese), name + " はまだ使えません");
    EXPECT_TRUE(e.catchable);
  }
}

TEST(DispatchBuiltin, CheckModeRunsNothing) {
  FakeBuiltinHost host;
  host.checking = true;
  const engine::CallSite site = callOf(u"DOSCMD(\"format c:\")");
  EXPECT_EQ(tests::TestLibrary().call(site, host).toDouble(), 1);
  EXPECT_TRUE(host.commands.requests.empty());
}

TEST(DispatchBuiltin, AStopBetweenArgumentsEndsQuietlyWithTheEmptyText) {
  FakeBuiltinHost host;
  host.stopWhen = [] { return true; };
  const ScriptValue v = tests::TestLibrary().call(callOf(u"DOSCMD(\"echo\")"), host);
  EXPECT_EQ(v.toText(), u"");
  EXPECT_TRUE(host.commands.requests.empty());
}

TEST(DispatchBuiltin, PacingRecordOnTheMainThread) {
  FakeBuiltinHost host;
  {
    PacingRecord first(host);
    EXPECT_EQ(first.elapsedMs(), 999);  // no call before
    host.clock.advance(30);
  }
  host.clock.advance(250);
  {
    PacingRecord second(host);
    EXPECT_EQ(second.elapsedMs(), 250);
  }
  host.clock.advance(5000);
  {
    PacingRecord third(host);
    EXPECT_EQ(third.elapsedMs(), 999);
  }
  // A failing builtin still notes its return.
  host.clock.advance(100);
  EXPECT_TRUE(errorOf([&] { host.run(u"RANDOM(\"x\")"); }).thrown);
  host.clock.advance(40);
  EXPECT_EQ(PacingRecord(host).elapsedMs(), 40);

  host.mainThread = false;
  host.clock.advance(300);
  EXPECT_EQ(PacingRecord(host).elapsedMs(), 0);
}

}  // namespace
}  // namespace maqo::builtins
