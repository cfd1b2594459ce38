// The runtime error reporter. A failing operation throws ScriptError; the
// statement executor fixes the failing line (RaisedError) and lets TRY blocks
// take the error over on its way up. What no EXCEPT takes arrives here:
// ReportScriptError shows it, writes it to the script log and ends the run.
// ConfirmAbort serves builtins whose failure need not end the run: the user
// may choose to go on.
#pragma once
#include <string>
#include <string_view>

#include "engine/errors/script_error.h"

namespace maqo::engine {

// What the reporter needs from the engine around it.
class ReportTarget {
 public:
  virtual ~ReportTarget() = default;
  virtual bool japanese() = 0;
  // A stop was requested: errors are dropped, one stop never cascades into messages.
  virtual bool stopRequested() = 0;
  virtual bool aborted() = 0;
  // Sets AbortFlag: the run ends.
  virtual void abortRun() = 0;
  // Shows the error text: the error dialog of the main thread, or the message
  // box of the script thread that failed.
  virtual void showError(const std::u16string& displayText) = 0;
  // A plain message box with an OK button.
  virtual void showMessage(const std::u16string& text) = 0;
  // Asks a Yes/No question; true for Yes.
  virtual bool askYesNo(const std::u16string& question) = 0;
  // One line for the script log file.
  virtual void appendToScriptLog(const std::u16string& line) = 0;
  // Releases a hardware-input lock the script holds and lets pending window
  // messages run for a moment (so the message is not shown behind a frozen desktop).
  virtual void settleBeforeMessage() = 0;
  // The host runs one script and exits: its exit code becomes 9 (not during the check pass).
  virtual void noteErrorExit() = 0;
};

// Messages longer than this are cut for display.
inline constexpr size_t kMaxShownMessage = 255;

// message + CR LF + location; a message longer than kMaxShownMessage characters
// is cut there and followed by " ..." and CR LF.
std::u16string ErrorDisplayText(std::u16string_view message, std::u16string_view location);

// The display text as the user sees it: "SyntaxError-25" appears as
// "SyntaxError" (the "-" and up to three digits become spaces, then the text is
// trimmed); the number stays in the script log.
std::u16string HideSyntaxErrorNumber(std::u16string_view displayText);

// The display text as one log line: each line break becomes two spaces.
std::u16string ScriptLogLine(std::u16string_view displayText);

// Shows an error that no TRY took over and ends the run: nothing happens
// while a stop is requested, or once the run is aborted unless force is set.
// Otherwise the message (trimmed) and location go to the script log, the
// dialog, the exit code (9 for a run from the command line) and AbortFlag.
void ReportScriptError(ReportTarget& target, const Message& message, std::u16string_view location, bool force = false);

// A failure the user may choose to ignore. Returns false when the script may go
// on after the failing statement, true when the run is to stop (AbortFlag is
// set). When a TRY of the running code waits for errors (tryWaiting), the
// failure is thrown as a catchable ScriptError instead, so the TRY takes it
// over like any other error.
bool ConfirmAbort(ReportTarget& target, const Message& message, bool tryWaiting);

// The question ConfirmAbort asks.
std::u16string AbortQuestion(std::u16string_view message, bool japanese);

}  // namespace maqo::engine
