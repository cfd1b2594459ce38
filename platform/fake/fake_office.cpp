#include "platform/fake/fake_office.h"

#include <functional>

namespace maqo::platform::fake {

namespace {

namespace flags = invoke_flags;
using ObjectPtr = std::shared_ptr<FakeComObject>;

// A call as the members below see it: positional arguments in written order,
// named ones by DISPID, and the assigned value of a property put.
struct Invocation {
  uint16_t flags = 0;
  std::vector<ComValue> arguments;
  std::map<int32_t, ComValue> named;
  ComValue assigned;
  bool put() const { return (flags & (flags::kPut | flags::kPutRef)) != 0; }
  const ComValue& at(size_t i) const {
    static const ComValue missing;
    return i < arguments.size() ? arguments[i] : missing;
  }
  std::span<ComArgument> raw;  // for out parameters
};

using Member = std::function<bool(Invocation& call, ComValue& result, ComFailure& failure)>;

// Adds members with their own DISPIDs (names compare without case).
class MemberTable {
 public:
  explicit MemberTable(FakeComObject& object) : object_(object) {}
  void add(std::u16string name, Member member) {
    object_.addMember(std::move(name), next_++, [member](uint16_t f, std::span<ComArgument> arguments,
                                                          std::span<const int32_t> namedIds, ComValue& result,
                                                          ComFailure& failure) {
      Invocation call;
      call.flags = f;
      call.raw = arguments;
      size_t i = 0;
      for (int32_t id : namedIds) {
        if (id == kDispIdPropertyPut) call.assigned = arguments[i].value;
        else call.named[id] = arguments[i].value;
        ++i;
      }
      for (size_t k = arguments.size(); k > i; --k) call.arguments.push_back(arguments[k - 1].value);
      return member(call, result, failure);
    });
  }
  void name(std::u16string name, int32_t id) { object_.addName(std::move(name), id); }

 private:
  FakeComObject& object_;
  int32_t next_ = 1;
};

bool fail(ComFailure& failure, std::u16string text) {
  failure.code = kDispException;
  failure.description = std::move(text);
  return false;
}

ComValue objectValue(ObjectPtr object) {
  ComValue value;
  value.type = vt::kDispatch;
  value.object = std::move(object);
  return value;
}

ComValue boolValue(bool flag) { return ComInt(flag ? -1 : 0, vt::kBool); }

bool truthy(const ComValue& value) { return value.type == vt::kBstr ? value.text == u"True" : value.integer != 0; }

std::u16string upperText(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  return out;
}

std::u16string number(int64_t n) {
  std::u16string out;
  for (char c : std::to_string(n)) out += static_cast<char16_t>(c);
  return out;
}

// "B2" or "$B$2" as (row, column); (0, 0) when it names no cell.
std::pair<int64_t, int64_t> cellOf(std::u16string_view text) {
  int64_t row = 0, column = 0;
  for (char16_t c : upperText(text)) {
    if (c >= u'A' && c <= u'Z') column = column * 26 + (c - u'A' + 1);
    else if (c >= u'0' && c <= u'9') row = row * 10 + (c - u'0');
  }
  return {row, column};
}

struct Block {
  int64_t top = 0, left = 0, bottom = 0, right = 0;
  bool valid() const { return top > 0 && left > 0 && bottom >= top && right >= left; }
};

Block blockOf(std::u16string_view address) {
  const size_t colon = address.find(u':');
  const auto [top, left] = cellOf(address.substr(0, colon));
  const auto [bottom, right] = colon == std::u16string_view::npos ? std::pair{top, left} : cellOf(address.substr(colon + 1));
  return Block{top, left, bottom, right};
}

std::u16string letters(int64_t column) {
  std::u16string out;
  while (column > 0) {
    out.insert(out.begin(), static_cast<char16_t>(u'A' + (column - 1) % 26));
    column = (column - 1) / 26;
  }
  return out;
}

// The workbook model's data of one open book.
struct Book {
  FakeBookData data;
  std::u16string fullName;  // empty until saved
  int activeSheet = 0;
  bool open = true;
};

}  // namespace

// ---------------------------------------------------------------- workbooks

namespace {

struct ExcelApp {
  FakeOffice* office;
  std::vector<std::shared_ptr<Book>> books;  // open books in order
  int activeBook = -1;
  bool visible = false, alerts = true, quit = false;
  std::weak_ptr<FakeComObject> self;
};

ObjectPtr makeRange(FakeOffice* office, std::shared_ptr<Book> book, size_t sheetIndex, Block block) {
  auto range = std::make_shared<FakeComObject>();
  MemberTable m(*range);
  auto sheet = [book, sheetIndex]() -> FakeSheetData& { return book->data.sheets[sheetIndex]; };
  auto label = letters(block.left) + number(block.top) + u":" + letters(block.right) + number(block.bottom);
  m.add(u"Value", [=](Invocation& call, ComValue& result, ComFailure&) {
    if (call.put()) {
      office->note(u"Range(" + label + u").Value=");
      const ComValue& value = call.assigned;
      for (int64_t r = block.top; r <= block.bottom; ++r)
        for (int64_t c = block.left; c <= block.right; ++c) {
          if ((value.type & vt::kArray) && value.bounds.size() == 2) {
            const int64_t rows = value.bounds[0].upper - value.bounds[0].lower + 1;
            const int64_t columns = value.bounds[1].upper - value.bounds[1].lower + 1;
            const int64_t i = r - block.top, k = c - block.left;
            sheet().cells[{r, c}] = i < rows && k < columns ? value.elements[static_cast<size_t>(i * columns + k)] : ComValue{};
          } else {
            sheet().cells[{r, c}] = value;
          }
        }
      return true;
    }
    office->note(u"Range(" + label + u").Value");
    if (block.top == block.bottom && block.left == block.right) {
      result = sheet().cells[{block.top, block.left}];
      return true;
    }
    result.type = vt::kArray | vt::kVariant;
    result.bounds = {{1, static_cast<int32_t>(block.bottom - block.top + 1)},
                     {1, static_cast<int32_t>(block.right - block.left + 1)}};
    for (int64_t r = block.top; r <= block.bottom; ++r)
      for (int64_t c = block.left; c <= block.right; ++c) result.elements.push_back(sheet().cells[{r, c}]);
    return true;
  });
  auto colourPart = [=](bool text) {
    auto part = std::make_shared<FakeComObject>();
    MemberTable pm(*part);
    pm.add(u"Color", [=](Invocation& call, ComValue& result, ComFailure&) {
      auto& colours = text ? sheet().textColours : sheet().backColours;
      if (call.put()) {
        for (int64_t r = block.top; r <= block.bottom; ++r)
          for (int64_t c = block.left; c <= block.right; ++c) colours[{r, c}] = call.assigned.integer;
        return true;
      }
      result = ComInt(colours[{block.top, block.left}]);
      return true;
    });
    return part;
  };
  m.add(u"Font", [=](Invocation&, ComValue& result, ComFailure&) {
    result = objectValue(colourPart(true));
    return true;
  });
  m.add(u"Interior", [=](Invocation&, ComValue& result, ComFailure&) {
    result = objectValue(colourPart(false));
    return true;
  });
  m.add(u"Address", [=](Invocation&, ComValue& result, ComFailure&) {
    result = ComText(u"$" + letters(block.left) + u"$" + number(block.top));
    return true;
  });
  return range;
}

ObjectPtr makeWorksheet(std::shared_ptr<ExcelApp> app, std::shared_ptr<Book> book, size_t index);

ObjectPtr makeWorksheets(std::shared_ptr<ExcelApp> app, std::shared_ptr<Book> book) {
  auto sheets = std::make_shared<FakeComObject>();
  MemberTable m(*sheets);
  m.name(u"After", 201);
  m.name(u"Before", 202);
  m.add(u"Count", [=](Invocation&, ComValue& result, ComFailure&) {
    result = ComInt(static_cast<int64_t>(book->data.sheets.size()));
    return true;
  });
  m.add(u"Item", [=](Invocation& call, ComValue& result, ComFailure& failure) {
    const ComValue& key = call.at(0);
    for (size_t i = 0; i < book->data.sheets.size(); ++i) {
      const bool match = key.type == vt::kBstr ? upperText(book->data.sheets[i].name) == upperText(key.text)
                                                : key.integer == static_cast<int64_t>(i) + 1;
      if (match) {
        result = objectValue(makeWorksheet(app, book, i));
        return true;
      }
    }
    return fail(failure, u"Subscript out of range");
  });
  m.add(u"Add", [=](Invocation& call, ComValue& result, ComFailure&) {
    const bool after = call.named.contains(201);
    app->office->note(after ? u"Worksheets.Add(After)" : u"Worksheets.Add");
    std::u16string name = u"Sheet" + number(static_cast<int64_t>(book->data.sheets.size()) + 1);
    book->data.sheets.push_back(FakeSheetData{name, {}, {}, {}});
    book->activeSheet = static_cast<int>(book->data.sheets.size()) - 1;
    result = objectValue(makeWorksheet(app, book, book->data.sheets.size() - 1));
    return true;
  });
  return sheets;
}

ObjectPtr makeWorksheet(std::shared_ptr<ExcelApp> app, std::shared_ptr<Book> book, size_t index) {
  auto sheet = std::make_shared<FakeComObject>();
  MemberTable m(*sheet);
  m.add(u"Name", [=](Invocation& call, ComValue& result, ComFailure&) {
    if (call.put()) book->data.sheets[index].name = call.assigned.text;
    else result = ComText(book->data.sheets[index].name);
    return true;
  });
  m.add(u"Range", [=](Invocation& call, ComValue& result, ComFailure& failure) {
    if (app->office->rangeFails) return fail(failure, u"Range failed");
    const Block block = blockOf(call.at(0).text);
    if (!block.valid()) return fail(failure, u"Bad range");
    result = objectValue(makeRange(app->office, book, index, block));
    return true;
  });
  m.add(u"Activate", [=](Invocation&, ComValue&, ComFailure&) {
    book->activeSheet = static_cast<int>(index);
    return true;
  });
  m.add(u"Delete", [=](Invocation&, ComValue&, ComFailure& failure) {
    if (app->alerts) return fail(failure, u"Delete would ask first");
    app->office->note(u"Delete(" + book->data.sheets[index].name + u")");
    book->data.sheets.erase(book->data.sheets.begin() + static_cast<ptrdiff_t>(index));
    book->activeSheet = 0;
    return true;
  });
  return sheet;
}

ObjectPtr makeWorkbook(std::shared_ptr<ExcelApp> app, std::shared_ptr<Book> book) {
  auto workbook = std::make_shared<FakeComObject>();
  MemberTable m(*workbook);
  auto save = [=](const std::u16string& name) {
    book->fullName = name;
    app->office->disk[name] = book->data;
  };
  auto close = [=]() {
    book->open = false;
    std::erase(app->books, book);
    app->activeBook = app->books.empty() ? -1 : static_cast<int>(app->books.size()) - 1;
  };
  m.add(u"Name", [=](Invocation&, ComValue& result, ComFailure&) {
    const size_t cut = book->fullName.find_last_of(u"\\/");
    result = ComText(book->fullName.empty() ? u"Book1" : book->fullName.substr(cut + 1));
    return true;
  });
  m.add(u"FullName", [=](Invocation&, ComValue& result, ComFailure&) {
    result = ComText(book->fullName.empty() ? u"Book1" : book->fullName);
    return true;
  });
  m.add(u"Path", [=](Invocation&, ComValue& result, ComFailure&) {
    const size_t cut = book->fullName.find_last_of(u"\\/");
    result = ComText(cut == std::u16string::npos ? u"" : book->fullName.substr(0, cut));
    return true;
  });
  m.add(u"Worksheets", [=](Invocation&, ComValue& result, ComFailure&) {
    result = objectValue(makeWorksheets(app, book));
    return true;
  });
  m.add(u"ActiveSheet", [=](Invocation&, ComValue& result, ComFailure&) {
    result = objectValue(makeWorksheet(app, book, static_cast<size_t>(book->activeSheet)));
    return true;
  });
  m.add(u"Application", [=](Invocation&, ComValue& result, ComFailure&) {
    result = objectValue(app->self.lock());
    return true;
  });
  m.add(u"Activate", [=](Invocation&, ComValue&, ComFailure&) {
    for (size_t i = 0; i < app->books.size(); ++i)
      if (app->books[i] == book) app->activeBook = static_cast<int>(i);
    return true;
  });
  m.add(u"SaveAs", [=](Invocation& call, ComValue&, ComFailure&) {
    app->office->note(u"SaveAs(" + call.at(0).text + (call.arguments.size() > 1 ? u"," + number(call.at(1).integer) : u"") + u")");
    save(call.at(0).text);
    return true;
  });
  m.add(u"Close", [=](Invocation& call, ComValue&, ComFailure&) {
    const bool saveChanges = call.arguments.size() > 0 && truthy(call.at(0));
    app->office->note(std::u16string(u"Close(") + (saveChanges ? u"True" : u"False") + u")");
    if (saveChanges && !book->fullName.empty()) save(book->fullName);
    close();
    return true;
  });
  return workbook;
}

ObjectPtr makeWorkbooks(std::shared_ptr<ExcelApp> app) {
  auto workbooks = std::make_shared<FakeComObject>();
  MemberTable m(*workbooks);
  m.add(u"Count", [=](Invocation&, ComValue& result, ComFailure&) {
    result = ComInt(static_cast<int64_t>(app->books.size()));
    return true;
  });
  m.add(u"Item", [=](Invocation& call, ComValue& result, ComFailure& failure) {
    const ComValue& key = call.at(0);
    for (size_t i = 0; i < app->books.size(); ++i) {
      const std::u16string& full = app->books[i]->fullName;
      const std::u16string name = full.substr(full.find_last_of(u"\\/") + 1);
      if (key.type == vt::kBstr ? upperText(name) == upperText(key.text) : key.integer == static_cast<int64_t>(i) + 1) {
        result = objectValue(makeWorkbook(app, app->books[i]));
        return true;
      }
    }
    return fail(failure, u"Subscript out of range");
  });
  auto add = [=](FakeBookData data, std::u16string fullName) {
    auto book = std::make_shared<Book>();
    book->data = std::move(data);
    book->fullName = std::move(fullName);
    app->books.push_back(book);
    app->activeBook = static_cast<int>(app->books.size()) - 1;
    return book;
  };
  m.add(u"Add", [=](Invocation&, ComValue& result, ComFailure&) {
    app->office->note(u"Workbooks.Add");
    result = objectValue(makeWorkbook(app, add(FakeBookData{{FakeSheetData{u"Sheet1", {}, {}, {}}}}, u"")));
    return true;
  });
  m.add(u"Open", [=](Invocation& call, ComValue& result, ComFailure&) {
    std::u16string line = u"Workbooks.Open(" + call.at(0).text;
    for (size_t i = 1; i < call.arguments.size(); ++i)
      line += u"," + (call.arguments[i].type == vt::kError ? std::u16string(u"-") : call.arguments[i].text);
    app->office->note(line + u")");
    auto saved = app->office->disk.find(call.at(0).text);
    FakeBookData data = saved != app->office->disk.end() ? saved->second
                                                         : FakeBookData{{FakeSheetData{u"Sheet1", {}, {}, {}}}};
    result = objectValue(makeWorkbook(app, add(std::move(data), call.at(0).text)));
    return true;
  });
  return workbooks;
}

}  // namespace

std::shared_ptr<FakeComObject> FakeOffice::startApplication() {
  auto application = std::make_shared<FakeComObject>();
  auto app = std::make_shared<ExcelApp>();
  app->office = this;
  app->self = application;
  ++applicationsStarted;
  MemberTable m(*application);
  m.add(u"Visible", [=](Invocation& call, ComValue& result, ComFailure&) {
    if (call.put()) app->visible = truthy(call.assigned);
    else result = boolValue(app->visible);
    return true;
  });
  m.add(u"DisplayAlerts", [=](Invocation& call, ComValue& result, ComFailure&) {
    if (call.put()) app->alerts = truthy(call.assigned);
    else result = boolValue(app->alerts);
    return true;
  });
  m.add(u"Hwnd", [](Invocation&, ComValue& result, ComFailure&) {
    result = ComInt(0);
    return true;
  });
  m.add(u"Workbooks", [=](Invocation&, ComValue& result, ComFailure&) {
    result = objectValue(makeWorkbooks(app));
    return true;
  });
  auto active = [=]() -> std::shared_ptr<Book> {
    return app->activeBook >= 0 ? app->books[static_cast<size_t>(app->activeBook)] : nullptr;
  };
  m.add(u"ActiveWorkbook", [=](Invocation&, ComValue& result, ComFailure& failure) {
    if (!active()) return fail(failure, u"No workbook");
    result = objectValue(makeWorkbook(app, active()));
    return true;
  });
  m.add(u"ActiveSheet", [=](Invocation&, ComValue& result, ComFailure&) {
    result = active() ? objectValue(makeWorksheet(app, active(), static_cast<size_t>(active()->activeSheet)))
                      : objectValue(nullptr);
    return true;
  });
  m.add(u"Worksheets", [=](Invocation&, ComValue& result, ComFailure& failure) {
    if (!active()) return fail(failure, u"No workbook");
    result = objectValue(makeWorksheets(app, active()));
    return true;
  });
  m.add(u"Application", [=](Invocation&, ComValue& result, ComFailure&) {
    result = objectValue(app->self.lock());
    return true;
  });
  m.add(u"Quit", [this, app](Invocation&, ComValue&, ComFailure&) {
    note(u"Quit");
    app->quit = true;
    ++applicationsQuit;
    if (auto running = automation_.running.find(u"EXCEL.APPLICATION");
        running != automation_.running.end() && running->second == app->self.lock())
      automation_.running.erase(running);
    return true;
  });
  automation_.running[u"EXCEL.APPLICATION"] = application;
  return application;
}

// ---------------------------------------------------------------- documents

namespace {

struct CalcDocument {
  FakeBookData data;
  std::u16string url;
  int activeSheet = 0;
  bool modified = false;
};

ComValue documentRows(const FakeSheetData& sheet, int64_t left, int64_t top, int64_t right, int64_t bottom) {
  ComValue rows;
  rows.type = vt::kArray | vt::kVariant;
  rows.bounds = {{0, static_cast<int32_t>(bottom - top)}};
  for (int64_t r = top; r <= bottom; ++r) {
    ComValue row;
    row.type = vt::kArray | vt::kVariant;
    row.bounds = {{0, static_cast<int32_t>(right - left)}};
    for (int64_t c = left; c <= right; ++c) {
      auto cell = sheet.cells.find({r + 1, c + 1});
      row.elements.push_back(cell == sheet.cells.end() ? ComValue{} : cell->second);
    }
    rows.elements.push_back(std::move(row));
  }
  return rows;
}

ObjectPtr makeCellRange(FakeOffice* office, std::shared_ptr<CalcDocument> doc, size_t sheetIndex, int64_t left,
                        int64_t top, int64_t right, int64_t bottom) {
  auto range = std::make_shared<FakeComObject>();
  MemberTable m(*range);
  auto sheet = [doc, sheetIndex]() -> FakeSheetData& { return doc->data.sheets[sheetIndex]; };
  const std::u16string label = letters(left + 1) + number(top + 1) + u":" + letters(right + 1) + number(bottom + 1);
  m.add(u"getDataArray", [=](Invocation&, ComValue& result, ComFailure&) {
    office->note(u"getDataArray(" + label + u")");
    result = documentRows(sheet(), left, top, right, bottom);
    return true;
  });
  // The array comes with the column as its first index; its size must be the range's.
  auto write = [=](const std::u16string& member, Invocation& call, ComFailure& failure) {
    office->note(member + u"(" + label + u")");
    const ComValue& array = call.at(0);
    if (!(array.type & vt::kArray) || array.bounds.size() != 2) return fail(failure, u"Not a two-dimensional array");
    const int64_t columns = array.bounds[0].upper - array.bounds[0].lower + 1;
    const int64_t rows = array.bounds[1].upper - array.bounds[1].lower + 1;
    if (columns != right - left + 1 || rows != bottom - top + 1) return fail(failure, u"Size mismatch");
    for (int64_t c = 0; c < columns; ++c)
      for (int64_t r = 0; r < rows; ++r)
        sheet().cells[{top + r + 1, left + c + 1}] = array.elements[static_cast<size_t>(c * rows + r)];
    doc->modified = true;
    return true;
  };
  m.add(u"setDataArray", [=](Invocation& call, ComValue&, ComFailure& failure) { return write(u"setDataArray", call, failure); });
  m.add(u"setFormulaArray", [=](Invocation& call, ComValue&, ComFailure& failure) { return write(u"setFormulaArray", call, failure); });
  auto colour = [=](bool text) {
    return [=](Invocation& call, ComValue&, ComFailure&) {
      auto& colours = text ? sheet().textColours : sheet().backColours;
      for (int64_t r = top; r <= bottom; ++r)
        for (int64_t c = left; c <= right; ++c) colours[{r + 1, c + 1}] = call.assigned.integer;
      return true;
    };
  };
  m.add(u"CharColor", colour(true));
  m.add(u"CellBackColor", colour(false));
  return range;
}

ObjectPtr makeCalcSheet(FakeOffice* office, std::shared_ptr<CalcDocument> doc, size_t index) {
  auto sheet = std::make_shared<FakeComObject>();
  MemberTable m(*sheet);
  m.add(u"Name", [=](Invocation&, ComValue& result, ComFailure&) {
    result = ComText(doc->data.sheets[index].name);
    return true;
  });
  m.add(u"getCellRangeByPosition", [=](Invocation& call, ComValue& result, ComFailure& failure) {
    const int64_t left = call.at(0).integer, top = call.at(1).integer, right = call.at(2).integer,
                  bottom = call.at(3).integer;
    if (left < 0 || top < 0 || right < left || bottom < top) return fail(failure, u"IndexOutOfBoundsException");
    result = objectValue(makeCellRange(office, doc, index, left, top, right, bottom));
    return true;
  });
  m.add(u"SheetIndex", [=](Invocation&, ComValue& result, ComFailure&) {
    result = ComInt(static_cast<int64_t>(index));
    return true;
  });
  return sheet;
}

ObjectPtr makeCalcSheets(FakeOffice* office, std::shared_ptr<CalcDocument> doc) {
  auto sheets = std::make_shared<FakeComObject>();
  MemberTable m(*sheets);
  auto find = [doc](const std::u16string& name) -> int64_t {
    for (size_t i = 0; i < doc->data.sheets.size(); ++i)
      if (doc->data.sheets[i].name == name) return static_cast<int64_t>(i);
    return -1;
  };
  m.add(u"hasByName", [=](Invocation& call, ComValue& result, ComFailure&) {
    result = boolValue(find(call.at(0).text) >= 0);
    return true;
  });
  m.add(u"getByName", [=](Invocation& call, ComValue& result, ComFailure& failure) {
    const int64_t i = find(call.at(0).text);
    if (i < 0) return fail(failure, u"NoSuchElementException");
    result = objectValue(makeCalcSheet(office, doc, static_cast<size_t>(i)));
    return true;
  });
  m.add(u"getByIndex", [=](Invocation& call, ComValue& result, ComFailure& failure) {
    const int64_t i = call.at(0).integer;
    if (i < 0 || i >= static_cast<int64_t>(doc->data.sheets.size())) return fail(failure, u"IndexOutOfBoundsException");
    result = objectValue(makeCalcSheet(office, doc, static_cast<size_t>(i)));
    return true;
  });
  m.add(u"insertNewByName", [=](Invocation& call, ComValue&, ComFailure&) {
    office->note(u"insertNewByName(" + call.at(0).text + u")");
    const auto position = std::min<int64_t>(call.at(1).integer, static_cast<int64_t>(doc->data.sheets.size()));
    doc->data.sheets.insert(doc->data.sheets.begin() + position, FakeSheetData{call.at(0).text, {}, {}, {}});
    doc->modified = true;
    return true;
  });
  m.add(u"removeByName", [=](Invocation& call, ComValue&, ComFailure& failure) {
    const int64_t i = find(call.at(0).text);
    if (i < 0) return fail(failure, u"NoSuchElementException");
    doc->data.sheets.erase(doc->data.sheets.begin() + i);
    doc->activeSheet = 0;
    return true;
  });
  return sheets;
}


}  // namespace

std::shared_ptr<FakeComObject> FakeOffice::startServiceManager() {
  auto manager = std::make_shared<FakeComObject>();
  MemberTable m(*manager);
  FakeOffice* office = this;
  if (!desktop_) {
    desktop_ = std::make_shared<FakeComObject>();
    MemberTable d(*desktop_);
    d.add(u"loadComponentFromURL", [office](Invocation& call, ComValue& result, ComFailure& failure) {
      std::u16string line = u"load(" + call.at(0).text;
      for (const ComValue& property : call.at(3).elements) {
        ComValue name, value;
        ComFailure ignored;
        std::vector<int32_t> ids;
        const std::u16string names[] = {u"Name"}, values[] = {u"Value"};
        property.object->dispatchIds(names, ids, ignored);
        property.object->invoke(ids[0], flags::kGet, {}, {}, name, ignored);
        property.object->dispatchIds(values, ids, ignored);
        property.object->invoke(ids[0], flags::kGet, {}, {}, value, ignored);
        line += u"," + name.text + u"=" + (value.type == vt::kBstr ? value.text : number(value.integer));
      }
      office->note(line + u")");
      auto doc = std::make_shared<CalcDocument>();
      const std::u16string& url = call.at(0).text;
      if (url == u"private:factory/scalc") {
        doc->data.sheets = {FakeSheetData{u"Sheet1", {}, {}, {}}};
      } else if (auto saved = office->disk.find(url); saved != office->disk.end()) {
        doc->data = saved->second;
        doc->url = url;
      } else {
        return fail(failure, u"IllegalArgumentException: " + url);
      }
      ++office->openDocuments;
      auto document = std::make_shared<FakeComObject>();
      MemberTable dm(*document);
      auto controller = std::make_shared<FakeComObject>();
      MemberTable cm(*controller);
      cm.add(u"ActiveSheet", [office, doc](Invocation& c, ComValue& r, ComFailure&) {
        if (c.put()) {
          ComValue index;
          ComFailure ignored;
          std::vector<int32_t> ids;
          const std::u16string names[] = {u"SheetIndex"};
          c.assigned.object->dispatchIds(names, ids, ignored);
          c.assigned.object->invoke(ids[0], flags::kGet, {}, {}, index, ignored);
          doc->activeSheet = static_cast<int>(index.integer);
          return true;
        }
        r = objectValue(makeCalcSheet(office, doc, static_cast<size_t>(doc->activeSheet)));
        return true;
      });
      dm.add(u"CurrentController", [controller](Invocation&, ComValue& r, ComFailure&) {
        r = objectValue(controller);
        return true;
      });
      dm.add(u"getSheets", [office, doc](Invocation&, ComValue& r, ComFailure&) {
        r = objectValue(makeCalcSheets(office, doc));
        return true;
      });
      dm.add(u"isModified", [doc](Invocation&, ComValue& r, ComFailure&) {
        r = boolValue(doc->modified);
        return true;
      });
      dm.add(u"hasLocation", [doc](Invocation&, ComValue& r, ComFailure&) {
        r = boolValue(!doc->url.empty());
        return true;
      });
      dm.add(u"store", [office, doc](Invocation&, ComValue&, ComFailure&) {
        office->note(u"store(" + doc->url + u")");
        office->disk[doc->url] = doc->data;
        doc->modified = false;
        return true;
      });
      dm.add(u"storeAsURL", [office, doc](Invocation& c, ComValue&, ComFailure&) {
        office->note(u"storeAsURL(" + c.at(0).text + u")");
        office->disk[c.at(0).text] = doc->data;
        doc->url = c.at(0).text;
        doc->modified = false;
        return true;
      });
      auto disposed = std::make_shared<bool>(false);
      dm.add(u"dispose", [office, disposed](Invocation&, ComValue&, ComFailure&) {
        office->note(u"dispose");
        if (!*disposed) --office->openDocuments;
        *disposed = true;
        return true;
      });
      result = objectValue(document);
      return true;
    });
    d.add(u"Frames", [office](Invocation&, ComValue& result, ComFailure&) {
      auto frames = std::make_shared<FakeComObject>();
      MemberTable f(*frames);
      const int count = office->openDocuments;
      f.add(u"Count", [count](Invocation&, ComValue& r, ComFailure&) {
        r = ComInt(count);
        return true;
      });
      result = objectValue(frames);
      return true;
    });
    d.add(u"Terminate", [office](Invocation&, ComValue&, ComFailure&) {
      office->note(u"Terminate");
      return true;
    });
  }
  ObjectPtr desktop = desktop_;
  m.add(u"createInstance", [office, desktop](Invocation& call, ComValue& result, ComFailure& failure) {
    const std::u16string& name = call.at(0).text;
    if (name == u"com.sun.star.frame.Desktop") {
      if (office->calcUnavailable) return fail(failure, u"The office cannot be reached");
      result = objectValue(desktop);
      return true;
    }
    if (name != u"com.sun.star.reflection.CoreReflection") return fail(failure, u"Unknown service " + name);
    auto reflection = std::make_shared<FakeComObject>();
    MemberTable r(*reflection);
    r.add(u"forName", [](Invocation& c, ComValue& type, ComFailure& e) {
      if (c.at(0).text != u"com.sun.star.beans.PropertyValue") return fail(e, u"Unknown type");
      auto typeObject = std::make_shared<FakeComObject>();
      MemberTable t(*typeObject);
      t.add(u"createObject", [](Invocation& made, ComValue&, ComFailure& e2) {
        if (made.raw.empty() || !made.raw[0].byReference) return fail(e2, u"createObject needs an out parameter");
        auto property = std::make_shared<FakeComObject>();
        auto fields = std::make_shared<std::map<std::u16string, ComValue>>();
        MemberTable p(*property);
        for (std::u16string field : {u"Name", u"Value"})
          p.add(field, [fields, field](Invocation& a, ComValue& v, ComFailure&) {
            if (a.put()) (*fields)[field] = a.assigned;
            else v = (*fields)[field];
            return true;
          });
        made.raw[0].value = objectValue(property);
        return true;
      });
      type = objectValue(typeObject);
      return true;
    });
    result = objectValue(reflection);
    return true;
  });
  return manager;
}

FakeOffice::FakeOffice(FakeComAutomation& automation) : automation_(automation) {
  automation_.factories[u"EXCEL.APPLICATION"] = [this] { return startApplication(); };
  automation_.factories[u"COM.SUN.STAR.SERVICEMANAGER"] = [this] { return startServiceManager(); };
}

FakeOffice::~FakeOffice() {
  automation_.factories.erase(u"EXCEL.APPLICATION");
  automation_.factories.erase(u"COM.SUN.STAR.SERVICEMANAGER");
  automation_.running.erase(u"EXCEL.APPLICATION");
}

size_t FakeOffice::count(std::u16string_view prefix) const {
  size_t n = 0;
  for (const std::u16string& line : journal) n += line.substr(0, prefix.size()) == prefix;
  return n;
}

}  // namespace maqo::platform::fake
