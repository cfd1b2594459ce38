// The OPTION settings of one run, and what OPTION lines changed on the host
// that the end of the run puts back.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "engine/builder/build_host.h"
#include "engine/errors/script_error.h"
#include "engine/eval/eval_host.h"

namespace maqo::engine {

struct OptionSettings {
  bool explicitVariables = false;  // EXPLICIT: variables must be declared
  bool sameStr = false;            // SAMESTR: text comparisons respect case
  bool optPublic = false;          // OPTPUBLIC: a second PUBLIC of a name is an error
  bool optFinally = false;         // OPTFINALLY: FINALLY runs on stop, EXIT and EXITEXIT too
  bool specialChar = false;        // SPECIALCHAR: "<#CR>" and friends stay as written in evaluated text
  bool shortCircuit = false;       // SHORTCIRCUIT
  bool onlySapi = false;           // ONLYSAPI
  bool roundValue = false;         // ROUNDVALUE: no rounding to 15 significant digits
  bool dlgNoForm = false;          // DLGNOFORM
  bool topStopForm = false;        // TOPSTOPFORM
  bool fixBalloon = false;         // FIXBALLOON
  bool noStopHotkey = false;       // NOSTOPHOTKEY

  std::optional<std::u16string> dialogTitle;  // DLGTITLE, quotes removed and special characters expanded
  std::optional<int> logFileMode;             // LOGFILE
  std::optional<std::u16string> logPath;      // LOGPATH, as resolved
  std::optional<int> logLines;                // LOGLINES
  std::optional<FontSetting> defaultFont;     // DEFAULTFONT
  std::optional<std::pair<int, int>> stopFormPosition;  // POSITION

  // The host's own values before the first OPTION line changed them; saved
  // once per run, so a second OPTION of the same setting does not make the
  // end of the run "restore" the script's own value.
  std::optional<int> savedLogLines;
  std::optional<FontSetting> savedDialogFont;
  std::optional<FontSetting> savedLogFont;

  // The settings that change how expressions evaluate.
  EvalOptions evalOptions() const {
    EvalOptions options;
    options.shortCircuit = shortCircuit;
    options.sameStr = sameStr;
    options.roundValue = roundValue;
    options.specialChar = specialChar;
    return options;
  }
};

// Applies the items of one OPTION line (the text after OPTION) to settings and,
// where an item takes effect at once, to the host. Returns false when an item
// is unknown or its value invalid; the items before it stay applied.
bool ApplyOptionLine(std::u16string_view items, OptionSettings& settings, BuildHost& host);

// Puts back on the host what OPTION lines changed (for the end of a run):
// the log-lines limit and the fonts; the log list is emptied when the run set
// a log path.
void RestoreOptionChanges(const OptionSettings& settings, BuildHost& host);

}  // namespace maqo::engine
