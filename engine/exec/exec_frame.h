// ExecFrame: a scope frame (THensuFmt) while it executes statements: one per
// running user-function call (the main part included). It adds to the
// variables what the statement executor keeps per call: where it runs, the
// pending BREAK / CONTINUE levels, EXIT, the WITH stack, and the hosts through
// which expressions and builtins reach the engine from this frame.
//
// Lines are absolute program line numbers: the frame runs the lines after its
// header up to (not including) its FEND; THensuFmt::firstLine holds the header
// and lineOffset the current statement's offset from it.
#pragma once
#include <vector>

#include "engine/exec/frame_hosts.h"
#include "engine/exec/thread_record.h"
#include "engine/values/frame.h"

namespace maqo::engine {

class Executor;

struct ExecFrame : THensuFmt {
  ExecFrame(Executor& executor, TMainTrd& thread, ExecFrame* caller)
      : thread(thread), caller(caller), evalHost(executor, *this), builtinHost(executor, *this) {
    if (caller != nullptr) {
      depth = caller->depth + 1;
      tryDepth = caller->tryDepth;
      threadSlot = caller->threadSlot;
    }
  }
  ExecFrame(const ExecFrame&) = delete;
  ExecFrame& operator=(const ExecFrame&) = delete;

  TMainTrd& thread;
  ExecFrame* caller;
  // The FEND line of the running function.
  int end = 0;
  // The statement being executed, or the next one to execute.
  int line = 0;
  // Number of user-function calls below this one on the thread.
  int depth = 0;
  int breakCount = 0;
  int continueCount = 0;
  // EXIT was executed: the function returns (its FINALLY parts run on the way).
  bool exitRequested = false;
  // TRY blocks of this frame that are running (EXCEPT and FINALLY alike).
  int openTries = 0;
  // The objects (or module names) of the active WITH blocks, innermost last.
  std::vector<ScriptValue> withStack;

  FrameEvalHost evalHost;
  FrameBuiltinHost builtinHost;

  // Something asks the statements of this frame to stop running for now.
  bool leaving() const { return stopFlag || exitRequested || breakCount > 0 || continueCount > 0; }
  void setLine(int l) {
    line = l;
    lineOffset = l - firstLine;
  }
};

}  // namespace maqo::engine
