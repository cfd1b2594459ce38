// The log file's buffer: the file's lines plus what the run logged, written
// back whole. On the first line of a run the existing file is read into the
// buffer (unless the mode asks for a new log), so the log grows across runs;
// the buffer holds at most the line limit.
//
// A log file that exists but could not be read is never written over: the
// buffer would replace the old log with only this run's lines. Each flush
// tries the read again and writes only once the old lines are in the buffer.
#pragma once
#include <deque>
#include <string>

#include "platform/platform.h"

namespace maqo::dialogs {

class LogFileBuffer {
 public:
  void setPath(std::u16string path);
  const std::u16string& path() const { return path_; }
  void setLimit(int limit);
  // Empties the buffer; the next line reads the file again (the log list is
  // emptied when a run names another log file or asks for a new log).
  void clear();
  // A new run: its first line reads the file again.
  void beginRun() { readThisRun_ = false; }

  // Adds a formatted line; on the run's first line the file is read first
  // unless newLog.
  void add(platform::Platform& p, std::u16string line, bool newLog);
  // Writes the buffer when it changed since the last write. False when a
  // write was due and did not happen (unreadable old log, write failure).
  bool flush(platform::Platform& p);

  bool dirty() const { return dirty_; }
  bool oldLogUnread() const { return oldLogUnread_; }
  const std::deque<std::u16string>& lines() const { return lines_; }

 private:
  // Reads the file's lines in front of the buffer; false when the file exists
  // and could not be read.
  bool readOldLines(platform::Platform& p);
  void trim();

  std::u16string path_;
  int limit_ = 2000;
  std::deque<std::u16string> lines_;
  bool dirty_ = false;
  bool readThisRun_ = false;
  bool oldLogUnread_ = false;
};

}  // namespace maqo::dialogs
