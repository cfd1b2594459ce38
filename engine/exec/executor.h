// The statement executor and the call dispatcher. One Executor serves the
// engine's program on every thread; it keeps no state of its own: a frame
// carries the state of one call, the thread's record (TMainTrd) its compiled
// lines, and the engine (TUScript) the run flags and tables.
//
// Control flow. Blocks run their bodies as nested loops over the builder's
// per-line records (RunRange), so a block never searches for its end. BREAK,
// CONTINUE, EXIT and stop requests are flags that make every loop on the way
// stop at its next statement; the loop they are meant for consumes them.
// Errors are exceptions: the statement that fails fixes its location
// (RaisedError), TRY ... EXCEPT catches catchable errors, TRY ... FINALLY runs
// its FINALLY part and lets the error travel on, through calls as well, and
// what nothing takes reaches the run driver, which reports it.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/builder/program.h"
#include "engine/errors/raised_error.h"
#include "engine/eval/expression.h"
#include "engine/exec/exec_frame.h"

namespace maqo::engine {

struct BuiltinEntry;
class TUScript;

// Calls may nest this deep (the main part counts as 1); deeper is the clean
// error "too deep" instead of an exhausted stack. Builds with
// AddressSanitizer, whose frames are several times larger, stop at half the
// depth: an exception thrown from below 64 MB of stack is more than its
// runtime can clean up after, and it then reports false errors.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MAQO_ADDRESS_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(MAQO_ADDRESS_SANITIZER)
inline constexpr int kMaxCallDepth = 5000;
#else
inline constexpr int kMaxCallDepth = 10000;
#endif

enum class CallMode {
  Expression,  // a call in an expression or a call statement
  CallFile,    // CALL: the procedure of an included file, found by its name as written
  Thread,      // THREAD: start the function as a script thread
};

// A user function that a name resolved to.
struct FoundFunction {
  std::u16string name;    // as found in FuncNames (module members qualified)
  std::u16string module;  // the callee's module, empty outside modules
  int header = -1;        // header line
  FunctionKind kind = FunctionKind::Procedure;
};

// One argument of a user-function call.
struct CallArgument {
  std::u16string text;                     // as written; empty for values the engine supplies
  ScriptValue value;                       // evaluated in the caller (array parameters: the text)
  const Expression* expression = nullptr;  // the compiled argument, when written in a script
};

class Executor {
 public:
  explicit Executor(TUScript& engine) : engine_(engine) {}
  Executor(const Executor&) = delete;
  Executor& operator=(const Executor&) = delete;

  TUScript& engine() { return engine_; }

  // ---- statements ----
  // Executes the statement at f.line and moves f.line to the statement that
  // follows (for a block: the line after its end). Throws RaisedError.
  void ExecStatement(ExecFrame& f);
  // Executes statements from line `from` while the line is below `end` and
  // nothing asks the frame to leave (stop request, abort, EXIT, BREAK, CONTINUE).
  void RunRange(ExecFrame& f, int from, int end);
  // Evaluates an expression in the frame; condition asks for short-circuit
  // evaluation (effective under OPTION SHORTCIRCUIT).
  ScriptValue Evaluate(ExecFrame& f, const Expression& expression, bool condition = false);
  // Executes a statement given as text in the frame (EVAL): an assignment or a call.
  void ExecuteStatementText(ExecFrame& f, std::u16string_view statement);

  // ---- calls ----
  // KansuCall: calls NAME(arguments) from the frame: a user function (module
  // qualified first), a builtin, a DEF_DLL function or a COM member, in that
  // order. The result is the function's value (the integer 0 when it has none).
  ScriptValue KansuCall(ExecFrame& caller, const CallSite& call, CallMode mode = CallMode::Expression);
  // The user function a name means in the frame, or nothing. direct: the name
  // as written, without module qualification (CALL, the run driver).
  std::optional<FoundFunction> FindFunction(std::u16string_view name, const THensuFmt& frame, bool direct) const;
  // Runs a user function in a new frame. parameterArray: the arguments become
  // the array PARAM_STR (the main part, CALLed files) instead of named parameters.
  ScriptValue CallUserFunction(ExecFrame& caller, const FoundFunction& function, std::vector<CallArgument>& arguments,
                               bool parameterArray);
  // Sets up f, a script thread's frame, for function and binds the caller's
  // arguments as a call would (with the parameters as the caller's record
  // parsed them); a thread has no RESULT and writes nothing back.
  void PrepareThreadFrame(ExecFrame& f, ExecFrame& caller, const FoundFunction& function,
                          std::vector<CallArgument>& arguments);
  // The handler procedure of a COM event: EVENT_ID and EVENT_PRM are its
  // locals; afterwards EVENT_PRM's elements are copied back into parameters.
  void CallEventHandler(int headerLine, int eventId, std::vector<ScriptValue>& parameters);
  // The handler procedure of a SETHOTKEY hotkey: HOTKEY_VK and HOTKEY_MOD are its locals.
  void CallHotkeyHandler(int headerLine, int virtualKey, int modifiers);

  // ---- errors ----
  // The location text of the frame's current line.
  std::u16string Location(const ExecFrame& f) const;
  // Fixes where an error happened: the frame's TRY_ERRMSG and TRY_ERRLINE
  // take its message and location.
  RaisedError Raise(ExecFrame& f, const ScriptError& error);

 private:
  friend class FrameEvalHost;
  friend class FrameBuiltinHost;

  CompiledLine& compiled(ExecFrame& f, int line);
  bool mayContinue(ExecFrame& f);
  void letMessagesRun(ExecFrame& f);
  // Runs the statement; false when an assignment's own evaluation failed
  // (the caller raises that error, so it costs no throw inside a TRY).
  bool dispatch(ExecFrame& f, CompiledLine& c);
  // The body of a TRY: as RunRange, but the error of a statement comes back
  // as the result instead of being thrown on, so the TRY that takes it pays
  // for no further unwinding (and an assignment's own evaluation failure for
  // none at all).
  std::optional<RaisedError> runTryBody(ExecFrame& f, int from, int end);
  // ExecStatement that gives the statement's own error back instead of
  // throwing it; an error raised further in is passed on as thrown.
  std::optional<RaisedError> execStatementCatching(ExecFrame& f);

  // simple statements
  // False when the value's evaluation failed by itself (nothing is stored).
  bool assign(ExecFrame& f, CompiledLine& c);
  // "S = S + ..." on a text: appends to S's text in place; false when the
  // statement must run the ordinary way (S holds no text).
  bool appendInPlace(ExecFrame& f, const CompiledLine& c);
  void print(ExecFrame& f, const CompiledLine& c);
  void exitExit(ExecFrame& f, const CompiledLine& c);
  int jumpCount(ExecFrame& f, const CompiledLine& c);
  void declareLocals(ExecFrame& f, CompiledLine& c, std::u16string_view declaration);
  void defineDll(ExecFrame& f, std::u16string_view text);
  void with(ExecFrame& f, const CompiledLine& c, std::u16string_view text);
  void endWith(ExecFrame& f);

  // block handlers; each leaves f.line on the line after its block
  void ifBlock(ExecFrame& f, int line);
  void selectBlock(ExecFrame& f, const CompiledLine& c);
  void forBlock(ExecFrame& f, const CompiledLine& c);
  void forInBlock(ExecFrame& f, const CompiledLine& c);
  void whileBlock(ExecFrame& f, const CompiledLine& c);
  void repeatBlock(ExecFrame& f, const CompiledLine& c);
  void tryBlock(ExecFrame& f);
  void runFinallyPart(ExecFrame& f, int handler, int endTry);
  // After one pass of a loop body: false when the loop ends (BREAK, stop,
  // EXIT, abort, a CONTINUE of an outer loop), true for the next pass.
  bool nextPass(ExecFrame& f, size_t withDepth);
  void leaveLoop(ExecFrame& f, int closingLine, size_t withDepth);
  std::vector<ScriptValue> forInElements(ExecFrame& f, const CompiledLine& c, std::u16string_view collection);

  // assignment helpers
  void store(ExecFrame& f, const AssignTarget& target, const ScriptValue& value);
  ScriptValue read(ExecFrame& f, const AssignTarget& target);

  // calls
  std::vector<CallArgument> evaluateArguments(ExecFrame& caller, const CallSite& call,
                                              const std::vector<FunctionParameter>* parameters, CallMode mode);
  const std::vector<FunctionParameter>& parametersOf(ExecFrame& f, int header);
  void bindParameters(ExecFrame& callee, ExecFrame& caller, const std::vector<FunctionParameter>& parameters,
                      std::vector<CallArgument>& arguments, std::vector<int>& modes);
  void writeBack(ExecFrame& callee, ExecFrame& caller, const std::vector<FunctionParameter>& parameters,
                 std::vector<CallArgument>& arguments, const std::vector<int>& modes);
  ScriptValue callBuiltin(ExecFrame& caller, const BuiltinEntry& builtin, const CallSite& call);
  // The member chain after a call's result (F(1).NAME), through the object seam.
  ScriptValue memberOfResult(ExecFrame& caller, const ScriptValue& result, const CallSite& call);
  // A call of a DEF_DLL-declared function, through the DLL seam.
  ScriptValue callDll(ExecFrame& caller, const CallSite& call);
  void runHandler(int headerLine, const std::function<void(ExecFrame&)>& setUp,
                         const std::function<void(ExecFrame&)>& after);

  TUScript& engine_;
};

}  // namespace maqo::engine
