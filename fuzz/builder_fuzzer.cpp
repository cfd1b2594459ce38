// Fuzzes the program builder: the input is a script file's bytes; the
// reader's normalised lines (the builder's only source) are built into a
// program: statements split, kinds given, blocks linked, declarations and
// OPTIONs applied. Any input must give a program, line errors or a reported
// build error.
#include <cstdint>
#include <string>

#include "engine/builder/build_time_evaluator.h"
#include "engine/builder/headless_build_host.h"
#include "engine/builder/program_builder.h"
#include "engine/builder/program_listing.h"
#include "engine/reader/script_reader.h"
#include "fuzz/fuzz_input.h"
#include "fuzz/memory_files.h"

namespace maqo::fuzz {
namespace {

struct BuilderWorld {
  InstantClock clock;
  MemoryFiles files;
  QuietUi ui;
  platform::Platform platform{clock, files, platform::consolePlatform().locale, ui};

  BuilderWorld() {
    files.put(u"/FUZZ/SUB.MQS", "FUNCTION F(A, VAR B, C[] , D = 2)\r\n  RESULT = A\r\nFEND\r\n"
                                "MODULE M\r\n  PUBLIC P = 1\r\n  PROCEDURE M()\r\n  FEND\r\nENDMODULE\r\n");
  }
};

BuilderWorld& world() {
  static BuilderWorld w;
  return w;
}

}  // namespace
}  // namespace maqo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace maqo;
  using namespace maqo::fuzz;
  BuilderWorld& w = world();
  w.ui.clear();
  engine::Lines lines = engine::SplitTextLines(DecodeInput(data, size, w.platform.locale));
  engine::TReadMqsFile reader(w.platform);
  reader.creUscrptFil(lines, u"/FUZZ/MAIN.MQS");
  if (!reader.ReadError.empty()) return 0;

  engine::GlobalStore store;
  engine::Program program;
  engine::HeadlessBuildHost host;
  engine::BuildTimeEvaluator evaluator(store, program.Options, w.platform.locale);
  engine::FReLoad(program, lines, engine::BuildContext{store, host, false});
  if (program.Records.size() != program.ScriptLines.size() || program.SourceOf.size() != program.ScriptLines.size())
    Finding("the program tables are not parallel");
  const std::vector<std::u16string> listing = engine::ProgramListing(program);
  if (listing.size() != program.ScriptLines.size()) Finding("the listing does not show every program line");
  return 0;
}
