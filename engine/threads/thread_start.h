// THREAD F(args): starts a user function as a script thread. The caller has
// evaluated the arguments; the thread's frame is made for the slot's record
// and bound here, on the caller's thread, as for an ordinary call (no
// RESULT, nothing written back), and the function then runs on a thread of
// its own. An error the thread does not catch is reported and ends the run:
// the caller's TRY is on another thread and cannot take it over.
#pragma once
#include <chrono>
#include <vector>

#include "engine/errors/script_error.h"
#include "engine/exec/executor.h"

namespace maqo::engine {

// How long THREAD waits for the new thread to begin running.
inline constexpr std::chrono::milliseconds kThreadStartBound{10000};

// Every slot was in use. The assignment form stores -1 before the error
// goes on.
class ThreadLimitError : public ScriptError {
 public:
  using ScriptError::ScriptError;
};

// Returns the slot the thread runs in, or -1 when a stop came first and
// nothing was started. Throws ThreadLimitError, or ScriptError when the
// binding fails or no thread can be made.
int StartScriptThread(Executor& executor, ExecFrame& caller, const FoundFunction& function,
                      std::vector<CallArgument>& arguments);

}  // namespace maqo::engine
