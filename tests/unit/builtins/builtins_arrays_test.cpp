// The array builtins and VARTYPE.
#include <gtest/gtest.h>

#include <memory>

#include "builtins/array_builtins.h"
#include "engine/values/script_object.h"
#include "tests/unit/builtins/builtins_strings_host.h"

namespace maqo::builtins::strings_test {
namespace {

using testing::errorOf;
using testing::u8;

class ArrayBuiltinsTest : public ::testing::Test {
 protected:
  std::string show(std::u16string_view e) { return u8(host.show(e)); }
  std::string list(std::u16string_view name) { return u8(host.listOf(name)); }
  StringsHost host;
};

TEST_F(ArrayBuiltinsTest, SplitCutsAtTheDelimiter) {
  const struct {
    const char16_t* expression;
    const char* joined;
    const char* upper;
  } cases[] = {
      {u"SPLIT(\"a,b,,c\", \",\")", "a|b||c", "3"},
      {u"SPLIT(\"a,b,,c\", \",\", TRUE)", "a|b|c", "2"},
      {u"SPLIT(\"a  b\")", "a||b", "2"},
      {u"SPLIT(\"a<>b<>\", \"<>\")", "a|b|", "2"},
      {u"SPLIT(\"l1<#CR>l2\" + CHR(10) + \"l3\" + CHR(13) + \"l4<#CR>\", \"<#CR>\")", "l1|l2|l3|l4", "3"},
      {u"SPLIT(\"1,000 2 x\", \" \", FALSE, TRUE)", "1000|2|", "2"},
      {u"SPLIT(\"1,000 x 2\", \" \", TRUE, TRUE)", "1000|2", "1"},
      {u"SPLIT(\"abc\", \"\")", "abc", "0"},
      {u"SPLIT(\"aBc\", \"b\")", "aBc", "0"},
  };
  for (const auto& c : cases) {
    host.set(u"X", host.run(c.expression));
    EXPECT_EQ(list(u"X"), c.joined) << u8(c.expression);
    EXPECT_EQ(show(u"RESIZE(X)"), c.upper) << u8(c.expression);
  }
  host.set(u"X", host.run(u"SPLIT(\"1,000 2\", \" \", FALSE, TRUE)"));
  EXPECT_EQ(show(u"VARTYPE(X[0])"), "5");
  EXPECT_EQ(show(u"X[0] + X[1]"), "1002");
}

TEST_F(ArrayBuiltinsTest, SplitOfTheEmptyTextIsAnEmptyArrayFromOne) {
  host.set(u"X", host.run(u"SPLIT(\"\")"));
  EXPECT_EQ(show(u"RESIZE(X)"), "0");
  EXPECT_EQ(show(u"LENGTH(X)"), "0");
  EXPECT_EQ(host.run(u"X").arrayRef().bound(0).lower, 1);
}

TEST_F(ArrayBuiltinsTest, JoinWithRangeAndSkipping) {
  host.dim(u"A", {2}, {str(u"a"), ScriptValue(), str(u"b")});
  host.store.DeclareHashTable(host.callFrame, u"H", 0);
  host.store.PutValue(host.callFrame, u"H", std::vector<ScriptValue>{str(u"k1")}, str(u"v1"));
  host.store.PutValue(host.callFrame, u"H", std::vector<ScriptValue>{str(u"k2")}, str(u"v2"));
  const struct {
    const char16_t* expression;
    const char* expected;
  } cases[] = {
      {u"JOIN(A, \"-\")", "a--b"},
      {u"JOIN(A, \"-\", TRUE)", "a-b"},
      {u"JOIN(A)", "a  b"},
      {u"JOIN(A, \"-\", FALSE, 1)", "-b"},
      {u"JOIN(A, \"-\", FALSE, 0, 0)", "a"},
      {u"JOIN(A, \"-\", FALSE, 2, 1)", ""},
      {u"JOIN(A, \"-\", FALSE, -5, 99)", "a--b"},
      {u"JOIN(H, \",\")", "v1,v2"},
      {u"JOIN(SPLIT(\"x y\"), \"+\")", "x+y"},
  };
  for (const auto& c : cases) EXPECT_EQ(show(c.expression), c.expected) << u8(c.expression);
}

TEST_F(ArrayBuiltinsTest, ResizeOfDeclaredArrays) {
  host.dim(u"A", {2}, {num(1), num(2), num(3)});
  EXPECT_EQ(show(u"RESIZE(A, 4)"), "4");
  EXPECT_EQ(list(u"A"), "1|2|3|<E>|<E>");
  EXPECT_EQ(show(u"RESIZE(A)"), "4");
  EXPECT_EQ(show(u"RESIZE(A, 1)"), "1");
  EXPECT_EQ(list(u"A"), "1|2");
  EXPECT_EQ(show(u"RESIZE(A, -5)"), "-1");
  EXPECT_EQ(show(u"LENGTH(A)"), "0");

  host.dim(u"M", {1, 2}, {num(1), num(2), num(3), num(4), num(5), num(6)});
  EXPECT_EQ(show(u"RESIZE(M[0])"), "2");
  EXPECT_EQ(show(u"RESIZE(M, 2)"), "2");
  EXPECT_EQ(list(u"M"), "1|2|3|4|5|6|<E>|<E>|<E>");
}

TEST_F(ArrayBuiltinsTest, ResizeOfHugeOrOverflowingSizesIsRefused) {
  host.dim(u"A", {2}, {num(1), num(2), num(3)});
  host.dim(u"M", {1, 1000});
  for (const char16_t* bad : {u"RESIZE(A, 9223372036854775807)", u"RESIZE(A, 1E+18)", u"RESIZE(M, 4611686018427387904)",
                              u"RESIZE(A, 1E+300)"}) {
    const auto e = errorOf([&] { host.run(bad); });
    EXPECT_TRUE(e.thrown) << u8(bad);
    EXPECT_NE(e.english.find(u"Array is too large"), std::u16string::npos) << u8(bad);
  }
  EXPECT_EQ(list(u"A"), "1|2|3");
  host.set(u"X", host.run(u"SPLIT(\"a b\")"));
  EXPECT_TRUE(errorOf([&] { host.run(u"RESIZE(X, 9223372036854775807)"); }).thrown);
  EXPECT_TRUE(errorOf([&] { host.run(u"SAFEARRAY(-9223372036854775807, 9223372036854775807)"); }).thrown);
}

TEST_F(ArrayBuiltinsTest, ResizeOfArrayValues) {
  host.set(u"X", host.run(u"SPLIT(\"a b c\")"));
  EXPECT_EQ(show(u"RESIZE(X, 4)"), "4");
  EXPECT_EQ(list(u"X"), "a|b|c|<E>|<E>");
  EXPECT_EQ(show(u"RESIZE(X, 0)"), "0");
  EXPECT_EQ(list(u"X"), "a");
  EXPECT_EQ(show(u"RESIZE(SPLIT(\"a b\"))"), "1");

  host.set(u"S", str(u"text"));
  const auto notArray = errorOf([&] { host.run(u"RESIZE(S, 3)"); });
  EXPECT_EQ(u8(notArray.english), "Is not an array: S");
  EXPECT_FALSE(notArray.catchable);

  host.dim(u"T", {1}, {host.run(u"SPLIT(\"p q\")"), str(u"z")});
  EXPECT_EQ(show(u"RESIZE(T[0], 3)"), "3");
  EXPECT_EQ(show(u"LENGTH(T[0])"), "4");
  const auto mismatch = errorOf([&] { host.run(u"RESIZE(T[1], 3)"); });
  EXPECT_EQ(u8(mismatch.english), "Does not match the number of dimensions: T");
  EXPECT_FALSE(mismatch.catchable);
}

TEST_F(ArrayBuiltinsTest, ShiftArrayMovesAndClears) {
  const struct {
    const char16_t* expression;
    const char* expected;
  } cases[] = {
      {u"SHIFTARRAY(A, 1)", "<E>|1|2"},     {u"SHIFTARRAY(A, -1)", "2|3|<E>"},
      {u"SHIFTARRAY(A, 0)", "1|2|3"},       {u"SHIFTARRAY(A, 3)", "<E>|<E>|<E>"},
      {u"SHIFTARRAY(A, -3)", "<E>|<E>|<E>"}, {u"SHIFTARRAY(A, 9223372036854775807)", "<E>|<E>|<E>"},
      {u"SHIFTARRAY(A, -9223372036854775807)", "<E>|<E>|<E>"},
  };
  for (const auto& c : cases) {
    host.dim(u"A", {2}, {num(1), num(2), num(3)});
    host.run(c.expression);
    EXPECT_EQ(list(u"A"), c.expected) << u8(c.expression);
  }
  host.set(u"X", host.run(u"SPLIT(\"a b c\")"));
  host.run(u"SHIFTARRAY(X, 2)");
  EXPECT_EQ(list(u"X"), "<E>|<E>|a");

  host.dim(u"M", {1, 2}, {num(1), num(2), num(3), num(4), num(5), num(6)});
  host.run(u"SHIFTARRAY(M[1], 1)");
  EXPECT_EQ(list(u"M"), "1|2|3|<E>|4|5");

  const auto undefined = errorOf([&] { host.run(u"SHIFTARRAY(NOPE, 1)"); });
  EXPECT_EQ(u8(undefined.english), "It isn't defined: NOPE");
  EXPECT_FALSE(undefined.catchable);
}

TEST_F(ArrayBuiltinsTest, SetClearFillsTheBlock) {
  host.dim(u"M", {1, 1});
  host.run(u"SETCLEAR(M, 7)");
  EXPECT_EQ(list(u"M"), "7|7|7|7");
  host.run(u"SETCLEAR(M[0])");
  EXPECT_EQ(list(u"M"), "<E>|<E>|7|7");
  host.set(u"X", host.run(u"SAFEARRAY(0, 1, 0, 1)"));
  host.run(u"SETCLEAR(X, \"z\")");
  EXPECT_EQ(list(u"X"), "z|z|z|z");
}

TEST_F(ArrayBuiltinsTest, CalcArraySkipsEmptyElements) {
  host.dim(u"A", {2}, {num(1), ScriptValue(), num(3)});
  host.dim(u"E", {2});
  const struct {
    const char16_t* expression;
    const char* expected;
  } cases[] = {
      {u"CALCARRAY(A, CALC_ADD)", "4"}, {u"CALCARRAY(A, CALC_MIN)", "1"}, {u"CALCARRAY(A, CALC_MAX)", "3"},
      {u"CALCARRAY(A, CALC_AVR)", "2"}, {u"CALCARRAY(A, CALC_ADD, 1)", "3"}, {u"CALCARRAY(A, CALC_ADD, -4, 0)", "1"},
      {u"CALCARRAY(A, CALC_ADD, 0, 99)", "4"}, {u"CALCARRAY(E, CALC_MIN)", ""}, {u"CALCARRAY(E, CALC_ADD)", "0"},
      {u"CALCARRAY(A, 0)", ""}, {u"CALCARRAY(SPLIT(\"1 2 3\"), CALC_MAX)", "3"},
  };
  for (const auto& c : cases) EXPECT_EQ(show(c.expression), c.expected) << u8(c.expression);
  EXPECT_TRUE(host.run(u"CALCARRAY(E, CALC_MIN)").isEmpty());
  host.set(u"X", host.run(u"SAFEARRAY(0, 1, 0, 1)"));
  EXPECT_TRUE(errorOf([&] { host.run(u"CALCARRAY(X, CALC_ADD)"); }).thrown);
}

TEST_F(ArrayBuiltinsTest, SafeArrayBoundsAndTypes) {
  const struct {
    const char16_t* expression;
    int64_t lower, upper;
    size_t dimensions;
  } cases[] = {
      {u"SAFEARRAY()", 1, 0, 1},
      {u"SAFEARRAY(-2)", -2, 0, 1},
      {u"SAFEARRAY(1, 3)", 1, 3, 1},
      {u"SAFEARRAY(0, 2, 1, 4)", 0, 2, 2},
  };
  for (const auto& c : cases) {
    const ScriptValue v = host.run(c.expression);
    ASSERT_TRUE(v.isArray()) << u8(c.expression);
    EXPECT_EQ(v.arrayRef().bound(0).lower, c.lower) << u8(c.expression);
    EXPECT_EQ(v.arrayRef().bound(0).upper, c.upper) << u8(c.expression);
    EXPECT_EQ(v.arrayRef().dimensions(), c.dimensions) << u8(c.expression);
  }
  EXPECT_EQ(host.run(u"SAFEARRAY(0, 1, 17)").arrayRef().at(0).type(), engine::VarType::UInt8);
  EXPECT_TRUE(errorOf([&] { host.run(u"SAFEARRAY(0, 1, 13)"); }).thrown);
}

TEST_F(ArrayBuiltinsTest, SliceSelectsByPosition) {
  host.dim(u"A", {3}, {str(u"a"), str(u"b"), str(u"c"), str(u"d")});
  const struct {
    const char16_t* expression;
    const char* expected;
  } cases[] = {
      {u"JOIN(SLICE(A, 1, 2), \",\")", "b,c"},
      {u"JOIN(SLICE(A, 2), \",\")", "c,d"},
      {u"JOIN(SLICE(A), \",\")", "a,b,c,d"},
      {u"JOIN(SLICE(A, -3, 99), \",\")", "a,b,c,d"},
      {u"RESIZE(SLICE(A, 3, 1))", "-1"},
      {u"JOIN(SLICE(SPLIT(\"p q r\"), 1), \",\")", "q,r"},
  };
  for (const auto& c : cases) EXPECT_EQ(show(c.expression), c.expected) << u8(c.expression);
  // An array value with lower bound 1 is sliced by its own indexes.
  host.set(u"X", host.run(u"SAFEARRAY(1, 3)"));
  host.run(u"SETCLEAR(X, \"v\")");
  EXPECT_EQ(show(u"LENGTH(SLICE(X, 1))"), "3");
  EXPECT_EQ(show(u"LENGTH(SLICE(X, 2))"), "2");
}

TEST_F(ArrayBuiltinsTest, QsortOrdersWithCompanions) {
  const struct {
    const char16_t* order;
    std::vector<ScriptValue> values;
    const char* sorted;
    const char* companion;
  } cases[] = {
      {u"QSRT_A", {num(10), num(9), num(1)}, "10|9|1", nullptr},
      {u"QSRT_A", {num(10), num(9), num(1), ScriptValue(), ScriptValue()}, "1|9|10|<E>|<E>", "c|b|a|d|e"},
      {u"QSRT_D", {num(10), num(9), num(1)}, "10|9|1", "a|b|c"},
      {u"QSRT_A", {str(u"10"), str(u"9"), str(u"1")}, "1|10|9", "c|a|b"},
      {u"QSRT_UNICODEA", {str(u"b"), str(u"B"), str(u"a")}, "a|b|B", "c|a|b"},
      {u"QSRT_UNICODED", {str(u"b"), str(u"B"), str(u"a")}, "B|b|a", "b|a|c"},
      {u"QSRT_NATURALA", {str(u"file10"), str(u"File9"), str(u"file1")}, "file1|File9|file10", "c|b|a"},
      {u"QSRT_NATURALD", {str(u"x2"), str(u"x10"), str(u"x1")}, "x10|x2|x1", "b|a|c"},
      {u"QSRT_A", {num(1), str(u"a"), num(-1)}, "-1|1|a", "c|a|b"},
  };
  for (const auto& c : cases) {
    host.dim(u"A", {static_cast<int64_t>(c.values.size()) - 1}, c.values);
    host.dim(u"B", {static_cast<int64_t>(c.values.size()) - 1},
             {str(u"a"), str(u"b"), str(u"c"), str(u"d"), str(u"e")});
    host.run(u"QSORT(A, " + std::u16string(c.order) + u", B)");
    if (c.companion == nullptr) {
      EXPECT_EQ(list(u"A"), "1|9|10") << u8(c.order);
      continue;
    }
    EXPECT_EQ(list(u"A"), c.sorted) << u8(c.order);
    EXPECT_EQ(list(u"B"), c.companion) << u8(c.order);
  }
}

TEST_F(ArrayBuiltinsTest, QsortMovesEightCompanionsAndArrayValues) {
  host.dim(u"A", {2}, {num(3), num(1), num(2)});
  std::u16string call = u"QSORT(A, QSRT_A";
  for (int k = 1; k <= 8; ++k) {
    const std::u16string name = u"B" + utf8ToUtf16(std::to_string(k));
    host.set(name, host.run(u"SPLIT(\"x y z\")"));
    call += u", " + name;
  }
  host.run(call + u")");
  EXPECT_EQ(list(u"A"), "1|2|3");
  EXPECT_EQ(list(u"B1"), "y|z|x");
  EXPECT_EQ(list(u"B8"), "y|z|x");
  const auto tooMany = errorOf([&] { host.run(call + u", B1)"); });
  EXPECT_EQ(u8(tooMany.english), "QSORT: Too many arguments");
  EXPECT_FALSE(tooMany.catchable);
  host.dim(u"S", {0}, {num(0)});
  EXPECT_TRUE(errorOf([&] { host.run(u"QSORT(A, QSRT_D, S)"); }).thrown);
  EXPECT_EQ(list(u"A"), "1|2|3");
}

TEST_F(ArrayBuiltinsTest, QsortOfManySortedAndEqualElements) {
  constexpr int64_t n = 200000;
  std::vector<ScriptValue> sorted, equal;
  for (int64_t i = 0; i < n; ++i) {
    sorted.push_back(num(static_cast<double>(i)));
    equal.push_back(num(7));
  }
  host.dim(u"A", {n - 1}, sorted);
  host.dim(u"E", {n - 1}, equal);
  host.run(u"QSORT(A, QSRT_D, E)");
  const auto a = host.elementsOf(u"A");
  EXPECT_EQ(a.front().doublePayload(), n - 1);
  EXPECT_EQ(a.back().doublePayload(), 0);
  host.run(u"QSORT(E, QSRT_A)");
  EXPECT_EQ(host.elementsOf(u"E")[n / 2].doublePayload(), 7);
}

TEST_F(ArrayBuiltinsTest, PublicArraysAreReachedFromAFunctionFrame) {
  ASSERT_FALSE(host.store.DeclareGlobals(u"G[2] = 3, 1, 2", false, false).has_value());
  host.run(u"QSORT(G, QSRT_A)");
  EXPECT_EQ(show(u"JOIN(G, \",\")"), "1,2,3");
  EXPECT_EQ(show(u"RESIZE(G, 3)"), "3");
  EXPECT_EQ(show(u"LENGTH(G)"), "4");
  host.run(u"SHIFTARRAY(G, 1)");
  EXPECT_EQ(show(u"JOIN(G, \",\")"), ",1,2,3");
  EXPECT_EQ(show(u"CALCARRAY(G, CALC_MAX)"), "3");
}

TEST(NaturalOrderTest, DigitRunsCompareAsNumbers) {
  platform::Locale& locale = platform::consolePlatform().locale;
  const struct {
    const char16_t *a, *b;
    int expected;
  } cases[] = {
      {u"file9", u"file10", -1}, {u"FILE10", u"file9", 1}, {u"a", u"A", 0},          {u"x007", u"x7", 0},
      {u"x1y", u"x1z", -1},      {u"1", u"a", -1},         {u"abc", u"ab", 1},       {u"", u"a", -1},
      {u"v99999999999999999999", u"v100000000000000000000", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(CompareNatural(c.a, c.b, locale), c.expected) << u8(c.a) << " " << u8(c.b);
}

TEST_F(ArrayBuiltinsTest, VarTypeCodesAndConversions) {
  const struct {
    const char16_t* expression;
    const char* expected;
  } cases[] = {
      {u"VARTYPE(1)", "5"},
      {u"VARTYPE(\"a\")", "258"},
      {u"VARTYPE(TRUE)", "11"},
      {u"VARTYPE(EMPTY)", "0"},
      {u"VARTYPE(NULL)", "1"},
      {u"VARTYPE(NOTHING)", "9"},
      {u"VARTYPE(SPLIT(\"a\"))", "8204"},
      {u"VARTYPE(CHRB(65))", "256"},
      {u"VARTYPE(VARTYPE(2.5, VAR_INTEGER))", "3"},
      {u"VARTYPE(VARTYPE(2, VAR_SMALLINT))", "2"},
      {u"VARTYPE(2.5, VAR_INTEGER)", "2"},
      {u"VARTYPE(3.5, VAR_INTEGER)", "4"},
      {u"VARTYPE(\"12\", VAR_DOUBLE) + 1", "13"},
      {u"VARTYPE(12, VAR_USTR) + 1", "121"},
      {u"VARTYPE(0, VAR_BOOLEAN)", "False"},
      {u"VARTYPE(\"True\", VAR_BOOLEAN)", "True"},
      {u"VARTYPE(0, 9)", "NOTHING"},
  };
  for (const auto& c : cases) EXPECT_EQ(show(c.expression), c.expected) << u8(c.expression);
  // A conversion that cannot be made leaves through the dispatcher's path: catchable, "KansuCall:" and the reason.
  const struct {
    const char16_t* expression;
    std::u16string message;
  } refused[] = {{u"VARTYPE(70000, VAR_SMALLINT)", u"KansuCall:Overflow."},
                 {u"VARTYPE(-1, VAR_BYTE)", u"KansuCall:Overflow."},
                 {u"VARTYPE(\"abc\", VAR_DOUBLE)", u"KansuCall:Type mismatch."},
                 {u"VARTYPE(\"abc\", VAR_INTEGER)", u"KansuCall:Type mismatch."},
                 {u"VARTYPE(1, 13)", u"KansuCall:Type mismatch."}};
  for (const auto& bad : refused) {
    const auto error = errorOf([&] { host.run(bad.expression); });
    EXPECT_TRUE(error.thrown && error.catchable) << u8(bad.expression);
    EXPECT_EQ(u8(error.english), u8(bad.message)) << u8(bad.expression);
  }
}

class Probe final : public engine::ScriptObject {
 public:
  std::u16string typeName() const override { return u"Probe"; }
};

TEST_F(ArrayBuiltinsTest, VarTypeNineTurnsOnlyKnownIdsIntoObjects) {
  auto probe = std::make_shared<Probe>();
  const ScriptValue object = ScriptValue::object(probe);
  host.set(u"O", object);
  host.set(u"N", num(static_cast<double>(object.objectId())));
  const ScriptValue back = host.run(u"VARTYPE(N, 9)");
  ASSERT_TRUE(back.isObject());
  EXPECT_EQ(back.objectPointer(), probe.get());
  EXPECT_EQ(show(u"VARTYPE(O, 9) = O"), show(u"O = O"));
  const auto unknown = errorOf([&] { host.run(u"VARTYPE(N + 12345, 9)"); });
  EXPECT_TRUE(unknown.thrown);
  EXPECT_TRUE(errorOf([&] { host.run(u"VARTYPE(1.5, 9)"); }).thrown);
}

}  // namespace
}  // namespace maqo::builtins::strings_test
