// Lines and comma-separated fields of a file slot: FGET with its quote modes
// and column cache, FPUT, F_INSERT, F_ALLTEXT and FDELLINE.
#include <gtest/gtest.h>

#include "builtins/file_fields.h"
#include "builtins/file_slots.h"
#include "tests/unit/builtins/builtins_files_support.h"

namespace maqo::builtins {
namespace {

using namespace files_test;
using engine::ScriptValue;
using engine::VarType;
namespace m = open_mode;

// A memory-only slot filled with lines.
struct SlotFixture {
  explicit SlotFixture(std::initializer_list<std::u16string> lines, int64_t extraMode = 0) {
    id = static_cast<int>(slots.Open(t.p, u"", m::kRead | m::kWrite | extraMode).integerPayload());
    for (const auto& l : lines) slots.Put(id, l, 0, 0, QuoteMode::StripSimple);
  }
  ScriptValue get(int64_t line, int64_t column = 0, QuoteMode mode = QuoteMode::StripSimple) {
    return slots.Get(id, line, column, mode);
  }
  std::u16string line(int64_t n) { return get(n).toDisplayText(); }
  TestPlatform t;
  FileSlotTable slots;
  int id = 0;
};

struct FieldCase {
  std::u16string line;
  int64_t column;
  int mode;
  std::u16string expected;
  VarType type;
};

TEST(BuiltinsFilesFields, FgetReadsFieldsWithTheQuoteModes) {
  const FieldCase cases[] = {
      {u"a, \"b,c\" ,d", 2, 0, u"b,c", VarType::String},
      {u"a, \"b,c\" ,d", 3, 0, u"d", VarType::String},
      {u"a, \"b,c\" ,d", 2, 3, u"\"b", VarType::String},
      {u"a, \"b,c\" ,d", 3, 3, u"c\"", VarType::String},
      {u"a, \"b,c\" ,d", 2, 1, u"\"b,c\"", VarType::String},
      {u"x,12", 2, 0, u"12", VarType::ByteString},
      {u"x,\"12\"", 2, 0, u"12", VarType::String},
      {u"x,\"12\"", 2, 2, u"12", VarType::ByteString},
      {u"x,\"say \"\"hi\"\"\"", 2, 2, u"say \"hi\"", VarType::String},
      {u"x,\"say \"\"hi\"\"\"", 2, 0, u"\"say \"\"hi\"\"\"", VarType::String},
      {u"a,b", 5, 0, u"", VarType::String},
      {u"a,,c", 2, 0, u"", VarType::String},
      {u"  a  ,b", 1, 0, u"a", VarType::String},
      {u"a,(b,c)", 2, 0, u"(b", VarType::String},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(utf8(c.line) + " column " + std::to_string(c.column) + " mode " + std::to_string(c.mode));
    SlotFixture f({c.line});
    const ScriptValue v = f.get(1, c.column, QuoteModeOf(c.mode));
    EXPECT_EQ(v.toDisplayText(), c.expected);
    EXPECT_EQ(v.type(), c.type);
  }
}

TEST(BuiltinsFilesFields, FgetLinesCountsAndBadArguments) {
  SlotFixture f({u"12", u"text"});
  EXPECT_EQ(f.get(1).type(), VarType::ByteString);
  EXPECT_EQ(f.get(2).toDisplayText(), u"text");
  EXPECT_EQ(f.get(0).toDisplayText(), u"");
  EXPECT_EQ(f.get(3).toDisplayText(), u"");
  EXPECT_EQ(f.get(kLineCount).integerPayload(), 2);
  EXPECT_EQ(f.get(kAllText).toDisplayText(), u"12\r\ntext\r\n");
  EXPECT_EQ(f.slots.Get(99, kLineCount, 0, QuoteMode::StripSimple).integerPayload(), -1);
  EXPECT_EQ(f.slots.Get(5, 1, 0, QuoteMode::StripSimple).toDisplayText(), u"");
}

// The cache of the last column read must not hand a split made under one quote
// mode to a read under another.
TEST(BuiltinsFilesFields, ColumnCacheRespectsTheQuoteMode) {
  SlotFixture f({u"a,\"b,c\",d,e"});
  EXPECT_EQ(f.get(1, 1, QuoteMode::Ignore).toDisplayText(), u"a");
  EXPECT_EQ(f.get(1, 3, QuoteMode::StripSimple).toDisplayText(), u"d");
  EXPECT_EQ(f.get(1, 1, QuoteMode::StripSimple).toDisplayText(), u"a");
  EXPECT_EQ(f.get(1, 2, QuoteMode::StripSimple).toDisplayText(), u"b,c");
  EXPECT_EQ(f.get(1, 4, QuoteMode::Ignore).toDisplayText(), u"d");
  // FPUT and FDELLINE invalidate it.
  EXPECT_EQ(f.get(1, 2).toDisplayText(), u"b,c");
  f.slots.Put(f.id, u"z", 1, 3, QuoteMode::StripSimple);
  EXPECT_EQ(f.get(1, 3).toDisplayText(), u"z");
  f.slots.Put(f.id, u"p,q", 0, 0, QuoteMode::StripSimple);
  EXPECT_EQ(f.get(1, 1).toDisplayText(), u"a");
  f.slots.DeleteLine(f.id, 1);
  EXPECT_EQ(f.get(1, 2).toDisplayText(), u"q");
}

// Reading the columns of a line one after another goes on from where the
// previous read stopped; it must give what a read of each column alone gives,
// also past the last field and over blanks and quotes at the end.
TEST(BuiltinsFilesFields, ColumnsReadInOrderMatchColumnsReadAlone) {
  const std::u16string lines[] = {u"a,b", u"a,b,  ", u" x , \"y,z\" ,\"w\"", u"1,,3,", u"", u"   ", u"\"open,quote"};
  for (const auto& line : lines) {
    for (const QuoteMode mode : {QuoteMode::StripSimple, QuoteMode::Keep, QuoteMode::Doubled, QuoteMode::Ignore}) {
      SCOPED_TRACE(utf8(line) + " mode " + std::to_string(static_cast<int>(mode)));
      SlotFixture inOrder({line});
      for (int64_t column = 1; column <= 6; ++column) {
        SlotFixture alone({line});
        const ScriptValue expected = alone.get(1, column, mode);
        const ScriptValue got = inOrder.get(1, column, mode);
        EXPECT_EQ(got.toDisplayText(), expected.toDisplayText()) << "column " << column;
        EXPECT_EQ(got.type(), expected.type()) << "column " << column;
      }
    }
  }
}

struct PutCase {
  const char* label;
  std::vector<std::u16string> before;
  std::u16string text;
  int64_t line, column;
  int mode;
  std::vector<std::u16string> after;
};

TEST(BuiltinsFilesFields, FputChangesLinesAndFields) {
  const PutCase cases[] = {
      {"column 2 of line 3 on a one-line file", {u"x"}, u"v", 3, 2, 0, {u"x", u"", u",v"}},
      {"middle field", {u"a,b,c"}, u"v", 1, 2, 0, {u"a,v,c"}},
      {"first field", {u"a,b,c"}, u"v", 1, 1, 0, {u"v,b,c"}},
      {"last field, nothing after", {u"a,b"}, u"v", 1, 2, 0, {u"a,v"}},
      {"beyond the fields", {u"a"}, u"v", 1, 4, 0, {u"a,,,v"}},
      {"blank rest is dropped", {u"a,b,  "}, u"v", 1, 2, 0, {u"a,v"}},
      {"quoted field with a comma is one field", {u"a,\"b,c\",d"}, u"v", 1, 3, 0, {u"a,\"b,c\",v"}},
      {"mode 3 splits inside quotes", {u"a,\"b,c\",d"}, u"v", 1, 3, 3, {u"a,\"b,v,d"}},
      {"mode 2 doubles quotes", {u"a,b"}, u"say \"hi\"", 1, 2, 2, {u"a,\"say \"\"hi\"\"\""}},
      {"mode 2 encloses a comma", {u"a,b,c"}, u"x,y", 1, 2, 2, {u"a,\"x,y\",c"}},
      {"mode 0 encloses a comma", {u"a,b,c"}, u"x,y", 1, 2, 0, {u"a,\"x,y\",c"}},
      {"mode 1 encloses a comma", {u"a,b,c"}, u"x,y", 1, 2, 1, {u"a,\"x,y\",c"}},
      {"an already quoted field stays", {u"a,b"}, u"\"x,y\"", 1, 2, 0, {u"a,\"x,y\""}},
      {"mode 3 writes as given", {u"a,b"}, u"x,y", 1, 2, 3, {u"a,x,y"}},
      {"line 0 appends with delimiters", {u"a"}, u"v", 0, 3, 0, {u"a", u",,v"}},
      {"line 0 column 0 appends the text", {u"a"}, u"p,q", 0, 0, 0, {u"a", u"p,q"}},
      {"whole line", {u"a", u"b"}, u"c", 4, 0, 0, {u"a", u"b", u"", u"c"}},
      {"insert before line 1", {u"a"}, u"z", 1, kInsert, 0, {u"z", u"a"}},
      {"insert after the end", {u"a"}, u"z", 2, kInsert, 0, {u"a", u"z"}},
      {"all text", {u"a"}, u"1\r\n2\n3\r4", kAllText, 0, 0, {u"1", u"2", u"3", u"4"}},
      {"negative line does nothing", {u"a"}, u"z", -3, 0, 0, {u"a"}},
      {"column below -1 does nothing", {u"a"}, u"z", 1, -2, 0, {u"a"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    SlotFixture f({});
    for (const auto& l : c.before) f.slots.Put(f.id, l, 0, 0, QuoteMode::StripSimple);
    f.slots.Put(f.id, c.text, c.line, c.column, QuoteModeOf(c.mode));
    std::vector<std::u16string> after;
    const int64_t count = f.get(kLineCount).integerPayload();
    for (int64_t i = 1; i <= count; ++i) after.push_back(f.line(i));
    EXPECT_EQ(after, c.after);
  }
}

// Values written into a field read back unchanged in the same quote mode, and
// never disturb the fields around them.
TEST(BuiltinsFilesFields, FputThenFgetRoundTripsValues) {
  const std::u16string values[] = {u"plain", u"a,b", u"\"q\"", u"x\"y", u"say \"a,b\"", u",", u""};
  for (int mode : {0, 2}) {
    for (const auto& v : values) {
      SCOPED_TRACE(utf8(v) + " mode " + std::to_string(mode));
      SlotFixture f({u"left,middle,right"});
      f.slots.Put(f.id, v, 1, 2, QuoteModeOf(mode));
      EXPECT_EQ(f.get(1, 1, QuoteModeOf(mode)).toDisplayText(), u"left");
      EXPECT_EQ(f.get(1, 3, QuoteModeOf(mode)).toDisplayText(), u"right");
      const std::u16string back = f.get(1, 2, QuoteModeOf(mode)).toDisplayText();
      // Mode 0 reads quotes back as they were stored; only mode 2 undoubles them.
      if (mode == 2 || v.find(u'"') == std::u16string::npos) {
        EXPECT_EQ(back, v);
      }
    }
  }
}

TEST(BuiltinsFilesFields, TabSlotsSplitAtTabs) {
  SlotFixture f({u"a,b\tc"}, m::kTab);
  EXPECT_EQ(f.get(1, 1).toDisplayText(), u"a,b");
  EXPECT_EQ(f.get(1, 2).toDisplayText(), u"c");
  f.slots.Put(f.id, u"v", 1, 3, QuoteMode::StripSimple);
  EXPECT_EQ(f.line(1), u"a,b\tc\tv");
}

TEST(BuiltinsFilesFields, InsertBeyondTheEndAndBadIds) {
  SlotFixture f({u"a"});
  const auto e = errorOf([&] { f.slots.Put(f.id, u"z", 3, kInsert, QuoteMode::StripSimple); });
  EXPECT_TRUE(e.message().english.starts_with(u"KansuCall:"));
  const auto bad = errorOf([&] { f.slots.Put(40, u"z", 1, 0, QuoteMode::StripSimple); });
  EXPECT_EQ(bad.message().english, u"File can't open or File ID is wrong");
  EXPECT_EQ(bad.message().japanese, u"ファイルがオープン出来てない、もしくはファイルIDが違う");
  f.slots.DeleteLine(f.id, 5);
  f.slots.DeleteLine(77, 1);
  EXPECT_EQ(f.get(kLineCount).integerPayload(), 1);
  f.slots.DeleteLine(f.id, 1);
  EXPECT_EQ(f.get(kLineCount).integerPayload(), 0);
}

// A line or column so far beyond the end that padding up to it would only
// fill memory is refused before anything changes; one within reach is padded.
TEST(BuiltinsFilesFields, PositionsFarBeyondTheEndAreRefused) {
  SlotFixture f({u"a"});
  const struct {
    int64_t line, column;
  } cases[] = {{INT64_MAX, 0}, {int64_t{1} << 40, 2}, {1, INT64_MAX}, {0, INT64_MAX}, {2, int64_t{1} << 40}};
  for (const auto& c : cases) {
    const auto e = errorOf([&] { f.slots.Put(f.id, u"z", c.line, c.column, QuoteMode::StripSimple); });
    EXPECT_TRUE(e.message().english.starts_with(u"KansuCall:FPUT: the position is too large: "))
        << utf8(e.message().english);
  }
  EXPECT_EQ(f.get(kLineCount).integerPayload(), 1);
  EXPECT_EQ(f.line(1), u"a");
  f.slots.Put(f.id, u"z", 1000, 3, QuoteMode::StripSimple);
  EXPECT_EQ(f.get(kLineCount).integerPayload(), 1000);
  EXPECT_EQ(f.line(1000), u",,z");
}

}  // namespace
}  // namespace maqo::builtins
