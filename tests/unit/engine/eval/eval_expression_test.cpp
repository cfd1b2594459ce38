#include <gtest/gtest.h>

#include <string>

#include "engine/eval/evaluator.h"
#include "engine/eval/tokenizer.h"
#include "tests/unit/engine/eval/eval_fake_host.h"
#include "platform/text_codec.h"

namespace maqo::engine {
namespace {

using testing::FakeEvalHost;

const std::u16string kTypeError = u"a type isn't correct. or overflow.";
const std::u16string kCheckError = u"expression is wrong. or a type isn't correct.";

ScriptValue listOf(std::vector<ScriptValue> values) { return ScriptValue::array(ArrayValue::fromList(std::move(values))); }

class EvalExpressions : public ::testing::Test {
 protected:
  void SetUp() override {
    auto& v = host.variables;
    v[u"A"] = ScriptValue::number(0);
    v[u"B"] = ScriptValue::number(1);
    v[u"C"] = ScriptValue::number(1);
    v[u"Z"] = ScriptValue::number(0);
    v[u"N"] = ScriptValue::number(10);
    v[u"X"] = ScriptValue();  // declared, never assigned
    v[u"S"] = ScriptValue::string(u"abc");
    v[u"OBJ"] = ScriptValue::nothing();
    v[u"ERRV"] = ScriptValue::error(5);
    v[u"BTRUE"] = ScriptValue::builtinBool(true);
    v[u"ARR"] = listOf({ScriptValue::number(10), ScriptValue::number(20), ScriptValue::number(30)});
    v[u"BYTES12"] = ScriptValue::byteString("12");
    v[u"BYTES3"] = ScriptValue::byteString("3");
    v[u"M.V"] = ScriptValue::number(7);
    host.modules.insert(u"M");
    host.define(u"F", [](std::vector<ScriptValue>&) { return ScriptValue::number(1); });
    host.define(u"ARR3", [](std::vector<ScriptValue>&) {
      return listOf({ScriptValue::number(10), ScriptValue::number(20), ScriptValue::number(30)});
    });
    host.define(u"TWICE", [](std::vector<ScriptValue>& a) { return ScriptValue::number(a.at(0).toDouble() * 2); });
    host.define(u"FAIL", [](std::vector<ScriptValue>&) -> ScriptValue {
      throw ScriptError(u"boom in FAIL", u"FAILで失敗");
    });
    host.functions[u"COPYB"] = [](const CallSite& call, EvalContext& context) {
      context.byteStringProduced = true;
      return ScriptValue::byteString(utf16ToUtf8(call.argumentTexts.at(0)));
    };
  }

  // The value as a test expects it: type code and display text.
  static std::pair<VarType, std::u16string> shown(const ScriptValue& v) {
    return {v.type(), v.isArray() ? u"<array>" : v.toDisplayText()};
  }

  std::u16string errorOf(std::u16string_view text, bool shortCircuit = false) {
    try {
      host.eval(text, shortCircuit);
    } catch (const ScriptError& e) {
      return e.message().english;
    }
    return u"<no error>";
  }

  FakeEvalHost host;
};

struct ValueCase {
  std::u16string expression;
  VarType type;
  std::u16string text;
};

TEST_F(EvalExpressions, ComputesValues) {
  const ValueCase cases[] = {
      // arithmetic, precedence, associativity
      {u"1 + 2", VarType::Double, u"3"},
      {u"2 + 3 * 4", VarType::Double, u"14"},
      {u"(2 + 3) * 4", VarType::Double, u"20"},
      {u"10 - 2 - 3", VarType::Double, u"5"},
      {u"100 / 10 / 5", VarType::Double, u"2"},
      {u"2 * -3", VarType::Double, u"-6"},
      {u"-(2 + 3)", VarType::Double, u"-5"},
      {u"- -5", VarType::Double, u"5"},
      {u"0 * -1", VarType::Double, u"0"},
      {u"7/0", VarType::Double, u"0"},
      {u"0/0", VarType::Double, u"0"},
      {u"7 MOD 2", VarType::Double, u"1"},
      {u"-7 MOD 2", VarType::Double, u"-1"},
      {u"7 MOD -2", VarType::Double, u"1"},
      {u"2.5 MOD 10", VarType::Double, u"2"},
      {u"3.5 MOD 10", VarType::Double, u"4"},
      {u"2 + 7 MOD 4 * 2", VarType::Double, u"8"},
      // numbers
      {u"1E+5", VarType::Double, u"100000"},
      {u"1.5E-3 * 2", VarType::Double, u"0.003"},
      {u"$FF", VarType::Double, u"255"},
      {u"$ff + 1", VarType::Double, u"256"},
      {u"0.1 + 0.2", VarType::Double, u"0.3"},
      // "+" on texts
      {u"\"A\"+1", VarType::String, u"A1"},
      {u"\"1\"+2", VarType::String, u"12"},
      {u"1+\"2\"", VarType::String, u"12"},
      {u"\"ab\" + \"cd\"", VarType::String, u"abcd"},
      {u"\"5\" - 2", VarType::Double, u"3"},
      {u"X + 5", VarType::Double, u"5"},
      {u"X + \"x\"", VarType::String, u"x"},
      {u"NULL + \"a\"", VarType::String, u"a"},
      {u"ERRV + \"!\"", VarType::String, u"ERROR!"},
      {u"TRUE + 0", VarType::Double, u"1"},
      {u"BTRUE + 0", VarType::Double, u"-1"},
      {u"BYTES12 + BYTES3", VarType::Double, u"15"},
      {u"BYTES12 + 1", VarType::Double, u"13"},
      {u"BYTES12 + \"x\"", VarType::String, u"12x"},
      {u"COPYB(12) + COPYB(3)", VarType::ByteString, u"123"},
      // AND OR XOR: 64-bit integers, result a double
      {u"6 XOR 3", VarType::Double, u"5"},
      {u"6 AND 3", VarType::Double, u"2"},
      {u"6 OR 3", VarType::Double, u"7"},
      {u"TRUE AND TRUE", VarType::Double, u"1"},
      {u"-1 AND 255", VarType::Double, u"255"},
      {u"1.9 OR 0", VarType::Double, u"1"},
      {u"1E+30 AND 1", VarType::Double, u"1"},
      {u"-1E+30 AND 1", VarType::Double, u"0"},
      {u"1 OR 2 AND 0", VarType::Double, u"1"},
      {u"1 = 1 AND 2 = 2", VarType::Double, u"1"},
      // !
      {u"!0", VarType::Boolean, u"True"},
      {u"!5", VarType::Boolean, u"False"},
      {u"!X", VarType::Boolean, u"True"},
      {u"!1 = 0", VarType::Boolean, u"True"},
      // comparisons
      {u"10=\"10\"", VarType::Boolean, u"True"},
      {u"2<\"10\"", VarType::Boolean, u"False"},
      {u"2<10", VarType::Boolean, u"True"},
      {u"\"abc\"=\"ABC\"", VarType::Boolean, u"True"},
      {u"\"abc\"<\"ABD\"", VarType::Boolean, u"True"},
      {u"\"\"<\"a\"", VarType::Boolean, u"True"},
      {u"1 < 2 < 3", VarType::Boolean, u"True"},
      {u"0.1+0.2=0.3", VarType::Boolean, u"True"},
      {u"TRUE = BTRUE", VarType::Boolean, u"True"},
      {u"TRUE = 1", VarType::Boolean, u"True"},
      {u"BTRUE = 1", VarType::Boolean, u"False"},
      {u"\"A<#CR>B\" = \"A\" + \"<#_CR>\" + \"B\"", VarType::Boolean, u"True"},
      // EMPTY, NULL, NOTHING
      {u"X = EMPTY", VarType::Boolean, u"True"},
      {u"EMPTY = X", VarType::Boolean, u"True"},
      {u"A = EMPTY", VarType::Boolean, u"False"},
      {u"S = EMPTY", VarType::Boolean, u"False"},
      {u"\"\" = EMPTY", VarType::Boolean, u"False"},
      {u"X = 0", VarType::Boolean, u"True"},
      {u"X = \"\"", VarType::Boolean, u"True"},
      {u"X = \"0\"", VarType::Boolean, u"True"},
      {u"X = NULL", VarType::Boolean, u"False"},
      {u"NULL = NULL", VarType::Boolean, u"True"},
      {u"OBJ = NOTHING", VarType::Boolean, u"True"},
      {u"X = NOTHING", VarType::Boolean, u"False"},
      {u"OBJ <> NOTHING", VarType::Boolean, u"False"},
      {u"ERRV = \"ERROR\"", VarType::Boolean, u"True"},
      // literals and special characters
      {u"\"say \"\"", VarType::String, u"say \""},
      {u"\"say \"\"\"", VarType::String, u"say \"\""},
      {u"\"\"\"\"", VarType::String, u"\"\""},
      {u"\"a<#TAB>b\"", VarType::String, u"a\tb"},
      {u"\"<#DBL>q<#_DBL>\"", VarType::String, u"\"q\""},
      {u"\"x\" + \"<#CR>\"", VarType::String, u"x\r\n"},
      {u"  \"padded\"  ", VarType::String, u"padded"},
      // names, calls, index suffixes, members
      {u"ARR[1]", VarType::Double, u"20"},
      {u"ARR[B + 1]", VarType::Double, u"30"},
      {u"ARR3()[2]", VarType::Double, u"30"},
      {u"ARR3()[0] + ARR3()[1]", VarType::Double, u"30"},
      {u"TWICE(TWICE(N))", VarType::Double, u"40"},
      {u"TWICE(ARR[2]) / 3", VarType::Double, u"20"},
      {u"M.V * 2", VarType::Double, u"14"},
      {u"OBJ.PROP", VarType::String, u"COM:OBJ.PROP"},
      {u"n + 1", VarType::Double, u"11"},
      {u"1 and 3", VarType::Double, u"1"},
      {u"TRUE", VarType::Boolean, u"True"},
      {u"NOTHING", VarType::Object, u"NOTHING"},
      {u"", VarType::Empty, u""},
      {u"   ", VarType::Empty, u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(utf16ToUtf8(c.expression));
    try {
      const auto [type, text] = shown(host.eval(c.expression));
      EXPECT_EQ(type, c.type);
      EXPECT_EQ(utf16ToUtf8(text), utf16ToUtf8(c.text));
    } catch (const ScriptError& e) {
      ADD_FAILURE() << "threw " << utf16ToUtf8(e.message().english);
    }
  }
}

// A chain of "+" grows its running text in place: neither the variable it
// started from nor a literal of the compiled tree may change with it.
TEST_F(EvalExpressions, JoiningTextsLeavesVariablesAndLiteralsAlone) {
  const auto chain = CompileExpression(u"S + \"d\" + 1 + X + NULL + BYTES12 + \"e\"");
  const auto literalFirst = CompileExpression(u"\"x\" + S + \"y\"");
  for (int pass = 0; pass < 2; ++pass) {
    EXPECT_EQ(EvaluateExpression(*chain, host, false).toText(), u"abcd112e");
    EXPECT_EQ(EvaluateExpression(*literalFirst, host, false).toText(), u"xabcy");
  }
  EXPECT_EQ(host.variables[u"S"].toText(), u"abc");
  EXPECT_EQ(host.eval(u"S + ERRV").toText(), u"abcERROR");
  EXPECT_THROW(host.eval(u"S + ARR"), ScriptError);
}

TEST_F(EvalExpressions, ReportsTypeErrorsAndSyntaxErrors) {
  const std::u16string cases[] = {
      u"7 MOD 0", u"7 MOD Z", u"1E5", u"$", u"\"abc\" * 2", u"!\"abc\"", u"-S", u"1E+300 * 1E+300",
      u"1E+308 + 1E+308", u"ARR + 1", u"ARR = 1", u"ARR3()[7]", u"(N)[0]", u"ARR3()[1][1]",
      u"\"a\"\"b\"", u"\"abc", u"1 2", u"1,", u"(1", u"1)", u"()", u"1 +", u"* 2", u"F(1", u"ARR3()[1][2][3][4]",
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(utf16ToUtf8(c));
    EXPECT_EQ(utf16ToUtf8(errorOf(c)), utf16ToUtf8(kTypeError));
  }
}

TEST_F(EvalExpressions, OptionsChangeComparisonAndResults) {
  host.flags.sameStr = true;
  EXPECT_FALSE(host.eval(u"\"abc\"=\"ABC\"").isTrue());
  EXPECT_TRUE(host.eval(u"\"abc\"=\"abc\"").isTrue());
  // The locale's order, not code units: "a" (0x61) sorts before "B" (0x42).
  EXPECT_TRUE(host.eval(u"\"a\" < \"B\"").isTrue());
  EXPECT_TRUE(host.eval(u"\"a\" < \"A\"").isTrue());
  host.flags.sameStr = false;

  host.flags.roundValue = true;
  EXPECT_FALSE(host.eval(u"0.1+0.2=0.3").isTrue());
  EXPECT_NE(host.eval(u"0.1+0.2").doublePayload(), 0.3);
  host.flags.roundValue = false;

  host.flags.specialChar = true;
  EXPECT_EQ(host.eval(u"\"a<#CR>b\"").stringRef(), u"a<#CR>b");
  EXPECT_EQ(host.eval(u"\"a<#_CR>b\"").stringRef(), u"a\r\nb");
}

TEST_F(EvalExpressions, CheckPassUsesItsOwnMessageAndDividesByOne) {
  host.checking = true;
  EXPECT_EQ(host.eval(u"7 MOD 0").toDisplayText(), u"0");
  EXPECT_EQ(host.eval(u"ARR3()[1]").toDisplayText(), u"1");  // calls give 1; the suffix is only checked
  EXPECT_EQ(utf16ToUtf8(errorOf(u"1E5")), utf16ToUtf8(kCheckError));
  EXPECT_EQ(utf16ToUtf8(errorOf(u"1 +")), utf16ToUtf8(kCheckError));
}

// Mend: an error stops the rest of the expression; nothing after it runs.
TEST_F(EvalExpressions, ErrorStopsTheRestOfTheExpression) {
  EXPECT_EQ(utf16ToUtf8(errorOf(u"7 MOD Z + F()")), utf16ToUtf8(kTypeError));
  EXPECT_EQ(host.callCount(u"F"), 0);
  EXPECT_EQ(utf16ToUtf8(errorOf(u"S * 2 = F()")), utf16ToUtf8(kTypeError));
  EXPECT_EQ(host.callCount(u"F"), 0);
}

// A callee's own error comes through unchanged, reported once.
TEST_F(EvalExpressions, CalleeErrorPassesThroughUnchanged) {
  try {
    host.eval(u"1 + FAIL() + F()");
    FAIL() << "no error";
  } catch (const ScriptError& e) {
    EXPECT_EQ(e.message().english, u"boom in FAIL");
    EXPECT_EQ(e.message().japanese, u"FAILで失敗");
  }
  EXPECT_EQ(host.callCount(u"F"), 0);
  EXPECT_EQ(utf16ToUtf8(errorOf(u"UNDEFINED + 1")), "It isn't defined: UNDEFINED");
  EXPECT_EQ(utf16ToUtf8(errorOf(u"NOSUCH(1)")), "no such function: NOSUCH");
}

TEST_F(EvalExpressions, CallsGetRawAndCompiledArguments) {
  CallSite copy;
  host.functions[u"RAW"] = [&](const CallSite& call, EvalContext&) {
    copy.name = call.name;
    copy.argumentTexts = call.argumentTexts;
    copy.arguments = call.arguments;
    copy.tail = call.tail;
    return ScriptValue::number(0);
  };
  host.eval(u"RAW(A[1, 2], \"x, y\", (1, 2) , ,F(3))");
  EXPECT_EQ(copy.name, u"RAW");
  const std::vector<std::u16string> texts = {u"A[1, 2]", u"\"x, y\"", u"(1, 2)", u"", u"F(3)"};
  EXPECT_EQ(copy.argumentTexts, texts);
  ASSERT_EQ(copy.arguments.size(), 5u);
  EXPECT_EQ(EvaluateExpression(*copy.arguments[4], host).toDisplayText(), u"1");
  EXPECT_TRUE(copy.arguments[3]->isBlank());
  // An argument that is no expression fails only if it is evaluated.
  EXPECT_THROW(EvaluateExpression(*copy.arguments[2], host), ScriptError);

  host.eval(u"RAW().NAME.ITEM(2).VALUE");
  EXPECT_TRUE(copy.argumentTexts.empty());
  EXPECT_EQ(copy.tail, u".NAME.ITEM(2).VALUE");
}

// Mend: the compiled form is always whole, so a condition that short-circuited
// once is evaluated in full the next time.
TEST_F(EvalExpressions, ShortCircuitOrIsRightEveryTime) {
  host.flags.shortCircuit = true;
  const ExpressionPtr e = CompileExpression(u"A OR B");
  auto& v = host.variables;
  v[u"A"] = ScriptValue::number(1);
  v[u"B"] = ScriptValue::number(0);
  EXPECT_TRUE(EvaluateExpression(*e, host, true).isTrue());
  v[u"A"] = ScriptValue::number(0);
  v[u"B"] = ScriptValue::number(1);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(EvaluateExpression(*e, host, true).isTrue()) << i;
  v[u"B"] = ScriptValue::number(0);
  EXPECT_FALSE(EvaluateExpression(*e, host, true).isTrue());
}

struct ShortCircuitCase {
  std::u16string expression;
  bool option, request;
  bool fCalled;
  bool truth;
};

TEST_F(EvalExpressions, ShortCircuitSkipsOnlyWhatCannotMatter) {
  // A = 0, B = 1, C = 1; F() gives 1.
  const ShortCircuitCase cases[] = {
      {u"A AND F()", true, true, false, false},
      {u"A AND F()", false, true, true, false},   // OPTION off: both sides
      {u"A AND F()", true, false, true, false},   // not a condition: both sides
      {u"B OR F()", true, true, false, true},
      {u"B OR F()", false, true, true, true},
      {u"(A AND F())", true, true, true, false},  // inside parentheses: both sides
      {u"A AND B AND F()", true, true, false, false},
      {u"B AND 2 AND F()", true, true, false, false},  // 1 AND 2 is already 0
      {u"A AND F() OR B", true, true, true, true},     // an OR follows: the AND part is whole
      {u"B AND C OR F()", true, true, true, true},     // and from the first AND on, no OR stops early
      {u"B OR A AND F()", true, true, false, true},    // an OR before the first AND still does
      {u"A AND B XOR F()", true, true, true, true},    // an XOR follows: likewise
      {u"B OR A XOR F()", true, true, true, false},    // (1 OR 0) XOR 1 is 0
      {u"B XOR A OR F()", true, true, false, true},    // the XOR is decided before the OR
      {u"A OR F()", true, true, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(utf16ToUtf8(c.expression) + (c.option ? " option" : "") + (c.request ? " request" : ""));
    host.calls.clear();
    host.flags.shortCircuit = c.option;
    const ScriptValue v = host.eval(c.expression, c.request);
    EXPECT_EQ(host.callCount(u"F") > 0, c.fCalled);
    EXPECT_EQ(v.isTrue(), c.truth);
  }
}

TEST_F(EvalExpressions, ModuleMembersAndComMembersAreToldApartWhenRead) {
  host.eval(u"M.V + 1");
  EXPECT_EQ(host.reads.back(), u"M.V");
  const ExpressionPtr e = CompileExpression(u"W.V");
  EXPECT_EQ(EvaluateExpression(*e, host).stringRef(), u"COM:W.V");
  host.modules.insert(u"W");  // the same compiled expression, now a module member
  host.variables[u"W.V"] = ScriptValue::number(3);
  EXPECT_EQ(EvaluateExpression(*e, host).toDisplayText(), u"3");
  EXPECT_EQ(host.eval(u"OBJ.ITEMS[1].NAME").stringRef(), u"COM:OBJ.ITEMS[1].NAME");
}

// Nesting far beyond any real script gives a clean error, never a stack overflow.
TEST_F(EvalExpressions, DeepNestingIsRefusedCleanly) {
  const size_t depth = 100000;
  std::u16string parens = std::u16string(depth, u'(') + u"1" + std::u16string(depth, u')');
  std::u16string nots = std::u16string(depth, u'!') + u"0";
  std::u16string calls;
  for (size_t i = 0; i < 1000; ++i) calls += u"TWICE(";
  calls += u"1" + std::u16string(1000, u')');
  std::u16string indexes;
  for (size_t i = 0; i < 1000; ++i) indexes += u"ARR[";
  indexes += u"0" + std::u16string(1000, u']');
  for (const std::u16string* text : {&parens, &nots, &calls, &indexes}) {
    EXPECT_EQ(utf16ToUtf8(errorOf(*text)), "The expression is nested too deeply.");
  }
  // Long flat expressions are no nesting at all.
  std::u16string sum = u"0";
  for (size_t i = 0; i < depth; ++i) sum += u"+1";
  EXPECT_EQ(host.eval(sum).toDisplayText(), u"100000");
  // Moderate nesting still works.
  EXPECT_EQ(host.eval(std::u16string(100, u'(') + u"2" + std::u16string(100, u')')).toDisplayText(), u"2");
}

// The text comparison of the build's locale (CompareStringW on Windows, its
// stand-in natively): case-sensitive, alphabetical first, lower case first.
TEST(EvalLocaleCompare, OrdersAlphabeticallyThenLowerCaseFirst) {
  platform::Locale& locale = platform::consolePlatform().locale;
  const std::u16string ascending[] = {u"", u"a", u"A", u"ab", u"Ab", u"abc", u"b", u"B", u"ba"};
  for (size_t i = 0; i < std::size(ascending); ++i) {
    for (size_t j = 0; j < std::size(ascending); ++j) {
      const int c = locale.compareText(ascending[i], ascending[j]);
      SCOPED_TRACE(utf16ToUtf8(ascending[i]) + " vs " + utf16ToUtf8(ascending[j]));
      EXPECT_EQ((c > 0) - (c < 0), (i > j) - (i < j));
    }
  }
}

TEST(EvalCompileCache, CompilesEachTextOnce) {
  CompileCache cache;
  const ExpressionPtr a = cache.get(u"1 + 2");
  EXPECT_EQ(cache.get(u"1 + 2"), a);
  EXPECT_NE(cache.get(u"1 + 3"), a);
  EXPECT_EQ(cache.size(), 2u);
  cache.clear();
  EXPECT_EQ(cache.size(), 0u);
  FakeEvalHost host;
  EXPECT_EQ(EvalExpression(u"6 * 7", host, cache).toDisplayText(), u"42");
}

TEST(EvalTokenizer, GivesKindsAndTexts) {
  std::vector<Token> tokens;
  ASSERT_TRUE(TokenizeExpression(u"F(A, \")\")[2] + H[\"a b\"] >= 1E+5 AND !X.Y <> \"q\"\" MOD $1F", tokens));
  const std::vector<std::pair<TokenKind, std::u16string>> expected = {
      {TokenKind::Call, u"F(A, \")\")"}, {TokenKind::IndexSuffix, u"[2]"}, {TokenKind::Plus, u"+"},
      {TokenKind::Name, u"H[\"a b\"]"},  {TokenKind::GreaterEqual, u">="},  {TokenKind::Number, u"1E+5"},
      {TokenKind::And, u"AND"},          {TokenKind::Not, u"!"},            {TokenKind::Name, u"X.Y"},
      {TokenKind::NotEqual, u"<>"},      {TokenKind::String, u"q\""},       {TokenKind::Mod, u"MOD"},
      {TokenKind::Number, u"$1F"},
  };
  ASSERT_EQ(tokens.size(), expected.size());
  for (size_t i = 0; i < tokens.size(); ++i) {
    EXPECT_EQ(tokens[i].kind, expected[i].first) << i;
    EXPECT_EQ(tokens[i].text, expected[i].second) << i;
  }
  EXPECT_EQ(tokens[5].number, 100000.0);
  EXPECT_EQ(tokens[12].number, 31.0);
  for (const char16_t* bad : {u"1E5", u"\"open", u"F(1", u"1, 2", u"A[\"x]"}) EXPECT_FALSE(TokenizeExpression(bad, tokens));
}

}  // namespace
}  // namespace maqo::engine
