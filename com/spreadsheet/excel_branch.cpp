#include "com/spreadsheet/excel_branch.h"

#include <functional>

#include "com/objects/com_object.h"
#include "com/objects/com_values.h"
#include "com/spreadsheet/cell_reference.h"
#include "com/spreadsheet/sheet_messages.h"
#include "engine/eval/text_helpers.h"

namespace maqo::com::spreadsheet {

using engine::ScriptValue;
using platform::ComValue;

namespace {

constexpr std::u16string_view kExcelProgId = u"EXCEL.APPLICATION";
constexpr int kAttempts = 5;
constexpr uint32_t kKeyDown = 0x0100, kKeyUp = 0x0101, kReturnKey = 13, kUpKey = 38;
constexpr int kWorkbookFormatCsv = 6, kWorkbookFormatOds = 60;

// Runs steps until one run returns without a failing call, at most five
// times with a short pause between; nothing when every run failed.
template <typename Result>
std::optional<Result> withAttempts(SheetSession& session, const std::function<Result()>& steps) {
  for (int attempt = 1; attempt <= kAttempts; ++attempt) {
    try {
      return steps();
    } catch (const SheetCallFailed&) {
      if (attempt == kAttempts || session.host().stopRequested()) break;
      session.pause(20, 20);
    }
  }
  return std::nullopt;
}

bool activeSheetReadable(platform::ComObject& object) {
  try {
    Get(object, u"ActiveSheet");
    return true;
  } catch (const SheetCallFailed&) {
    return false;
  }
}

int64_t windowOf(SheetSession& session, platform::ComObject& object) {
  try {
    return Get(object, u"Hwnd").integer;
  } catch (const SheetCallFailed&) {
  }
  try {
    return Get(*GetObject(object, u"Application"), u"Hwnd").integer;
  } catch (const SheetCallFailed&) {
  }
  platform::Desktop& desktop = session.desktop();
  if (!desktop.available()) return 0;
  for (platform::WindowHandle window : desktop.topLevelWindows())
    if (desktop.className(window) == u"XLMAIN") return static_cast<int64_t>(window);
  return 0;
}

// A cell the user is editing makes every call fail: Enter commits it (and Up
// returns to the cell), then the sheet is asked again for a while.
void leaveCellEditMode(SheetSession& session, platform::ComObject& object) {
  if (activeSheetReadable(object)) return;
  const auto window = static_cast<platform::WindowHandle>(windowOf(session, object));
  platform::Desktop& desktop = session.desktop();
  if (window != 0 && desktop.available()) {
    for (uint32_t key : {kReturnKey, kUpKey}) {
      desktop.postMessage(window, kKeyDown, key, 0);
      desktop.postMessage(window, kKeyUp, key, 0xC0000000u);
    }
  }
  for (int i = 0; i < 9; ++i) {
    session.pause(20, 20);
    if (activeSheetReadable(object)) return;
  }
}

void bringForward(SheetSession& session, platform::ComObject& application) {
  try {
    const auto window = static_cast<platform::WindowHandle>(Get(application, u"Hwnd").integer);
    if (window != 0 && session.desktop().available()) session.desktop().bringForward(window);
  } catch (const SheetCallFailed&) {
    // Bringing the window forward is a courtesy; the open has succeeded.
  }
}

// Application.Quit, ignoring a failure: used to close an instance this call
// started and cannot hand to the script.
void quitQuietly(platform::ComObject& application) {
  try {
    Call(application, u"Quit");
  } catch (const SheetCallFailed&) {
  }
}

ComObjectPtr applicationOf(platform::ComObject& object) { return GetObject(object, u"Application"); }

int64_t workbookCount(platform::ComObject& application) {
  return Get(*GetObject(application, u"Workbooks"), u"Count").integer;
}

void openWorkbook(platform::ComObject& application, const std::u16string& path,
                  std::span<const std::u16string> options) {
  const ComObjectPtr workbooks = GetObject(application, u"Workbooks");
  std::vector<ComValue> arguments{TextValue(path)};
  if (!options.empty()) {
    for (const std::optional<std::u16string>& parameter : ExcelOpenParameters(options))
      arguments.push_back(parameter ? TextValue(*parameter) : MissingValue());
  }
  Call(*workbooks, u"Open", std::move(arguments));
}

ComObjectPtr createApplication(SheetSession& session) {
  platform::ComFailure failure;
  ComObjectPtr application = session.com().create(kExcelProgId, failure);
  if (!application) throw messages::excelCannotStart();
  return application;
}

// The running instance's workbook whose FullName is path (any case).
ComObjectPtr openWorkbookNamed(platform::ComObject& application, const std::u16string& path) {
  const ComObjectPtr workbooks = GetObject(application, u"Workbooks");
  const int64_t count = Get(*workbooks, u"Count").integer;
  const std::u16string wanted = engine::UpperCase(path);
  for (int64_t i = 1; i <= count; ++i) {
    const ComObjectPtr book = GetObject(*workbooks, u"Item", {IntValue(i)});
    if (engine::UpperCase(TextOf(Get(*book, u"FullName"))) == wanted) return book;
  }
  return nullptr;
}

ScriptValue openNewInstance(SheetSession& session, const OpenRequest& request,
                            std::span<const std::u16string> options) {
  const ComObjectPtr application = createApplication(session);
  try {
    Put(*application, u"Visible", BoolValue(true));
    if (!request.file.empty()) {
      const std::u16string path = session.resolvePath(request.file);
      if (!session.fileExists(path)) {
        // The new instance would stay behind unreachable: close it first.
        quitQuietly(*application);
        throw messages::notFound(path);
      }
      openWorkbook(*application, path, options);
    } else {
      Call(*GetObject(*application, u"Workbooks"), u"Add");
    }
  } catch (const SheetCallFailed&) {
    quitQuietly(*application);
    throw messages::excelCannotStart();
  }
  bringForward(session, *application);
  return objects::ObjectValue(application);
}

ScriptValue openFile(SheetSession& session, const OpenRequest& request, std::span<const std::u16string> options) {
  const std::u16string path = session.resolvePath(request.file);
  if (!session.fileExists(path)) throw messages::notFound(path);
  platform::ComFailure failure;
  ComObjectPtr application = session.com().active(kExcelProgId, failure);
  if (application && !activeSheetReadable(*application)) leaveCellEditMode(session, *application);
  if (!application) application = createApplication(session);
  try {
    Put(*application, u"Visible", BoolValue(true));
    bringForward(session, *application);
    if (const ComObjectPtr book = openWorkbookNamed(*application, path))
      return objects::ObjectValue(request.mode == kModeWorkbook ? book : application);
    openWorkbook(*application, path, options);
    if (request.mode != kModeWorkbook) return objects::ObjectValue(application);
    session.pause(40, 40);
    return objects::ObjectValue(GetObject(*application, u"ActiveWorkbook"));
  } catch (const SheetCallFailed&) {
    throw messages::excelCannotStart();
  }
}

ScriptValue openRunning(SheetSession& session, const OpenRequest& request) {
  platform::ComFailure failure;
  ComObjectPtr application = session.com().active(kExcelProgId, failure);
  try {
    if (application) {
      if (!activeSheetReadable(*application)) {
        leaveCellEditMode(session, *application);
        if (ComObjectPtr again = session.com().active(kExcelProgId, failure)) application = std::move(again);
      }
      Put(*application, u"Visible", BoolValue(true));
    } else {
      application = createApplication(session);
      Put(*application, u"Visible", BoolValue(true));
      Call(*GetObject(*application, u"Workbooks"), u"Add");
    }
    ScriptValue result = objects::ObjectValue(
        request.mode == kModeWorkbook ? GetObject(*application, u"ActiveWorkbook") : application);
    bringForward(session, *application);
    return result;
  } catch (const SheetCallFailed&) {
    throw messages::excelCannotStart();
  }
}

bool hasFileExtension(std::u16string_view path, std::u16string_view extension) {
  const std::u16string upper = engine::UpperCase(path);
  return upper.size() >= extension.size() && upper.substr(upper.size() - extension.size()) == extension;
}

// SaveAs in the format the name's extension asks for (the application's own
// format otherwise), then Close without another save. Close(True, name)
// would not do: it ignores the name for a book that has one already and
// skips saving an unmodified book.
void saveAsAndClose(platform::ComObject& book, const std::u16string& path) {
  std::vector<ComValue> arguments{TextValue(path)};
  if (hasFileExtension(path, u".CSV")) arguments.push_back(IntValue(kWorkbookFormatCsv));
  else if (hasFileExtension(path, u".ODS")) arguments.push_back(IntValue(kWorkbookFormatOds));
  Call(book, u"SaveAs", std::move(arguments));
  Call(book, u"Close", {BoolValue(false)});
}

bool hasSavedFile(SheetSession& session, platform::ComObject& book) {
  const std::u16string fullName = TextOf(Get(book, u"FullName"));
  return !fullName.empty() && session.fileExists(fullName);
}

// Runs f with DisplayAlerts off on the Application, restoring it afterwards.
void withoutAlerts(platform::ComObject& application, const std::function<void()>& f) {
  const ComValue saved = Get(application, u"DisplayAlerts");
  Put(application, u"DisplayAlerts", BoolValue(false));
  try {
    f();
  } catch (...) {
    try {
      Put(application, u"DisplayAlerts", saved);
    } catch (const SheetCallFailed&) {
    }
    throw;
  }
  Put(application, u"DisplayAlerts", saved);
}

void closeWorkbook(SheetSession& session, const ComObjectPtr& book, std::u16string_view saveName, bool keepRunning,
                   bool& quit) {
  const ComObjectPtr application = applicationOf(*book);
  if (saveName == u"1") {
    Call(*book, u"Close", {BoolValue(false)});
  } else if (saveName.empty()) {
    if (!hasSavedFile(session, *book)) return;  // left for the user, as the application would ask
    Call(*book, u"Close", {BoolValue(true)});
  } else {
    const std::u16string path = session.resolvePath(saveName);
    withoutAlerts(*application, [&] { saveAsAndClose(*book, path); });
    if (keepRunning) return;
  }
  if (workbookCount(*application) == 0) {
    Call(*application, u"Quit");
    quit = true;
  }
}

void closeApplication(SheetSession& session, const ComObjectPtr& application, int64_t count,
                      std::u16string_view saveName, bool keepRunning, bool& quit) {
  const ComObjectPtr workbooks = GetObject(*application, u"Workbooks");
  if (saveName == u"1" || saveName.empty()) {
    for (int64_t i = count; i >= 1; --i) {
      const ComObjectPtr book = GetObject(*workbooks, u"Item", {IntValue(i)});
      if (saveName == u"1") Call(*book, u"Close", {BoolValue(false)});
      else if (hasSavedFile(session, *book)) Call(*book, u"Close", {BoolValue(true)});
    }
  } else {
    const std::u16string path = session.resolvePath(saveName);
    withoutAlerts(*application, [&] { saveAsAndClose(*GetObject(*application, u"ActiveWorkbook"), path); });
    if (keepRunning) return;
  }
  Call(*application, u"Quit");
  quit = true;
}

ComObjectPtr sheetOf(platform::ComObject& object, const std::optional<ComValue>& sheet) {
  if (!sheet) return GetObject(object, u"ActiveSheet");
  return GetObject(*GetObject(object, u"Worksheets"), u"Item", {*sheet});
}

// Activates a sheet of the active workbook, or of the object when that fails.
void activateSheet(platform::ComObject& object, const ComValue& sheet) {
  try {
    Call(*GetObject(*GetObject(*GetObject(object, u"ActiveWorkbook"), u"Worksheets"), u"Item", {sheet}), u"Activate");
  } catch (const SheetCallFailed&) {
    Call(*GetObject(*GetObject(object, u"Worksheets"), u"Item", {sheet}), u"Activate");
  }
}

// The address of the active window's selection.
std::u16string selectionAddress(platform::ComObject& object) {
  ComObjectPtr window;
  try {
    window = GetObject(object, u"ActiveWindow");
  } catch (const SheetCallFailed&) {
    window = GetObject(*applicationOf(object), u"ActiveWindow");
  }
  return TextOf(Get(*GetObject(*window, u"RangeSelection"), u"Address"));
}

std::u16string addressFor(platform::ComObject& object, const CellTarget& target) {
  if (target.address) return *target.address;
  if (target.sheet) activateSheet(object, *target.sheet);
  return selectionAddress(object);
}

}  // namespace

ScriptValue ExcelOpen(SheetSession& session, const OpenRequest& request, std::span<const std::u16string> options) {
  if (request.mode == kModeNewExcel) return openNewInstance(session, request, options);
  if (!request.file.empty()) return openFile(session, request, options);
  return openRunning(session, request);
}

bool ExcelClose(SheetSession& session, const ComObjectPtr& object, std::u16string_view saveName, bool keepRunning,
                bool& quit) {
  quit = false;
  try {
    leaveCellEditMode(session, *object);
    std::optional<int64_t> count;
    try {
      count = workbookCount(*object);
    } catch (const SheetCallFailed&) {
      // Only an Application has Workbooks: this is a Workbook.
    }
    if (count) closeApplication(session, object, *count, saveName, keepRunning, quit);
    else closeWorkbook(session, object, saveName, keepRunning, quit);
    return true;
  } catch (const SheetCallFailed&) {
    return false;
  }
}

bool ExcelActivate(SheetSession& session, const ComObjectPtr& object, const engine::BuiltinArgument& sheet,
                   const engine::BuiltinArgument& book) {
  const std::optional<bool> done = withAttempts<bool>(session, [&] {
    leaveCellEditMode(session, *object);
    if (const std::optional<ComValue> bookKey = SheetKey(book); bookKey && !(book.isNumber && book.integer <= 0)) {
      Call(*GetObject(*GetObject(*applicationOf(*object), u"Workbooks"), u"Item", {*bookKey}), u"Activate");
      session.pause(40, 40);
    }
    if (const std::optional<ComValue> sheetKey = SheetKey(sheet); sheetKey && !(sheet.isNumber && sheet.integer <= 0)) {
      activateSheet(*object, *sheetKey);
    } else if (sheet.text.empty() && book.text.empty()) {
      Call(*object, u"Activate");
    }
    return true;
  });
  return done.value_or(false);
}

bool ExcelSheet(SheetSession& session, const ComObjectPtr& object, const engine::BuiltinArgument& name, bool remove) {
  if (name.text.empty()) return false;
  const std::optional<bool> done = withAttempts<bool>(session, [&]() -> bool {
    leaveCellEditMode(session, *object);
    ComObjectPtr book;
    try {
      book = GetObject(*object, u"ActiveWorkbook");
    } catch (const SheetCallFailed&) {
      book = object;
    }
    const ComObjectPtr sheets = GetObject(*book, u"Worksheets");
    const int64_t count = Get(*sheets, u"Count").integer;
    int64_t position = 0;
    const std::u16string wanted = engine::UpperCase(name.text);
    for (int64_t i = 1; i <= count && position == 0; ++i)
      if (engine::UpperCase(TextOf(Get(*GetObject(*sheets, u"Item", {IntValue(i)}), u"Name"))) == wanted) position = i;
    if (remove) {
      if (position == 0) position = name.isNumber ? name.integer : 0;
      if (position < 1 || position > count) return false;
      ComObjectPtr alerts;
      try {
        Get(*object, u"DisplayAlerts");
        alerts = object;
      } catch (const SheetCallFailed&) {
        alerts = applicationOf(*object);
      }
      withoutAlerts(*alerts, [&] { Call(*GetObject(*sheets, u"Item", {IntValue(position)}), u"Delete"); });
      return true;
    }
    if (position != 0) return false;
    const ComObjectPtr last = GetObject(*sheets, u"Item", {IntValue(count)});
    const ComObjectPtr added = ObjectIn(Call(*sheets, u"Add", {}, {NamedArgument{u"After", ObjectValueOf(last)}}));
    Put(*added, u"Name", TextValue(name.text));
    return true;
  });
  return done.value_or(false);
}

std::optional<ScriptValue> ExcelGetData(SheetSession& session, const ComObjectPtr& object, const CellTarget& target) {
  return withAttempts<ScriptValue>(session, [&] {
    leaveCellEditMode(session, *object);
    const std::u16string address = addressFor(*object, target);
    const ComObjectPtr range = GetObject(*sheetOf(*object, target.sheet), u"Range", {TextValue(address)});
    return objects::FromComValue(Get(*range, u"Value"));
  });
}

bool ExcelSetData(SheetSession& session, const ComObjectPtr& object, const CellTarget& target, const SheetData& data,
                  const CellColours& colours) {
  const ComValue value = data.block ? WorkbookArray(*data.block) : objects::ToComArgument(data.single);
  const std::optional<bool> done = withAttempts<bool>(session, [&] {
    leaveCellEditMode(session, *object);
    std::u16string address = addressFor(*object, target);
    if (data.block) {
      const std::optional<std::u16string> widened = ExtendRange(address, data.block->rows, data.block->columns);
      if (!widened) FailInvalidArgument(u"The cell reference is not valid.");
      address = *widened;
    }
    const ComObjectPtr range = GetObject(*sheetOf(*object, target.sheet), u"Range", {TextValue(address)});
    if (colours.text) Put(*GetObject(*range, u"Font"), u"Color", IntValue(*colours.text));
    if (colours.background) Put(*GetObject(*range, u"Interior"), u"Color", IntValue(*colours.background));
    Put(*range, u"Value", value);
    return true;
  });
  return done.value_or(false);
}

}  // namespace maqo::com::spreadsheet
