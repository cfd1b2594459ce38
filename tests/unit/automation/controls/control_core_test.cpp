// The platform-neutral core of the control builtins: kind words, class
// categories, item-name normalisation and matching, item paths, reading
// order and the cross-process structure layouts.
#include <gtest/gtest.h>

#include <map>

#include "automation/controls/control_kinds.h"
#include "automation/controls/control_order.h"
#include "automation/controls/item_names.h"
#include "platform/common_control_layouts.h"
#include "platform/text_codec.h"

namespace maqo::automation::controls {
namespace {

TEST(ControlKindsTest, ClickKindsGetTheDefaultWhenOnlyOptionsAreGiven) {
  struct Case {
    uint32_t given, expected;
  } cases[] = {
      {0, 0x80FF},                  // nothing: every kind
      {0x200, 0x82FF},              // CLK_BACK alone
      {0x100 | 0x800, 0x89FF},      // CLK_SHORT | CLK_LEFTCLK
      {0x4000, 0xC0FF},             // CLK_OFTHIS names no kind
      {0x10000, 0x180FF},           // nor CLK_FROMLAST
      {0x2000000, 0x20080FF},       // nor CLK_CONTINUE
      {0x1, 0x1},                   // CLK_BTN stays alone
      {0x8 | 0x200, 0x208},         // CLK_TAB | CLK_BACK
      {0x8000, 0x8000},             // CLK_ACC is a kind
  };
  for (const Case& c : cases) EXPECT_EQ(EffectiveClickKinds(c.given), c.expected) << std::hex << c.given;
}

TEST(ControlKindsTest, ClassCategories) {
  using namespace kind_bits;
  struct Case {
    std::u16string_view className;
    uint32_t kinds;  // every kind bit the class belongs to
  } cases[] = {
      {u"Button", kButton},
      {u" TCheckBox ", kButton},
      {u"ThunderRT6OptionBtn", kButton},
      {u"ComboBox", kList},
      {u"TColorBox", kList},
      {u"ListBox", kList},
      {u"SysTabControl32", kTab},
      {u"TPageControl", kTab},
      {u"SysTreeView32", kTreeView},
      {u"SysListView32", kListView},
      {u"ToolbarWindow32", kToolBar},
      {u"Edit", kEdit},
      {u"RichEdit20W", kEdit},
      {u"SysDateTimePick32", kEdit},
      {u"EdtBx", kEdit},
      {u"_WwG", kEdit},
      {u"_WwGx", 0},
      {u"Static", kStatic},
      {u"msctls_statusbar32", kStatic | kStatusBar},
      {u"MsoUniStat", kStatic},
      {u"msctls_trackbar32", kSlider},
      {u"ScrollBar", kSlider},
      {u"SysHeader32", 0},
  };
  const uint32_t everyKind = kButton | kList | kTab | kTreeView | kListView | kToolBar | kEdit | kStatic | kStatusBar | kSlider;
  for (const Case& c : cases) {
    const std::u16string upper = CategoryClass(c.className);
    uint32_t found = 0;
    for (uint32_t bit = 1; bit != 0 && bit <= kSlider; bit <<= 1)
      if ((everyKind & bit) && ClassInKind(upper, bit)) found |= bit;
    EXPECT_EQ(found, c.kinds) << std::string(c.className.begin(), c.className.end());
    EXPECT_TRUE(ClassInKind(upper, kAnyChild));
  }
  // A combo box inside a listed COMBOBOXEX is not a list of its own.
  EXPECT_FALSE(ClassInKind(u"COMBOBOX", kList, true));
  EXPECT_TRUE(ClassInKind(u"LISTBOX", kList, true));
}

TEST(ItemNamesTest, Normalisation) {
  struct Case {
    std::u16string_view text, expected;
  } cases[] = {
      {u"&OK", u"OK"},
      {u"Save &As...", u"Save As"},
      {u"Open(&O)", u"Open"},
      {u"Open(O)", u"Open"},
      {u"&Open\tCtrl+O", u"Open"},          // the shortcut text goes before trimming
      {u"  Name:  ", u"Name"},
      {u"Extra(&X)", u"Extra"},
      {u"A:", u"A:"},                       // two characters: only trimmed
      {u" &A ", u"&A"},
      {u"(&X)", u""},                       // longer than 3: the mark goes, nothing is left
      {u"x(&X)", u"x"},
      {u"(X)", u"(X)"},                     // 3 characters: not longer than 3, kept
      {u"ab(X)", u"ab"},
      {u"Fish && Chips", u"Fish  Chips"},
      {u"\t&OK", u""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(NormaliseItemName(c.text), c.expected) << std::string(c.text.begin(), c.text.end());
}

std::u16string tableHalfWidth(const std::u16string& text) {
  // The forms LCMapStringW(LCMAP_HALFWIDTH) gives on the platform for these.
  static const std::map<char16_t, std::u16string> table{
      {u'ガ', u"ｶﾞ"}, {u'カ', u"ｶ"}, {u'ス', u"ｽ"}, {u'Ｏ', u"O"}, {u'Ｋ', u"K"}, {u'\u3000', u" "}};
  std::u16string out;
  for (char16_t c : text) {
    auto it = table.find(c);
    out += it == table.end() ? std::u16string(1, c) : it->second;
  }
  return out;
}

TEST(ItemNamesTest, Matching) {
  struct Case {
    std::u16string_view item, name;
    bool partial, normalise, matches;
  } cases[] = {
      {u"&OK", u"ok", false, true, true},
      {u"Save &As...", u"Save As", false, true, true},
      {u"Open(&O)", u"open", false, true, true},
      {u"Open File", u"open", false, true, false},
      {u"Open File", u"open", true, true, true},
      {u"Open File", u"", true, true, false},           // an empty partial name finds nothing
      {u"ＯＫ", u"OK", false, true, true},             // full-width item, half-width name
      {u"ガス", u"ｶﾞｽ", false, true, true},
      {u"A\u3000B", u"A B", false, true, true},
      {u"&Gamma", u"gamma", false, false, false},       // list entries are not normalised
      {u"gamma ", u"GAMMA", false, false, true},        // but trimmed for a full match
  };
  for (const Case& c : cases) {
    const ItemQuery query{PrepareSearchedName(c.name, c.partial), c.partial, c.normalise};
    EXPECT_EQ(ItemMatches(c.item, query, tableHalfWidth), c.matches)
        << utf16ToUtf8(c.item) << " / " << utf16ToUtf8(c.name);
  }
}

TEST(ItemNamesTest, PathSplitting) {
  const ItemPath anchored = SplitItemPath(u"\\Root\\ Child A \\Leaf");
  EXPECT_TRUE(anchored.anchored);
  EXPECT_EQ(anchored.parts, (std::vector<std::u16string>{u"Root", u"Child A", u"Leaf"}));
  const ItemPath plain = SplitItemPath(u"File\\Exit");
  EXPECT_FALSE(plain.anchored);
  EXPECT_EQ(plain.parts, (std::vector<std::u16string>{u"File", u"Exit"}));
  EXPECT_EQ(SplitItemPath(u"Exit").parts.size(), 1u);
  std::u16string deep;
  for (int i = 0; i < 40; ++i) deep += u"x\\";
  EXPECT_EQ(SplitItemPath(deep).parts.size(), 33u);
}

TEST(ControlOrderTest, ReadingOrderPutsOwnScrollBarsLast) {
  auto entry = [](int id, int left, int top, OwnScrollBar bar = OwnScrollBar::None, bool ofParent = false) {
    ControlEntry e;
    e.handle = static_cast<platform::WindowHandle>(id);
    e.rect = {left, top, left + 10, top + 10};
    e.scrollBar = bar;
    e.ofParent = ofParent;
    return e;
  };
  std::vector<ControlEntry> list{entry(1, 0, 0, OwnScrollBar::Vertical, true),
                                 entry(2, 190, 44),
                                 entry(3, 5, 500, OwnScrollBar::Horizontal),
                                 entry(4, 10, 44),
                                 entry(5, 5, 500, OwnScrollBar::Vertical),
                                 entry(6, 900, 10),
                                 entry(7, 100, 44)};
  SortReadingOrder(list);
  std::vector<int> order;
  for (const ControlEntry& e : list) order.push_back(static_cast<int>(e.handle));
  EXPECT_EQ(order, (std::vector<int>{6, 4, 7, 2, 5, 3, 1}));
  EXPECT_EQ(ReadingOrderKey(entry(9, 3, 2)), 20003);
  EXPECT_EQ(ReadingOrderKey(entry(9, 3, 2, OwnScrollBar::Horizontal)), 100020004);
  EXPECT_EQ(ReadingOrderKey(entry(9, 3, 2, OwnScrollBar::Vertical, true)), 200020003);
}

TEST(CommonControlLayoutsTest, OffsetsOfBothBitnesses) {
  namespace l = platform::layouts;
  // {32-bit, 64-bit}: the text pointer, its capacity and the size of each structure.
  struct Case {
    const char* name;
    uint32_t text32, max32, size32, text64, max64, size64;
  } cases[] = {
      {"TCITEMW", l::tcItem(false).text, l::tcItem(false).textMax, l::tcItem(false).size, l::tcItem(true).text,
       l::tcItem(true).textMax, l::tcItem(true).size},
      {"TVITEMW", l::tvItem(false).text, l::tvItem(false).textMax, l::tvItem(false).size, l::tvItem(true).text,
       l::tvItem(true).textMax, l::tvItem(true).size},
      {"LVITEMW", l::lvItem(false).text, l::lvItem(false).textMax, l::lvItem(false).size, l::lvItem(true).text,
       l::lvItem(true).textMax, l::lvItem(true).size},
      {"LVCOLUMNW", l::lvColumn(false).text, l::lvColumn(false).textMax, l::lvColumn(false).size,
       l::lvColumn(true).text, l::lvColumn(true).textMax, l::lvColumn(true).size},
  };
  const uint32_t expected[][6] = {{12, 16, 28, 16, 24, 40}, {16, 20, 40, 24, 32, 56}, {20, 24, 60, 24, 32, 88},
                                  {12, 16, 44, 16, 24, 56}};
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    const uint32_t got[6] = {c.text32, c.max32, c.size32, c.text64, c.max64, c.size64};
    for (int k = 0; k < 6; ++k) EXPECT_EQ(got[k], expected[i][k]) << c.name << " field " << k;
  }
  EXPECT_EQ(l::tvItem(true).item, 8u);
  EXPECT_EQ(l::tvItem(false).children, 32u);
  EXPECT_EQ(l::tvItem(true).children, 44u);
  EXPECT_EQ(l::tbButton(false).string, 16u);
  EXPECT_EQ(l::tbButton(true).data, 16u);
  EXPECT_EQ(l::tbButton(true).string, 24u);
  EXPECT_EQ(l::nmhdr(true).code, 16u);
  EXPECT_EQ(l::nmhdr(false).code, 8u);
  // The notification header and the largest structure fit in the page's plan.
  EXPECT_LE(l::kStructOffset + l::lvItem(true).size, l::kNotifyOffset);
  EXPECT_LE(l::kNotifyOffset + l::nmhdr(true).size, l::kRemoteBufferSize);
}

TEST(CommonControlLayoutsTest, StructImageWritesPointersInTheTargetsWidth) {
  uint8_t bytes[16] = {};
  platform::layouts::StructImage narrow(bytes, false);
  narrow.putPointer(4, 0x1122334455667788ull);
  EXPECT_EQ(narrow.getPointer(4), 0x55667788u);
  EXPECT_EQ(bytes[8], 0);
  platform::layouts::StructImage wide(bytes, true);
  wide.putPointer(8, 0x1122334455667788ull);
  EXPECT_EQ(wide.getPointer(8), 0x1122334455667788ull);
}

}  // namespace
}  // namespace maqo::automation::controls
