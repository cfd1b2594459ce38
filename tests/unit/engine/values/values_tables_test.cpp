// Name tables (TUHashedStrList), hash tables (TUZHash) and HASHTBL access
// through the store.
#include <gtest/gtest.h>

#include "engine/eval/text_helpers.h"
#include "engine/values/hash_table.h"
#include "engine/values/name_table.h"
#include "tests/unit/engine/values/values_test_support.h"

namespace maqo::engine {
namespace {

using namespace values_test;

// ---- TUHashedStrList ----

TEST(ValuesNameTable, UpperCasedUnlessCaseSensitive) {
  TUHashedStrList names;
  EXPECT_EQ(names.add(u"alpha"), 0);
  EXPECT_EQ(names.add(u"Beta"), 1);
  EXPECT_EQ(names.add(u"ALPHA"), 0);  // already there
  EXPECT_EQ(names.count(), 2);
  EXPECT_EQ(names.nameAt(0), u"ALPHA");
  EXPECT_EQ(names.find(u"beta"), 1);
  EXPECT_EQ(names.find(u"gamma"), -1);

  TUHashedStrList exact(true);
  exact.add(u"alpha");
  exact.add(u"ALPHA");
  EXPECT_EQ(exact.count(), 2);
  EXPECT_EQ(exact.nameAt(0), u"alpha");
  EXPECT_EQ(exact.find(u"Alpha"), -1);
}

// Names, hash keys and text comparison share one upper case, also beyond
// ASCII: what "ä" = "Ä" calls equal, a table finds under either spelling.
TEST(ValuesNameTable, LettersBeyondAsciiFoldAsTextComparisonDoes) {
  const struct {
    std::u16string lower, upper;
  } pairs[] = {{u"\u00e4", u"\u00c4"}, {u"\u03c3\u03c9", u"\u03a3\u03a9"}, {u"\u0436", u"\u0416"},
               {u"\u0101", u"\u0100"}, {u"\uff41", u"\uff21"}};
  for (const auto& p : pairs) {
    EXPECT_EQ(UpperCase(p.lower), p.upper);
    TUHashedStrList names;
    names.add(p.lower);
    EXPECT_EQ(names.find(p.upper), 0);
    EXPECT_EQ(names.nameAt(0), p.upper);
    TUZHash keys;
    keys.put(p.lower, ScriptValue::number(1));
    EXPECT_TRUE(keys.exists(p.upper));
    EXPECT_EQ(keys.keyAt(0), p.upper);
  }
  TUZHash caseCaring(true);
  caseCaring.put(u"\u00e4", ScriptValue::number(1));
  EXPECT_FALSE(caseCaring.exists(u"\u00c4"));
}

TEST(ValuesNameTable, ValuesPositionsClearAndCopy) {
  TUHashedStrList names;
  names.addWithValue(u"A", 100);
  names.add(u"B");
  EXPECT_EQ(names.find(u"A"), 100);
  EXPECT_EQ(names.indexOf(u"A"), 0);
  EXPECT_EQ(names.valueAt(1), 1);
  TUHashedStrList copy(true);
  copy.assign(names);
  names.clear();
  EXPECT_EQ(names.count(), 0);
  EXPECT_EQ(names.find(u"A"), -1);
  EXPECT_EQ(copy.find(u"a"), 100);  // the copy keeps its source's case rule
}

// Small tables are searched in order and grow a hash index later: every name
// must be found, in any case, whatever size the table has reached, also after
// clear and in copies.
TEST(ValuesNameTable, FindsEveryNameAcrossTheIndexThreshold) {
  TUHashedStrList names;
  auto nameOf = [](int i) { return u"name" + std::u16string(1, static_cast<char16_t>(u'a' + i)); };
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < 20; ++i) {
      EXPECT_EQ(names.indexOf(nameOf(i)), -1) << i;
      EXPECT_EQ(names.add(nameOf(i)), i);
      for (int j = 0; j <= i; ++j) {
        EXPECT_EQ(names.indexOf(nameOf(j)), j) << i << " " << j;
        EXPECT_EQ(names.indexOf(UpperCase(nameOf(j))), j) << i << " " << j;
      }
      EXPECT_EQ(names.add(UpperCase(nameOf(i))), i);  // no second entry
    }
    TUHashedStrList copy;
    copy.assign(names);
    EXPECT_EQ(copy.find(nameOf(19)), 19);
    EXPECT_EQ(copy.find(u"other"), -1);
    names.clear();
    EXPECT_EQ(names.indexOf(nameOf(0)), -1);
    EXPECT_EQ(names.indexOf(nameOf(15)), -1);
  }
}

// ---- TUZHash ----

std::vector<std::u16string> keys(const TUZHash& table) {
  std::vector<std::u16string> out;
  for (size_t i = 0; i < table.count(); ++i) out.push_back(table.keyAt(i));
  return out;
}

TEST(ValuesHashTable, PlainTableKeepsInsertionOrderThroughRemovals) {
  TUZHash table;
  for (auto key : {u"c", u"a", u"b", u"d"}) table.put(key, str(key));
  EXPECT_TRUE(table.remove(u"A"));
  EXPECT_FALSE(table.remove(u"A"));
  table.put(u"e", num(5));
  table.put(u"C", num(3));  // same key: value replaced, position kept
  EXPECT_EQ(keys(table), (std::vector<std::u16string>{u"C", u"B", u"D", u"E"}));
  EXPECT_EQ(table.valueAt(0).toText(), u"3");
  EXPECT_TRUE(table.remove(u"b"));
  EXPECT_TRUE(table.remove(u"e"));
  EXPECT_EQ(keys(table), (std::vector<std::u16string>{u"C", u"D"}));
}

TEST(ValuesHashTable, SortedTableStaysSorted) {
  TUZHash table(/*caseSensitive=*/true, /*keepSorted=*/true);
  for (auto key : {u"pear", u"Apple", u"fig", u"apple", u"banana"}) table.put(key, str(key));
  EXPECT_EQ(keys(table), (std::vector<std::u16string>{u"Apple", u"apple", u"banana", u"fig", u"pear"}));
  table.remove(u"banana");
  table.put(u"cherry", num(1));
  EXPECT_EQ(keys(table), (std::vector<std::u16string>{u"Apple", u"apple", u"cherry", u"fig", u"pear"}));
  EXPECT_EQ(table.valueAt(4).toText(), u"pear");
}

TEST(ValuesHashTable, CopiesAreIndependent) {
  TUZHash table(false, true);
  table.put(u"k", num(1));
  TUZHash copy = table;
  copy.put(u"k", num(2));
  copy.put(u"j", num(3));
  EXPECT_EQ(table.get(u"K").toText(), u"1");
  EXPECT_EQ(table.count(), 1u);
  EXPECT_EQ(copy.keyAt(0), u"J");
  EXPECT_EQ(copy.flags(), kHashSort);
  table.clear();
  EXPECT_EQ(copy.count(), 2u);
}

// ---- HASHTBL through the store ----

class ValuesHashAccess : public StoreTest {
 protected:
  void declare(std::u16string_view name, int flags = 0) { store.DeclareHashTable(frame, name, flags); }
};

TEST_F(ValuesHashAccess, KeysAndValues) {
  declare(u"H");
  EXPECT_TRUE(get(u"H", idx({str(u"ABC")})).isEmpty());
  EXPECT_FALSE(frame.readFailed);
  put(u"H", idx({str(u"b")}), num(2));
  put(u"H", idx({str(u"a")}), num(1));
  EXPECT_EQ(text(u"H", idx({str(u"B")})), u"2");  // without HASH_CASECARE: same entry
  EXPECT_EQ(text(u"H", idx({num(0), num(kHashKey)})), u"B");
  EXPECT_EQ(text(u"H", idx({num(1), num(kHashVal)})), u"1");
  EXPECT_EQ(get(u"H", idx({str(u"a"), num(kHashExists)})).booleanPayload(), -1);
  EXPECT_EQ(get(u"H", idx({str(u"zz"), num(kHashExists)})).booleanPayload(), 0);
  EXPECT_EQ(get(u"H", idx({str(u"K"), num(kHashRemove)})).booleanPayload(), 0);
  EXPECT_EQ(get(u"H", idx({str(u"a"), num(kHashRemove)})).booleanPayload(), -1);
  EXPECT_EQ(text(u"H", idx({num(0), num(kHashKey)})), u"B");
  put(u"H", {}, num(kHashRemoveAll));
  EXPECT_EQ(frame.hashTables.table(0).count(), 0u);
}

TEST_F(ValuesHashAccess, SortedAndCaseCaring) {
  declare(u"S", kHashSort);
  put(u"S", idx({str(u"m")}), num(1));
  put(u"S", idx({str(u"z")}), num(2));
  put(u"S", idx({str(u"a")}), num(3));  // added last, read first
  EXPECT_EQ(text(u"S", idx({num(0), num(kHashKey)})), u"A");
  EXPECT_EQ(text(u"S", idx({num(0), num(kHashVal)})), u"3");

  declare(u"C", kHashCaseCare);
  put(u"C", idx({str(u"a")}), num(1));
  put(u"C", idx({str(u"A")}), num(2));
  EXPECT_EQ(text(u"C", idx({str(u"a")})), u"1");
  EXPECT_EQ(text(u"C", idx({str(u"A")})), u"2");
  EXPECT_EQ(text(u"C", idx({num(0), num(kHashKey)})), u"a");
}

TEST_F(ValuesHashAccess, Errors) {
  declare(u"H");
  Message m = errorOf([&] { get(u"H", idx({num(0), num(kHashKey)})); });
  EXPECT_EQ(m.english, u"H: It is outside the range");
  EXPECT_EQ(m.japanese, u"H：範囲外です");
  const ScriptValue quiet = store.GetValue(frame, u"H", idx({num(0), num(kHashVal)}), true);
  EXPECT_TRUE(quiet.isEmpty());
  EXPECT_TRUE(frame.readFailed);

  put(u"H", idx({str(u"k")}), str(u"scalar"));
  m = errorOf([&] { get(u"H", idx({str(u"k"), num(5)})); });
  EXPECT_EQ(m.english, u"H: Specified is wrong");
  EXPECT_EQ(m.japanese, u"H：指定が間違っています");
  EXPECT_EQ(errorOf([&] { get(u"H", idx({str(u"k"), str(u"x")})); }).english, u"H: Specified is wrong");

  m = errorOf([&] { put(u"H", idx({str(u"A"), str(u"B")}), num(1)); });
  EXPECT_EQ(m.english, u"Invalid writing in HASHTBL: H");
  EXPECT_EQ(m.japanese, u"HASHTBLへの無効な書き込み: H");
}

TEST_F(ValuesHashAccess, OtherOptionIndexesAnArrayValue) {
  declare(u"H");
  put(u"H", idx({str(u"k")}), list({str(u"x"), str(u"y")}));
  EXPECT_EQ(text(u"H", idx({str(u"k"), num(1)})), u"y");
  EXPECT_EQ(errorOf([&] { get(u"H", idx({str(u"k"), num(2)})); }).english, u"H: Specified is wrong");
}

TEST_F(ValuesHashAccess, GlobalTables) {
  store.DeclareHashTables(u"G1, G2 = 8192", store.GlobalScope, /*isPrivate=*/true);
  put(u"G2", idx({str(u"b")}), num(1));
  put(u"G2", idx({str(u"a")}), num(2));
  THensuFmt other;
  EXPECT_EQ(store.GetValue(other, u"G2", idx({num(0), num(kHashKey)})).toText(), u"A");
  EXPECT_EQ(store.GlobalHashPrivate, (std::vector<bool>{true, true}));
  put(u"G2", {}, num(kHashRemoveAll));
  EXPECT_EQ(store.GlobalScope.hashTables.table(1).count(), 0u);
  EXPECT_EQ(store.ResolveGlobal(u"G2", frame, GlobalKind::HashTable), 1);
}

TEST_F(ValuesHashAccess, DeclaringAgainClearsButKeepsFlags) {
  EXPECT_EQ(store.DeclareHashTables(u"A, B = 4096", frame, false), 1);
  put(u"B", idx({str(u"k")}), num(1));
  EXPECT_EQ(store.DeclareHashTables(u"B", frame, false), 1);
  EXPECT_EQ(frame.hashTables.table(1).count(), 0u);
  EXPECT_EQ(frame.hashTables.table(1).flags(), kHashCaseCare);

  const Message m = errorOf([&] { store.DeclareHashTables(u"C = 8192, D = 1, E", frame, false); });
  EXPECT_EQ(m.english, u"1: Specified is wrong");
  EXPECT_EQ(m.japanese, u"1：指定が間違っています");
  EXPECT_GE(frame.hashTables.find(u"C"), 0);
  EXPECT_LT(frame.hashTables.find(u"D"), 0);
  EXPECT_LT(frame.hashTables.find(u"E"), 0);
}

TEST_F(ValuesHashAccess, ThreadCopyOfAFrameIsIndependent) {
  declare(u"H", kHashSort);
  put(u"H", idx({str(u"k")}), num(1));
  put(u"X", {}, list({num(1)}));
  THensuFmt copy = frame;
  store.PutValue(copy, u"H", idx({str(u"k")}), num(2), {});
  store.PutValue(copy, u"X", idx({num(0)}), num(2), {});
  EXPECT_EQ(text(u"H", idx({str(u"k")})), u"1");
  EXPECT_EQ(text(u"X", idx({num(0)})), u"1");
  EXPECT_EQ(copy.hashTables.table(0).flags(), kHashSort);
}

}  // namespace
}  // namespace maqo::engine
