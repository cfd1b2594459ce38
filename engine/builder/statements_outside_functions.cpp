#include "engine/builder/statements_outside_functions.h"

#include <vector>

#include "engine/eval/text_helpers.h"

namespace maqo::engine {

int FirstStatementOutsideFunctions(const Program& program) {
  const int count = program.lineCount();
  std::vector<bool> inFunction(static_cast<size_t>(count), false);
  for (const FuncEntry& entry : program.FuncEntries) {
    if (entry.headerLine < 0 || entry.headerLine >= count) continue;
    int line = entry.headerLine;
    for (; line < count && program.Records[static_cast<size_t>(line)].kind != StatementKind::Fend; ++line)
      inFunction[static_cast<size_t>(line)] = true;
    if (line < count) inFunction[static_cast<size_t>(line)] = true;
  }
  for (int line = 0; line < count; ++line) {
    if (inFunction[static_cast<size_t>(line)]) continue;
    if (program.Records[static_cast<size_t>(line)].kind == StatementKind::Nop) continue;
    if (!TrimView(program.ScriptLines[static_cast<size_t>(line)]).empty()) return line;
  }
  return -1;
}

}  // namespace maqo::engine
