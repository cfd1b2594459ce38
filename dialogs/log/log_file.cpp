#include "dialogs/log/log_file.h"

#include "builtins/text_file_writer.h"
#include "engine/reader/text_file.h"

namespace maqo::dialogs {

void LogFileBuffer::setPath(std::u16string path) {
  if (path == path_) return;
  path_ = std::move(path);
  clear();
}

void LogFileBuffer::setLimit(int limit) {
  limit_ = limit < 1 ? 1 : limit;
  trim();
}

void LogFileBuffer::clear() {
  lines_.clear();
  dirty_ = false;
  readThisRun_ = false;
  oldLogUnread_ = false;
}

void LogFileBuffer::trim() {
  while (lines_.size() > static_cast<size_t>(limit_)) lines_.pop_front();
}

bool LogFileBuffer::readOldLines(platform::Platform& p) {
  engine::Lines old;
  const engine::TextReadResult read = engine::ReadTextFile(p, path_, old);
  if (read.status == platform::ReadStatus::Failed) return false;
  lines_.insert(lines_.begin(), old.begin(), old.end());
  trim();
  return true;
}

void LogFileBuffer::add(platform::Platform& p, std::u16string line, bool newLog) {
  if (!readThisRun_) {
    readThisRun_ = true;
    if (newLog) {
      lines_.clear();
      oldLogUnread_ = false;
    } else if (!path_.empty() && !oldLogUnread_) {
      // What an earlier run wrote is in the file; lines it could not write stay.
      if (!dirty_) lines_.clear();
      oldLogUnread_ = !readOldLines(p);
    }
  }
  lines_.push_back(std::move(line));
  trim();
  dirty_ = true;
}

bool LogFileBuffer::flush(platform::Platform& p) {
  if (!dirty_ || path_.empty()) return true;
  if (oldLogUnread_) {
    if (!readOldLines(p)) return false;
    oldLogUnread_ = false;
  }
  const engine::Lines lines(lines_.begin(), lines_.end());
  if (!builtins::WriteTextFile(p, path_, lines, engine::TextEncoding::Utf16Le)) return false;
  dirty_ = false;
  return true;
}

}  // namespace maqo::dialogs
