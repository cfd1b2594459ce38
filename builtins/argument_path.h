// The argument path of the dispatcher: how a builtin's arguments are
// evaluated, counted and checked into its argument record, and the pacing
// record of the main thread. CallBuiltin uses these; they are public so the
// families' tests can build records the way a call does.
#pragma once
#include <optional>

#include "builtins/engine_interface.h"
#include "engine/errors/script_error.h"
#include "engine/eval/expression.h"

namespace maqo::builtins {

// Fills record.arguments, record.first and record.second from the call:
// raw-text positions keep the text as written; SCKEY's one-character
// arguments from the second on are read as VK_X; other arguments are
// evaluated and take their builtin-argument text form. A text that passes the
// strict number test gets its number and integer; any other text must be
// allowed at its position ("Definition is wrong: " otherwise). An array value
// at an evaluated position is "SyntaxError-20" (not catchable); more than 36
// arguments are not catchable either. Returns false when a stop request ended
// the call between arguments.
bool CollectArguments(BuiltinCall& record, const engine::CallSite& call, BuiltinHost& host);

// The math path's arguments: up to three evaluated and converted to doubles
// (later ones are not evaluated); "Is non-numeric: " + the argument text for a
// value without a number.
MathArguments CollectMathArguments(const engine::CallSite& call, BuiltinHost& host);

// The pre-run check of a builtin call's argument count: "Argument is lacking:"
// + name when fewer arguments are given than the table's minimum. (At run time
// a missing argument is simply the empty text and 0.)
std::optional<engine::Message> LackingArguments(const BuiltinEntry& entry, int given);

// The pacing record of the main thread: on construction, how many ms ago the
// previous builtin call returned (0 to 999; 999 before the first call; 0 on
// script threads, and 0 unread when the caller does not want it); on
// destruction, the return time of this call.
class PacingRecord {
 public:
  explicit PacingRecord(BuiltinHost& host, bool wantsElapsed = true);
  ~PacingRecord();
  PacingRecord(const PacingRecord&) = delete;
  PacingRecord& operator=(const PacingRecord&) = delete;
  int elapsedMs() const { return elapsedMs_; }

 private:
  BuiltinHost& host_;
  bool mainThread_;
  int elapsedMs_ = 0;
};

}  // namespace maqo::builtins
