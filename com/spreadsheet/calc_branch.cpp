#include "com/spreadsheet/calc_branch.h"

#include "com/objects/com_object.h"
#include "com/objects/com_values.h"
#include "com/spreadsheet/cell_reference.h"
#include "com/spreadsheet/sheet_messages.h"
#include "dialogs/application_title.h"
#include "engine/eval/text_helpers.h"

namespace maqo::com::spreadsheet {

using engine::ScriptValue;
using platform::ComValue;
namespace vt = platform::vt;

namespace {

constexpr std::u16string_view kServiceManager = u"com.sun.star.ServiceManager";

// A cell block by zero-based positions.
struct CellBlock {
  int64_t startColumn = 0, startRow = 0, endColumn = 0, endRow = 0;
  int64_t rows() const { return endRow - startRow + 1; }
  int64_t columns() const { return endColumn - startColumn + 1; }
};

[[noreturn]] void badReference() { FailInvalidArgument(u"The cell reference is not valid."); }

// A reference as a zero-based cell; row 0 or column 0 names no cell.
std::pair<int64_t, int64_t> zeroBasedCell(std::u16string_view reference) {
  const std::optional<CellPosition> cell = ParseCellReference(reference);
  if (!cell || cell->row <= 0 || cell->column <= 0) badReference();
  return {cell->column - 1, cell->row - 1};
}

// The start and (when the address has ":") the end of an address.
CellBlock blockOf(std::u16string_view address, bool& hasEnd) {
  const std::u16string upper = engine::UpperCase(address);
  const size_t colon = upper.find(u':');
  hasEnd = colon != std::u16string::npos;
  CellBlock block;
  std::tie(block.startColumn, block.startRow) = zeroBasedCell(std::u16string_view(upper).substr(0, colon));
  if (hasEnd) std::tie(block.endColumn, block.endRow) = zeroBasedCell(std::u16string_view(upper).substr(colon + 1));
  else std::tie(block.endColumn, block.endRow) = std::pair{block.startColumn, block.startRow};
  return block;
}

ComObjectPtr createDesktop(SheetSession& session, ComObjectPtr& serviceManager) {
  platform::ComFailure failure;
  serviceManager = session.com().create(kServiceManager, failure);
  if (!serviceManager) throw SheetCallFailed(failure);
  return ObjectIn(Call(*serviceManager, u"createInstance", {TextValue(u"com.sun.star.frame.Desktop")}));
}

ComValue propertyArray(platform::ComObject& serviceManager, const std::vector<CalcProperty>& properties) {
  ComValue array;
  array.type = vt::kArray | vt::kVariant;
  array.bounds = {{0, static_cast<int32_t>(properties.size()) - 1}};
  for (const CalcProperty& property : properties) {
    const ComObjectPtr reflection =
        ObjectIn(Call(serviceManager, u"createInstance", {TextValue(u"com.sun.star.reflection.CoreReflection")}));
    const ComObjectPtr type = ObjectIn(Call(*reflection, u"forName", {TextValue(u"com.sun.star.beans.PropertyValue")}));
    std::vector<ComValue> out{ComValue{}};
    CallByReference(*type, u"createObject", out);
    const ComObjectPtr value = ObjectIn(out[0]);
    Put(*value, u"Name", TextValue(property.name));
    Put(*value, u"Value", property.value);
    array.elements.push_back(ObjectValueOf(value));
  }
  return array;
}

std::u16string urlOf(SheetSession& session, std::u16string_view name) {
  if (IsUrl(name)) return std::u16string(name);
  return FileUrl(session.resolvePath(name));
}

// Closes the office when its last window has gone, as a user closing the
// last document would.
void terminateCalcIfIdle(SheetSession& session) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    session.pause(attempt == 0 ? 20 : 80, attempt == 0 ? 20 : 40);
    try {
      ComObjectPtr serviceManager;
      const ComObjectPtr desktop = createDesktop(session, serviceManager);
      if (Get(*GetObject(*desktop, u"Frames"), u"Count").integer == 0) Call(*desktop, u"Terminate");
      return;
    } catch (const SheetCallFailed&) {
    }
  }
}

ComObjectPtr sheetByKey(platform::ComObject& document, const ComValue& key) {
  const ComObjectPtr sheets = ObjectIn(Call(document, u"getSheets"));
  if (key.type == vt::kBstr) return ObjectIn(Call(*sheets, u"getByName", {key}));
  return ObjectIn(Call(*sheets, u"getByIndex", {IntValue(key.integer - 1)}));
}

void activate(platform::ComObject& document, const ComObjectPtr& sheet) {
  Put(*GetObject(document, u"CurrentController"), u"ActiveSheet", ObjectValueOf(sheet));
}

ComObjectPtr targetSheet(platform::ComObject& document, const CellTarget& target) {
  if (target.sheet) return sheetByKey(document, *target.sheet);
  return GetObject(*GetObject(document, u"CurrentController"), u"ActiveSheet");
}

// The selection's block, after activating the named sheet.
CellBlock selectionBlock(platform::ComObject& document, const CellTarget& target) {
  if (target.sheet) activate(document, sheetByKey(document, *target.sheet));
  const ComObjectPtr address = ObjectIn(Call(*GetObject(document, u"CurrentSelection"), u"getRangeAddress"));
  return CellBlock{Get(*address, u"StartColumn").integer, Get(*address, u"StartRow").integer,
                   Get(*address, u"EndColumn").integer, Get(*address, u"EndRow").integer};
}

ComObjectPtr rangeOf(platform::ComObject& sheet, const CellBlock& block) {
  return ObjectIn(Call(sheet, u"getCellRangeByPosition",
                       {IntValue(block.startColumn), IntValue(block.startRow), IntValue(block.endColumn),
                        IntValue(block.endRow)}));
}

}  // namespace

int64_t SwapRedAndBlue(int64_t colour) {
  return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

bool IsCalcDocument(platform::ComObject& object) {
  try {
    Get(object, u"CurrentController");
    return true;
  } catch (const SheetCallFailed&) {
    return false;
  }
}

ScriptValue CalcOpen(SheetSession& session, const OpenRequest& request, std::span<const std::u16string> options) {
  std::u16string url;
  if (request.file.empty()) {
    url = u"private:factory/scalc";
  } else if (IsUrl(request.file)) {
    url = request.file;
  } else {
    const std::u16string path = session.resolvePath(request.file);
    if (!session.fileExists(path)) throw messages::notFound(path);
    url = FileUrl(path);
  }
  try {
    ComObjectPtr serviceManager;
    const ComObjectPtr desktop = createDesktop(session, serviceManager);
    const ComValue properties = propertyArray(*serviceManager, CalcLoadProperties(options));
    return objects::ObjectValue(ObjectIn(Call(*desktop, u"loadComponentFromURL",
                                              {TextValue(url), TextValue(u"_default"), IntValue(0), properties})));
  } catch (const SheetCallFailed&) {
    throw messages::calcCannotStart();
  }
}

bool CalcClose(SheetSession& session, const ComObjectPtr& document, std::u16string_view saveName) {
  try {
    if (saveName == u"1") {
      // Closed without saving.
    } else if (!saveName.empty()) {
      const std::u16string upper = engine::UpperCase(saveName);
      const size_t dot = upper.find_last_of(u'.');
      const size_t separator = upper.find_last_of(u"\\/");
      const std::u16string extension =
          dot != std::u16string::npos && (separator == std::u16string::npos || dot > separator) ? upper.substr(dot)
                                                                                                 : std::u16string();
      if (extension == u".CSV") {
        const engine::Message m = messages::csvNotSupported();
        session.host().platform().ui.messageBox(m.in(session.japanese()), dialogs::kApplicationTitle);
        return false;
      }
      std::u16string url = urlOf(session, saveName);
      std::vector<CalcProperty> properties{{u"Overwrite", BoolValue(true)}};
      if (extension == u".XLS") properties.push_back({u"FilterName", TextValue(u"MS Excel 97")});
      if (extension.empty()) url += u".ods";
      ComObjectPtr serviceManager;
      createDesktop(session, serviceManager);
      // Stored whether or not the document was changed: the script asked for
      // this file to exist.
      Call(*document, u"storeAsURL", {TextValue(url), propertyArray(*serviceManager, properties)});
      session.pause(500, 50);
    } else if (IsTrueValue(Call(*document, u"isModified"))) {
      try {
        if (IsTrueValue(Call(*document, u"hasLocation"))) Call(*document, u"store");
      } catch (const SheetCallFailed&) {
        // A document that cannot be stored where it came from is closed as it is.
      }
    }
    Call(*document, u"dispose");
  } catch (const SheetCallFailed&) {
    return false;
  }
  terminateCalcIfIdle(session);
  return true;
}

bool CalcActivate(const ComObjectPtr& document, const engine::BuiltinArgument& sheet) {
  try {
    if (sheet.isNumber && sheet.integer > 0) activate(*document, sheetByKey(*document, IntValue(sheet.integer)));
    else if (!sheet.text.empty()) activate(*document, sheetByKey(*document, TextValue(sheet.text)));
    return true;
  } catch (const SheetCallFailed&) {
    return false;
  }
}

bool CalcSheet(SheetSession& session, const ComObjectPtr& document, std::u16string_view name, bool remove) {
  if (name.empty()) return false;
  try {
    const ComObjectPtr sheets = ObjectIn(Call(*document, u"getSheets"));
    const bool exists = IsTrueValue(Call(*sheets, u"hasByName", {TextValue(name)}));
    if (remove) {
      if (!exists) return false;
      Call(*sheets, u"removeByName", {TextValue(name)});
      return true;
    }
    if (exists) return false;
    Call(*sheets, u"insertNewByName", {TextValue(name), IntValue(9999)});
    session.pause(20, 20);
    activate(*document, ObjectIn(Call(*sheets, u"getByName", {TextValue(name)})));
    return true;
  } catch (const SheetCallFailed&) {
    return false;
  }
}

ScriptValue CalcGetData(const ComObjectPtr& document, const CellTarget& target) {
  bool hasEnd = false;
  const CellBlock block = target.address ? blockOf(*target.address, hasEnd) : selectionBlock(*document, target);
  const ComValue rows = Call(*rangeOf(*targetSheet(*document, target), block), u"getDataArray");
  std::optional<ScriptValue> value = FromDocumentRows(rows);
  if (!value) badReference();
  return *value;
}

void CalcSetData(const ComObjectPtr& document, const CellTarget& target, const SheetData& data,
                 const CellColours& colours) {
  bool hasEnd = false;
  CellBlock block = target.address ? blockOf(*target.address, hasEnd) : selectionBlock(*document, target);
  SheetArray cells;
  if (data.block) {
    cells = *data.block;
  } else {
    cells.rows = cells.columns = 1;
    cells.cells = {data.single};
  }
  // A given range decides the size (the array is cut or padded to it);
  // otherwise the array does.
  const int64_t rows = data.block && hasEnd ? block.rows() : cells.rows;
  const int64_t columns = data.block && hasEnd ? block.columns() : cells.columns;
  block.endRow = block.startRow + rows - 1;
  block.endColumn = block.startColumn + columns - 1;
  const ComObjectPtr range = rangeOf(*targetSheet(*document, target), block);
  if (colours.text) Put(*range, u"CharColor", IntValue(SwapRedAndBlue(*colours.text)));
  if (colours.background) Put(*range, u"CellBackColor", IntValue(SwapRedAndBlue(*colours.background)));
  const ComValue array = DocumentArray(cells, rows, columns);
  const bool formula = !data.block && data.single.isString() && !data.single.stringRef().empty() &&
                       data.single.stringRef()[0] == u'=';
  if (formula) {
    try {
      Call(*range, u"setFormulaArray", {array});
      return;
    } catch (const SheetCallFailed&) {
      // Not taken as a formula: written as data below.
    }
  }
  Call(*range, u"setDataArray", {array});
}

}  // namespace maqo::com::spreadsheet
