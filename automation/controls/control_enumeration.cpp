#include "automation/controls/control_enumeration.h"

#include <algorithm>
#include <cstdlib>

#include "automation/controls/control_kinds.h"

namespace maqo::automation::controls {

using platform::ChildFacts;
namespace ws = platform::window_styles;

namespace {

void addOwnScrollBars(std::vector<ControlEntry>& out, const ChildFacts& f, bool ofParent) {
  if (f.style & ws::kVScroll)
    out.push_back({f.handle, u"WS_VSCROLL", f.rect, f.style, OwnScrollBar::Vertical, ofParent, 0});
  if (f.style & ws::kHScroll)
    out.push_back({f.handle, u"WS_HSCROLL", f.rect, f.style, OwnScrollBar::Horizontal, ofParent, 0});
}

bool anyCategory(const std::u16string& upperClass) {
  using namespace kind_bits;
  return ClassInKinds(upperClass, kButton | kList | kTab | kTreeView | kListView | kToolBar | kEdit | kStatic |
                                      kStatusBar | kSlider);
}

}  // namespace

std::vector<ControlEntry> EnumerateControls(ControlContext& c, platform::WindowHandle parent, uint32_t kinds,
                                            bool admitDisabled) {
  std::vector<ControlEntry> out;
  const bool parentVisible = c.automation.desktop.isVisible(parent);
  const bool anyEnabledState = admitDisabled || KindsAdmitDisabled(kinds);
  const std::vector<ChildFacts>& children = c.children(parent);
  int position = 0;
  for (const ChildFacts& f : children) {
    if (c.automation.stopRequested()) break;
    const bool visible = f.visible || (!parentVisible && (f.style & ws::kVisible));
    if (!visible || (!f.enabled && !anyEnabledState)) continue;
    const std::u16string upper = CategoryClass(f.className);
    if (upper.empty()) continue;
    bool comboInComboEx = false;
    if (upper.find(u"COMBOBOX") != std::u16string::npos && f.parent != parent) {
      auto up = std::find_if(children.begin(), children.end(), [&](const ChildFacts& p) { return p.handle == f.parent; });
      comboInComboEx = up != children.end() && CategoryClass(up->className).find(u"COMBOBOXEX") != std::u16string::npos;
    }
    ++position;
    if (ClassInKinds(upper, kinds, comboInComboEx))
      out.push_back({f.handle, upper, f.rect, f.style, OwnScrollBar::None, false, position});
    else if ((kinds & kind_bits::kSlider) && !anyCategory(upper))
      addOwnScrollBars(out, f, false);
  }
  if (kinds & kind_bits::kSlider)
    if (auto own = c.controls.facts(parent)) addOwnScrollBars(out, *own, true);
  if (out.size() > 1) SortReadingOrder(out);
  return out;
}

const ControlEntry* NthControl(const std::vector<ControlEntry>& list, int number) {
  if (number < 1 || static_cast<size_t>(number) > list.size()) return nullptr;
  return &list[static_cast<size_t>(number - 1)];
}

ControlNumber ReadControlNumber(int64_t given) {
  const int64_t clamped = std::clamp<int64_t>(given, -1000000, 1000000);
  return {static_cast<int>(std::llabs(clamped)), clamped < 0};
}

}  // namespace maqo::automation::controls
