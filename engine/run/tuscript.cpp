#include "engine/run/tuscript.h"

#include "engine/builder/build_messages.h"
#include "engine/builder/program_builder.h"
#include "engine/builder/statements_outside_functions.h"
#include "engine/check/check_pass.h"
#include "engine/errors/location_text.h"
#include "engine/exec/frame_hosts.h"
#include "engine/eval/text_helpers.h"
#include "engine/run/large_stack.h"
#include "engine/threads/thread_messages.h"
#include "platform/text_codec.h"

namespace maqo::engine {

namespace {

std::u16string folderOf(const std::u16string& path) {
  const size_t cut = path.find_last_of(u"\\/");
  return cut == std::u16string::npos ? std::u16string() : path.substr(0, cut + 1);
}

std::u16string exceptionText(const std::exception& error) {
  if (const auto* script = dynamic_cast<const ScriptError*>(&error)) return script->message().english;
  return u16(error.what());
}

}  // namespace

TUScript::TUScript(platform::Platform& hostPlatform, BuildHost& hostSettings, const BuiltinLibrary& builtinLibrary)
    : routedUi_(hostPlatform.ui, uiHandOver_),
      routedPlatform_{hostPlatform.clock, hostPlatform.files, hostPlatform.locale, routedUi_},
      platform(routedPlatform_),
      reader(platform),
      library(builtinLibrary),
      executor(*this),
      hostSettings_(hostSettings),
      japanese_(platform.locale.japanese()),
      globalHost_(std::make_unique<GlobalScopeHost>(executor)) {
  TrdTable[0].isMain = true;
  // The families watch the main script's pauses (the mouse buttons seen
  // between statements); the user-interface thread's pumps are not the script's.
  if (library.hasMessagePauseHooks())
    routedUi_.setAfterPump([this] {
      if (OnMainThread()) library.afterMessagePause();
    });
  // An ended thread may be what the user-interface thread waits for.
  ThreadSlots.onSlotFreed = [this] { uiHandOver_.wake(); };
  store.abortFlag = &AbortFlag;
  // Byte strings (COPYB, CHRB, READINI numbers) turn into text through the system's ANSI code page.
  ScriptValue::setByteStringLocale(&platform.locale);
  // The builtin constants and the special names computed when read.
  builtinNames_ = library.makeNameSource(NameSourceContext{
      platform, [this] { return EmbeddedScript; },
      [this](THensuFmt& frame) {
        return &frame != &store.GlobalScope && static_cast<ExecFrame&>(frame).thread.comErrorFlag;
      }});
  store.builtinNames = builtinNames_.get();
  // Expressions of declarations: in the global frame while the program is
  // built, else in the frame of the statement (every other frame the store
  // sees is an ExecFrame).
  store.evaluate = [this](std::u16string_view expression, THensuFmt& frame) {
    if (&frame == &store.GlobalScope) return EvalExpression(expression, *globalHost_, compileCache);
    return EvalExpression(expression, static_cast<ExecFrame&>(frame).evalHost, compileCache);
  };
}

TUScript::~TUScript() { ScriptValue::setByteStringLocale(nullptr); }

// ---- the play step ----

PlayOutcome TUScript::pplay(const PlayRequest& request) {
  AbortFlag.store(false);
  // Messages name the main script as the user gave it.
  MainScriptName = request.shownName.empty() ? request.scriptPath : request.shownName;
  if (EmbeddedScript) MainScriptName = MainScriptName.substr(MainScriptName.find_last_of(u"\\/:") + 1);
  std::vector<std::u16string> lines;
  if (!platform.files.fileExists(request.scriptPath)) lines = request.recordedText;
  const bool changed = reader.creUscrptFil(lines, request.scriptPath);
  if (!reader.ReadError.empty()) {
    platform.ui.beep();
    platform.ui.messageBox(reader.ReadError, u"maqo");
    return PlayOutcome::ReadFailed;
  }

  PlayOutcome outcome = PlayOutcome::Completed;
  try {
    BuildProgram(lines);
    if (OnStatementsOutsideFunctions) tellStatementsOutsideFunctions();
    const int repetitions = request.repeatCount < 1 ? 1 : request.repeatCount;
    if (repetitions > 1) snapshot_.take(store);
    // A changed file (or a failed read, build or check before) makes the check
    // pass walk every function before anything runs.
    if ((changed || request.checkOnly) && !AbortFlag.load()) runCheckPass();
    if (request.checkOnly) {
      outcome = AbortFlag.load() ? PlayOutcome::BuildFailed : PlayOutcome::Completed;
    } else if (AbortFlag.load()) {
      reader.ScriptTimestamps.clear();
      outcome = PlayOutcome::BuildFailed;
    } else {
      RunHookContext run{familyState, platform};
      library.beginRun(run);
      const std::u16string folder = folderOf(request.scriptPath);
      for (int r = 0; r < repetitions; ++r) {
        if (!folder.empty()) platform.files.setCurrentDirectory(folder);
        UScrCall(u"__MAIN__", request.parameters);
        if (AbortFlag.load()) break;
        if (repetitions > 1) snapshot_.restore(store);
        // EXITEXIT ends its repetition only; a stop request ends them all.
        if (ExitAllFlag.load()) {
          ExitAllFlag.store(false);
          StopRequest.store(0);
        }
      }
      if (AbortFlag.load()) {
        outcome = PlayOutcome::ErrorStopped;
      } else if (StopRequest.load() > 0) {
        outcome = PlayOutcome::Stopped;
      }
    }
  } catch (const std::exception& error) {
    platform.ui.messageBox(u"pplay:" + exceptionText(error), u"maqo");
    outcome = PlayOutcome::ErrorStopped;
  }
  EndRun();
  return outcome;
}

bool TUScript::BuildProgram(const std::vector<std::u16string>& lines) {
  FReLoad(program, lines, BuildContext{store, *this, japanese_});
  indexFunctions();
  return !program.DirectErrorReported;
}

void TUScript::indexFunctions() {
  const int count = program.lineCount();
  functionEnds_.assign(static_cast<size_t>(count), -1);
  for (const FuncEntry& entry : program.FuncEntries) {
    if (entry.headerLine < 0 || entry.headerLine >= count) continue;
    int end = entry.headerLine + 1;
    while (end < count && program.Records[static_cast<size_t>(end)].kind != StatementKind::Fend) ++end;
    functionEnds_[static_cast<size_t>(entry.headerLine)] = end;
  }
}

int TUScript::FunctionEnd(int headerLine) const {
  if (headerLine < 0 || static_cast<size_t>(headerLine) >= functionEnds_.size()) return -1;
  const int end = functionEnds_[static_cast<size_t>(headerLine)];
  return end >= 0 ? end : program.lineCount();
}

void TUScript::runCheckPass() {
  ++checkPassRuns;
  // Set until UScrCall starts the run.
  CheckMode.store(true);
  const auto failure = CheckAllFunctions(CheckScope{program, store, executor, platform.locale, library});
  if (!failure) return;
  const bool inMainScript = ScriptFileOfFunction(program, failure->headerLine, EmbeddedScript).empty();
  ReportScriptError(*this, failure->message,
                    shownLocation(LocationText(program, failure->headerLine, failure->line, japanese_, EmbeddedScript),
                                  inMainScript));
  // The script must not run even when a stop request kept the reporter quiet.
  AbortFlag.store(true);
  // The reporter leaves the exit code alone while CheckMode is set; a script
  // rejected before it ran is an error exit like any other.
  if (OneScriptRun) ExitCode.store(9);
}

void TUScript::tellStatementsOutsideFunctions() {
  const int line = FirstStatementOutsideFunctions(program);
  if (line < 0) return;
  const bool inMainScript = ScriptFileOfFunction(program, line, EmbeddedScript).empty();
  OnStatementsOutsideFunctions(
      shownLocation(LocationText(program, line, line, japanese_, EmbeddedScript), inMainScript));
}

std::u16string TUScript::shownLocation(const std::u16string& location, bool inMainScript) const {
  if (!inMainScript || MainScriptName.empty()) return location;
  return MainScriptName + u": " + location;
}

void TUScript::UScrCall(std::u16string_view name, const std::vector<std::u16string>& parameters) {
  ExitCode.store(0);
  for (size_t i = 0; i < TrdTable.size(); ++i)
    if (recordIsFree(i)) TrdTable[i].resetRunState();
  TrdTable[0].isMain = true;
  if (SettleBeforeRun) {
    platform.clock.sleepMs(20);
    for (int i = 0; i < 20; ++i) {
      platform.clock.sleepMs(0);
      platform.ui.pumpMessages();
    }
  }
  CheckMode.store(false);
  try {
    // While the main part runs, this thread serves the user-interface
    // requests of script threads and keeps its window messages flowing.
    std::atomic<bool> mainPartEnded{false};
    UiHandOver::Serving serving(uiHandOver_);
    RunOnLargeStack(
        kMainStackBytes,
        [&] {
          struct Ended {
            std::atomic<bool>& flag;
            UiHandOver& handOver;
            ~Ended() {
              flag.store(true);
              handOver.wake();
            }
          } ended{mainPartEnded, uiHandOver_};
          MainThreadId.store(std::this_thread::get_id());
          runMainPart(name, parameters);
        },
        [&] { uiHandOver_.serveUntil([&] { return mainPartEnded.load(); }, [&] { platform.ui.pumpMessages(); }); });
  } catch (const std::exception& error) {
    platform.ui.messageBox(u"UScrCall:" + exceptionText(error), u"maqo");
  }
  // The threads the main part started end with it, so none runs on into the
  // next repetition (or past the snapshot that starts it).
  if (ThreadSlots.occupied() > 0) {
    StopRequest.fetch_add(1);
    waitForScriptThreads();
    StopRequest.fetch_sub(1);
  }
}

void TUScript::runMainPart(std::u16string_view name, const std::vector<std::u16string>& parameters) {
  TMainTrd& main = TrdTable[0];
  main.prepare(program.lineCount());
  ExecFrame run(executor, main, nullptr);
  ExecFrame* failed = &run;
  try {
    // Module constructors, in the order the modules first appear.
    const int modules = store.ModuleNames.count();
    for (int ordinal = 0; ordinal < modules; ++ordinal) {
      for (int m = 0; m < modules; ++m) {
        if (store.ModuleNames.valueAt(m) != ordinal) continue;
        const std::u16string& module = store.ModuleNames.nameAt(m);
        const auto constructor = executor.FindFunction(module + u"." + module, run, true);
        if (!constructor || constructor->header <= 0) continue;
        std::vector<CallArgument> none;
        executor.CallUserFunction(run, *constructor, none, false);
      }
    }
    const auto function = executor.FindFunction(name, run, true);
    if (!function) return;
    std::vector<CallArgument> arguments(parameters.size());
    for (size_t i = 0; i < parameters.size(); ++i) arguments[i].value = ScriptValue::string(parameters[i]);
    run.firstLine = function->header;
    run.setLine(function->header);
    executor.CallUserFunction(run, *function, arguments, true);
  } catch (const RaisedError& error) {
    ReportUncaught(error);
  } catch (const ScriptError& error) {
    ReportUncaught(executor.Raise(*failed, error));
  }
}

void TUScript::EndRun() {
  StopRequest.fetch_add(1);
  waitForScriptThreads();
  // The families release what the run left behind (open files, window IDs ...).
  RunHookContext run{familyState, platform};
  library.endRun(run);
  RestoreOptionChanges(program.Options, hostSettings_);
  program.clear();
  store.ResetProgram();
  snapshot_.clear();
  functionEnds_.clear();
  for (size_t i = 0; i < TrdTable.size(); ++i)
    if (recordIsFree(i)) TrdTable[i].clearCaches();
  compileCache.clear();
}

void TUScript::waitForScriptThreads() {
  ThreadSlots.wakeAll();
  const auto deadline = UiHandOver::Clock::now() + ThreadEndBound;
  if (uiHandOver_.serveUntil([this] { return ThreadSlots.reclaim(); }, [this] { platform.ui.pumpMessages(); },
                             deadline))
    return;
  for (const AbandonedThread& thread : ThreadSlots.abandonRunning())
    platform.ui.messageBox(thread_messages::abandoned(thread.slot, thread.function).in(japanese_), u"maqo");
}

// ---- errors ----

void TUScript::ReportUncaught(const RaisedError& error) {
  ReportScriptError(*this, error.message(), shownLocation(error.location(), error.inMainScript()));
}

std::vector<std::u16string> TUScript::ScriptLogLines() {
  std::lock_guard guard(logLock_);
  return scriptLog_;
}

void TUScript::releaseBeforeDialog() {
  // The user must be able to answer the dialog: a script's input lock goes first.
  routedUi_.onUiThread([this] {
    RunHookContext run{familyState, platform};
    library.beforeErrorShown(run);
  });
}

void TUScript::showError(const std::u16string& displayText) {
  releaseBeforeDialog();
  platform.ui.errorDialog(displayText);
}

void TUScript::showMessage(const std::u16string& text) { platform.ui.messageBox(text, u"maqo"); }

bool TUScript::askYesNo(const std::u16string& question) {
  releaseBeforeDialog();
  if (!AskYesNo) {
    platform.ui.messageBox(question, u"maqo");
    return true;
  }
  bool yes = true;
  routedUi_.onUiThread([&] { yes = AskYesNo(question); });
  return yes;
}

void TUScript::appendToScriptLog(const std::u16string& line) {
  std::lock_guard guard(logLock_);
  scriptLog_.push_back(line);
}

void TUScript::settleBeforeMessage() {
  platform.clock.sleepMs(20);
  for (int i = 0; i < 20; ++i) platform.ui.pumpMessages();
}

void TUScript::noteErrorExit() {
  if (OneScriptRun && !CheckMode.load()) ExitCode.store(9);
}

// ---- BuildHost ----

void TUScript::resetForRun() {
  AbortFlag.store(false);
  StopRequest.store(0);
  ExitAllFlag.store(false);
  CheckMode.store(false);
  MainThreadId.store(std::this_thread::get_id());
  for (size_t i = 0; i < TrdTable.size(); ++i)
    if (recordIsFree(i)) TrdTable[i].clearCaches();
  snapshot_.clear();
  compileCache.clear();
  {
    std::lock_guard guard(logLock_);
    scriptLog_.clear();
  }
  hostSettings_.resetForRun();
}

void TUScript::reportBuildError(const Message& message, const std::u16string& lineText) {
  ReportScriptError(*this, message, lineText);
}

}  // namespace maqo::engine
