// The schedule's entry table and the minute check over it: which entries run
// at start-up, which are due at a minute (a one-shot entry becomes done when
// it fires), and which fail to compute. A failing expression is reported once
// and marked; later failures of the same entry stay quiet, so an entry that
// fails every minute never floods the user.
#pragma once
#include <string>
#include <vector>

#include "host/schedule/schedule_entry.h"

namespace maqo::host::schedule {

struct ScheduleEntry {
  std::u16string target;    // script or program to start
  std::u16string timeText;  // when
  bool separateProcess = false;
};

class ScheduleModel {
 public:
  explicit ScheduleModel(ScheduleLanguage language) : language_(language) {}

  ScheduleLanguage language() const { return language_; }
  void setEntries(std::vector<ScheduleEntry> entries);
  const std::vector<ScheduleEntry>& entries() const { return entries_; }
  const std::vector<CompiledEntry>& compiled() const { return compiled_; }

  std::vector<int> startupEntries() const;
  std::vector<int> windowEntries() const;
  // Some entry fires at a minute of the clock (what waking the machine is for).
  bool hasTimedEntries() const;

  // The minute check: the entries due at m, in table order. A one-shot entry
  // that is due gets the done word of the current language and is listed by
  // takeRewrittenEntries so the caller stores its new time text.
  std::vector<int> checkMinute(const ScheduleMinute& m);

  std::vector<int> takeRewrittenEntries();
  // One line per entry that failed for the first time since it was set.
  std::vector<std::u16string> takeReports();
  bool failed(int entry) const;

 private:
  ScheduleLanguage language_;
  std::vector<ScheduleEntry> entries_;
  std::vector<CompiledEntry> compiled_;
  std::vector<bool> failed_;
  std::vector<int> rewritten_;
  std::vector<std::u16string> reports_;
};

}  // namespace maqo::host::schedule
