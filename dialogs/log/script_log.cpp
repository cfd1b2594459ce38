#include "dialogs/log/script_log.h"

namespace maqo::dialogs {

void ScriptLog::configure(std::u16string_view logLinesSetting, std::u16string defaultPath, bool writeWithoutOption) {
  std::lock_guard guard(lock_);
  const int limit = LogLinesFromSetting(logLinesSetting);
  kept_.setLimit(limit);
  file_.setLimit(limit);
  defaultPath_ = std::move(defaultPath);
  writeWithoutOption_ = writeWithoutOption;
  file_.setPath(defaultPath_);
}

void ScriptLog::beginRun() {
  std::lock_guard guard(lock_);
  mode_ = 0;
  fileAsked_ = false;
  file_.setPath(defaultPath_);
  file_.beginRun();
}

void ScriptLog::endRun(platform::Platform& p) {
  std::lock_guard guard(lock_);
  if (fileWanted()) file_.flush(p);
}

void ScriptLog::flushWhenMinuteChanged(platform::Platform& p, const platform::LocalTime& now) {
  std::lock_guard guard(lock_);
  const int minute = now.hour * 60 + now.minute;
  if (minute == lastFlushMinute_) return;
  lastFlushMinute_ = minute;
  if (fileWanted() && file_.dirty()) file_.flush(p);
}

int ScriptLog::lineLimit() {
  std::lock_guard guard(lock_);
  return kept_.limit();
}

void ScriptLog::setLineLimit(int limit) {
  std::lock_guard guard(lock_);
  kept_.setLimit(limit);
  file_.setLimit(limit);
}

void ScriptLog::setFileMode(int mode) {
  std::lock_guard guard(lock_);
  mode_ = mode;
  fileAsked_ = true;
}

void ScriptLog::setFilePath(std::u16string path) {
  std::lock_guard guard(lock_);
  file_.setPath(std::move(path));
  fileAsked_ = true;
}

void ScriptLog::clearLogList() {
  std::lock_guard guard(lock_);
  file_.clear();
}

void ScriptLog::addToFile(platform::Platform& p, const std::u16string& text, const platform::LocalTime& now) {
  if (!fileWanted()) return;
  auto line = LogFileLine(mode_, text, now);
  if (!line) return;
  file_.add(p, std::move(*line), (mode_ & kLogModeNewLog) != 0);
}

void ScriptLog::printLine(platform::Platform& p, const std::u16string& text, const platform::LocalTime& now) {
  std::lock_guard guard(lock_);
  kept_.add(text);
  addToFile(p, text, now);
  if (!windowInUse_) return;
  platform::ScriptWindows& windows = platform::scriptWindows();
  ++memoLines_;
  if (MemoNeedsRewrite(memoLines_, kept_.limit())) {
    windows.setLogText(kept_.joined());
    memoLines_ = kept_.size();
  } else {
    windows.appendLogLine(text);
  }
  if (showOnOutput_ && !windows.logWindowVisible()) windows.showLogWindow(true);
}

void ScriptLog::logLine(platform::Platform& p, const std::u16string& text, const platform::LocalTime& now) {
  std::lock_guard guard(lock_);
  addToFile(p, text, now);
}

void ScriptLog::logPrint(bool show, const std::optional<platform::WindowPlacement>& placement) {
  std::lock_guard guard(lock_);
  platform::ScriptWindows& windows = platform::scriptWindows();
  showOnOutput_ = show;
  if (!windowInUse_) {
    // The memo starts with what was printed before LOGPRINT.
    windowInUse_ = true;
    windows.setLogText(kept_.joined());
    memoLines_ = kept_.size();
  }
  if (placement) windows.placeLogWindow(*placement);
  windows.showLogWindow(show);
}

std::vector<std::u16string> ScriptLog::keptLines() {
  std::lock_guard guard(lock_);
  return {kept_.lines().begin(), kept_.lines().end()};
}

std::u16string ScriptLog::filePath() {
  std::lock_guard guard(lock_);
  return file_.path();
}

bool ScriptLog::fileDirty() {
  std::lock_guard guard(lock_);
  return file_.dirty();
}

ScriptLog& TheScriptLog() {
  static ScriptLog log;
  return log;
}

}  // namespace maqo::dialogs
