// In-memory spreadsheet applications for native tests of the spreadsheet
// builtins: a workbook model (Application, Workbooks, Worksheets, Range with
// Value, Font and Interior) under "EXCEL.APPLICATION" and a document model
// (ServiceManager, Desktop, PropertyValue structs, sheets, cell ranges with
// data arrays) under "com.sun.star.ServiceManager". Saved books live in a
// map by file name or URL. Calls that matter to the tests are journalled.
#pragma once
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/fake/fake_com.h"

namespace maqo::platform::fake {

struct FakeSheetData {
  std::u16string name;
  std::map<std::pair<int64_t, int64_t>, ComValue> cells;  // (row, column) from 1
  std::map<std::pair<int64_t, int64_t>, int64_t> textColours, backColours;
};

struct FakeBookData {
  std::vector<FakeSheetData> sheets;
};

class FakeOffice {
 public:
  // Registers both applications with automation (which must outlive this).
  explicit FakeOffice(FakeComAutomation& automation);
  ~FakeOffice();
  FakeOffice(const FakeOffice&) = delete;
  FakeOffice& operator=(const FakeOffice&) = delete;

  // Saved books by file name (workbook model) or URL (document model).
  std::map<std::u16string, FakeBookData> disk;
  // One line per journalled call, e.g. "Range(B2:D3).Value=" or "Quit".
  std::vector<std::u16string> journal;
  // Every Range call of the workbook model fails while this is set.
  bool rangeFails = false;
  // The document model's desktop cannot be created while this is set.
  bool calcUnavailable = false;

  // Workbook-model applications started so far and those that quit.
  int applicationsStarted = 0;
  int applicationsQuit = 0;
  // Documents of the document model loaded and not yet disposed.
  int openDocuments = 0;

  // Journal lines that begin with prefix.
  size_t count(std::u16string_view prefix) const;
  void note(std::u16string line) { journal.push_back(std::move(line)); }

 private:
  std::shared_ptr<FakeComObject> startApplication();
  std::shared_ptr<FakeComObject> startServiceManager();

  FakeComAutomation& automation_;
  std::shared_ptr<FakeComObject> desktop_;  // the document model's one desktop
};

}  // namespace maqo::platform::fake
