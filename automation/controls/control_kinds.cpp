#include "automation/controls/control_kinds.h"

#include "automation/windows/window_finder.h"

namespace maqo::automation::controls {

namespace {

bool contains(const std::u16string& text, std::u16string_view part) { return text.find(part) != std::u16string::npos; }

}  // namespace

uint32_t EffectiveClickKinds(uint32_t kinds) {
  using namespace kind_bits;
  const uint32_t notKinds = kOptionMask | kOfThis | kFromLast | kContinue;
  if ((kinds & ~notKinds) == 0) kinds |= kDefaultKinds;
  return kinds;
}

bool KindsAdmitDisabled(uint32_t kinds) {
  using namespace kind_bits;
  return (kinds & (kAccessibility | kAnyChild | kAdmitDisabled | kQuery)) != 0;
}

std::u16string CategoryClass(std::u16string_view className) { return AsciiUpper(TrimControl(className)); }

bool ClassInKind(const std::u16string& c, uint32_t kindBit, bool comboInComboEx) {
  using namespace kind_bits;
  switch (kindBit) {
    case kButton:
      return contains(c, u"BUTTON") || contains(c, u"BTN") || contains(c, u"CHECKBOX") || contains(c, u"3STATE");
    case kList:
      if (contains(c, u"COMBOBOX") && !comboInComboEx) return true;
      return contains(c, u"COLORBOX") || contains(c, u"LISTBOX");
    case kTab: return contains(c, u"TABCONTROL") || contains(c, u"PAGECONTROL");
    case kTreeView: return contains(c, u"TREEVIEW");
    case kListView: return contains(c, u"LISTVIEW");
    case kToolBar: return contains(c, u"TOOLBAR");
    case kEdit:
      return contains(c, u"EDIT") || contains(c, u"DATETIMEPICK") || contains(c, u"HM32CLIENT") || c == u"EDTBX" ||
             (c.size() == 4 && c.starts_with(u"_WW"));
    case kStatic: return contains(c, u"STATIC") || contains(c, u"STATUS") || contains(c, u"MSOUNISTAT");
    case kStatusBar: return contains(c, u"STATUSBAR");
    case kSlider: return contains(c, u"TRACKBAR") || contains(c, u"SCROLL");
    case kAnyChild: return true;
    default: return false;
  }
}

bool ClassInKinds(const std::u16string& upperClass, uint32_t kinds, bool comboInComboEx) {
  using namespace kind_bits;
  for (uint32_t bit : {kButton, kList, kTab, kTreeView, kListView, kToolBar, kEdit, kStatic, kStatusBar, kSlider,
                       kAnyChild})
    if ((kinds & bit) && ClassInKind(upperClass, bit, comboInComboEx)) return true;
  return false;
}

bool IsCheckItemClass(const std::u16string& upperClass) {
  return contains(upperClass, u"CHECKBOX") || contains(upperClass, u"3STATE");
}

bool IsComboClass(const std::u16string& upperClass) {
  return contains(upperClass, u"COMBOBOX") || contains(upperClass, u"COLORBOX");
}

}  // namespace maqo::automation::controls
