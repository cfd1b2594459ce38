// Window entries: which open windows an entry's title and class parts match,
// and when a match fires. An entry fires when a matching window appears while
// none was seen before; it fires again only after every matching window has
// been closed, so a second matching window coming up beside the first does not
// start the entry twice. The list of windows seen can be saved and restored
// so a restart does not fire for windows that were already open.
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "host/schedule/schedule_entry.h"

namespace maqo::host::schedule {

// A visible, titled window, title and class trimmed and in upper case.
struct WatchedWindow {
  int64_t handle = 0;
  std::u16string title;
  std::u16string windowClass;
};

// Trims and upper-cases title and class as window entries compare them.
WatchedWindow MakeWatchedWindow(int64_t handle, std::u16string_view title, std::u16string_view windowClass);

// A window matches when (the class part is empty or equals its class) and the
// title part occurs in its title. An entry with both parts empty matches
// nothing: it would fire for every window on the desktop.
bool WindowMatches(const WindowPattern& pattern, const WatchedWindow& window);

class WindowEntryWatch {
 public:
  // At the first tick: the matching windows already open count as seen.
  void registerPresent(int entry, const WindowPattern& pattern, const std::vector<WatchedWindow>& windows);
  // At every window tick: the window that fires the entry, if any.
  std::optional<int64_t> check(int entry, const WindowPattern& pattern, const std::vector<WatchedWindow>& windows);
  void forget(int entry) { seen_.erase(entry); }

  // "entry,handle" items, for keeping the list across a restart.
  std::vector<std::u16string> savedItems() const;
  void restore(const std::vector<std::u16string>& items);

 private:
  std::map<int, std::set<int64_t>> seen_;
};

}  // namespace maqo::host::schedule
