// The log window's text model: the lines it keeps (at most the line limit,
// the oldest dropped first), the limit read from the settings, and the form a
// line takes in the log file.
#pragma once
#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system_info.h"

namespace maqo::dialogs {

inline constexpr int kDefaultLogLines = 2000;
inline constexpr int kMaxLogLines = 100000;

// The line limit from the settings text (its first comma-separated field):
// not a number or <= 0 gives the default, more than kMaxLogLines gives kMaxLogLines.
int LogLinesFromSetting(std::u16string_view text);

// The kept lines: appending beyond the limit drops the oldest ones.
class KeptLines {
 public:
  explicit KeptLines(int limit = kDefaultLogLines) { setLimit(limit); }
  // A limit below 1 keeps one line, so the newest line is always there.
  void setLimit(int limit);
  int limit() const { return limit_; }
  void add(std::u16string line);
  void clear() { lines_.clear(); }
  size_t size() const { return lines_.size(); }
  const std::deque<std::u16string>& lines() const { return lines_; }
  // The kept lines joined by CR LF (the memo's text when it is rewritten).
  std::u16string joined() const;

 private:
  int limit_ = kDefaultLogLines;
  std::deque<std::u16string> lines_;
};

// The memo's own line count: it receives every printed line and is rewritten
// from the kept lines once it holds more than limit + limit / 10, so it never
// grows without bound and is not rewritten on every line.
bool MemoNeedsRewrite(size_t memoLines, int limit);

// Log file modes: bits 0-1 the line form, bit 2 starts a new log.
inline constexpr int kLogModeNewLog = 4;
// Text longer than this is cut and ends in "..." in the log file.
inline constexpr size_t kLogFileLineCut = 64000;

// The line written to the log file for text in mode (bits 0-1): 1 writes
// nothing; 2 the text; 3 "yy/mm/dd hh:nn:ss  " + text; 0 "yy/mm/dd hh:nn  " + text.
std::optional<std::u16string> LogFileLine(int mode, std::u16string_view text, const platform::LocalTime& now);

}  // namespace maqo::dialogs
