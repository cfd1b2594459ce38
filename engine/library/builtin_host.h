// What a builtin needs from the running engine. The engine implements this for
// the frame that makes the call; the builtins never reach into the executor.
#pragma once
#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/builder/build_host.h"
#include "engine/errors/script_error.h"
#include "engine/eval/expression.h"
#include "engine/values/frame.h"
#include "engine/values/global_store.h"
#include "engine/library/family_state.h"
#include "engine/values/script_value.h"
#include "platform/platform.h"

namespace maqo::platform {
struct SystemServices;
}

namespace maqo::engine {

// The pacing record of the main thread, kept in the engine's family state:
// when the previous builtin call returned (a user-function call refreshes it
// too), monotonic ms; -1 before the first. Builtins see the time since then
// in their argument record.
struct CallPacing {
  int64_t lastReturnMs = -1;
};

class BuiltinHost {
 public:
  virtual ~BuiltinHost() = default;

  virtual platform::Platform& platform() = 0;
  // The frame of the calling statement (result arrays, G_TIME_*, TRY texts).
  virtual THensuFmt& frame() = 0;
  virtual GlobalStore& globals() = 0;
  // Evaluates an argument expression in the caller's frame; throws ScriptError.
  virtual ScriptValue evaluate(const Expression& expression) = 0;
  // Evaluates a text (EVAL, dynamic arguments) through the engine's compile cache.
  virtual ScriptValue evaluateText(std::u16string_view text) = 0;
  // True when the run should stop (a stop request or an abort): waits end early.
  virtual bool stopRequested() = 0;
  // True during the pre-run check pass: builtins with side effects must not act.
  virtual bool checkMode() = 0;
  // True when the call runs on the main (user-interface) thread.
  virtual bool onMainThread() = 0;

  // ---- added by the builtin library; the defaults serve a host without these ----
  // The engine-wide state of the builtin families (each family keeps its own
  // type there: control word, random seed, pacing record ...). The default is
  // one store for the whole process, which matches the one engine a process runs.
  virtual FamilyStateStore& familyState();
  // The machine-facing seams (processes, sound, power, sensors, system facts).
  // The default is the build's real implementations.
  virtual platform::SystemServices& system();
  // True while the run is paused (stop form state 3): SLEEP does not count time.
  virtual bool runPaused() { return false; }
  // What the run set for its dialogs: OPTION DLGTITLE, and the dialog font
  // (DEFAULTFONT or the host's setting). Nothing where neither is set.
  struct DialogOptions {
    std::optional<std::u16string> title;
    std::optional<FontSetting> font;
  };
  virtual DialogOptions dialogOptions() { return {}; }
  // A modal dialog is about to be shown: the script's input lock goes, so
  // the user can answer it. The default, for a host without a run, does nothing.
  virtual void releaseInputForDialog() {}
  // True while COM event sinks are active: SLEEP passes messages more often.
  virtual bool comEventsActive() { return false; }
  // COM_ERR_IGN / COM_ERR_FLG of the calling thread: whether its COM failures
  // are only flagged instead of reported, and raising that flag. The
  // defaults, for a host without thread records: reported, no flag.
  virtual bool comErrorsIgnored() { return false; }
  virtual void raiseComErrorFlag() {}
  // EVAL of a statement text: "THREAD F(...)" starts a script thread, "A = B"
  // assigns. Throws ScriptError; the default reports that statements are not
  // available to EVAL in this host.
  virtual void executeStatementText(std::u16string_view statement);
  // EVAL of CALL: runs the main procedure of the script file. Throws
  // ScriptError; the default reports that it is not available in this host.
  virtual void callScriptFile(std::u16string_view path);
  // POFF: marks the run to end as EXITEXIT ends it (pending FINALLY parts,
  // ExitAllFlag and StopRequest, the frame stops) once the builtin returns.
  // The engine's version does not throw; the default throws a ScriptError, as
  // a host without a run has none to end.
  virtual void exitRun();
  // POFF(P_MAQO_REEXEC): asks the host application to restart itself, and to
  // run the script again when runAgain. The default reports that it needs the
  // host application.
  virtual void requestRestart(bool runAgain);
  // A failure the user may choose to ignore (FCLOSE could not write its
  // file): asks whether to abort the run. False when the script goes on after
  // the failing statement, true when the run stops (the abort flag is set).
  // When a TRY of the running code waits for errors, the failure is thrown as
  // a catchable ScriptError instead, so the TRY takes it over. The default,
  // for a host with nobody to ask, always throws that catchable error.
  virtual bool confirmAbort(const Message& message);
  // CTRLTRD: suspends, resumes, stops or re-prioritises the script thread in
  // a slot (0-63; command a TRD_* value). The caller has checked both. The
  // default does nothing: a host without a run has no script threads.
  virtual void controlScriptThread(int slot, int command) {}
  // The program text of the statement that makes the call, as the engine
  // stores it (upper case outside strings); empty where there is none.
  virtual std::u16string statementText() { return {}; }
  // SETHOTKEY: the user function name means from the calling frame, as a
  // handler the engine can call later on the user-interface thread with the
  // hot key's key and modifiers (HOTKEY_VK, HOTKEY_MOD). The handler looks the
  // function up again by name and module when it runs. Empty when there is no
  // such function (and in a host without user functions).
  virtual std::function<void(int virtualKey, int modifiers)> hotkeyHandler(std::u16string_view name) { return {}; }
  // OLEEVENT: the user procedure name means from the calling frame, as a
  // handler of COM events the engine can call later on this thread with the
  // event's DISPID and parameters (EVENT_ID, EVENT_PRM; the parameters take
  // EVENT_PRM's elements afterwards). Empty when there is no such procedure.
  virtual std::function<void(int eventId, std::vector<ScriptValue>& parameters)> eventHandler(
      std::u16string_view name) {
    return {};
  }
};

}  // namespace maqo::engine
