#include "tools/mqsrun/runner.h"

#include <atomic>
#include <csignal>
#include <cstdio>

#include "builtins/builtin_availability.h"
#include "engine/builder/build_time_evaluator.h"
#include "engine/builder/headless_build_host.h"
#include "engine/builder/program_builder.h"
#include "engine/builder/program_listing.h"
#include "engine/reader/script_reader.h"
#include "engine/run/tuscript.h"
#include "engine/values/number_text.h"
#include "host/script_session.h"
#include "platform/dialog_windows.h"
#include "platform/text_codec.h"

namespace maqo::tools {

namespace {

constexpr int kExitError = 9;
constexpr int kExitUsage = 2;

constexpr std::u16string_view kUsage =
    u"usage: mqsrun [-R n] SCRIPT [params...]   run the script (exit code 0, EXITEXIT's code, or 9 on an error)\n"
    u"       mqsrun --terminal-dialogs ...      run it with its dialogs asked on the terminal, not as windows\n"
    u"       mqsrun --check SCRIPT              read, build and check the script without running it (0 or 9)\n"
    u"       mqsrun --builtins                  list every builtin and whether this build runs it\n"
    u"       mqsrun --lines SCRIPT              print the reader's normalised lines\n"
    u"       mqsrun --program SCRIPT            print the built program lines with their kinds\n"
    u"       mqsrun --version | --help";

int usage(platform::Platform& p) {
  p.ui.messageBox(std::u16string(kUsage), u"mqsrun");
  return kExitUsage;
}

// mqsrun --builtins: "NAME<TAB>yes", "NAME<TAB>needs Windows" or
// "NAME<TAB>not built", one line per builtin in table order.
int listBuiltins(platform::Platform& p, const engine::BuiltinLibrary& library) {
#ifdef _WIN32
  constexpr bool onWindows = true;
#else
  constexpr bool onWindows = false;
#endif
  for (const engine::BuiltinEntry& builtin : library.entries())
    p.ui.printLine(std::u16string(builtin.name) + u"\t" +
                   std::u16string(builtins::AvailabilityText(builtins::AvailabilityOf(builtin, onWindows))));
  return 0;
}

// Reads the script (and what it CALLs) into lines; false after showing why not.
bool readScript(platform::Platform& p, const std::u16string& script, engine::Lines& lines) {
  const std::u16string path = p.files.fullPath(script);
  if (!p.files.fileExists(path)) {
    // The reader would take a missing file for the host's recorded text.
    p.ui.messageBox(u"FILE Not Found :" + path, u"mqsrun");
    return false;
  }
  engine::TReadMqsFile reader(p);
  reader.creUscrptFil(lines, path);
  if (!reader.ReadError.empty()) {
    p.ui.messageBox(reader.ReadError, u"mqsrun");
    return false;
  }
  return true;
}

// Prints the reader's normalised lines, one per line, for tests of the reader.
int printLines(platform::Platform& p, const std::u16string& script) {
  engine::Lines lines;
  if (!readScript(p, script, lines)) return kExitError;
  for (const auto& line : lines) p.ui.printLine(line);
  return 0;
}

// Prints the built program, one line per program line ("index TAB kind TAB
// text"), for tests of the builder. Exit code 9 when the build found errors.
int printProgram(platform::Platform& p, const std::u16string& script) {
  engine::Lines lines;
  if (!readScript(p, script, lines)) return kExitError;
  engine::GlobalStore store;
  engine::Program program;
  engine::HeadlessBuildHost host;
  engine::BuildTimeEvaluator evaluator(store, program.Options, p.locale);
  const bool japanese = p.locale.japanese();
  engine::FReLoad(program, lines, engine::BuildContext{store, host, japanese});
  for (const auto& line : engine::ProgramListing(program)) p.ui.printLine(line);
  for (const auto& error : host.errors) p.ui.messageBox(error.message.in(japanese) + u"\n" + error.lineText, u"mqsrun");
  return host.errors.empty() && program.firstErrorLine() < 0 ? 0 : kExitError;
}

// Ctrl+C and SIGTERM ask the running script to stop, as the STOP button does:
// every loop ends at its next statement, FINALLY parts run as a stop lets
// them, and the process exits with 128 + the signal's number.
std::atomic<int>* stopTarget = nullptr;
volatile std::sig_atomic_t stopSignal = 0;

extern "C" void onStopSignal(int signal) {
  stopSignal = signal;
  if (std::atomic<int>* target = stopTarget) target->fetch_add(1);
  std::signal(signal, onStopSignal);  // the Windows runtime resets the handler before calling it
}

class StopOnSignals {
 public:
  explicit StopOnSignals(std::atomic<int>& stopRequest) {
    stopSignal = 0;
    stopTarget = &stopRequest;
    previousInterrupt_ = std::signal(SIGINT, onStopSignal);
    previousTerminate_ = std::signal(SIGTERM, onStopSignal);
  }
  ~StopOnSignals() {
    std::signal(SIGINT, previousInterrupt_);
    std::signal(SIGTERM, previousTerminate_);
    stopTarget = nullptr;
  }
  StopOnSignals(const StopOnSignals&) = delete;
  StopOnSignals& operator=(const StopOnSignals&) = delete;

 private:
  void (*previousInterrupt_)(int);
  void (*previousTerminate_)(int);
};

// mqsrun [-R n] SCRIPT [params...]: plays the script as the host would from
// its command line and exits with the run's exit code.
int runScript(platform::Platform& p, const engine::BuiltinLibrary& library, const std::vector<std::u16string>& args,
              bool checkOnly, bool terminalDialogs = false) {
  size_t next = 0;
  int repeat = 1;
  if (args[0] == u"-R" || (args[0].size() > 2 && args[0].compare(0, 2, u"-R") == 0)) {
    std::u16string count = args[0].size() > 2 ? args[0].substr(2) : std::u16string();
    next = 1;
    if (count.empty()) {
      if (args.size() < 2) return usage(p);
      count = args[1];
      next = 2;
    }
    const auto value = engine::parseIntegerText(count);
    if (!value) return usage(p);
    repeat = *value < 1 ? 1 : *value > 1000000 ? 1000000 : static_cast<int>(*value);
  }
  if (next >= args.size()) return usage(p);
  const std::u16string path = p.files.fullPath(args[next]);
  if (!p.files.fileExists(path)) {
    // The host would play its recorded text instead; a console run has none.
    p.ui.messageBox(u"FILE Not Found :" + path, u"mqsrun");
    return kExitError;
  }
  engine::PlayRequest request;
  request.scriptPath = path;
  request.shownName = args[next];
  request.parameters.assign(args.begin() + static_cast<std::ptrdiff_t>(next) + 1, args.end());
  request.repeatCount = repeat;
  request.checkOnly = checkOnly;

  // PRINT lines appear as they are printed, also when standard output is a
  // file or a pipe (a scheduled job's log, a CI console).
  std::setvbuf(stdout, nullptr, _IOLBF, 1 << 16);

  // PRINT also feeds the log (its window once LOGPRINT shows it); the log
  // file is written only when the script asks for it with OPTION LOGFILE or LOGPATH.
  host::ScriptSessionSettings settings;
  settings.logFilePath = p.files.executableDirectory() + u"\\MQSRUN.LOG";
  settings.logFileName = u"MQSRUN.LOG";
  settings.messageCaption = u"mqsrun";
  host::ScriptSession session(p, library, settings);
  engine::TUScript& engine = session.engine();
  StopOnSignals signals(engine.StopRequest);
  // MSGBOX, INPUT, SLCTBOX and POPUPMENU show the build's forms (the
  // terminal where there are no windows), unless the terminal was asked for.
  platform::setDialogWindows(terminalDialogs ? nullptr : &platform::buildDialogWindows());
  const engine::PlayOutcome outcome = session.play(request);
  if (stopSignal != 0) return 128 + stopSignal;
  return session.exitCodeAfter(outcome, checkOnly);
}

}  // namespace

int runMqsrun(platform::Platform& p, const engine::BuiltinLibrary& library, const std::vector<std::u16string>& args) {
  if (args.empty()) return usage(p);
  if (args[0] == u"--help" || args[0] == u"-h" || args[0] == u"/?") {
    p.ui.printLine(std::u16string(kUsage));
    return 0;
  }
  if (args[0] == u"--builtins") {
    if (args.size() != 1) return usage(p);
    return listBuiltins(p, library);
  }
  if (args[0] == u"--check") {
    if (args.size() != 2) return usage(p);
    return runScript(p, library, {args[1]}, true);
  }
  if (args[0] == u"--version") {
    p.ui.printLine(u"mqsrun " + utf8ToUtf16(MAQO_VERSION));
    return 0;
  }
  if (args[0] == u"--lines") {
    if (args.size() != 2) return usage(p);
    return printLines(p, args[1]);
  }
  if (args[0] == u"--program") {
    if (args.size() != 2) return usage(p);
    return printProgram(p, args[1]);
  }
  if (args[0] == u"--terminal-dialogs") {
    if (args.size() < 2) return usage(p);
    return runScript(p, library, std::vector<std::u16string>(args.begin() + 1, args.end()), false, true);
  }
  return runScript(p, library, args, false);
}

}  // namespace maqo::tools
