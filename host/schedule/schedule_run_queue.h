// The queue of due schedule entries waiting to start. Entries start in the
// order they came due; while the host is busy (a run, a recording or one of
// its dialogs) the first entry waits unless it runs in a process of its own.
// A stop request of level 20 or more (the stop hot key pressed twice) empties
// the queue. The queue is kept as decimal entry numbers across a restart.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace maqo::host::schedule {

inline constexpr int kQueueClearingStopLevel = 20;

class ScheduleRunQueue {
 public:
  // Appends the entries not queued yet, in order; the number appended.
  int enqueue(const std::vector<int>& entries);
  // Removes and returns the first entry when it may start now.
  std::optional<int> takeStartable(bool hostBusy, const std::function<bool(int entry)>& separateProcess);
  // True when the queue was emptied by this stop level.
  bool applyStopLevel(int stopLevel);

  bool empty() const { return queued_.empty(); }
  const std::vector<int>& entries() const { return queued_; }

  std::vector<std::u16string> savedItems() const;
  // Damaged items and entries outside 0..entryCount-1 are dropped.
  void restore(const std::vector<std::u16string>& items, int entryCount);

 private:
  std::vector<int> queued_;
};

// The command that starts a script entry in a new process of the running
// executable: the executable's path and the script file each in double
// quotes (once, whether or not the target quoted its file), then the rest of
// the target (parameters, "-R" count). Nothing when the target names no
// script file (".MQS", any case).
std::optional<std::u16string> SeparateProcessCommand(std::u16string_view executablePath, std::u16string_view target);

}  // namespace maqo::host::schedule
