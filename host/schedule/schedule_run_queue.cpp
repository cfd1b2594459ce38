#include "host/schedule/schedule_run_queue.h"

#include <algorithm>
#include <charconv>

#include "engine/eval/text_helpers.h"
#include "platform/text_codec.h"

namespace maqo::host::schedule {

int ScheduleRunQueue::enqueue(const std::vector<int>& entries) {
  int added = 0;
  for (const int entry : entries) {
    if (std::find(queued_.begin(), queued_.end(), entry) != queued_.end()) continue;
    queued_.push_back(entry);
    ++added;
  }
  return added;
}

std::optional<int> ScheduleRunQueue::takeStartable(bool hostBusy, const std::function<bool(int)>& separateProcess) {
  if (queued_.empty()) return std::nullopt;
  const int first = queued_.front();
  if (hostBusy && !separateProcess(first)) return std::nullopt;
  queued_.erase(queued_.begin());
  return first;
}

bool ScheduleRunQueue::applyStopLevel(int stopLevel) {
  if (stopLevel < kQueueClearingStopLevel || queued_.empty()) return false;
  queued_.clear();
  return true;
}

std::vector<std::u16string> ScheduleRunQueue::savedItems() const {
  std::vector<std::u16string> items;
  for (const int entry : queued_) items.push_back(u16(std::to_string(entry)));
  return items;
}

void ScheduleRunQueue::restore(const std::vector<std::u16string>& items, int entryCount) {
  queued_.clear();
  for (const std::u16string& item : items) {
    const std::string text = utf16ToUtf8(engine::TrimView(item));
    int entry = -1;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), entry);
    if (ec != std::errc() || end != text.data() + text.size() || entry < 0 || entry >= entryCount) continue;
    enqueue({entry});
  }
}

std::optional<std::u16string> SeparateProcessCommand(std::u16string_view executablePath, std::u16string_view target) {
  const std::u16string trimmed(engine::TrimView(target));
  const size_t script = asciiUpper(trimmed).find(u".MQS");
  if (script == std::u16string::npos) return std::nullopt;
  size_t fileEnd = script + 4;
  std::u16string file = trimmed.substr(0, fileEnd);
  // A quoted file keeps its closing quote out of the rest.
  if (!file.empty() && file.front() == u'"') {
    file.erase(0, 1);
    if (fileEnd < trimmed.size() && trimmed[fileEnd] == u'"') ++fileEnd;
  }
  const std::u16string rest(engine::TrimView(std::u16string_view(trimmed).substr(fileEnd)));
  std::u16string command = u"\"" + std::u16string(executablePath) + u"\" \"" + file + u"\"";
  if (!rest.empty()) command += u" " + rest;
  return command;
}

}  // namespace maqo::host::schedule
