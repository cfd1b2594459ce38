// FReLoad: builds the program from the reader's lines. It resets the engine
// for a new run (through the host), empties the program tables and the global
// store's build-time names, and then builds in two passes:
//  1. every source line is normalised and split into statements (one-line IF
//     expanded, ";" separated statements apart); each statement is processed
//     as it is added: modules, functions, text blocks and declarations are
//     registered, OPTION lines applied, and line errors written as error
//     markers;
//  2. every statement gets its kind and the block structure is checked and
//     linked (block_structure.h).
// Errors that stop the run at once (nested functions, duplicate function
// names, an unclosed MODULE or TEXTBLOCK, a constructor with parameters) are
// reported through BuildHost::reportBuildError and set
// Program::DirectErrorReported.
#pragma once
#include <string>
#include <vector>

#include "engine/builder/build_host.h"
#include "engine/builder/program.h"
#include "engine/values/global_store.h"

namespace maqo::engine {

struct BuildContext {
  GlobalStore& store;
  BuildHost& host;
  bool japanese = false;  // the system's language: which form of each message is written
};

void FReLoad(Program& program, const std::vector<std::u16string>& lines, const BuildContext& context);

}  // namespace maqo::engine
