// One way to play a script for every program of this product: the engine
// with PRINT feeding the log (window and file), OPTION lines reaching the log
// settings, and the stop form's button stopping the run. The console runner
// and the host application both play through it.
#pragma once
#include <memory>
#include <string>

#include "engine/builder/headless_build_host.h"
#include "engine/library/builtin_library.h"
#include "engine/run/play_request.h"
#include "engine/run/tuscript.h"
#include "platform/platform.h"

namespace maqo::host {

struct ScriptSessionSettings {
  // The SET/LogLines text ("" for the default).
  std::u16string logLinesSetting;
  // The log file's full path when no OPTION names one, and its bare name
  // (what an OPTION LOGPATH folder gets).
  std::u16string logFilePath;
  std::u16string logFileName;
  // The host writes its log on every run; the console runner only when the
  // script asks for it.
  bool writeLogWithoutOption = false;
  // Caption of the messages the session itself shows.
  std::u16string messageCaption;
  // Runs one script and exits (an uncaught error sets exit code 9).
  bool oneScriptRun = true;
  // Let the host's own windows settle before the main part starts.
  bool settleBeforeRun = false;
};

class ScriptSession {
 public:
  ScriptSession(platform::Platform& p, const engine::BuiltinLibrary& library, const ScriptSessionSettings& settings);
  ~ScriptSession();
  ScriptSession(const ScriptSession&) = delete;
  ScriptSession& operator=(const ScriptSession&) = delete;

  engine::TUScript& engine() { return *engine_; }
  engine::PlayOutcome play(const engine::PlayRequest& request) { return engine_->pplay(request); }

  // The process exit code a run from the command line ends with: EXITEXIT's
  // code, 9 after a read error or an error that set none, else 0.
  int exitCodeAfter(engine::PlayOutcome outcome, bool checkOnly) const;

 private:
  platform::Platform& platform_;
  std::unique_ptr<platform::UiSink> logUi_;
  std::unique_ptr<platform::Platform> logged_;
  engine::HeadlessBuildHost headless_;
  std::unique_ptr<engine::BuildHost> logSettings_;
  std::unique_ptr<engine::TUScript> engine_;
};

}  // namespace maqo::host
