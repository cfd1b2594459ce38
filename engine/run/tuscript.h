// TUScript: the script engine object. The host owns one for its whole life
// and reuses it for every run: it holds the run flags, the program tables,
// the global store, the per-thread records and the executor, and performs the
// play step (pplay): read, build, run the main part as often as asked, clean up.
//
// Threads: the main part runs on a thread of its own with a large stack (the
// calling thread waits and keeps its window messages flowing). Script threads
// (THREAD) run in ThreadSlots; their user-interface work is handed to the
// calling thread, which serves it while it waits for the main part and, at
// the end of each repetition, for the threads. The run flags are atomics,
// read between statements by every thread without a lock.
#pragma once
#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/builder/build_host.h"
#include "engine/builder/program.h"
#include "engine/errors/error_reporter.h"
#include "engine/errors/raised_error.h"
#include "engine/eval/evaluator.h"
#include "engine/exec/executor.h"
#include "engine/exec/thread_record.h"
#include "engine/library/builtin_library.h"
#include "engine/library/family_state.h"
#include "engine/reader/script_reader.h"
#include "engine/run/global_snapshot.h"
#include "engine/run/play_request.h"
#include "engine/threads/routed_ui.h"
#include "engine/threads/thread_slots.h"
#include "engine/threads/ui_handover.h"
#include "engine/values/global_store.h"
#include "platform/platform.h"

namespace maqo::engine {

class GlobalScopeHost;

// The stop form's run state, shared by player, recorder, stop button and hotkey.
enum RunStateValue : int { kRunIdle = 0, kRunRecording = 1, kRunPlaying = 2, kRunPaused = 3 };

class TUScript final : public ReportTarget, public BuildHost {
 public:
  // hostSettings: the host's settings that OPTION lines change for a run (log
  // window, fonts, stop form); a console run passes a HeadlessBuildHost.
  // library: the builtins the program registered at start-up; it outlives
  // the engine.
  TUScript(platform::Platform& platform, BuildHost& hostSettings, const BuiltinLibrary& library);
  ~TUScript() override;
  TUScript(const TUScript&) = delete;
  TUScript& operator=(const TUScript&) = delete;

  // ---- the run ----
  // The play step: reads the script (or the recorded text when the file does
  // not exist), builds it, runs the module constructors and the main part
  // request.repeatCount times, and ends the run (EndRun). Errors are reported
  // through the platform's UI; the outcome says how the play ended.
  PlayOutcome pplay(const PlayRequest& request);
  // FReLoad: resets the engine and builds the program from the reader's
  // lines. False when a build error was reported (AbortFlag is set then).
  bool BuildProgram(const std::vector<std::u16string>& lines);
  // Runs the module constructors (in the order their modules first appear)
  // and then the function `name` with the parameters as PARAM_STR, on the
  // main part's thread. An uncaught error is reported and sets AbortFlag.
  void UScrCall(std::u16string_view name, const std::vector<std::u16string>& parameters);
  // Releases what the run acquired: raises the stop request, waits for script
  // threads, empties the program tables, the globals and the per-thread
  // caches, and puts back what OPTION lines changed on the host.
  void EndRun();
  // Asks every running loop and thread to stop at its next statement (STOP
  // button, stop hotkey, Ctrl+C). Safe from any thread and from a signal handler.
  void RequestStop() { StopRequest.fetch_add(1); }

  // ---- run flags ----
  // An error or the user's "abort" ended the run; every statement loop stops.
  std::atomic<bool> AbortFlag{false};
  // Above 0: every loop and thread stops at its next statement.
  std::atomic<int> StopRequest{0};
  // EXITEXIT (or a shut-down builtin) was executed.
  std::atomic<bool> ExitAllFlag{false};
  // The pre-run check pass is running: builtins with side effects must not act.
  std::atomic<bool> CheckMode{false};
  // The stop form's run state (RunStateValue): 3 pauses the statement loop.
  std::atomic<int> RunState{kRunIdle};
  // The host's exit code: 0 at the start of every run, set by EXITEXIT and,
  // for a run from the command line (OneScriptRun), 9 by an uncaught error.
  std::atomic<int> ExitCode{0};
  // The thread that runs the main part.
  std::atomic<std::thread::id> MainThreadId{};
  // How often the pre-run check pass ran in this engine's life (it runs only
  // when a file of the script changed since the last play that passed it).
  int checkPassRuns = 0;

  // ---- settings of the host ----
  // The host runs one script and exits: an uncaught error sets exit code 9.
  bool OneScriptRun = false;
  // Before the main part starts, pause briefly with window messages flowing so
  // the host's own windows settle; a console host has none and skips it.
  bool SettleBeforeRun = true;
  // The script is embedded in the executable: error locations show bare file names.
  bool EmbeddedScript = false;
  // The main script as error messages name it (set by pplay); TRY_ERRLINE
  // leaves the main script's name out, a shown error names it.
  std::u16string MainScriptName;
  // Told, once per play, where the first statement lies that stands outside
  // every function (after the first FUNCTION, PROCEDURE, MODULE or CLASS of
  // its file) and so never runs; unset, nobody is told.
  std::function<void(const std::u16string& location)> OnStatementsOutsideFunctions;
  // POFF(P_MAQO_REEXEC): the host application restarts itself once the run
  // has ended (runAgain: the new process plays the script again). Called on
  // the thread of the script that asked. Unset, POFF reports that it needs
  // the host application.
  std::function<void(bool runAgain)> OnRestartRequest;
  // Asks the user a Yes/No question (ConfirmAbort). Unset: nobody can answer,
  // the question is shown as a message and taken as Yes (the run stops).
  std::function<bool(const std::u16string&)> AskYesNo;

  // ---- tables ----
 private:
  // User-interface work of script threads is handed to the thread that plays
  // the script: `platform` is the host's platform with this routing sink
  // (declared first, as `platform` refers to them).
  UiHandOver uiHandOver_;
  RoutedUi routedUi_;
  platform::Platform routedPlatform_;

 public:
  platform::Platform& platform;
  Program program;
  GlobalStore store;
  TReadMqsFile reader;
  // Guards the DEF_DLL declarations a running DEF_DLL line may replace.
  std::mutex dllLock;
  // Compiled expressions of texts known only at run time (EVAL and the like).
  CompileCache compileCache;
  // The builtins, and the state their families keep for this engine.
  const BuiltinLibrary& library;
  FamilyStateStore familyState;
  // Per-thread records: index 0 the main thread, s + 1 script-thread slot s.
  std::array<TMainTrd, kThreadRecords> TrdTable;
  Executor executor;
  // The 64 script-thread slots (declared after what their threads use, so
  // they are ended first when the engine goes).
  engine::ThreadSlots ThreadSlots{TrdTable};
  // How long the end of a run (or of a repetition) waits for script threads
  // after asking them to stop; a thread still stuck in a call then is
  // reported and abandoned.
  std::chrono::milliseconds ThreadEndBound{5000};

  // The FEND line of the function whose header is at headerLine (-1 if none).
  int FunctionEnd(int headerLine) const;
  bool OnMainThread() const { return std::this_thread::get_id() == MainThreadId.load(); }
  bool Japanese() const { return japanese_; }
  // A stop was requested and the calling thread is not running FINALLY parts
  // that OPTION OPTFINALLY lets run during a stop.
  bool StopRequestedFor(const TMainTrd& thread) const {
    return (StopRequest.load(std::memory_order_relaxed) > 0 || thread.quitRequested()) && thread.ignoreStop == 0;
  }
  // Reports an error that no TRY took over (dialog, script log, exit code, AbortFlag).
  void ReportUncaught(const RaisedError& error);
  // The lines the reporter wrote to the script log during this run.
  std::vector<std::u16string> ScriptLogLines();

  // ---- ReportTarget ----
  bool japanese() override { return japanese_; }
  bool stopRequested() override { return StopRequest.load() > 0; }
  bool aborted() override { return AbortFlag.load(); }
  void abortRun() override { AbortFlag.store(true); }
  void showError(const std::u16string& displayText) override;
  void showMessage(const std::u16string& text) override;
  bool askYesNo(const std::u16string& question) override;
  void appendToScriptLog(const std::u16string& line) override;
  void settleBeforeMessage() override;
  void noteErrorExit() override;

  // ---- BuildHost: the engine's reset and build errors; settings go to the host ----
  void resetForRun() override;
  void reportBuildError(const Message& message, const std::u16string& lineText) override;
  // Runs the families' before-dialog hooks (the input lock is released) on
  // the user-interface thread, ahead of an error or abort question or a script's dialog.
  void releaseBeforeDialog();
  int logLines() override { return hostSettings_.logLines(); }
  void setLogLines(int lines) override { hostSettings_.setLogLines(lines); }
  FontSetting dialogFont() override { return hostSettings_.dialogFont(); }
  void setDialogFont(const FontSetting& font) override { hostSettings_.setDialogFont(font); }
  FontSetting logFont() override { return hostSettings_.logFont(); }
  void setLogFont(const FontSetting& font) override { hostSettings_.setLogFont(font); }
  void setLogFileMode(int mode) override { hostSettings_.setLogFileMode(mode); }
  std::u16string resolveLogPath(const std::u16string& value) override { return hostSettings_.resolveLogPath(value); }
  void setLogPath(const std::u16string& path) override { hostSettings_.setLogPath(path); }
  void clearLogList() override { hostSettings_.clearLogList(); }
  void setStopFormPosition(int x, int y) override { hostSettings_.setStopFormPosition(x, y); }
  void putStopFormOnTop() override { hostSettings_.putStopFormOnTop(); }
  void unregisterStopHotkey() override { hostSettings_.unregisterStopHotkey(); }

 private:
  void indexFunctions();
  void runMainPart(std::u16string_view name, const std::vector<std::u16string>& parameters);
  // Asks the script threads to stop (the caller has raised StopRequest) and
  // waits for them, serving their user-interface requests meanwhile; after
  // ThreadEndBound the ones still running are reported and abandoned.
  void waitForScriptThreads();
  // False for the TrdTable records a script thread (perhaps an abandoned
  // one) still uses: they are neither reset nor emptied under it.
  bool recordIsFree(size_t index) { return index == 0 || !ThreadSlots.recordInUse(static_cast<int>(index)); }
  // The pre-run check pass; its first error is reported and stops the play.
  void runCheckPass();
  void tellStatementsOutsideFunctions();
  std::u16string shownLocation(const std::u16string& location, bool inMainScript) const;

  BuildHost& hostSettings_;
  const bool japanese_;
  std::unique_ptr<GlobalScopeHost> globalHost_;
  std::unique_ptr<BuiltinNameSource> builtinNames_;
  GlobalSnapshot snapshot_;
  std::vector<int> functionEnds_;
  std::mutex logLock_;
  std::vector<std::u16string> scriptLog_;
};

}  // namespace maqo::engine
