#include "host/schedule/window_entry_watch.h"

#include <charconv>
#include <string>

#include "engine/eval/text_helpers.h"
#include "platform/text_codec.h"

namespace maqo::host::schedule {

namespace {

std::vector<int64_t> MatchingHandles(const WindowPattern& pattern, const std::vector<WatchedWindow>& windows) {
  std::vector<int64_t> handles;
  for (const WatchedWindow& window : windows)
    if (WindowMatches(pattern, window)) handles.push_back(window.handle);
  return handles;
}

bool ParseNumber(std::string_view text, int64_t& value) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

}  // namespace

WatchedWindow MakeWatchedWindow(int64_t handle, std::u16string_view title, std::u16string_view windowClass) {
  return {handle, asciiUpper(engine::TrimView(title)), asciiUpper(engine::TrimView(windowClass))};
}

bool WindowMatches(const WindowPattern& pattern, const WatchedWindow& window) {
  if (pattern.title.empty() && pattern.windowClass.empty()) return false;
  if (!pattern.windowClass.empty() && window.windowClass != pattern.windowClass) return false;
  return window.title.find(pattern.title) != std::u16string::npos;
}

void WindowEntryWatch::registerPresent(int entry, const WindowPattern& pattern,
                                       const std::vector<WatchedWindow>& windows) {
  for (const int64_t handle : MatchingHandles(pattern, windows)) seen_[entry].insert(handle);
}

std::optional<int64_t> WindowEntryWatch::check(int entry, const WindowPattern& pattern,
                                               const std::vector<WatchedWindow>& windows) {
  const std::vector<int64_t> matching = MatchingHandles(pattern, windows);
  if (matching.empty()) {
    seen_.erase(entry);  // all gone: the next appearance fires again
    return std::nullopt;
  }
  auto found = seen_.find(entry);
  const bool armed = found == seen_.end() || found->second.empty();
  // Only the windows open now are remembered, so the list never grows with
  // windows long closed.
  seen_[entry] = std::set<int64_t>(matching.begin(), matching.end());
  if (!armed) return std::nullopt;
  return matching.front();
}

std::vector<std::u16string> WindowEntryWatch::savedItems() const {
  std::vector<std::u16string> items;
  for (const auto& [entry, handles] : seen_)
    for (const int64_t handle : handles)
      items.push_back(u16(std::to_string(entry) + "," + std::to_string(handle)));
  return items;
}

void WindowEntryWatch::restore(const std::vector<std::u16string>& items) {
  seen_.clear();
  for (const std::u16string& item : items) {
    const std::string text = utf16ToUtf8(item);
    const size_t comma = text.find(',');
    int64_t entry = 0, handle = 0;
    // A damaged item is dropped: the worst outcome is one extra firing.
    if (comma == std::string::npos || !ParseNumber(std::string_view(text).substr(0, comma), entry) ||
        !ParseNumber(std::string_view(text).substr(comma + 1), handle) || entry < 0)
      continue;
    seen_[static_cast<int>(entry)].insert(handle);
  }
}

}  // namespace maqo::host::schedule
