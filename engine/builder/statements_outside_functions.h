// The reader wraps a file's statements up to its first FUNCTION, PROCEDURE,
// MODULE or CLASS as the file's own procedure; statements further down that
// stand outside every function belong to no procedure and never run. The
// builder keeps that rule; this finds such a statement so a runner can warn.
#pragma once
#include "engine/builder/program.h"

namespace maqo::engine {

// The first program line that holds a statement but lies outside every
// function body (and outside every module, whose own lines are declarations
// the builder has taken), or -1.
int FirstStatementOutsideFunctions(const Program& program);

}  // namespace maqo::engine
