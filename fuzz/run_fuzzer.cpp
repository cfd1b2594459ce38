// Fuzzes whole runs: the input is a script file's bytes, played as the host
// plays a recorded script (read, build, check, run, clean up).
//
// Keeping the machine safe: a script runs only when its text, and the text of
// every file it CALLs, names no builtin outside the allow-list of
// builtin_allowlist.h (no processes, file writes, deletions, power, sound,
// input or EVAL). It runs with the current folder set to a scratch folder of
// its own, emptied after every run, and on a clock on which waits pass at once, so SLEEP and the
// waits of window searches pass at once. Endless loops are stopped by a
// watchdog after MAQO_FUZZ_RUN_MS milliseconds of real time (default 200),
// as the STOP button stops them.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "automation/windows/window_builtins.h"
#include "builtins/register_builtins.h"
#include "engine/builder/headless_build_host.h"
#include "engine/reader/script_reader.h"
#include "engine/run/tuscript.h"
#include "fuzz/builtin_allowlist.h"
#include "fuzz/fuzz_input.h"
#include "fuzz/run_watchdog.h"

namespace maqo::fuzz {
namespace {

namespace fs = std::filesystem;

// The builtins a run may call (the allow-list decides which ones a script names).
const engine::BuiltinLibrary& fuzzLibrary() {
  static const engine::BuiltinLibrary& library = *[] {
    auto* made = new engine::BuiltinLibrary;
    builtins::RegisterCoreBuiltins(*made);
    automation::RegisterWindowBuiltins(*made);
    return made;
  }();
  return library;
}

struct RunWorld {
  fs::path scratch;
  fs::path started;  // libFuzzer's own paths may be relative to it
  std::u16string scriptPath;
  int budgetMs = 200;
  InstantClock clock;
  QuietUi ui;
  platform::Platform platform{clock, platform::consolePlatform().files, platform::consolePlatform().locale, ui};
  RunWatchdog watchdog;

  RunWorld() {
    std::string folder = (fs::temp_directory_path() / "maqo-fuzz-run-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) Finding("cannot make the scratch folder");
    scratch = folder;
    started = fs::current_path();
    scriptPath = (scratch / "FUZZ.MQS").u16string();
    if (const char* ms = std::getenv("MAQO_FUZZ_RUN_MS"); ms != nullptr && std::atoi(ms) > 0) budgetMs = std::atoi(ms);
  }
  ~RunWorld() {
    std::error_code ignored;
    fs::remove_all(scratch, ignored);
  }

  // A run happens in the scratch folder; afterwards the folder is emptied
  // and libFuzzer gets its current folder back.
  void enter() { fs::current_path(scratch); }
  void leave() {
    std::error_code ignored;
    if (!fs::is_empty(scratch, ignored))
      for (const auto& entry : fs::directory_iterator(scratch, ignored)) fs::remove_all(entry.path(), ignored);
    fs::current_path(started, ignored);
  }
};

RunWorld* world = nullptr;

// The text of the script and of every file it CALLs, as the reader delivers
// it; nothing when the read fails (the play then fails the same way).
std::optional<engine::Lines> readLikeThePlay(RunWorld& w, const engine::Lines& recorded) {
  engine::TReadMqsFile reader(w.platform);
  engine::Lines lines = recorded;
  reader.creUscrptFil(lines, w.scriptPath);
  if (reader.ReadError.empty()) return lines;
  return std::nullopt;
}

}  // namespace
}  // namespace maqo::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  using namespace maqo::fuzz;
  CheckRefusals();
  static RunWorld w;
  world = &w;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace maqo;
  using namespace maqo::fuzz;
  RunWorld& w = *world;
  const std::u16string text = DecodeInput(data, size, w.platform.locale);
  if (!RefusedBuiltinIn(text).empty()) return 0;
  const engine::Lines recorded = engine::SplitTextLines(text);
  w.enter();
  struct Leave {
    RunWorld& w;
    ~Leave() { w.leave(); }
  } leave{w};
  if (const std::optional<engine::Lines> read = readLikeThePlay(w, recorded)) {
    for (const std::u16string& line : *read)
      if (!RefusedBuiltinIn(line).empty()) return 0;
  }

  w.ui.clear();
  engine::HeadlessBuildHost settings;
  engine::TUScript engine(w.platform, settings, fuzzLibrary());
  engine.OneScriptRun = true;
  engine::PlayRequest request;
  request.scriptPath = w.scriptPath;
  request.parameters = {u"one", u"2"};
  request.recordedText = recorded;
  w.watchdog.watch(engine, w.budgetMs);
  engine.pplay(request);
  w.watchdog.release();
  if (!w.ui.internalFailure.empty()) Finding("an internal exception ended the run", w.ui.internalFailure);
  return 0;
}
