// What XLOPEN's option arguments ('NAME=value') and file argument become for
// each application: the parameters of the workbook open call, the property
// list of the document load, file names resolved against the current
// directory, and file URLs.
#pragma once
#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <cstdint>

#include "platform/com_automation.h"

namespace maqo::com::spreadsheet {

// The open modes of XLOPEN.
inline constexpr int64_t kModeNewExcel = 1;  // XL_NEW
inline constexpr int64_t kModeWorkbook = 2;  // XL_BOOK
inline constexpr int64_t kModeCalc = 3;      // XL_OOOC

// What XLOPEN's first two arguments ask for. A mode may come first:
// XLOPEN(XL_BOOK, file) is XLOPEN(file, XL_BOOK), and XLOPEN(XL_OOOC, file)
// opens the file in Calc as XLOPEN(file, XL_OOOC) does.
struct OpenRequest {
  std::u16string file;  // trimmed; empty for none
  int64_t mode = 0;
  bool calc() const { return mode == kModeCalc; }
};
OpenRequest ChooseOpenRequest(std::u16string_view first, std::u16string_view second);

// The keywords of the workbook open call's parameters after the file name,
// in the call's order (UpdateLinks, ReadOnly, Format, Password,
// WriteResPassword, IgnoreReadOnlyRecommended, Origin, Delimiter, Editable,
// Notify, Converter, AddToMru).
inline constexpr std::array<std::u16string_view, 12> kOpenKeywords = {
    u"UPDATELINK", u"READONLY", u"FORMAT", u"PASSWORD", u"WRITERES", u"IGNOREREAD",
    u"ORIGIN",     u"DELIMITER", u"EDITABLE", u"NOTIFY", u"CONVERTER", u"ADDTOMRU"};

// One value per parameter: for each keyword, the first option whose trimmed,
// upper-cased text begins with it gives the trimmed text after its first
// "=", without surrounding double quotes; nothing where no option names it.
std::array<std::optional<std::u16string>, 12> ExcelOpenParameters(std::span<const std::u16string> options);

// One load property: 'Name=Value' (or 'Name:=Value'), both parts trimmed;
// the value is a boolean for TRUE/FALSE (any case), an integer or a double
// for a number text, else the text without surrounding double quotes.
struct CalcProperty {
  std::u16string name;
  platform::ComValue value;
};
std::vector<CalcProperty> CalcLoadProperties(std::span<const std::u16string> options);

// A file name as the spreadsheet builtins take it: a bare name goes into the
// current directory, a leading ".\" or "./" stands for it, a leading "..\"
// or "../" for its parent; any other name is kept.
std::u16string ResolveSheetPath(std::u16string_view name, std::u16string_view currentDirectory);

// "file:///" and the path with "\" as "/", every byte outside the characters
// a URL path keeps written as %XX of its UTF-8 form (so "%", "#", spaces and
// other letters reach the application intact).
std::u16string FileUrl(std::u16string_view path);
// True for a text that is a URL already (FILE:/, HTTP:/, FTP:/ in any case).
bool IsUrl(std::u16string_view text);

}  // namespace maqo::com::spreadsheet
