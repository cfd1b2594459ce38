#include "tools/mqsrun/runner.h"

#include "engine/builder/build_time_evaluator.h"
#include "engine/builder/headless_build_host.h"
#include "engine/builder/program_builder.h"
#include "engine/builder/program_listing.h"
#include "engine/reader/script_reader.h"
#include "platform/text_codec.h"

namespace maqo::tools {

namespace {

constexpr int kExitError = 9;
constexpr int kExitUsage = 2;

int usage(platform::Platform& p) {
  p.ui.messageBox(u"usage: mqsrun [-R n] SCRIPT [params...] | mqsrun --lines SCRIPT | mqsrun --program SCRIPT | "
                  u"mqsrun --version", u"mqsrun");
  return kExitUsage;
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

}  // namespace

int runMqsrun(platform::Platform& p, const std::vector<std::u16string>& args) {
  if (args.empty()) return usage(p);
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
  p.ui.messageBox(u"mqsrun: running scripts is not available yet: the statement executor is still missing", u"mqsrun");
  return kExitError;
}

}  // namespace maqo::tools
