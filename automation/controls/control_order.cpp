#include "automation/controls/control_order.h"

#include <algorithm>

namespace maqo::automation::controls {

int64_t ReadingOrderKey(const ControlEntry& e) {
  int64_t key = static_cast<int64_t>(e.rect.top) * 10000 + e.rect.left;
  if (e.scrollBar != OwnScrollBar::None) {
    key += e.ofParent ? 200000000 : 100000000;
    if (e.scrollBar == OwnScrollBar::Horizontal) key += 1;
  } else if (e.upperClass == u"INTERNET EXPLORER_SERVER") {
    key += e.listPosition;
  }
  return key;
}

void SortReadingOrder(std::vector<ControlEntry>& entries) {
  std::stable_sort(entries.begin(), entries.end(), [](const ControlEntry& a, const ControlEntry& b) {
    return ReadingOrderKey(a) < ReadingOrderKey(b);
  });
}

}  // namespace maqo::automation::controls
