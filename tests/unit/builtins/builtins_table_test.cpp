// The builtin table against the reference lists of the language: names and
// their order, families and minimum argument counts, the math group, raw-text
// positions and the positions that accept non-numeric text. The lists below
// are the reference texts as written, so a slip in the table shows up here.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "builtins/builtin_table.h"
#include "builtins/dispatch.h"
#include "tests/unit/test_library.h"
#include "platform/text_codec.h"

namespace maqo::builtins {
namespace {

std::vector<std::u16string> splitNames(std::u16string_view list) {
  std::vector<std::u16string> names;
  std::u16string current;
  for (char16_t c : list) {
    if (c == u',') {
      names.push_back(current);
      current.clear();
    } else if (c != u' ' && c != u'.') {
      current += c;
    }
  }
  if (!current.empty()) names.push_back(current);
  return names;
}

// "COPY (2), LENGTH (1), ..." as name -> count.
std::vector<std::pair<std::u16string, int>> splitCounted(std::u16string_view list) {
  std::vector<std::pair<std::u16string, int>> out;
  for (const std::u16string& item : splitNames(list)) {
    const size_t open = item.find(u'(');
    out.emplace_back(item.substr(0, open), item[open + 1] - u'0');
  }
  return out;
}

struct FamilyRow {
  BuiltinFamily family;
  std::u16string_view builtins;
};

const FamilyRow kFamilies[] = {
    {BuiltinFamily::Strings, u"COPY (2), LENGTH (1), POS (2), CHKNUM (1), VAL (1), FORMAT (2), CHGMOJ (3), TRIM (1), CHR (1), ASC (1), TOKEN (2), LENGTHB (1), COPYB (2), POSB (2), ISUNICODE (1), STRCONV (2), ENCODE (1), DECODE (1), REPLACE (3), ASCB (1), BETWEENSTR (2), CHRB (1), LENGTHS (1)"},
    {BuiltinFamily::Arrays, u"SETCLEAR (1), RESIZE (1), SHIFTARRAY (2), CALCARRAY (2), SAFEARRAY (0), SPLIT (1), JOIN (1), SLICE (1), QSORT (1), VARTYPE (1)"},
    {BuiltinFamily::Files, u"FOPEN (1), FCLOSE (1), FGET (2), FPUT (2), FDELLINE (2), DELETEFILE (1), GETDIR (1), DROPFILE (3), READINI (2), WRITEINI (3), DELETEINI (1)"},
    {BuiltinFamily::Math, u"INT (1), ABS (1), ZCUT (1), ROUND (1), SQRT (1), POWER (1), SIN (1), COS (1), TAN (1), EXP (1), LN (1), LOGN (1), CEIL (1), ARCSIN (1), ARCCOS (1), ARCTAN (1), RANDOM (0), SET8087CW (0)"},
    {BuiltinFamily::TimeSystem, u"SLEEP (0), GETTIME (0), DOSCMD (1), POWERSHELL (1), POFF (1), KINDOFOS (0), CPUUSERATE (0), SOUND (0), EVAL (1), SENSOR (1)"},
    {BuiltinFamily::Threads, u"CTRLTRD (2)"},
    {BuiltinFamily::WindowIds, u"GETID (1), GETALLWIN (0), IDTOHND (1), HNDTOID (1)"},
    {BuiltinFamily::WindowControl, u"CTRLWIN (2), ACW (1), STATUS (2), MONITOR (0), EXEC (1)"},
    {BuiltinFamily::Input, u"MMV (2), BTN (1), KBD (1), SCKEY (2), MOUSEORG (0), LOCKHARD (0), LOCKHARDEX (0), GETKEYSTATE (1), MUSCUR (0), SETHOTKEY (1)"},
    {BuiltinFamily::ControlItems, u"SENDSTR (2), CLKITEM (2), GETSTR (1), CHKBTN (2), GETITEM (2), SETSLIDER (2), GETSLIDER (1), GETSLCTLST (1), GETCTLHND (2)"},
    {BuiltinFamily::ScreenImage, u"PEEKCOLOR (2), CHKIMG (0), SAVEIMG (0)"},
    {BuiltinFamily::PointText, u"POSACC (3)"},
    {BuiltinFamily::Dialogs, u"MSGBOX (1), INPUT (0), SLCTBOX (3)"},
    {BuiltinFamily::LogWindow, u"FUKIDASI (0), BALLOON (0), STOPFORM (0), LOGPRINT (0), POPUPMENU (1)"},
    {BuiltinFamily::HtmlForm, u"CREATEFORM (1), GETFORMDATA (1), SETFORMDATA (2)"},
    {BuiltinFamily::Com, u"GETOLEITEM (1), CREATEOLEOBJ (1), GETACTIVEOLEOBJ (1)"},
    {BuiltinFamily::ComEvents, u"OLEEVENT (1)"},
    {BuiltinFamily::Browser, u"IEGETDATA (2), IESETDATA (3), IELINK (1), IEGETSRC (2), IESETSRC (3)"},
    {BuiltinFamily::Spreadsheet, u"XLGETDATA (1), XLSETDATA (2), XLACTIVATE (1), XLSHEET (2), XLOPEN (0), XLCLOSE (1)"},
    {BuiltinFamily::Speech, u"SPEAK (0), RECOSTATE (0), DICTATE (0)"},
};

constexpr std::u16string_view kOrder =
    u"INT, ABS, ZCUT, ROUND, SQRT, POWER, SIN, COS, TAN, EXP, LN, LOGN, GETID, EXEC, MSGBOX, CTRLWIN, SLEEP, SENDSTR, MMV, BTN, KBD, ACW, FUKIDASI, CLKITEM, DOSCMD, SCKEY, SOUND, INPUT, COPY, LENGTH, POS, GETSTR, CHKNUM, SETSLIDER, STATUS, GETALLWIN, GETTIME, LOGPRINT, VAL, FOPEN, FCLOSE, FGET, FPUT, SETCLEAR, FORMAT, STOPFORM, CHGMOJ, POFF, CHKBTN, SLCTBOX, MOUSEORG, TRIM, GETITEM, PEEKCOLOR, CHKIMG, SAVEIMG, KINDOFOS, CHR, ASC, GETKEYSTATE, RANDOM, LOCKHARD, GETDIR, GETOLEITEM, MUSCUR, GETCTLHND, IDTOHND, HNDTOID, TOKEN, CPUUSERATE, RESIZE, POSACC, SPEAK, RECOSTATE, DICTATE, BALLOON, CREATEFORM, GETFORMDATA, DELETEFILE, CREATEOLEOBJ, GETACTIVEOLEOBJ, LENGTHB, COPYB, POSB, SENSOR, POPUPMENU, ISUNICODE, FDELLINE, CEIL, ARCSIN, ARCCOS, ARCTAN, DROPFILE, STRCONV, IEGETDATA, IESETDATA, SETFORMDATA, IELINK, ENCODE, DECODE, OLEEVENT, REPLACE, ASCB, XLGETDATA, XLSETDATA, XLACTIVATE, XLSHEET, XLOPEN, XLCLOSE, VARTYPE, READINI, WRITEINI, DELETEINI, IEGETSRC, BETWEENSTR, EVAL, GETSLCTLST, CHRB, SHIFTARRAY, CALCARRAY, SAFEARRAY, POWERSHELL, SET8087CW, SETHOTKEY, GETSLIDER, SPLIT, JOIN, SLICE, QSORT, IESETSRC, MONITOR, CTRLTRD, LOCKHARDEX, LENGTHS.";

constexpr std::u16string_view kMathGroup =
    u"INT, ABS, ZCUT, ROUND, SQRT, POWER, SIN, COS, TAN, EXP, LN, LOGN, CEIL, ARCSIN, ARCCOS, ARCTAN";

// Raw-text positions.
constexpr std::u16string_view kRawFirst =
    u"SETCLEAR, GETOLEITEM, RESIZE, POPUPMENU, LENGTH, SHIFTARRAY, CALCARRAY, JOIN, SLICE and QSORT";
constexpr std::u16string_view kRawSecond = u"TOKEN and XLSETDATA";
constexpr std::u16string_view kRawSecondOn = u"RECOSTATE";
constexpr std::u16string_view kRawThirdOn = u"SLCTBOX, DROPFILE and QSORT";

// Positions that accept any text, and those that accept only the empty text.
constexpr std::u16string_view kTextFirst =
    u"GETID, EXEC, MSGBOX, FUKIDASI, DOSCMD, SOUND, INPUT, COPY, LENGTH, POS, CHKNUM, VAL, FOPEN, SETCLEAR, FORMAT, CHGMOJ, TRIM, CHKIMG, SAVEIMG, ASC, GETDIR, GETOLEITEM, TOKEN, RESIZE, SPEAK, BALLOON, CREATEFORM, GETFORMDATA, DELETEFILE, CREATEOLEOBJ, GETACTIVEOLEOBJ, LENGTHB, COPYB, POSB, POPUPMENU, ISUNICODE, STRCONV, IEGETDATA, IESETDATA, SETFORMDATA, IELINK, ENCODE, DECODE, OLEEVENT, REPLACE, ASCB, XLGETDATA, XLSETDATA, XLACTIVATE, XLSHEET, XLOPEN, XLCLOSE, VARTYPE, READINI, WRITEINI, DELETEINI, IEGETSRC, BETWEENSTR, EVAL, SHIFTARRAY, CALCARRAY, POWERSHELL, SETHOTKEY, SPLIT, JOIN, SLICE, QSORT, IESETSRC, LENGTHS";
constexpr std::u16string_view kTextSecond =
    u"GETID, MSGBOX, SENDSTR, ACW, CLKITEM, DOSCMD, SCKEY, INPUT, POS, GETTIME, VAL, FPUT, SETCLEAR, FORMAT, CHGMOJ, CHKBTN, CHKIMG, SAVEIMG, GETDIR, GETCTLHND, TOKEN, RECOSTATE, CREATEFORM, GETFORMDATA, GETACTIVEOLEOBJ, POSB, POPUPMENU, DROPFILE, IEGETDATA, IESETDATA, SETFORMDATA, IELINK, OLEEVENT, REPLACE, XLGETDATA, XLSETDATA, XLACTIVATE, XLSHEET, XLOPEN, XLCLOSE, READINI, WRITEINI, DELETEINI, IEGETSRC, BETWEENSTR, SETHOTKEY, SPLIT, JOIN, SLICE, QSORT, IESETSRC";
constexpr std::u16string_view kEmptySecond = u"BALLOON";
constexpr std::u16string_view kTextThird =
    u"GETID, MSGBOX, ACW, DOSCMD, SCKEY, INPUT, FGET, CHGMOJ, SLCTBOX, GETITEM, PEEKCOLOR, CHKIMG, SAVEIMG, GETDIR, RECOSTATE, POPUPMENU, DROPFILE, IEGETDATA, IESETDATA, SETFORMDATA, IELINK, OLEEVENT, REPLACE, XLGETDATA, XLSETDATA, XLACTIVATE, XLOPEN, READINI, WRITEINI, DELETEINI, BETWEENSTR, SETHOTKEY, QSORT, IESETSRC";
constexpr std::u16string_view kEmptyThird = u"CLKITEM, BALLOON";
constexpr std::u16string_view kTextFourthOn =
    u"GETID, MSGBOX, FUKIDASI, SCKEY, SLCTBOX, GETITEM, CHKIMG, SAVEIMG, RECOSTATE, BALLOON, CREATEFORM, DROPFILE, IESETDATA, OLEEVENT, XLGETDATA, XLSETDATA, XLOPEN, WRITEINI, QSORT";
constexpr std::u16string_view kEmptyFourthOn = u"CLKITEM";

std::set<std::u16string> nameSet(std::u16string_view list) {
  std::set<std::u16string> names;
  for (std::u16string n : splitNames(list)) {
    if (n.starts_with(u"and")) n = n.substr(3);
    const size_t and_ = n.find(u"and");
    if (and_ != std::u16string::npos) {
      names.insert(n.substr(0, and_));
      names.insert(n.substr(and_ + 3));
    } else {
      names.insert(n);
    }
  }
  return names;
}

std::string u8(std::u16string_view s) { return utf16ToUtf8(s); }

TEST(BuiltinTable, NamesAreInTheirFixedOrder) {
  const auto order = splitNames(kOrder);
  const auto table = BuiltinTable();
  ASSERT_EQ(order.size(), 134u);
  ASSERT_EQ(table.size(), order.size());
  for (size_t i = 0; i < order.size(); ++i) {
    EXPECT_EQ(u8(table[i].name), u8(order[i])) << "position " << i;
    EXPECT_EQ(BuiltinNumber(table[i]), static_cast<int>(i));
  }
}

TEST(BuiltinTable, FamiliesAndMinimumArgumentCounts) {
  std::set<std::u16string> seen;
  for (const FamilyRow& row : kFamilies) {
    for (const auto& [name, minimum] : splitCounted(row.builtins)) {
      const BuiltinEntry* entry = FindBuiltin(name);
      ASSERT_NE(entry, nullptr) << u8(name);
      EXPECT_EQ(entry->minArguments, minimum) << u8(name);
      EXPECT_EQ(entry->family, row.family) << u8(name);
      EXPECT_TRUE(seen.insert(name).second) << u8(name) << " listed twice";
    }
  }
  EXPECT_EQ(seen.size(), 134u);
}

TEST(BuiltinTable, MathGroupTakesTheMathPath) {
  const std::set<std::u16string> math = nameSet(kMathGroup);
  ASSERT_EQ(math.size(), 16u);
  for (const BuiltinEntry& entry : BuiltinTable())
    EXPECT_EQ(entry.mathPath, math.count(std::u16string(entry.name)) == 1) << u8(entry.name);
}

TEST(BuiltinTable, RawTextPositions) {
  const auto first = nameSet(kRawFirst), second = nameSet(kRawSecond), secondOn = nameSet(kRawSecondOn),
             thirdOn = nameSet(kRawThirdOn);
  for (const BuiltinEntry& entry : BuiltinTable()) {
    const std::u16string name(entry.name);
    for (int position = 1; position <= 8; ++position) {
      const bool expected = (position == 1 && first.count(name)) || (position == 2 && second.count(name)) ||
                            (position >= 2 && secondOn.count(name)) || (position >= 3 && thirdOn.count(name));
      EXPECT_EQ(IsRawPosition(entry, position), expected) << u8(name) << " argument " << position;
    }
  }
}

TEST(BuiltinTable, NonNumericRules) {
  const std::set<std::u16string> text[4] = {nameSet(kTextFirst), nameSet(kTextSecond), nameSet(kTextThird),
                                            nameSet(kTextFourthOn)};
  const std::set<std::u16string> empty[4] = {{}, nameSet(kEmptySecond), nameSet(kEmptyThird), nameSet(kEmptyFourthOn)};
  for (const BuiltinEntry& entry : BuiltinTable()) {
    const std::u16string name(entry.name);
    for (int position = 1; position <= 8; ++position) {
      const int slot = position >= 4 ? 3 : position - 1;
      const TextRule expected = text[slot].count(name)    ? TextRule::AnyText
                                : empty[slot].count(name) ? TextRule::EmptyText
                                                          : TextRule::NumberOnly;
      EXPECT_EQ(TextRuleAt(entry, position), expected) << u8(name) << " argument " << position;
    }
  }
}

TEST(BuiltinTable, LookupIgnoresCaseAndTheGlobalPrefix) {
  for (std::u16string_view name : {u"LENGTH", u"length", u"GLOBAL.LENGTH", u"global.Length", u" LENGTH "}) {
    const BuiltinEntry* entry = FindBuiltin(name);
    ASSERT_NE(entry, nullptr) << u8(name);
    EXPECT_EQ(entry->name, u"LENGTH");
    const BuiltinEntry* registered = tests::TestLibrary().find(name);
    ASSERT_NE(registered, nullptr) << u8(name);
    EXPECT_EQ(registered->name, u"LENGTH");
    // One entry per builtin: every spelling finds the same one.
    EXPECT_EQ(registered, tests::TestLibrary().find(u"LENGTH"));
  }
  for (std::u16string_view name : {u"LENGTHX", u"GLOBAL.", u"", u"M.LENGTH", u"GLOBALLENGTH"}) {
    EXPECT_EQ(FindBuiltin(name), nullptr) << u8(name);
    EXPECT_EQ(tests::TestLibrary().find(name), nullptr) << u8(name);
  }
}

TEST(BuiltinTable, OnlySckeyReadsOneCharacterAsVirtualKey) {
  for (const BuiltinEntry& entry : BuiltinTable())
    for (int position = 1; position <= 4; ++position)
      EXPECT_EQ(ReadsOneCharacterAsVirtualKey(entry, position), entry.name == u"SCKEY" && position >= 2)
          << u8(entry.name) << " " << position;
}

TEST(BuiltinTable, ImplementedFamiliesHaveAFunctionForEveryBuiltin) {
  ASSERT_EQ(tests::TestLibrary().entries().size(), BuiltinTable().size());
  for (const BuiltinEntry& entry : BuiltinTable()) {
    const BuiltinEntry* impl = tests::TestLibrary().find(entry.name);
    ASSERT_NE(impl, nullptr) << u8(entry.name);
    EXPECT_NE(impl->dispatch, nullptr) << u8(entry.name);
    const bool implemented = entry.family == BuiltinFamily::Math || entry.family == BuiltinFamily::TimeSystem ||
                             entry.family == BuiltinFamily::Strings || entry.family == BuiltinFamily::Arrays ||
                             entry.family == BuiltinFamily::Files || entry.family == BuiltinFamily::Threads ||
                             entry.family == BuiltinFamily::WindowIds;
    if (!implemented) continue;
    if (entry.mathPath)
      EXPECT_NE(impl->math, nullptr) << u8(entry.name);
    else
      EXPECT_NE(impl->function, nullptr) << u8(entry.name);
  }
}

}  // namespace
}  // namespace maqo::builtins
