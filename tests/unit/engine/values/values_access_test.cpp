// GetValue and PutValue: variables, arrays, arrays inside values, special names
// and the lookup of global names.
#include <gtest/gtest.h>

#include "engine/values/reference_text.h"
#include "tests/unit/engine/values/values_test_support.h"

namespace maqo::engine {
namespace {

using namespace values_test;

class ValuesAccess : public StoreTest {};

// ---- plain variables ----

TEST_F(ValuesAccess, AssigningAnUndeclaredNameDeclaresALocal) {
  put(u"X", {}, num(5));
  EXPECT_EQ(text(u"X"), u"5");
  EXPECT_GE(frame.locals.find(u"X"), 0);
  EXPECT_LT(store.GlobalScope.locals.find(u"X"), 0);
}

TEST_F(ValuesAccess, ReadingAnUndeclaredNameFails) {
  const Message m = errorOf([&] { get(u"X"); });
  EXPECT_EQ(m.english, u"It isn't defined: X");
  EXPECT_EQ(m.japanese, u"変数: X が定義されていません");
  EXPECT_TRUE(frame.readFailed);

  // Quietly: the integer 0, the flag set, nothing thrown.
  const ScriptValue quiet = store.GetValue(frame, u"X", {}, /*quiet=*/true);
  EXPECT_TRUE(frame.readFailed);
  EXPECT_EQ(quiet.type(), VarType::Int32);
  EXPECT_EQ(quiet.integerPayload(), 0);
  EXPECT_EQ(store.TryGetValue(frame, u"X"), std::nullopt);

  // A successful read clears the flag.
  put(u"X", {}, ScriptValue());
  EXPECT_TRUE(store.GetValue(frame, u"X", {}, true).isEmpty());
  EXPECT_FALSE(frame.readFailed);
}

TEST_F(ValuesAccess, NoDeclareAndDottedNamesDoNotCreateLocals) {
  PutFlags flags;
  flags.noDeclare = true;
  EXPECT_EQ(errorOf([&] { store.PutValue(frame, u"Y", {}, num(1), flags); }).english, u"It isn't defined: Y");
  EXPECT_EQ(errorOf([&] { put(u"M.Y", {}, num(1)); }).english, u"It isn't defined: M.Y");
  EXPECT_EQ(frame.locals.count(), 0);
}

TEST_F(ValuesAccess, AssigningToAnUndeclaredArrayFails) {
  const Message m = errorOf([&] { put(u"B", idx({num(1)}), num(1)); });
  EXPECT_EQ(m.english, u"B[1]: Array without declaration");
  EXPECT_EQ(m.japanese, u"B[1]：宣言のない配列です");
  PutFlags flags;
  flags.referenceText = u"B[I+1]";
  EXPECT_EQ(errorOf([&] { store.PutValue(frame, u"B", idx({num(2)}), num(1), flags); }).english,
            u"B[I+1]: Array without declaration");
  EXPECT_EQ(frame.locals.count(), 0);
}

TEST_F(ValuesAccess, AbortFlagStopsReadsAndWrites) {
  std::atomic<bool> abort{true};
  store.abortFlag = &abort;
  put(u"X", {}, num(1));
  EXPECT_EQ(frame.locals.count(), 0);
  EXPECT_EQ(get(u"ANYTHING").integerPayload(), 0);
  EXPECT_FALSE(frame.readFailed);
}

// ---- declared arrays ----

TEST_F(ValuesAccess, TwoDimensionalArrayIsFlatRowMajor) {
  const int64_t bounds[] = {2, 3};
  const int slot = store.DeclareLocal(frame, u"A", bounds);
  EXPECT_EQ(frame.locals.slot(slot).values.size(), 12u);
  put(u"A", idx({num(1), num(2)}), str(u"x"));
  EXPECT_EQ(frame.locals.slot(slot).values[6].toText(), u"x");  // 1 * 4 + 2
  EXPECT_EQ(text(u"A", idx({num(1), num(2)})), u"x");
  EXPECT_TRUE(get(u"A", idx({num(2), num(3)})).isEmpty());
}

TEST_F(ValuesAccess, ArrayIndexErrors) {
  const int64_t bounds[] = {2, 3};
  store.DeclareLocal(frame, u"A", bounds);
  const int64_t none[] = {-1};
  store.DeclareLocal(frame, u"E", none);
  struct Case {
    const char* label;
    std::u16string name;
    std::vector<ScriptValue> indexes;
    std::u16string english;
    std::u16string japanese;
  };
  const Case cases[] = {
      {"beyond a bound", u"A", idx({num(2), num(4)}), u"It exceeded array: A", u"変数: A 配列をオーバーしてます"},
      {"negative", u"A", idx({num(-1), num(0)}), u"It exceeded array: A", u"変数: A 配列をオーバーしてます"},
      {"too few indexes", u"A", idx({num(1)}), u"Does not match the number of dimensions: A",
       u"変数: A 次元数が合いません"},
      {"no index", u"A", {}, u"Does not match the number of dimensions: A", u"変数: A 次元数が合いません"},
      {"empty array", u"E", idx({num(0)}), u"It exceeded array: E", u"変数: E 配列をオーバーしてます"},
      {"index beyond 64 bits", u"A", idx({num(1e30), num(0)}), u"It exceeded array: A",
       u"変数: A 配列をオーバーしてます"},
      {"index as text beyond 64 bits", u"A", idx({str(u"1e300"), num(0)}), u"It exceeded array: A",
       u"変数: A 配列をオーバーしてます"},
      {"index that is no number", u"A", idx({str(u"abc"), num(0)}), u"GetValue:Index is not a number: A[abc]", u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const Message m = errorOf([&] { get(c.name, c.indexes); });
    EXPECT_EQ(m.english, c.english);
    EXPECT_EQ(m.japanese, c.japanese);
    EXPECT_TRUE(frame.readFailed);
    // Writing with the same indexes fails the same way (except the prefix).
    const Message w = errorOf([&] { put(c.name, c.indexes, num(1)); });
    if (c.english.starts_with(u"GetValue:"))
      EXPECT_EQ(w.english, u"PutValue:" + c.english.substr(9));
    else
      EXPECT_EQ(w.english, c.english);
  }
}

TEST_F(ValuesAccess, IndexConversionFollowsTheTextForm) {
  const int64_t bounds[] = {5};
  store.DeclareLocal(frame, u"A", bounds);
  put(u"A", idx({num(3)}), str(u"three"));
  struct Case {
    const char* label;
    ScriptValue index;
  };
  const Case cases[] = {
      {"double", num(3)},
      {"truncated toward zero", num(3.9)},
      {"text", str(u"3")},
      {"hex text", str(u"$3")},
      {"text with fraction", str(u"3.7")},
      {"prints as 3 at 15 digits", num(2.9999999999999996)},
  };
  for (const auto& c : cases) EXPECT_EQ(text(u"A", idx({c.index})), u"three") << c.label;
  put(u"A", idx({ScriptValue()}), str(u"zero"));  // an empty index counts as 0
  EXPECT_EQ(text(u"A", idx({num(0)})), u"zero");
}

TEST_F(ValuesAccess, ParamStrBeyondItsEndIsEmpty) {
  const int64_t bounds[] = {1};
  store.DeclareLocal(frame, u"PARAM_STR", bounds);
  put(u"PARAM_STR", idx({num(0)}), str(u"first"));
  EXPECT_EQ(text(u"PARAM_STR", idx({num(0)})), u"first");
  EXPECT_TRUE(get(u"PARAM_STR", idx({num(99)})).isEmpty());
  EXPECT_FALSE(frame.readFailed);
  EXPECT_TRUE(get(u"PARAM_STR", idx({num(0), num(1)})).isEmpty());
}

TEST_F(ValuesAccess, RedeclaringKeepsTheFirstElements) {
  const int64_t three[] = {2};
  store.DeclareLocal(frame, u"A", three);
  put(u"A", idx({num(0)}), str(u"a"));
  put(u"A", idx({num(2)}), str(u"c"));
  const int64_t five[] = {4};
  store.DeclareLocal(frame, u"A", five);
  EXPECT_EQ(text(u"A", idx({num(0)})), u"a");
  EXPECT_EQ(text(u"A", idx({num(2)})), u"c");
  EXPECT_TRUE(get(u"A", idx({num(4)})).isEmpty());
  store.DeclareLocal(frame, u"A");  // no bounds: left as it is
  EXPECT_EQ(frame.locals.slot(frame.locals.find(u"A")).values.size(), 5u);
}

TEST_F(ValuesAccess, BadDeclarationsAreCleanErrors) {
  const int64_t belowMinusOne[] = {-2};
  EXPECT_EQ(errorOf([&] { store.DeclareLocal(frame, u"A", belowMinusOne); }).english,
            u"Index of the array is wrong:A");
  const int64_t huge[] = {100000, 100000};
  const Message m = errorOf([&] { store.DeclareLocal(frame, u"B", huge); });
  EXPECT_EQ(m.english, u"Array is too large: B");
  const int64_t overflow[] = {INT64_MAX, INT64_MAX};
  EXPECT_EQ(errorOf([&] { store.DeclareLocal(frame, u"C", overflow); }).english, u"Array is too large: C");
  const std::vector<int64_t> seventeen(17, 0);
  EXPECT_EQ(errorOf([&] { store.DeclareLocal(frame, u"D", seventeen); }).english,
            u"Index of the array is wrong:D");
  EXPECT_EQ(frame.locals.count(), 0);

  // An existing array that fails to grow stays as it was.
  const int64_t two[] = {1};
  store.DeclareLocal(frame, u"K", two);
  EXPECT_THROW(store.DeclareLocal(frame, u"K", huge), ScriptError);
  EXPECT_EQ(frame.locals.slot(frame.locals.find(u"K")).values.size(), 2u);
  EXPECT_EQ(frame.locals.slot(frame.locals.find(u"K")).upperBounds, std::vector<int64_t>{1});
}

TEST_F(ValuesAccess, DeclareLocalFromReferenceText) {
  put(u"N", {}, num(3));
  const int slot = store.DeclareLocal(frame, u"A[N][1]");
  EXPECT_EQ(frame.locals.slot(slot).upperBounds, (std::vector<int64_t>{3, 1}));
  const int b = store.DeclareLocal(frame, u"B[]");
  EXPECT_EQ(b, frame.locals.find(u"B"));
  EXPECT_EQ(frame.locals.slot(frame.locals.find(u"B")).upperBounds, std::vector<int64_t>{0});
  EXPECT_EQ(errorOf([&] { store.DeclareLocal(frame, u"C[UNDEFINED]"); }).english,
            u"Index of the array is wrong:C[UNDEFINED]");
}

TEST_F(ValuesAccess, InitialiserPositions) {
  const int64_t bounds[] = {1, 1};
  store.DeclareLocal(frame, u"A", bounds);
  PutFlags byPosition;
  byPosition.byPosition = true;
  store.PutValue(frame, u"A", idx({num(3)}), str(u"last"), byPosition);
  EXPECT_EQ(text(u"A", idx({num(1), num(1)})), u"last");
  const Message m = errorOf([&] { store.PutValue(frame, u"A", idx({num(4)}), num(0), byPosition); });
  EXPECT_EQ(m.english, u"It exceeded array");
  EXPECT_EQ(m.japanese, u"設定値の数が配列をオーバーしてます");
}

// ---- arrays held in variables ----

TEST_F(ValuesAccess, ArrayValueInAScalar) {
  put(u"X", {}, list({str(u"a"), str(u"b")}));
  EXPECT_EQ(text(u"X", idx({num(1)})), u"b");
  put(u"X", idx({num(1)}), str(u"z"));
  EXPECT_EQ(text(u"X", idx({num(1)})), u"z");
  const Message m = errorOf([&] { get(u"X", idx({num(5)})); });
  EXPECT_EQ(m.english, u"GetValue:Array index out of bounds: X");
  EXPECT_EQ(errorOf([&] { put(u"X", idx({num(5)}), num(1)); }).english, u"PutValue:Array index out of bounds: X");
  EXPECT_EQ(errorOf([&] { get(u"X", idx({num(0), num(0), num(0)})); }).english,
            u"Does not match the number of dimensions: X");
  put(u"S", {}, num(5));
  EXPECT_EQ(errorOf([&] { get(u"S", idx({num(0)})); }).english, u"Does not match the number of dimensions: S");
}

TEST_F(ValuesAccess, ArraysInsideArrayElements) {
  const int64_t bounds[] = {1};
  store.DeclareLocal(frame, u"T", bounds);
  put(u"T", idx({num(0)}), list({str(u"a"), str(u"b")}));
  put(u"T", idx({num(1)}), list({str(u"c"), str(u"d")}));
  EXPECT_EQ(text(u"T", idx({num(0), num(1)})), u"b");
  EXPECT_EQ(text(u"T", idx({num(1), num(0)})), u"c");
  put(u"T", idx({num(1), num(1)}), str(u"D"));
  EXPECT_EQ(text(u"T", idx({num(1), num(1)})), u"D");

  // Two more indexes than dimensions: an array of arrays inside the element.
  put(u"N", {}, list({list({str(u"p"), str(u"q")}), list({str(u"r")})}));
  EXPECT_EQ(text(u"N", idx({num(0), num(1)})), u"q");
  put(u"N", idx({num(1), num(0)}), str(u"R"));
  EXPECT_EQ(text(u"N", idx({num(1), num(0)})), u"R");
}

TEST_F(ValuesAccess, ElementZeroDoesNotStandInForOtherElements) {
  // T[0] holds a two-dimensional array, T[1] a list: T[1][0] is the list's
  // first element, never element (1, 0) of the array in T[0].
  const int64_t bounds[] = {1};
  store.DeclareLocal(frame, u"T", bounds);
  ArrayValue grid({{0, 1}, {0, 1}});
  grid.at(2) = str(u"from T[0]");
  put(u"T", idx({num(0)}), ScriptValue::array(grid));
  put(u"T", idx({num(1)}), list({str(u"from T[1]")}));
  EXPECT_EQ(text(u"T", idx({num(1), num(0)})), u"from T[1]");
  put(u"T", idx({num(1), num(0)}), str(u"written"));
  EXPECT_EQ(text(u"T", idx({num(1), num(0)})), u"written");
  EXPECT_EQ(get(u"T", idx({num(0)})).arrayRef().at(2).toText(), u"from T[0]");
  // A two-dimensional array in a scalar is addressed directly.
  put(u"G", {}, ScriptValue::array(grid));
  EXPECT_EQ(text(u"G", idx({num(1), num(0)})), u"from T[0]");
}

TEST_F(ValuesAccess, WritingACopyNeverChangesTheOriginal) {
  put(u"X", {}, list({str(u"a"), list({str(u"inner")})}));
  put(u"Y", {}, get(u"X"));
  put(u"Y", idx({num(0)}), str(u"changed"));
  put(u"Y", idx({num(1), num(0)}), str(u"changed inner"));
  EXPECT_EQ(text(u"X", idx({num(0)})), u"a");
  EXPECT_EQ(text(u"X", idx({num(1), num(0)})), u"inner");
  EXPECT_EQ(text(u"Y", idx({num(1), num(0)})), u"changed inner");

  // A value read out is a copy too.
  ScriptValue read = get(u"X");
  read.mutableArray().at(0) = str(u"local change");
  EXPECT_EQ(text(u"X", idx({num(0)})), u"a");

  // Storing an array into its own element keeps the element's old contents.
  put(u"X", idx({num(0)}), get(u"X"));
  EXPECT_EQ(get(u"X", idx({num(0)})).arrayRef().at(0).toText(), u"a");
}

// ---- special names ----

TEST_F(ValuesAccess, KeywordsAndFrameValues) {
  EXPECT_EQ(get(u"TRUE").booleanPayload(), 1);
  EXPECT_EQ(get(u"FALSE").booleanPayload(), 0);
  EXPECT_TRUE(get(u"NULL").isNull());
  EXPECT_TRUE(get(u"NOTHING").isNothing());
  EXPECT_TRUE(get(u"EMPTY").isEmpty());
  EXPECT_EQ(text(u"EMPTYPARAM"), u"__EMPTYPARAM__");
  frame.tryErrorMessage = u"It isn't defined: X";
  frame.tryErrorLine = u"12: X";
  frame.imageX = -5;
  frame.imageY = 7;
  EXPECT_EQ(text(u"TRY_ERRMSG"), u"It isn't defined: X");
  EXPECT_EQ(text(u"TRY_ERRLINE"), u"12: X");
  EXPECT_EQ(get(u"G_IMG_X").type(), VarType::Int32);
  EXPECT_EQ(text(u"G_IMG_X"), u"-5");
  EXPECT_EQ(text(u"G_IMG_Y"), u"7");
}

TEST_F(ValuesAccess, TimeStampFields) {
  frame.timeStamp = {2024, 3, 5, 7, 8, 9, 45, 2};
  struct Case {
    std::u16string name;
    VarType type;
    std::u16string text;
  };
  const Case cases[] = {
      {u"G_TIME_YY", VarType::UInt16, u"2024"},  {u"G_TIME_MM", VarType::UInt16, u"3"},
      {u"G_TIME_DD", VarType::UInt16, u"5"},     {u"G_TIME_HH", VarType::UInt16, u"7"},
      {u"G_TIME_NN", VarType::UInt16, u"8"},     {u"G_TIME_SS", VarType::UInt16, u"9"},
      {u"G_TIME_ZZ", VarType::UInt16, u"45"},    {u"G_TIME_WW", VarType::Int32, u"2"},
      {u"G_TIME_YY4", VarType::String, u"2024"}, {u"G_TIME_YY2", VarType::String, u"24"},
      {u"G_TIME_MM2", VarType::String, u"03"},   {u"G_TIME_DD2", VarType::String, u"05"},
      {u"G_TIME_HH2", VarType::String, u"07"},   {u"G_TIME_NN2", VarType::String, u"08"},
      {u"G_TIME_SS2", VarType::String, u"09"},   {u"G_TIME_ZZ2", VarType::String, u"045"},
  };
  for (const auto& c : cases) {
    const ScriptValue v = get(c.name);
    EXPECT_EQ(v.type(), c.type) << u8(c.name);
    EXPECT_EQ(v.toText(), c.text) << u8(c.name);
  }
  EXPECT_THROW(get(u"G_TIME_XX"), ScriptError);
}

TEST_F(ValuesAccess, LocalsComeFirst) {
  store.DeclareConst(u"K", num(1));
  put(u"K", {}, num(2));  // a local of that name hides the constant
  EXPECT_EQ(text(u"K"), u"2");
}

class FakeBuiltins : public BuiltinNameSource {
 public:
  std::optional<ScriptValue> value(std::u16string_view name, THensuFmt&) override {
    if (name == u"G_MOUSE_X") return ScriptValue::number(10);
    if (name == u"GET_WIN_DIR") return ScriptValue::string(u"C:\\WINDOWS");
    return std::nullopt;
  }
  bool isReserved(std::u16string_view name) override { return name == u"G_MOUSE_X" || name == u"F_READ"; }
};

TEST_F(ValuesAccess, BuiltinNamesComeFromTheHook) {
  EXPECT_EQ(errorOf([&] { get(u"G_MOUSE_X"); }).english, u"It isn't defined: G_MOUSE_X");
  FakeBuiltins builtins;
  store.builtinNames = &builtins;
  EXPECT_EQ(text(u"G_MOUSE_X"), u"10");
  EXPECT_EQ(text(u"GET_WIN_DIR"), u"C:\\WINDOWS");
  EXPECT_EQ(store.ReservedWordError(u"F_READ")->english, u"Is a reserved word: F_READ");
}

// ---- global names ----

TEST_F(ValuesAccess, GlobalsAreSharedAcrossFrames) {
  ASSERT_FALSE(store.DeclareGlobals(u"G", false, false));
  THensuFmt other;
  store.PutValue(other, u"G", {}, str(u"shared"), {});
  EXPECT_EQ(text(u"G"), u"shared");
  EXPECT_LT(frame.locals.find(u"G"), 0);
  // Reading in the global frame itself.
  EXPECT_EQ(store.GetValue(store.GlobalScope, u"G").toText(), u"shared");
}

TEST_F(ValuesAccess, ModuleMembersResolveQualifiedFirst) {
  store.ModuleNames.add(u"M");
  ASSERT_FALSE(store.DeclareGlobals(u"M.X = \"member\", X = \"global\", Y = \"only global\"", false, false));
  frame.moduleName = u"M";
  EXPECT_EQ(text(u"X"), u"member");
  EXPECT_EQ(text(u"THIS.X"), u"member");
  EXPECT_EQ(text(u"Y"), u"only global");
  put(u"X", {}, str(u"written"));
  EXPECT_EQ(store.GetValue(store.GlobalScope, u"M.X").toText(), u"written");

  THensuFmt outside;
  EXPECT_EQ(store.GetValue(outside, u"X").toText(), u"global");
  EXPECT_EQ(store.GetValue(outside, u"M.X").toText(), u"written");
  outside.withTarget = str(u"M");
  EXPECT_EQ(store.GetValue(outside, u".X").toText(), u"written");
  outside.withTarget = str(u"NOT_A_MODULE");
  EXPECT_THROW(store.GetValue(outside, u".X"), ScriptError);

  EXPECT_EQ(store.ResolveGlobal(u"X", frame, GlobalKind::Variable), store.GlobalScope.locals.find(u"M.X"));
  EXPECT_EQ(store.ResolveGlobal(u"X", outside, GlobalKind::Variable), store.GlobalScope.locals.find(u"X"));
  EXPECT_EQ(store.ResolveGlobal(u"Z", frame, GlobalKind::Variable), -1);
}

TEST_F(ValuesAccess, ModuleReferences) {
  store.ModuleNames.add(u"M");
  THensuFmt inModule;
  inModule.moduleName = u"M";
  THensuFmt withModule;
  withModule.withTarget = str(u"M");
  struct Case {
    std::u16string reference;
    const THensuFmt* frame;
    bool member;
  };
  const Case cases[] = {
      {u"M.X", &frame, true},        {u"M.X[1]", &frame, true},   {u"M.X[A.B]", &frame, true},
      {u"OBJ.PROP", &frame, false},  {u"M.X.Y", &frame, false},   {u"X", &frame, false},
      {u"THIS.X", &frame, false},    {u"THIS.X", &inModule, true}, {u"GLOBAL.X", &inModule, true},
      {u".X", &frame, false},        {u".X", &withModule, true},
  };
  for (const auto& c : cases) EXPECT_EQ(store.IsModuleReference(c.reference, *c.frame), c.member) << u8(c.reference);
}

TEST_F(ValuesAccess, ConstantsAndTextBlocks) {
  ASSERT_FALSE(store.DeclareConst(u"K = 42"));
  ASSERT_FALSE(store.DeclareTextBlockName(u"TB"));
  store.TextBlockTexts[0] = u"line 1\r\nline 2";
  EXPECT_EQ(text(u"K"), u"42");
  EXPECT_EQ(text(u"TB"), u"line 1\r\nline 2");
  ASSERT_FALSE(store.DeclareConst(u"M.C", list({str(u"a"), str(u"b")})));
  store.ModuleNames.add(u"M");
  frame.moduleName = u"M";
  EXPECT_EQ(text(u"C", idx({num(1)})), u"b");  // indexes address a constant's array
  EXPECT_EQ(errorOf([&] { get(u"K", idx({num(1)})); }).english, u"Does not match the number of dimensions: K");
}

}  // namespace
}  // namespace maqo::engine

namespace maqo::engine {
namespace {

TEST(ValuesReferenceText, SplitsNameAndIndexes) {
  struct Case {
    std::u16string reference;
    std::u16string name;
    std::vector<std::u16string> indexes;
    bool indexed;
  };
  const Case cases[] = {
      {u"A", u"A", {}, false},
      {u"A[2][I+1]", u"A", {u"2", u"I+1"}, true},
      {u"A[1, 2]", u"A", {u"1", u"2"}, true},
      {u"H[\"a,b][c\", HASH_KEY]", u"H", {u"\"a,b][c\"", u"HASH_KEY"}, true},
      {u"A[F(1, 2)][B[1][2]]", u"A", {u"F(1, 2)", u"B[1][2]"}, true},
      {u"A[]", u"A", {u""}, true},
      {u"M.X[0]", u"M.X", {u"0"}, true},
      {u"A[1]B", u"A[1]B", {}, false},
  };
  for (const auto& c : cases) {
    const ReferenceParts parts = splitReference(c.reference);
    EXPECT_EQ(parts.name, c.name) << values_test::u8(c.reference);
    EXPECT_EQ(parts.indexTexts, c.indexes) << values_test::u8(c.reference);
    EXPECT_EQ(parts.indexed, c.indexed) << values_test::u8(c.reference);
  }
  std::u16string sixteen = u"A";
  for (int i = 0; i < 16; ++i) sixteen += u"[0]";
  EXPECT_EQ(splitReference(sixteen).indexTexts.size(), 16u);
  const Message m = values_test::errorOf([&] { splitReference(sixteen + u"[0]"); });
  EXPECT_TRUE(m.english.starts_with(u"Dimension of array:"));
}

TEST(ValuesReferenceText, TopLevelDots) {
  EXPECT_EQ(countTopLevelDots(u"M.X[A.B](\"x.y\")"), 1u);
  EXPECT_EQ(countTopLevelDots(u"A.B.C"), 2u);
  EXPECT_EQ(countTopLevelDots(u"X"), 0u);
}

}  // namespace
}  // namespace maqo::engine
