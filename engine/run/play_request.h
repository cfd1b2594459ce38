// What the host hands the run driver for one play, and how the play ended.
#pragma once
#include <string>
#include <vector>

namespace maqo::engine {

struct PlayRequest {
  // Full path of the script file to play.
  std::u16string scriptPath;
  // The script as messages name it: the path as the user gave it (empty:
  // scriptPath).
  std::u16string shownName;
  // The script's PARAM_STR, index 0 upwards.
  std::vector<std::u16string> parameters;
  // How often the main part runs; values below 1 count as 1.
  int repeatCount = 1;
  // The host's unsaved recording, played when the script file does not exist.
  std::vector<std::u16string> recordedText;
  // Read, build and check the script, but do not run it (a CI check).
  bool checkOnly = false;
};

enum class PlayOutcome {
  Completed,     // every repetition ran (EXITEXIT included)
  ReadFailed,    // the script could not be read; nothing ran
  BuildFailed,   // a build error was reported; nothing ran
  ErrorStopped,  // an error ended the run
  Stopped,       // a stop request ended the run
};

}  // namespace maqo::engine
