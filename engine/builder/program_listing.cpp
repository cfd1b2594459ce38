#include "engine/builder/program_listing.h"

#include "platform/text_codec.h"

namespace maqo::engine {

std::u16string ProgramLineListing(const Program& program, int line) {
  const auto& record = program.Records[static_cast<size_t>(line)];
  return u16(std::to_string(line)) + u"\t" + u16(std::to_string(kindNumber(record.kind))) + u"\t" +
         program.ScriptLines[static_cast<size_t>(line)];
}

std::vector<std::u16string> ProgramListing(const Program& program) {
  std::vector<std::u16string> lines;
  lines.reserve(program.ScriptLines.size());
  for (int q = 0; q < program.lineCount(); ++q) lines.push_back(ProgramLineListing(program, q));
  return lines;
}

}  // namespace maqo::engine
