// XLOPEN, XLCLOSE, XLACTIVATE, XLSHEET, XLGETDATA and XLSETDATA from scripts
// against the in-memory workbook and document applications.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "com/objects/com_session.h"
#include "com/spreadsheet/open_options.h"
#include "platform/fake/fake_com.h"
#include "platform/fake/fake_office.h"
#include "platform/text_codec.h"
#include "tests/unit/engine/exec/exec_test_support.h"

namespace maqo::com::spreadsheet {
namespace {

namespace fs = std::filesystem;
using platform::fake::ComInt;
using platform::fake::ComText;
using platform::fake::FakeBookData;
using platform::fake::FakeSheetData;

class SpreadsheetBuiltinsTest : public engine::exec_test::EngineTest {
 protected:
  SpreadsheetBuiltinsTest() : scoped(automation), office(automation) {
    fs::create_directories(folder);
    FakeSheetData data{u"Data", {}, {}, {}};
    data.cells[{1, 1}] = ComText(u"name");
    data.cells[{1, 2}] = ComText(u"count");
    data.cells[{2, 1}] = ComText(u"apples");
    data.cells[{2, 2}] = ComInt(12);
    data.cells[{2, 3}] = ComText(u"C2");
    book = path("book.xls");
    writeFile("book.xls");
    office.disk[book] = FakeBookData{{FakeSheetData{u"Sheet1", {}, {}, {}}, data}};
  }
  ~SpreadsheetBuiltinsTest() override { fs::remove_all(folder); }

  std::u16string path(const std::string& name) { return utf8ToUtf16((folder / name).string()); }
  void writeFile(const std::string& name) { std::ofstream(folder / name) << "fixture\n"; }
  // The script's text of a string.
  static std::u16string quoted(std::u16string_view text) { return u"\"" + std::u16string(text) + u"\""; }

  std::vector<std::string> run(std::vector<std::u16string> lines) {
    play(std::move(lines));
    return ui.printed();
  }

  platform::fake::FakeComAutomation automation;
  objects::ScopedComAutomation scoped;
  platform::fake::FakeOffice office;
  fs::path folder = fs::temp_directory_path() /
                    ("maqo_sheet_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                     ::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::u16string book;
};

// A 2 x 3 block filled from index 1 (row 0 and column 0 unused).
const std::vector<std::u16string> kTwoByThree = {u"DIM A[2][3]", u"A[1][1] = 1", u"A[1][2] = 2", u"A[1][3] = 3",
                                                 u"A[2][1] = \"x\"", u"A[2][2] = 5", u"A[2][3] = 6"};
const std::vector<std::u16string> kPrintBlock = {u"PRINT LENGTH(R)", u"FOR I = 1 TO 2", u"PRINT R[I][1] + \"|\" + R[I][2] + \"|\" + R[I][3]",
                                                 u"NEXT"};

std::vector<std::u16string> joined(std::initializer_list<std::vector<std::u16string>> parts) {
  std::vector<std::u16string> out;
  for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

TEST_F(SpreadsheetBuiltinsTest, OpensABookAndReadsCellsAndBlocks) {
  EXPECT_EQ(run({u"B = XLOPEN(" + quoted(book) + u", XL_BOOK)", u"PRINT XLGETDATA(B, 2, 3, \"Data\")",
                 u"PRINT XLGETDATA(B, \"B2\", \"Data\")", u"R = XLGETDATA(B, \"A1:B2\", \"Data\")",
                 u"PRINT R[1][1] + \"/\" + R[2][2]", u"B2 = XLOPEN(XL_BOOK, " + quoted(book) + u")",
                 u"PRINT XLGETDATA(B2, \"A2\", \"Data\")"}),
            (std::vector<std::string>{"C2", "12", "name/12", "apples"}));
  EXPECT_TRUE(ui.errors().empty());
  EXPECT_EQ(office.count(u"Workbooks.Open"), 1u);  // the open book is found again, not reopened
  EXPECT_EQ(office.applicationsStarted, 1);
}

TEST_F(SpreadsheetBuiltinsTest, OpenOptionsReachTheirParameters) {
  run({u"P = \"PASSWORD=\" + CHR(34) + \"pw\" + CHR(34)", u"X = XLOPEN(" + quoted(book) + u", , \"READONLY=TRUE\", P)"});
  EXPECT_TRUE(ui.errors().empty()) << ui.errors()[0];
  ASSERT_EQ(office.count(u"Workbooks.Open"), 1u);
  EXPECT_EQ(office.journal[office.journal.size() - 1], u"Workbooks.Open(" + book + u",-,TRUE,-,pw,-,-,-,-,-,-,-,-)");
}

TEST_F(SpreadsheetBuiltinsTest, ABlockIsOnePutAndReadsBack) {
  EXPECT_EQ(run(joined({{u"O = XLOPEN(" + quoted(book) + u")"}, kTwoByThree,
                        {u"PRINT XLSETDATA(O, A, \"b2\")", u"R = XLGETDATA(O, \"B2:D3\")"}, kPrintBlock})),
            (std::vector<std::string>{"True", "2", "1|2|3", "x|5|6"}));
  EXPECT_TRUE(ui.errors().empty());
  EXPECT_EQ(office.count(u"Range(B2:D3).Value="), 1u);
  size_t puts = 0;
  for (const auto& line : office.journal) puts += line.ends_with(u".Value=");
  EXPECT_EQ(puts, 1u);
}

TEST_F(SpreadsheetBuiltinsTest, ValuesRowsAndColoursAsWritten) {
  EXPECT_EQ(run({u"O = XLOPEN(XL_NEW)", u"DIM L[4]", u"L[1] = 1", u"L[4] = 4", u"XLSETDATA(O, L, \"A1\")",
                 u"PRINT XLGETDATA(O, \"D1\") + \"/\" + XLGETDATA(O, \"E1\")", u"XLSETDATA(O, 5, \"A3:B4\", , , 0, 255)",
                 u"R = XLGETDATA(O, \"A3:B4\")", u"PRINT R[1][1] + R[2][2]", u"XLSETDATA(O, SPLIT(\"a,b\", \",\"), 6, 1)",
                 u"PRINT XLGETDATA(O, \"B6\")"}),
            (std::vector<std::string>{"4/", "10", "b"}));
  EXPECT_TRUE(ui.errors().empty()) << ui.errors()[0];
  EXPECT_EQ(office.count(u"Range(A1:D1).Value="), 1u);  // element 0 Empty: four cells
}

// The same block written and read through both applications: the document
// model takes the array with the column first and gives rows back, and the
// script sees the same values in the same places.
TEST_F(SpreadsheetBuiltinsTest, CalcGivesTheSameBlockAsExcel) {
  const std::vector<std::u16string> readBack = joined({{u"R = XLGETDATA(S, \"B2:D3\")"}, kPrintBlock,
                                                       {u"PRINT XLGETDATA(S, 3, 2)", u"PRINT XLGETDATA(S, \"C2\")"}});
  const std::vector<std::string> lines =
      run(joined({kTwoByThree, {u"S = XLOPEN(XL_NEW)", u"PRINT XLSETDATA(S, A, \"B2\")"}, readBack,
                  {u"S = XLOPEN(XL_OOOC)", u"PRINT XLSETDATA(S, A, \"B2\")"}, readBack}));
  EXPECT_TRUE(ui.errors().empty()) << ui.errors()[0];
  ASSERT_EQ(lines.size(), 12u);
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 6),
            (std::vector<std::string>{"True", "2", "1|2|3", "x|5|6", "x", "2"}));
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 6, lines.end()),
            std::vector<std::string>(lines.begin(), lines.begin() + 6));
  EXPECT_EQ(office.count(u"setDataArray(B2:D3)"), 1u);
  EXPECT_EQ(office.count(u"load(private:factory/scalc)"), 1u);
}

TEST_F(SpreadsheetBuiltinsTest, SheetsAreAddedOnceAndActivated) {
  EXPECT_EQ(run({u"O = XLOPEN(XL_NEW)", u"PRINT XLSHEET(O, \"New\")", u"PRINT XLSHEET(O, \"new\")",
                 u"PRINT XLSHEET(O, \"\")", u"PRINT XLACTIVATE(O, 1)", u"PRINT XLSHEET(O, \"New\", 1)",
                 u"PRINT XLSHEET(O, \"New\", 1)", u"D = XLOPEN(XL_OOOC)", u"PRINT XLSHEET(D, \"New\")",
                 u"PRINT XLSHEET(D, \"New\")", u"XLSETDATA(D, 7, \"A1\")", u"PRINT XLACTIVATE(D, 1)",
                 u"PRINT XLGETDATA(D, \"A1\", \"New\")", u"PRINT XLSHEET(D, \"New\", 1)", u"PRINT XLSHEET(D, \"New\", 1)"}),
            (std::vector<std::string>{"True", "False", "False", "True", "True", "False", "True", "False", "True", "7",
                                      "True", "False"}));
  EXPECT_TRUE(ui.errors().empty()) << ui.errors()[0];
  EXPECT_EQ(office.count(u"Worksheets.Add(After)"), 1u);
  EXPECT_EQ(office.count(u"insertNewByName(New)"), 1u);
}

TEST_F(SpreadsheetBuiltinsTest, FailedDataCallsAreFlaggedOrReported) {
  office.rangeFails = true;
  EXPECT_EQ(run({u"O = XLOPEN(XL_NEW)", u"COM_ERR_IGN", u"X = XLGETDATA(O, \"A1\")", u"PRINT VARTYPE(X) = VAR_EMPTY",
                 u"PRINT COM_ERR_FLG", u"PRINT XLSETDATA(O, 1, \"A1\")", u"COM_ERR_RET", u"TRY",
                 u"X = XLGETDATA(O, \"A1\")", u"EXCEPT", u"PRINT TRY_ERRMSG", u"ENDTRY"}),
            (std::vector<std::string>{"True", "True", "False", "XLGETDATA Error:An exception occurred"}));
  EXPECT_TRUE(ui.errors().empty()) << ui.errors()[0];
}

// The value is taken once, however often the application refuses the write.
TEST_F(SpreadsheetBuiltinsTest, TheValueIsEvaluatedOnce) {
  office.rangeFails = true;
  EXPECT_EQ(run({u"PUBLIC N = 0", u"O = XLOPEN(XL_NEW)", u"COM_ERR_IGN", u"XLSETDATA(O, NEXTVALUE(), \"A1\")",
                 u"PRINT N", u"FUNCTION NEXTVALUE()", u"N = N + 1", u"RESULT = N", u"FEND"}),
            (std::vector<std::string>{"1"}));
  EXPECT_TRUE(ui.errors().empty()) << ui.errors()[0];
}

// A document whose call fails stays a document: nothing is tried on a
// workbook application instead.
TEST_F(SpreadsheetBuiltinsTest, AFailingDocumentCallDoesNotTurnToExcel) {
  EXPECT_EQ(run({u"D = XLOPEN(XL_OOOC)", u"COM_ERR_IGN", u"PRINT XLSETDATA(D, 1, \"B\")", u"PRINT COM_ERR_FLG",
                 u"PRINT VARTYPE(XLGETDATA(D, \"0\")) = VAR_EMPTY"}),
            (std::vector<std::string>{"False", "True", "True"}));
  EXPECT_TRUE(ui.errors().empty()) << ui.errors()[0];
  EXPECT_EQ(office.applicationsStarted, 0);
}

TEST_F(SpreadsheetBuiltinsTest, ClosingDiscardingQuitsAndEmptiesTheVariable) {
  EXPECT_EQ(run({u"O = XLOPEN(" + quoted(book) + u")", u"PRINT XLCLOSE(O, 1)", u"PRINT VARTYPE(O) = VAR_EMPTY",
                 u"DIM H[1]", u"H[1] = XLOPEN(XL_NEW)", u"PRINT XLCLOSE(H[1], 1)", u"PRINT VARTYPE(H[1]) = VAR_EMPTY",
                 u"P = XLOPEN(XL_NEW)", u"Q = P", u"PRINT XLCLOSE(IIF_KEEP(Q), 1)", u"PRINT VARTYPE(Q) = VAR_EMPTY",
                 u"FUNCTION IIF_KEEP(V)", u"RESULT = V", u"FEND"}),
            (std::vector<std::string>{"True", "True", "True", "True", "True", "False"}));
  EXPECT_TRUE(ui.errors().empty()) << ui.errors()[0];
  EXPECT_EQ(office.applicationsQuit, 3);
  EXPECT_EQ(office.count(u"Close(False)"), 3u);
}

TEST_F(SpreadsheetBuiltinsTest, ClosingToANameSavesAsThatName) {
  const std::u16string copy = path("copy.csv");
  EXPECT_EQ(run({u"B = XLOPEN(" + quoted(book) + u", XL_BOOK)", u"PRINT XLCLOSE(B, " + quoted(copy) + u")"}),
            (std::vector<std::string>{"True"}));
  EXPECT_TRUE(ui.errors().empty()) << ui.errors()[0];
  EXPECT_EQ(office.count(u"SaveAs(" + copy + u",6)"), 1u);
  EXPECT_EQ(office.count(u"Quit"), 1u);
  EXPECT_TRUE(office.disk.contains(copy));
}

TEST_F(SpreadsheetBuiltinsTest, ANewInstanceForAMissingFileIsClosedAgain) {
  const std::u16string missing = path("missing.xls");
  EXPECT_EQ(run({u"TRY", u"O = XLOPEN(" + quoted(missing) + u", XL_NEW)", u"EXCEPT", u"PRINT TRY_ERRMSG", u"ENDTRY",
                 u"TRY", u"O = XLOPEN(" + quoted(missing) + u")", u"EXCEPT", u"PRINT TRY_ERRMSG", u"ENDTRY"}),
            (std::vector<std::string>{"Not Found: " + utf16ToUtf8(missing), "Not Found: " + utf16ToUtf8(missing)}));
  EXPECT_EQ(office.applicationsStarted, 1);
  EXPECT_EQ(office.applicationsQuit, 1);
}

TEST_F(SpreadsheetBuiltinsTest, DocumentsOpenFromEncodedUrlsAndAreStoredWhenNamed) {
  writeFile("a #1.ods");
  FakeSheetData sheet{u"Sheet1", {}, {}, {}};
  sheet.cells[{1, 1}] = ComText(u"from the file");
  // The URL's encoding is the helpers' test; here the document is found by it
  // (a Windows path becomes file:///C:/..., a posix one file:///tmp/...).
  office.disk[FileUrl(path("a #1.ods"))] = FakeBookData{{sheet}};
  const std::u16string out = path("out");
  EXPECT_EQ(run({u"D = XLOPEN(XL_OOOC, " + quoted(path("a #1.ods")) + u")", u"PRINT XLGETDATA(D, \"A1\")",
                 u"PRINT XLCLOSE(D, " + quoted(out) + u")", u"E = XLOPEN(XL_OOOC)", u"PRINT XLCLOSE(E, \"x.csv\")",
                 u"PRINT XLCLOSE(E, 1)"}),
            (std::vector<std::string>{"from the file", "True", "False", "True"}));
  EXPECT_TRUE(ui.errors().empty()) << ui.errors()[0];
  // Unchanged, and stored all the same: the script named the file.
  EXPECT_EQ(office.count(u"storeAsURL(" + FileUrl(out + u".ods") + u")"), 1u);
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_EQ(ui.messages()[0], "XLCLOSE: CSV file has not supported");
  EXPECT_EQ(office.openDocuments, 0);
}

TEST_F(SpreadsheetBuiltinsTest, AnUnreachableOfficeFailsWithoutTryingExcel) {
  office.calcUnavailable = true;
  EXPECT_EQ(run({u"TRY", u"D = XLOPEN(XL_OOOC)", u"EXCEPT", u"PRINT TRY_ERRMSG", u"ENDTRY", u"TRY",
                 u"D = XLOPEN(" + quoted(path("none.ods")) + u", XL_OOOC)", u"EXCEPT", u"PRINT TRY_ERRMSG", u"ENDTRY"}),
            (std::vector<std::string>{"OOo Calc cannot be started", "Not Found: " + utf16ToUtf8(path("none.ods"))}));
  EXPECT_EQ(office.applicationsStarted, 0);
}

}  // namespace
}  // namespace maqo::com::spreadsheet
