#include "com/spreadsheet/spreadsheet_builtins.h"

#include "builtins/array_argument.h"
#include "com/objects/com_messages.h"
#include "com/objects/com_object.h"
#include "com/objects/com_session.h"
#include "com/spreadsheet/calc_branch.h"
#include "com/spreadsheet/excel_branch.h"
#include "com/spreadsheet/sheet_messages.h"

namespace maqo::com::spreadsheet {

using engine::ScriptValue;

namespace {

constexpr int32_t kOpenFailed = -999999;  // ERR_VALUE
constexpr size_t kMaxOptions = 12;

void requireAutomation(std::u16string_view builtin) {
  if (!objects::CurrentComAutomation().available()) throw objects::messages::needsWindows(builtin);
}

ComObjectPtr objectOf(const ScriptValue& value) {
  objects::ComScriptObject* object = objects::ComObjectOf(value);
  return object ? object->shared() : nullptr;
}

// A failed data call: the thread's COM error flag is raised and, unless
// COM_ERR_IGN is in force, the failure is reported.
void reportSheetError(engine::BuiltinHost& host, std::u16string_view builtin) {
  host.raiseComErrorFlag();
  if (!host.comErrorsIgnored()) throw messages::sheetCallFailed(builtin);
}

// The option arguments from position 3 on, up to the first empty one.
std::vector<std::u16string> optionsOf(const engine::BuiltinCall& call) {
  std::vector<std::u16string> options;
  for (int i = 2; i < call.count() && options.size() < kMaxOptions && !call.text(i).empty(); ++i)
    options.push_back(call.text(i));
  return options;
}

// The raw text of argument index as written in the call.
std::u16string_view writtenArgument(const engine::BuiltinCall& call, size_t index) {
  const auto& texts = call.site.argumentTexts;
  return index < texts.size() ? std::u16string_view(texts[index]) : std::u16string_view();
}

// A declared array of one or two dimensions named by text, shaped for a
// sheet; nothing for anything else.
std::optional<SheetArray> declaredArrayForSheet(engine::BuiltinHost& host, std::u16string_view text) {
  if (!builtins::IsPlainReference(text) || text.find(u'[') != std::u16string_view::npos) return std::nullopt;
  const std::optional<builtins::DeclaredVariable> variable = builtins::FindDeclaredVariable(host, text);
  if (!variable) return std::nullopt;
  return builtins::WithSlot(host, variable->slot, variable->global,
                            [](engine::VariableSlot& slot) -> std::optional<SheetArray> {
                              if (slot.dimensions() != 1 && slot.dimensions() != 2) return std::nullopt;
                              return ShapeDeclaredArray(slot.values, slot.upperBounds);
                            });
}

// XLSETDATA's value, taken once: an array variable, or the argument
// evaluated in the caller's frame.
SheetData dataOf(engine::BuiltinCall& call, engine::BuiltinHost& host) {
  const std::u16string& text = call.text(1);
  SheetData data;
  if ((data.block = declaredArrayForSheet(host, text))) return data;
  const bool compiled = call.site.arguments.size() > 1 && call.site.arguments[1] != nullptr &&
                        writtenArgument(call, 1) == text;
  const ScriptValue value = compiled ? host.evaluate(*call.site.arguments[1]) : host.evaluateText(text);
  if (value.isArray()) data.block = ShapeArrayValue(value.arrayRef());
  if (!data.block) data.single = value;
  return data;
}

// Empties the variable XLCLOSE's object came from, when it was written as a
// variable or an array element (any other expression has nowhere to write).
void emptyObjectVariable(engine::BuiltinCall& call, engine::BuiltinHost& host) {
  const std::u16string_view written = writtenArgument(call, 0);
  if (!builtins::IsPlainReference(written)) return;
  const std::u16string_view name = written.substr(0, written.find(u'['));
  if (!builtins::FindDeclaredVariable(host, name)) return;
  builtins::WriteVariable(host, written, ScriptValue());
}

}  // namespace

ScriptValue XlOpen(engine::BuiltinCall& call, engine::BuiltinHost& host) {
  requireAutomation(u"XLOPEN");
  if (host.checkMode()) return ScriptValue::int32(kOpenFailed);
  SheetSession session(host);
  const OpenRequest request = ChooseOpenRequest(call.text(0), call.text(1));
  const std::vector<std::u16string> options = optionsOf(call);
  return request.calc() ? CalcOpen(session, request, options) : ExcelOpen(session, request, options);
}

ScriptValue XlClose(engine::BuiltinCall& call, engine::BuiltinHost& host) {
  requireAutomation(u"XLCLOSE");
  if (host.checkMode()) return ScriptValue::builtinBool(false);
  const ComObjectPtr object = objectOf(call.first);
  if (!object) return ScriptValue::builtinBool(false);
  SheetSession session(host);
  const std::u16string saveName = call.text(1) == u"0" ? std::u16string() : call.text(1);
  if (IsCalcDocument(*object)) return ScriptValue::builtinBool(CalcClose(session, object, saveName));
  bool quit = false;
  const bool closed = ExcelClose(session, object, saveName, call.integer(2) != 0, quit);
  if (quit) emptyObjectVariable(call, host);
  return ScriptValue::builtinBool(closed);
}

ScriptValue XlActivate(engine::BuiltinCall& call, engine::BuiltinHost& host) {
  requireAutomation(u"XLACTIVATE");
  if (host.checkMode()) return ScriptValue::builtinBool(false);
  const ComObjectPtr object = objectOf(call.first);
  if (!object) return ScriptValue::builtinBool(false);
  SheetSession session(host);
  if (IsCalcDocument(*object)) return ScriptValue::builtinBool(CalcActivate(object, call.at(1)));
  return ScriptValue::builtinBool(ExcelActivate(session, object, call.at(1), call.at(2)));
}

ScriptValue XlSheet(engine::BuiltinCall& call, engine::BuiltinHost& host) {
  requireAutomation(u"XLSHEET");
  if (host.checkMode()) return ScriptValue::builtinBool(false);
  const ComObjectPtr object = objectOf(call.first);
  if (!object) return ScriptValue::builtinBool(false);
  SheetSession session(host);
  const bool remove = call.integer(2) != 0;
  if (IsCalcDocument(*object)) return ScriptValue::builtinBool(CalcSheet(session, object, call.text(1), remove));
  return ScriptValue::builtinBool(ExcelSheet(session, object, call.at(1), remove));
}

ScriptValue XlGetData(engine::BuiltinCall& call, engine::BuiltinHost& host) {
  requireAutomation(u"XLGETDATA");
  if (host.checkMode()) return ScriptValue();
  const ComObjectPtr object = objectOf(call.first);
  std::optional<ScriptValue> value;
  if (object) {
    SheetSession session(host);
    const CellTarget target = TargetOf(call, 1);
    if (IsCalcDocument(*object)) {
      try {
        value = CalcGetData(object, target);
      } catch (const SheetCallFailed&) {
      }
    } else {
      value = ExcelGetData(session, object, target);
    }
  }
  if (value) return *value;
  reportSheetError(host, u"XLGETDATA");
  return ScriptValue();
}

ScriptValue XlSetData(engine::BuiltinCall& call, engine::BuiltinHost& host) {
  requireAutomation(u"XLSETDATA");
  if (host.checkMode()) return ScriptValue::builtinBool(false);
  const ComObjectPtr object = objectOf(call.first);
  bool written = false;
  if (object) {
    SheetSession session(host);
    const SheetData data = dataOf(call, host);
    const CellTarget target = TargetOf(call, 2);
    const CellColours colours = ColoursOf(call);
    if (IsCalcDocument(*object)) {
      try {
        CalcSetData(object, target, data, colours);
        written = true;
      } catch (const SheetCallFailed&) {
      }
    } else {
      written = ExcelSetData(session, object, target, data, colours);
    }
  }
  if (!written) reportSheetError(host, u"XLSETDATA");
  return ScriptValue::builtinBool(written);
}

void RegisterSpreadsheetBuiltins(engine::BuiltinLibrary& library) {
  library.implement(u"XLOPEN", XlOpen);
  library.implement(u"XLCLOSE", XlClose);
  library.implement(u"XLACTIVATE", XlActivate);
  library.implement(u"XLSHEET", XlSheet);
  library.implement(u"XLGETDATA", XlGetData);
  library.implement(u"XLSETDATA", XlSetData);
}

}  // namespace maqo::com::spreadsheet
