// The system error log "SYSERR.LOG": a short file of dated lines where the
// numeric formula evaluator records formulas it could not compute (a scheduler
// setting may be evaluated with nobody watching). It keeps the last 100
// distinct lines. One object per process; its own lock serialises writers.
#pragma once
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"

namespace maqo::engine {

struct LogTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0;
};

class SystemErrorLog {
 public:
  static constexpr size_t kMaxLines = 100;

  // path: the log file; empty means "SYSERR.LOG" in the current folder at the
  // first write. now: the local time for the line's stamp (tests fix it).
  explicit SystemErrorLog(platform::FileSystem& files, std::u16string path = {},
                          std::function<LogTime()> now = localTimeNow);

  // Appends "yy/mm/dd hh:nn  " + message unless that very line is already there,
  // dropping the oldest lines first so at most kMaxLines remain, and writes the
  // file back whole. File failures are ignored: a log must never stop the caller.
  void append(std::u16string_view message);

  // The lines as this object holds them (what the file holds after the last write).
  std::vector<std::u16string> lines();

  static LogTime localTimeNow();

 private:
  bool load();  // under lock_; false while the file cannot be read

  platform::FileSystem& files_;
  std::u16string path_;
  std::function<LogTime()> now_;
  std::mutex lock_;
  bool loaded_ = false;
  std::vector<std::u16string> lines_;
};

}  // namespace maqo::engine
