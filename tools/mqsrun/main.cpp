// mqsrun: runs one script headless and exits.
//   mqsrun [-R n] SCRIPT [params...]   run the script
//   mqsrun --terminal-dialogs [-R n] SCRIPT ...  the same, its dialogs asked on the terminal
//   mqsrun --check SCRIPT              read, build and check it without running
//   mqsrun --builtins                  list the builtins and whether they run here
//   mqsrun --lines SCRIPT              print the reader's normalised lines
//   mqsrun --program SCRIPT            print the built program lines with their kinds
//   mqsrun --version | --help
// Exit codes: 0 normal, n from EXITEXIT n, 9 for an uncaught or read error,
// 2 for a usage error.
#include <string>
#include <vector>

#include "engine/library/builtin_library.h"
#include "host/builtin_families.h"
#include "platform/platform.h"
#include "platform/text_codec.h"
#include "tools/mqsrun/runner.h"

namespace {

// Every builtin family this program links registers with the engine's library.
int runWithBuiltins(const std::vector<std::u16string>& args) {
  maqo::engine::BuiltinLibrary library;
  maqo::host::RegisterAllBuiltinFamilies(library);
  return maqo::tools::runMqsrun(maqo::platform::consolePlatform(), library, args);
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
  std::vector<std::u16string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(reinterpret_cast<const char16_t*>(argv[i]));
  return runWithBuiltins(args);
}
#else
int main(int argc, char** argv) {
  std::vector<std::u16string> args;
  for (int i = 1; i < argc; ++i) args.push_back(maqo::utf8ToUtf16(argv[i]));
  return runWithBuiltins(args);
}
#endif
