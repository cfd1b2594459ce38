#include "host/script_session.h"

#include "dialogs/log/log_hosts.h"
#include "dialogs/log/script_log.h"
#include "dialogs/stopform/stop_form_state.h"
#include "platform/system_services.h"

namespace maqo::host {

namespace {
constexpr int kExitError = 9;
}

ScriptSession::ScriptSession(platform::Platform& p, const engine::BuiltinLibrary& library,
                             const ScriptSessionSettings& settings)
    : platform_(p) {
  dialogs::ScriptLog& log = dialogs::TheScriptLog();
  log.configure(settings.logLinesSetting, settings.logFilePath, settings.writeLogWithoutOption);
  logUi_ = std::make_unique<dialogs::LogPrintingUi>(p.ui, log, p, platform::systemServices().info);
  logged_ = std::make_unique<platform::Platform>(platform::Platform{p.clock, p.files, p.locale, *logUi_});
  logSettings_ = std::make_unique<dialogs::LoggingBuildHost>(headless_, log, p, settings.logFileName);
  engine_ = std::make_unique<engine::TUScript>(*logged_, *logSettings_, library);
  engine_->OneScriptRun = settings.oneScriptRun;
  engine_->SettleBeforeRun = settings.settleBeforeRun;
  // The stop form's button stops the run as the stop hot key and Ctrl+C do.
  engine::TUScript* running = engine_.get();
  dialogs::TheStopForm().setStopHandler([running] {
    if (running->StopRequest.load() == 0) running->RequestStop();
  });
  const std::u16string caption = settings.messageCaption;
  engine_->OnStatementsOutsideFunctions = [&p, caption](const std::u16string& location) {
    p.ui.messageBox(p.locale.japanese() ? u"警告: 関数の外にあるこの行以降の文は実行されません\n" + location
                                        : u"Warning: statements outside any function never run, from\n" + location,
                    caption);
  };
}

ScriptSession::~ScriptSession() { dialogs::TheStopForm().setStopHandler(nullptr); }

int ScriptSession::exitCodeAfter(engine::PlayOutcome outcome, bool checkOnly) const {
  if (outcome == engine::PlayOutcome::ReadFailed) return kExitError;
  if (checkOnly) return outcome == engine::PlayOutcome::Completed ? 0 : kExitError;
  const int code = engine_->ExitCode.load();
  if (outcome == engine::PlayOutcome::ErrorStopped && code == 0) return kExitError;
  return code;
}

}  // namespace maqo::host
