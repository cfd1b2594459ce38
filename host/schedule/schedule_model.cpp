#include "host/schedule/schedule_model.h"

#include <algorithm>
#include <string>
#include <utility>

#include "platform/text_codec.h"

namespace maqo::host::schedule {

void ScheduleModel::setEntries(std::vector<ScheduleEntry> entries) {
  entries_ = std::move(entries);
  compiled_.clear();
  compiled_.reserve(entries_.size());
  for (const ScheduleEntry& entry : entries_) compiled_.emplace_back(entry.timeText, language_);
  failed_.assign(entries_.size(), false);
  rewritten_.clear();
  reports_.clear();
}

std::vector<int> ScheduleModel::startupEntries() const {
  std::vector<int> found;
  for (size_t i = 0; i < compiled_.size(); ++i)
    if (compiled_[i].kind() == EntryKind::Startup) found.push_back(static_cast<int>(i));
  return found;
}

std::vector<int> ScheduleModel::windowEntries() const {
  std::vector<int> found;
  for (size_t i = 0; i < compiled_.size(); ++i)
    if (compiled_[i].kind() == EntryKind::Window) found.push_back(static_cast<int>(i));
  return found;
}

bool ScheduleModel::hasTimedEntries() const {
  return std::any_of(compiled_.begin(), compiled_.end(), [](const CompiledEntry& e) { return e.timed(); });
}

std::vector<int> ScheduleModel::checkMinute(const ScheduleMinute& m) {
  std::vector<int> due;
  for (size_t i = 0; i < compiled_.size(); ++i) {
    const DueAnswer answer = compiled_[i].dueAt(m);
    if (!answer.failure.empty() && !failed_[i]) {
      failed_[i] = true;
      reports_.push_back(u"ChkScjl:No. " + u16(std::to_string(i + 1)) + u": " + answer.failure +
                         u" :" + compiled_[i].text());
    }
    if (!answer.due) continue;
    due.push_back(static_cast<int>(i));
    if (compiled_[i].kind() == EntryKind::Once) {
      entries_[i].timeText = std::u16string(DoneWord(language_));
      compiled_[i] = CompiledEntry(entries_[i].timeText, language_);
      rewritten_.push_back(static_cast<int>(i));
    }
  }
  return due;
}

std::vector<int> ScheduleModel::takeRewrittenEntries() { return std::exchange(rewritten_, {}); }
std::vector<std::u16string> ScheduleModel::takeReports() { return std::exchange(reports_, {}); }
bool ScheduleModel::failed(int entry) const {
  return entry >= 0 && static_cast<size_t>(entry) < failed_.size() && failed_[entry];
}

}  // namespace maqo::host::schedule
