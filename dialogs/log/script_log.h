// The log window's state and its two output operations: print line (the
// window and the file) for PRINT, and log line (the file only). It keeps the
// last lines in a ring bounded by the line limit, feeds the memo of the log
// window once LOGPRINT has shown it, and buffers the log file, which is
// written when the minute changes during a run and at the run's end.
//
// One per process (a process runs one engine); PRINT may come from any
// script thread, so every operation takes the log's lock.
#pragma once
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/log/log_file.h"
#include "dialogs/log/log_lines.h"
#include "platform/platform.h"
#include "platform/script_windows.h"

namespace maqo::dialogs {

class ScriptLog {
 public:
  // The settings read when the engine is made: SET/LogLines (text) and the
  // default log file (SET/LogPath resolved, else the program's own log name).
  // writeWithoutOption: the host writes its log file on every run; the
  // console runner only when the run sets OPTION LOGFILE or LOGPATH.
  void configure(std::u16string_view logLinesSetting, std::u16string defaultPath, bool writeWithoutOption);

  // ---- the run ----
  // A run is prepared: the path and mode go back to the settings' values.
  void beginRun();
  // The run ended: the file buffer is written.
  void endRun(platform::Platform& p);
  // Writes the file buffer when the minute of now differs from the last write's.
  void flushWhenMinuteChanged(platform::Platform& p, const platform::LocalTime& now);

  // ---- OPTION lines ----
  int lineLimit();
  void setLineLimit(int limit);
  void setFileMode(int mode);
  void setFilePath(std::u16string path);
  // The log list (the file buffer) is emptied.
  void clearLogList();

  // ---- output ----
  void printLine(platform::Platform& p, const std::u16string& text, const platform::LocalTime& now);
  void logLine(platform::Platform& p, const std::u16string& text, const platform::LocalTime& now);

  // ---- LOGPRINT ----
  // show: output shows the window from now on (or no longer); placement
  // moves (and sizes) it. The window is shown or hidden accordingly.
  void logPrint(bool show, const std::optional<platform::WindowPlacement>& placement);

  // For tests and the window: the kept lines.
  std::vector<std::u16string> keptLines();
  std::u16string filePath();
  bool fileDirty();

 private:
  void addToFile(platform::Platform& p, const std::u16string& text, const platform::LocalTime& now);
  bool fileWanted() const { return writeWithoutOption_ || fileAsked_; }

  std::mutex lock_;
  KeptLines kept_;
  size_t memoLines_ = 0;
  bool windowInUse_ = false;  // LOGPRINT was called: the memo follows the kept lines
  bool showOnOutput_ = false;
  LogFileBuffer file_;
  std::u16string defaultPath_;
  bool writeWithoutOption_ = true;
  bool fileAsked_ = false;
  int mode_ = 0;
  int lastFlushMinute_ = -1;
};

// The process's log.
ScriptLog& TheScriptLog();

}  // namespace maqo::dialogs
