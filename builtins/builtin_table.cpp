#include "builtins/builtin_table.h"

#include <array>
#include <string>
#include <unordered_map>

#include "engine/eval/text_helpers.h"

namespace maqo::builtins {

namespace {

using F = BuiltinFamily;

// name, family, minimum arguments, math path, raw positions, non-number rules
// (positions 1, 2, 3 and 4-and-later; see BuiltinEntry).
constexpr std::array<BuiltinEntry, kBuiltinCount> kTable = {{
    {u"INT", F::Math, 1, true, "....", "nnnn"},
    {u"ABS", F::Math, 1, true, "....", "nnnn"},
    {u"ZCUT", F::Math, 1, true, "....", "nnnn"},
    {u"ROUND", F::Math, 1, true, "....", "nnnn"},
    {u"SQRT", F::Math, 1, true, "....", "nnnn"},
    {u"POWER", F::Math, 1, true, "....", "nnnn"},
    {u"SIN", F::Math, 1, true, "....", "nnnn"},
    {u"COS", F::Math, 1, true, "....", "nnnn"},
    {u"TAN", F::Math, 1, true, "....", "nnnn"},
    {u"EXP", F::Math, 1, true, "....", "nnnn"},
    {u"LN", F::Math, 1, true, "....", "nnnn"},
    {u"LOGN", F::Math, 1, true, "....", "nnnn"},
    {u"GETID", F::WindowIds, 1, false, "....", "tttt"},
    {u"EXEC", F::WindowControl, 1, false, "....", "tnnn"},
    {u"MSGBOX", F::Dialogs, 1, false, "....", "tttt"},
    {u"CTRLWIN", F::WindowControl, 2, false, "....", "nnnn"},
    {u"SLEEP", F::TimeSystem, 0, false, "....", "nnnn"},
    {u"SENDSTR", F::ControlItems, 2, false, "....", "ntnn"},
    {u"MMV", F::Input, 2, false, "....", "nnnn"},
    {u"BTN", F::Input, 1, false, "....", "nnnn"},
    {u"KBD", F::Input, 1, false, "....", "nnnn"},
    {u"ACW", F::WindowControl, 1, false, "....", "nttn"},
    {u"FUKIDASI", F::LogWindow, 0, false, "....", "tnnt"},
    {u"CLKITEM", F::ControlItems, 2, false, "....", "ntee"},
    {u"DOSCMD", F::TimeSystem, 1, false, "....", "tttn"},
    {u"SCKEY", F::Input, 2, false, "....", "nttt"},
    {u"SOUND", F::TimeSystem, 0, false, "....", "tnnn"},
    {u"INPUT", F::Dialogs, 0, false, "....", "tttn"},
    {u"COPY", F::Strings, 2, false, "....", "tnnn"},
    {u"LENGTH", F::Strings, 1, false, "r...", "tnnn"},
    {u"POS", F::Strings, 2, false, "....", "ttnn"},
    {u"GETSTR", F::ControlItems, 1, false, "....", "nnnn"},
    {u"CHKNUM", F::Strings, 1, false, "....", "tnnn"},
    {u"SETSLIDER", F::ControlItems, 2, false, "....", "nnnn"},
    {u"STATUS", F::WindowControl, 2, false, "....", "nnnn"},
    {u"GETALLWIN", F::WindowIds, 0, false, "....", "nnnn"},
    {u"GETTIME", F::TimeSystem, 0, false, "....", "ntnn"},
    {u"LOGPRINT", F::LogWindow, 0, false, "....", "nnnn"},
    {u"VAL", F::Strings, 1, false, "....", "ttnn"},
    {u"FOPEN", F::Files, 1, false, "....", "tnnn"},
    {u"FCLOSE", F::Files, 1, false, "....", "nnnn"},
    {u"FGET", F::Files, 2, false, "....", "nntn"},
    {u"FPUT", F::Files, 2, false, "....", "ntnn"},
    {u"SETCLEAR", F::Arrays, 1, false, "r...", "ttnn"},
    {u"FORMAT", F::Strings, 2, false, "....", "ttnn"},
    {u"STOPFORM", F::LogWindow, 0, false, "....", "nnnn"},
    {u"CHGMOJ", F::Strings, 3, false, "....", "tttn"},
    {u"POFF", F::TimeSystem, 1, false, "....", "nnnn"},
    {u"CHKBTN", F::ControlItems, 2, false, "....", "ntnn"},
    {u"SLCTBOX", F::Dialogs, 3, false, "..rr", "nntt"},
    {u"MOUSEORG", F::Input, 0, false, "....", "nnnn"},
    {u"TRIM", F::Strings, 1, false, "....", "tnnn"},
    {u"GETITEM", F::ControlItems, 2, false, "....", "nntt"},
    {u"PEEKCOLOR", F::ScreenImage, 2, false, "....", "nntn"},
    {u"CHKIMG", F::ScreenImage, 0, false, "....", "tttt"},
    {u"SAVEIMG", F::ScreenImage, 0, false, "....", "tttt"},
    {u"KINDOFOS", F::TimeSystem, 0, false, "....", "nnnn"},
    {u"CHR", F::Strings, 1, false, "....", "nnnn"},
    {u"ASC", F::Strings, 1, false, "....", "tnnn"},
    {u"GETKEYSTATE", F::Input, 1, false, "....", "nnnn"},
    {u"RANDOM", F::Math, 0, false, "....", "nnnn"},
    {u"LOCKHARD", F::Input, 0, false, "....", "nnnn"},
    {u"GETDIR", F::Files, 1, false, "....", "tttn"},
    {u"GETOLEITEM", F::Com, 1, false, "r...", "tnnn"},
    {u"MUSCUR", F::Input, 0, false, "....", "nnnn"},
    {u"GETCTLHND", F::ControlItems, 2, false, "....", "ntnn"},
    {u"IDTOHND", F::WindowIds, 1, false, "....", "nnnn"},
    {u"HNDTOID", F::WindowIds, 1, false, "....", "nnnn"},
    {u"TOKEN", F::Strings, 2, false, ".r..", "ttnn"},
    {u"CPUUSERATE", F::TimeSystem, 0, false, "....", "nnnn"},
    {u"RESIZE", F::Arrays, 1, false, "r...", "tnnn"},
    {u"POSACC", F::PointText, 3, false, "....", "nnnn"},
    {u"SPEAK", F::Speech, 0, false, "....", "tnnn"},
    {u"RECOSTATE", F::Speech, 0, false, ".rrr", "nttt"},
    {u"DICTATE", F::Speech, 0, false, "....", "nnnn"},
    {u"BALLOON", F::LogWindow, 0, false, "....", "teet"},
    {u"CREATEFORM", F::HtmlForm, 1, false, "....", "ttnt"},
    {u"GETFORMDATA", F::HtmlForm, 1, false, "....", "ttnn"},
    {u"DELETEFILE", F::Files, 1, false, "....", "tnnn"},
    {u"CREATEOLEOBJ", F::Com, 1, false, "....", "tnnn"},
    {u"GETACTIVEOLEOBJ", F::Com, 1, false, "....", "ttnn"},
    {u"LENGTHB", F::Strings, 1, false, "....", "tnnn"},
    {u"COPYB", F::Strings, 2, false, "....", "tnnn"},
    {u"POSB", F::Strings, 2, false, "....", "ttnn"},
    {u"SENSOR", F::TimeSystem, 1, false, "....", "nnnn"},
    {u"POPUPMENU", F::LogWindow, 1, false, "r...", "tttn"},
    {u"ISUNICODE", F::Strings, 1, false, "....", "tnnn"},
    {u"FDELLINE", F::Files, 2, false, "....", "nnnn"},
    {u"CEIL", F::Math, 1, true, "....", "nnnn"},
    {u"ARCSIN", F::Math, 1, true, "....", "nnnn"},
    {u"ARCCOS", F::Math, 1, true, "....", "nnnn"},
    {u"ARCTAN", F::Math, 1, true, "....", "nnnn"},
    {u"DROPFILE", F::Files, 3, false, "..rr", "nttt"},
    {u"STRCONV", F::Strings, 2, false, "....", "tnnn"},
    {u"IEGETDATA", F::Browser, 2, false, "....", "tttn"},
    {u"IESETDATA", F::Browser, 3, false, "....", "tttt"},
    {u"SETFORMDATA", F::HtmlForm, 2, false, "....", "tttn"},
    {u"IELINK", F::Browser, 1, false, "....", "tttn"},
    {u"ENCODE", F::Strings, 1, false, "....", "tnnn"},
    {u"DECODE", F::Strings, 1, false, "....", "tnnn"},
    {u"OLEEVENT", F::ComEvents, 1, false, "....", "tttt"},
    {u"REPLACE", F::Strings, 3, false, "....", "tttn"},
    {u"ASCB", F::Strings, 1, false, "....", "tnnn"},
    {u"XLGETDATA", F::Spreadsheet, 1, false, "....", "tttt"},
    {u"XLSETDATA", F::Spreadsheet, 2, false, ".r..", "tttt"},
    {u"XLACTIVATE", F::Spreadsheet, 1, false, "....", "tttn"},
    {u"XLSHEET", F::Spreadsheet, 2, false, "....", "ttnn"},
    {u"XLOPEN", F::Spreadsheet, 0, false, "....", "tttt"},
    {u"XLCLOSE", F::Spreadsheet, 1, false, "....", "ttnn"},
    {u"VARTYPE", F::Arrays, 1, false, "....", "tnnn"},
    {u"READINI", F::Files, 2, false, "....", "tttn"},
    {u"WRITEINI", F::Files, 3, false, "....", "tttt"},
    {u"DELETEINI", F::Files, 1, false, "....", "tttn"},
    {u"IEGETSRC", F::Browser, 2, false, "....", "ttnn"},
    {u"BETWEENSTR", F::Strings, 2, false, "....", "tttn"},
    {u"EVAL", F::TimeSystem, 1, false, "....", "tnnn"},
    {u"GETSLCTLST", F::ControlItems, 1, false, "....", "nnnn"},
    {u"CHRB", F::Strings, 1, false, "....", "nnnn"},
    {u"SHIFTARRAY", F::Arrays, 2, false, "r...", "tnnn"},
    {u"CALCARRAY", F::Arrays, 2, false, "r...", "tnnn"},
    {u"SAFEARRAY", F::Arrays, 0, false, "....", "nnnn"},
    {u"POWERSHELL", F::TimeSystem, 1, false, "....", "tnnn"},
    {u"SET8087CW", F::Math, 0, false, "....", "nnnn"},
    {u"SETHOTKEY", F::Input, 1, false, "....", "tttn"},
    {u"GETSLIDER", F::ControlItems, 1, false, "....", "nnnn"},
    {u"SPLIT", F::Arrays, 1, false, "....", "ttnn"},
    {u"JOIN", F::Arrays, 1, false, "r...", "ttnn"},
    {u"SLICE", F::Arrays, 1, false, "r...", "ttnn"},
    {u"QSORT", F::Arrays, 1, false, "r.rr", "tttt"},
    {u"IESETSRC", F::Browser, 3, false, "....", "tttn"},
    {u"MONITOR", F::WindowControl, 0, false, "....", "nnnn"},
    {u"CTRLTRD", F::Threads, 2, false, "....", "nnnn"},
    {u"LOCKHARDEX", F::Input, 0, false, "....", "nnnn"},
    {u"LENGTHS", F::Strings, 1, false, "....", "tnnn"},
}};

const std::unordered_map<std::u16string_view, int>& numbersByName() {
  static const std::unordered_map<std::u16string_view, int> map = [] {
    std::unordered_map<std::u16string_view, int> m;
    for (int i = 0; i < kBuiltinCount; ++i) m.emplace(kTable[static_cast<size_t>(i)].name, i);
    return m;
  }();
  return map;
}

}  // namespace

std::span<const BuiltinEntry> BuiltinTable() { return kTable; }

const BuiltinEntry* FindBuiltin(std::u16string_view name) {
  name = StripGlobalPrefix(engine::TrimView(name));
  const auto& map = numbersByName();
  auto it = map.find(name);
  if (it == map.end()) it = map.find(engine::UpperCase(name));
  return it == map.end() ? nullptr : &kTable[static_cast<size_t>(it->second)];
}

int BuiltinNumber(const BuiltinEntry& entry) { return static_cast<int>(&entry - kTable.data()); }

}  // namespace maqo::builtins
