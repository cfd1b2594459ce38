// The messages of the spreadsheet builtins, in both languages.
#pragma once
#include <string_view>

#include "engine/errors/script_error.h"

namespace maqo::com::spreadsheet::messages {

using engine::cat;

inline engine::ScriptError notFound(std::u16string_view path) {
  return {cat(u"Not Found: ", path), cat(u"Not Found: ", path)};
}
inline engine::ScriptError excelCannotStart() { return {u"EXCEL cannot be started", u"EXCEL cannot be started"}; }
inline engine::ScriptError calcCannotStart() { return {u"OOo Calc cannot be started", u"OOo Calc cannot be started"}; }
// A data call failed after its attempts (the builtin's name first).
inline engine::ScriptError sheetCallFailed(std::u16string_view builtin) {
  return {cat(builtin, u" Error:An exception occurred"), cat(builtin, u" Error:例外が発生しました")};
}
inline engine::Message csvNotSupported() {
  return {u"XLCLOSE: CSV file has not supported", u"XLCLOSE: CSVファイルは未サポートです"};
}

}  // namespace maqo::com::spreadsheet::messages
