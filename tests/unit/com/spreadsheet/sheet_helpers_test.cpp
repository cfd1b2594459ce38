// Cell references, array shaping, range widening, open options, file names
// and URLs of the spreadsheet builtins.
#include <gtest/gtest.h>

#include "com/spreadsheet/calc_branch.h"
#include "com/spreadsheet/cell_reference.h"
#include "com/spreadsheet/open_options.h"
#include "com/spreadsheet/sheet_array.h"

namespace maqo::com::spreadsheet {
namespace {

using engine::ScriptValue;

TEST(SheetCellReference, ColumnsAreBijectiveBase26) {
  struct Case {
    std::u16string_view letters;
    std::optional<int64_t> column;
  };
  for (const Case& c : {Case{u"A", 1}, Case{u"z", 26}, Case{u"AA", 27}, Case{u"ZZ", 702}, Case{u"AAA", 703},
                        Case{u"XFD", 16384}, Case{u"ZZZZZZ", 321272406}, Case{u"AAAAAAA", std::nullopt},
                        Case{u"AAAAAAAAAAAAAAAAAAAAAAAAAA", std::nullopt}, Case{u"", std::nullopt},
                        Case{u"A-", std::nullopt}}) {
    EXPECT_EQ(ColumnNumber(c.letters), c.column) << std::string(c.letters.begin(), c.letters.end());
  }
  for (int64_t column : {1, 26, 27, 52, 53, 702, 703, 16384})
    EXPECT_EQ(ColumnNumber(ColumnLetters(column)), column);
  EXPECT_EQ(CellAddress(2, 3), u"C2");
  EXPECT_EQ(CellAddress(10, 28), u"AB10");
}

TEST(SheetCellReference, ReferencesGiveRowAndColumn) {
  struct Case {
    std::u16string_view text;
    std::optional<CellPosition> position;
  };
  for (const Case& c : {Case{u"$B$2", CellPosition{2, 2}}, Case{u"C2", CellPosition{2, 3}},
                        Case{u"aaa10", CellPosition{10, 703}}, Case{u"B", CellPosition{0, 2}},
                        Case{u"17", CellPosition{17, 0}}, Case{u"AAAAAAAAA1", std::nullopt},
                        Case{u"A12345678901", std::nullopt}}) {
    EXPECT_EQ(ParseCellReference(c.text), c.position) << std::string(c.text.begin(), c.text.end());
  }
}

TEST(SheetCellReference, AddressArgumentAndRangeWidening) {
  auto number = [](int64_t n) { return engine::BuiltinArgument{std::u16string(1, u'0' + n), double(n), n, true}; };
  const engine::BuiltinArgument text{u"b2:c3"}, none{};
  EXPECT_EQ(AddressArgument(number(2), number(3)), u"C2");
  EXPECT_EQ(AddressArgument(text, number(3)), u"b2:c3");
  EXPECT_EQ(AddressArgument(number(2), none), u"2");
  EXPECT_EQ(AddressArgument(number(0), number(3)), u"0");

  EXPECT_EQ(ExtendRange(u"B2", 2, 3), u"B2:D3");
  EXPECT_EQ(ExtendRange(u"b2", 1, 1), u"B2:B2");
  EXPECT_EQ(ExtendRange(u"a1:b2", 5, 5), u"A1:B2");
  EXPECT_EQ(ExtendRange(u"Z1", 1, 2), u"Z1:AA1");
  EXPECT_EQ(ExtendRange(u"B", 2, 2), std::nullopt);
}

// A declared 0..R x 0..C array, row by row, with the given cells set.
std::vector<ScriptValue> declared(int64_t rows, int64_t columns, std::vector<std::pair<int64_t, int64_t>> set) {
  std::vector<ScriptValue> values(static_cast<size_t>(rows * columns));
  for (auto [r, c] : set) values[static_cast<size_t>(r * columns + c)] = ScriptValue::int32(int32_t(r * 10 + c));
  return values;
}

TEST(SheetArrays, DeclaredArraysDropAnUnusedRowAndColumnZero) {
  struct Case {
    const char* name;
    std::vector<std::pair<int64_t, int64_t>> set;
    int64_t rows, columns;
    std::u16string_view firstCell;  // the block's top-left cell
  };
  const std::vector<int64_t> bounds{2, 3};  // DIM A[2, 3]
  for (const Case& c : {Case{"from 1", {{1, 1}, {2, 3}}, 2, 3, u"11"}, Case{"row 0 used", {{0, 1}, {2, 3}}, 3, 3, u"1"},
                        Case{"column 0 used", {{1, 0}}, 2, 4, u"10"}, Case{"both used", {{0, 0}}, 3, 4, u"0"}}) {
    const std::vector<ScriptValue> values = declared(3, 4, c.set);
    const std::optional<SheetArray> block = ShapeDeclaredArray(values, bounds);
    ASSERT_TRUE(block) << c.name;
    EXPECT_EQ(block->rows, c.rows) << c.name;
    EXPECT_EQ(block->columns, c.columns) << c.name;
    EXPECT_EQ(block->at(0, 0).toText(), c.firstCell) << c.name;
  }
  // One dimension: element 0 Empty gives elements 1..N, else 0..N.
  std::vector<ScriptValue> row(5);
  row[1] = ScriptValue::int32(1);
  EXPECT_EQ(ShapeDeclaredArray(row, std::vector<int64_t>{4})->columns, 4);
  row[0] = ScriptValue::int32(0);
  EXPECT_EQ(ShapeDeclaredArray(row, std::vector<int64_t>{4})->columns, 5);
  EXPECT_FALSE(ShapeDeclaredArray(row, std::vector<int64_t>{}));
  EXPECT_FALSE(ShapeDeclaredArray(declared(2, 2, {}), std::vector<int64_t>{1, 1, 0}));
}

TEST(SheetArrays, ArrayValuesKeepEveryElementAndComeBackFromOne) {
  engine::ArrayValue list = engine::ArrayValue::fromList({ScriptValue::int32(7), ScriptValue::int32(8)});
  const std::optional<SheetArray> row = ShapeArrayValue(list);
  ASSERT_TRUE(row);
  EXPECT_EQ(row->rows, 1);
  EXPECT_EQ(row->columns, 2);
  EXPECT_EQ(row->at(0, 0).toText(), u"7");

  engine::ArrayValue grid({engine::ArrayBound{0, 1}, engine::ArrayBound{0, 2}});
  for (size_t i = 0; i < grid.size(); ++i) grid.at(i) = ScriptValue::int32(int32_t(i));
  const std::optional<SheetArray> block = ShapeArrayValue(grid);
  ASSERT_TRUE(block);
  EXPECT_EQ(block->rows, 2);
  EXPECT_EQ(block->columns, 3);
  const ScriptValue back = SheetArrayValue(*block);
  const engine::ArrayValue& array = back.arrayRef();
  EXPECT_EQ(array.bound(0), (engine::ArrayBound{1, 2}));
  EXPECT_EQ(array.bound(1), (engine::ArrayBound{1, 3}));
  EXPECT_EQ(array.at(*array.flatIndex(std::vector<int64_t>{2, 1})).toText(), u"3");
}

TEST(SheetOpenOptions, TheModeMayComeFirst) {
  struct Case {
    std::u16string_view first, second, file;
    int64_t mode;
    bool calc;
  };
  for (const Case& c : {Case{u"a.xls", u"", u"a.xls", 0, false}, Case{u"a.xls", u"2", u"a.xls", 2, false},
                        Case{u"2", u"a.xls", u"a.xls", 2, false}, Case{u"3", u"a.ods", u"a.ods", 3, true},
                        Case{u"3", u"", u"", 3, true}, Case{u"", u"3", u"", 3, true}, Case{u" 1 ", u"", u"", 1, false},
                        Case{u"a.ods", u"3", u"a.ods", 3, true}, Case{u"a.xls", u"7", u"a.xls", 7, false}}) {
    const OpenRequest request = ChooseOpenRequest(c.first, c.second);
    EXPECT_EQ(request.file, c.file);
    EXPECT_EQ(request.mode, c.mode);
    EXPECT_EQ(request.calc(), c.calc);
  }
}

TEST(SheetOpenOptions, ExcelOptionsLandInTheirParameter) {
  const std::vector<std::u16string> options{u" readonly=TRUE ", u"PASSWORD=\"pw\"", u"ADDTOMRU = 1",
                                            u"NOSUCH=1", u"READONLY=FALSE"};
  const auto parameters = ExcelOpenParameters(options);
  EXPECT_EQ(parameters[1], u"TRUE");   // ReadOnly, the first READONLY option
  EXPECT_EQ(parameters[3], u"pw");     // Password without its quotes
  EXPECT_EQ(parameters[11], u"1");     // AddToMru
  for (size_t k : {0u, 2u, 4u, 5u, 6u, 7u, 8u, 9u, 10u}) EXPECT_FALSE(parameters[k]) << k;
}

TEST(SheetOpenOptions, CalcOptionsBecomeTypedProperties) {
  namespace vt = platform::vt;
  const std::vector<std::u16string> options{u"ReadOnly=true", u" Hidden := FALSE", u"Version=3", u"Zoom=1.5",
                                            u"Password=\"pw\"", u"FilterName=calc8"};
  const std::vector<CalcProperty> properties = CalcLoadProperties(options);
  ASSERT_EQ(properties.size(), 6u);
  EXPECT_EQ(properties[0].name, u"ReadOnly");
  EXPECT_EQ(properties[0].value.type, vt::kBool);
  EXPECT_EQ(properties[0].value.integer, -1);
  EXPECT_EQ(properties[1].name, u"Hidden");
  EXPECT_EQ(properties[1].value.integer, 0);
  EXPECT_EQ(properties[2].value.type, vt::kI4);
  EXPECT_EQ(properties[2].value.integer, 3);
  EXPECT_EQ(properties[3].value.type, vt::kR8);
  EXPECT_EQ(properties[3].value.number, 1.5);
  EXPECT_EQ(properties[4].value.text, u"pw");
  EXPECT_EQ(properties[5].value.text, u"calc8");
}

TEST(SheetFileNames, NamesResolveAgainstTheCurrentDirectory) {
  struct Case {
    std::u16string_view name, resolved;
  };
  for (const Case& c : {Case{u"a.xls", u"C:\\work\\data\\a.xls"}, Case{u".\\a.xls", u"C:\\work\\data\\a.xls"},
                        Case{u"./a.xls", u"C:\\work\\data\\a.xls"}, Case{u"..\\a.xls", u"C:\\work\\a.xls"},
                        Case{u"D:\\b\\a.xls", u"D:\\b\\a.xls"}, Case{u"sub\\a.xls", u"sub\\a.xls"}}) {
    EXPECT_EQ(ResolveSheetPath(c.name, u"C:\\work\\data"), c.resolved);
  }
  EXPECT_EQ(ResolveSheetPath(u"a.ods", u"/tmp/x"), u"/tmp/x/a.ods");
}

TEST(SheetFileNames, FileUrlsArePercentEncoded) {
  EXPECT_EQ(FileUrl(u"C:\\data\\a.ods"), u"file:///C:/data/a.ods");
  EXPECT_EQ(FileUrl(u"C:\\100% #1\\a b.ods"), u"file:///C:/100%25%20%231/a%20b.ods");
  EXPECT_EQ(FileUrl(u"C:\\\u00e9.ods"), u"file:///C:/%C3%A9.ods");
  EXPECT_EQ(FileUrl(u"/tmp/a.ods"), u"file:///tmp/a.ods");
  EXPECT_EQ(FileUrl(u"\\\\server\\share\\a.ods"), u"file://server/share/a.ods");
  EXPECT_TRUE(IsUrl(u"file:///C:/a.ods"));
  EXPECT_TRUE(IsUrl(u"Http://host/a.ods"));
  EXPECT_TRUE(IsUrl(u"ftp://host/a.ods"));
  EXPECT_FALSE(IsUrl(u"C:\\a.ods"));
}

TEST(SheetColours, DocumentColoursHaveRedAndBlueExchanged) {
  EXPECT_EQ(SwapRedAndBlue(0x0000FF), 0xFF0000);  // red
  EXPECT_EQ(SwapRedAndBlue(0xFF0000), 0x0000FF);  // blue
  EXPECT_EQ(SwapRedAndBlue(0x123456), 0x563412);
}

}  // namespace
}  // namespace maqo::com::spreadsheet
