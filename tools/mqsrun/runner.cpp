#include "tools/mqsrun/runner.h"

#include "engine/reader/script_reader.h"
#include "platform/text_codec.h"

namespace maqo::tools {

namespace {

constexpr int kExitError = 9;
constexpr int kExitUsage = 2;

int usage(platform::Platform& p) {
  p.ui.messageBox(u"usage: mqsrun [-R n] SCRIPT [params...] | mqsrun --lines SCRIPT | mqsrun --version", u"mqsrun");
  return kExitUsage;
}

// Prints the reader's normalised lines, one per line, for tests of the reader.
int printLines(platform::Platform& p, const std::u16string& script) {
  const std::u16string path = p.files.fullPath(script);
  if (!p.files.fileExists(path)) {
    // The reader would take a missing file for the host's recorded text.
    p.ui.messageBox(u"FILE Not Found :" + path, u"mqsrun");
    return kExitError;
  }
  engine::TReadMqsFile reader(p);
  engine::Lines lines;
  reader.creUscrptFil(lines, path);
  if (!reader.ReadError.empty()) {
    p.ui.messageBox(reader.ReadError, u"mqsrun");
    return kExitError;
  }
  for (const auto& line : lines) p.ui.printLine(line);
  return 0;
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
  p.ui.messageBox(u"mqsrun: running scripts is not available yet: the statement executor is still missing", u"mqsrun");
  return kExitError;
}

}  // namespace maqo::tools
