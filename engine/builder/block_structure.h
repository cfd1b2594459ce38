// The second build pass: gives every program line its statement kind, pairs
// the lines of every block (IFB/ELSEIF/ELSE/ENDIF, SELECT/CASE/DEFAULT/SELEND,
// FOR and FOR ... IN/NEXT, WHILE/WEND, REPEAT/UNTIL, TRY/EXCEPT or
// FINALLY/ENDTRY) and writes what it found into Program::Records, the encoded
// opening lines into Program::ScriptLines, and every structural error as an
// error-marker line.
//
// Blocks must nest properly. One pass over the lines with an explicit stack
// does the pairing, so the work is linear in the program's length and any
// nesting depth is fine. A keyword that belongs to a block further out closes
// the blocks opened inside it, each of which fails with its "no end" error; a
// keyword with no block of its kind open is left unclaimed and reported as
// "No corresponding ...". A failed block keeps pairing its own keywords (so
// the blocks around it stay right) but claims none of them.
#pragma once
#include <vector>

#include "engine/builder/program.h"

namespace maqo::engine {

struct ScopeMarks {
  // Lines that end a function (FEND, whatever the first pass made of them) and
  // lines that start one (function headers): no block reaches across them.
  std::vector<bool> functionEnd;
  std::vector<bool> functionStart;
};

// Runs over program.ScriptLines and program.Records (already sized alike; lines
// the first pass made error markers are marked in Records).
void CheckBlockStructure(Program& program, const ScopeMarks& scopes, bool japanese);

}  // namespace maqo::engine
