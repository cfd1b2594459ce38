// Declarations, reserved words, result arrays and array arguments.
#include <gtest/gtest.h>

#include "tests/unit/engine/values/values_test_support.h"

namespace maqo::engine {
namespace {

using namespace values_test;

class ValuesDeclarations : public StoreTest {
 protected:
  // The English text of a declaration's error, empty on success.
  std::u16string globals(std::u16string_view text, bool moduleLevel = false, bool optionPublic = false) {
    const auto error = store.DeclareGlobals(text, moduleLevel, false, optionPublic);
    return error ? error->english : u"";
  }
  std::u16string global(std::u16string_view name, std::vector<ScriptValue> indexes = {}) {
    return store.GetValue(store.GlobalScope, name, indexes).toDisplayText();
  }
  const VariableSlot& globalSlot(std::u16string_view name) {
    return store.GlobalScope.locals.slot(store.GlobalScope.locals.find(name));
  }
};

TEST_F(ValuesDeclarations, GlobalsWithInitialValues) {
  EXPECT_EQ(globals(u"A[2] = 1, 2, 3"), u"");
  EXPECT_EQ(global(u"A", idx({num(2)})), u"3");
  EXPECT_EQ(globals(u"B = 5, C, D = \"text\""), u"");
  EXPECT_EQ(global(u"B"), u"5");
  EXPECT_TRUE(store.GetValue(store.GlobalScope, u"C").isEmpty());
  EXPECT_EQ(global(u"D"), u"text");
  EXPECT_EQ(globals(u"E[] = 4, 5, 6"), u"");  // sized by its values
  EXPECT_EQ(globalSlot(u"E").upperBounds, std::vector<int64_t>{2});
  EXPECT_EQ(globals(u"F[3] = 1, 2,"), u"");    // a trailing comma stores Empty
  EXPECT_EQ(global(u"F", idx({num(1)})), u"2");
  EXPECT_TRUE(store.GetValue(store.GlobalScope, u"F", idx({num(2)})).isEmpty());
  EXPECT_EQ(globals(u"G[1][1] = 1, 2, 3, 4"), u"");
  EXPECT_EQ(global(u"G", idx({num(1), num(0)})), u"3");
  EXPECT_EQ(globals(u"N = 2, H[N]"), u"");  // bounds may use earlier names
  EXPECT_EQ(globalSlot(u"H").upperBounds, std::vector<int64_t>{2});
  EXPECT_EQ(store.GlobalVariablePrivate.size(), static_cast<size_t>(store.GlobalScope.locals.count()));
}

TEST_F(ValuesDeclarations, GlobalErrors) {
  ASSERT_FALSE(store.DeclareConst(u"K", num(1)));
  struct Case {
    const char* label;
    std::u16string text;
    std::u16string english;
  };
  const Case cases[] = {
      {"too many values", u"A[1] = 1, 2, 3", u"It exceeded array"},
      {"missing scalar value", u"S =", u"SyntaxError-7"},
      {"missing array values", u"T[2] = ", u"SyntaxError-7"},
      {"reserved", u"TRUE", u"Is a reserved word: TRUE"},
      {"reserved member", u"M.G_TIME_YY", u"Is a reserved word: G_TIME_YY"},
      {"a constant's name", u"K", u"It has already been defined: K"},
      {"bad character", u"A-B", u"variable name which is not right: A-B"},
      {"undefined bound", u"U[X]", u"Index of the array is wrong:U[X]"},
      {"bound below -1", u"V[-2]", u"Index of the array is wrong:V[-2]"},
      {"too large", u"W[100000][100000]", u"Array is too large: W[100000][100000]"},
      {"failing value", u"Z = UNDEFINED", u"It isn't defined: UNDEFINED"},
  };
  for (const auto& c : cases) EXPECT_EQ(globals(c.text), c.english) << c.label;
  EXPECT_LT(store.GlobalScope.locals.find(u"W"), 0);
  EXPECT_EQ(store.DeclareGlobals(u"K", false, false)->japanese, u"変数: K は既に定義されています");
}

TEST_F(ValuesDeclarations, DeclaringAGlobalAgain) {
  ASSERT_EQ(globals(u"A[2]"), u"");
  EXPECT_EQ(globals(u"A[2]"), u"");  // same dimensions: accepted
  auto error = store.DeclareGlobals(u"A[3]", false, false);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->english, u"It has already been defined: A");
  EXPECT_EQ(error->japanese, u"グローバル変数: A は既に定義されています(次元数が違う)");
  error = store.DeclareGlobals(u"A[2]", /*moduleLevel=*/true, false);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->japanese, u"変数: A は既に定義されています");
  error = store.DeclareGlobals(u"A[2]", false, false, /*optionPublic=*/true);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->japanese, u"グローバル変数: A は既に定義されています");
}

TEST_F(ValuesDeclarations, PrivateFlags) {
  ASSERT_FALSE(store.DeclareGlobals(u"M.P", true, /*isPrivate=*/true));
  ASSERT_FALSE(store.DeclareGlobals(u"Q", false, false));
  EXPECT_EQ(store.GlobalVariablePrivate, (std::vector<bool>{true, false}));
  store.ResetProgram();
  EXPECT_EQ(store.GlobalScope.locals.count(), 0);
  EXPECT_TRUE(store.GlobalVariablePrivate.empty());
}

TEST_F(ValuesDeclarations, Constants) {
  EXPECT_FALSE(store.DeclareConst(u"K = 5"));
  EXPECT_FALSE(store.DeclareConst(u"K = 5"));  // same type and value again
  auto error = store.DeclareConst(u"K = 6");
  ASSERT_TRUE(error);
  EXPECT_EQ(error->english, u"It is multiplex definition: K");
  EXPECT_EQ(error->japanese, u"K: 多重定義です");
  EXPECT_EQ(store.DeclareConst(u"K = \"5\"")->english, u"It is multiplex definition: K");  // other type
  EXPECT_EQ(store.DeclareConst(u"J")->english, u"SyntaxError-1");
  EXPECT_EQ(store.DeclareConst(u"J =  ")->english, u"SyntaxError-1");
  EXPECT_EQ(store.DeclareConst(u" = 1")->english, u"SyntaxError-1");
  EXPECT_EQ(store.DeclareConst(u"NULL = 1")->english, u"Is a reserved word: NULL");
  ASSERT_FALSE(store.DeclareGlobals(u"G", false, false));
  error = store.DeclareConst(u"G = 1");
  ASSERT_TRUE(error);
  EXPECT_EQ(error->english, u"It has already been defined: G");
  EXPECT_EQ(error->japanese, u"G は既に定義されています");
  EXPECT_EQ(store.DeclareConst(u"L = UNDEFINED")->english, u"It isn't defined: UNDEFINED");
  EXPECT_EQ(store.ConstNames.count(), 1);
}

TEST_F(ValuesDeclarations, TextBlockNames) {
  EXPECT_FALSE(store.DeclareTextBlockName(u"TB"));
  EXPECT_EQ(store.DeclareTextBlockName(u"TB")->english, u"It has already been defined: TB");
  ASSERT_FALSE(store.DeclareConst(u"K", num(1)));
  EXPECT_EQ(store.DeclareTextBlockName(u"K")->japanese, u"K は既に定義されています");
  EXPECT_EQ(store.DeclareTextBlockName(u"EMPTY")->english, u"Is a reserved word: EMPTY");
  EXPECT_EQ(globals(u"TB"), u"It has already been defined: TB");
  EXPECT_EQ(store.TextBlockTexts.size(), 1u);
}

TEST_F(ValuesDeclarations, ReservedWords) {
  for (auto name : {u"AND", u"OR", u"XOR", u"MOD", u"NULL", u"NOTHING", u"EMPTY", u"TRUE", u"FALSE", u"RESULT",
                    u"TRY_ERRMSG", u"TRY_ERRLINE", u"G_IMG_X", u"G_IMG_Y", u"COM_ERR_FLG", u"G_TIME_ZZ2",
                    u"G_TIME_WW", u"EMPTYPARAM", u"true"}) {
    const auto error = store.ReservedWordError(name);
    ASSERT_TRUE(error) << u8(name);
    EXPECT_EQ(error->english, std::u16string(u"Is a reserved word: ") + name);
    EXPECT_EQ(error->japanese, std::u16string(name) + u" は予約語です");
  }
  EXPECT_FALSE(store.ReservedWordError(u"COUNT"));
  EXPECT_FALSE(store.ReservedWordError(u"G_TIME_XX"));
}

// ---- result arrays ----

TEST_F(ValuesDeclarations, ResultArrays) {
  EXPECT_EQ(store.ResultArray(frame, u"ALL_WIN_ID"), 0);
  EXPECT_EQ(store.ResultArray(frame, u"ALL_WIN_ID", num(11)), 1);
  EXPECT_EQ(store.ResultArray(frame, u"ALL_WIN_ID", num(12)), 2);
  EXPECT_EQ(text(u"ALL_WIN_ID", idx({num(1)})), u"12");
  EXPECT_EQ(frame.resultArrayName, u"ALL_WIN_ID");

  frame.collecting = true;
  EXPECT_EQ(store.ResultArray(frame, u"ALL_WIN_ID"), 0);
  EXPECT_EQ(store.ResultArray(frame, u"ALL_WIN_ID", num(99)), 1);
  EXPECT_EQ(frame.resultArrayName, u"ALL_WIN_ID_TMP");
  EXPECT_EQ(text(u"ALL_WIN_ID_TMP", idx({num(0)})), u"99");
  EXPECT_EQ(text(u"ALL_WIN_ID", idx({num(1)})), u"12");  // the script's own array untouched
  frame.collecting = false;

  EXPECT_EQ(store.ResultArray(frame, u"ALL_WIN_ID"), 0);
  EXPECT_EQ(errorOf([&] { get(u"ALL_WIN_ID", idx({num(0)})); }).english, u"It exceeded array: ALL_WIN_ID");

  // A script's variable of another shape is replaced by a list.
  put(u"GETDIR_FILES", {}, num(1));
  EXPECT_EQ(store.ResultArray(frame, u"GETDIR_FILES", str(u"a.txt")), 1);
  EXPECT_EQ(text(u"GETDIR_FILES", idx({num(0)})), u"a.txt");
}

// ---- array arguments ----

TEST_F(ValuesDeclarations, ArrayArguments) {
  const int64_t bounds[] = {2, 3};
  const int slot = store.DeclareLocal(frame, u"A", bounds);
  put(u"S", {}, num(1));
  put(u"V", {}, list({num(1), num(2)}));
  const int64_t one[] = {0};
  store.DeclareLocal(frame, u"ONE", one);
  put(u"ONE", idx({num(0)}), ScriptValue::array(ArrayValue({{0, 1}, {0, 1}})));
  ASSERT_FALSE(store.DeclareGlobals(u"GA[4]", false, false));

  struct Case {
    std::u16string reference;
    int slot;
    bool global;
    size_t first;
    size_t count;
  };
  const Case cases[] = {
      {u"A", slot, false, 0, 12},
      {u"A[1]", slot, false, 4, 4},
      {u" A[2] ", slot, false, 8, 4},
      {u"A[1][2]", -1, false, 0, 0},  // a single element
      {u"S", -1, false, 0, 0},        // a scalar
      {u"V", -1, false, 0, 0},        // an array value in a scalar
      {u"ONE", -1, false, 0, 0},      // one element holding a 2-D array value
      {u"GA", 0, true, 0, 5},
  };
  for (const auto& c : cases) {
    const ArrayArgument a = store.ResolveArrayArgument(c.reference, frame);
    EXPECT_EQ(a.slot, c.slot) << u8(c.reference);
    if (c.slot < 0) continue;
    EXPECT_EQ(a.global, c.global) << u8(c.reference);
    EXPECT_EQ(a.first, c.first) << u8(c.reference);
    EXPECT_EQ(a.count, c.count) << u8(c.reference);
  }

  try {
    store.ResolveArrayArgument(u"Z[1]", frame);
    FAIL() << "no error";
  } catch (const ScriptError& e) {
    EXPECT_EQ(e.message().english, u"It isn't defined: Z[1]");
    EXPECT_EQ(e.message().japanese, u"Z[1] : 未登録の変数");
    EXPECT_FALSE(e.catchable());
  }
  EXPECT_EQ(store.ResolveArrayArgument(u"Z", frame, /*quiet=*/true).slot, -1);
  EXPECT_THROW(store.ResolveArrayArgument(u"M.A", frame), ScriptError);  // no "." allowed
  EXPECT_EQ(errorOf([&] { store.ResolveArrayArgument(u"A[5]", frame); }).english, u"It exceeded array: A");
}

}  // namespace
}  // namespace maqo::engine
