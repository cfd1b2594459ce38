#include "dialogs/modal/popup_menu_model.h"

namespace maqo::dialogs {

std::vector<PopupMenuItem> BuildPopupMenu(const std::vector<std::u16string>& items) {
  std::vector<PopupMenuItem> root;
  // The chain of open submenus: each entry is the list items are added to.
  std::vector<std::vector<PopupMenuItem>*> open{&root};
  for (size_t i = 0; i < items.size(); ++i) {
    std::u16string caption = items[i];
    if (!caption.empty() && caption.front() == u'{') {
      caption.erase(0, 1);
      std::vector<PopupMenuItem>& current = *open.back();
      if (!current.empty() && static_cast<int>(open.size()) <= kMaxMenuDepth) {
        open.push_back(&current.back().children);
      }
    }
    size_t closing = 0;
    while (!caption.empty() && caption.back() == u'}') {
      caption.pop_back();
      ++closing;
    }
    open.back()->push_back(PopupMenuItem{caption, static_cast<int>(i), {}});
    for (; closing > 0 && open.size() > 1; --closing) open.pop_back();
  }
  return root;
}

}  // namespace maqo::dialogs
