// The machinery of the check pass (check_pass.h is its entry point). One
// Checker walks the functions of a program in order; its check frame is reset
// for every function and collects the names the function declares. The
// checks are spread over three files by what they look at: statements and
// declarations (statement_checks.cpp), names read or assigned
// (reference_checks.cpp), calls and COM members (call_checks.cpp).
//
// A check that fails throws: a ScriptError for the line being checked, a
// LocatedFailure for an error shown at another line (the header of a called
// function). The walk turns the first one into the pass's CheckFailure.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/check/check_pass.h"
#include "engine/eval/eval_host.h"
#include "engine/eval/evaluator.h"
#include "engine/exec/compiled_line.h"
#include "engine/exec/executor.h"
#include "engine/values/frame.h"

namespace maqo::engine::check {

// An error shown at a line other than the one being checked.
struct LocatedFailure {
  CheckFailure failure;
};

// One parameter of a function header as the check reads it.
struct HeaderParameter {
  std::u16string name;       // before "[" and "=", without VAR
  bool byReference = false;  // VAR
  int dimensions = 0;        // "[]" groups: 0 for a plain parameter
  bool hasDefault = false;
  std::u16string defaultText;
};

struct HeaderParameters {
  std::vector<HeaderParameter> parameters;
  // SyntaxError-125 (the list does not end with ")") or -126 (an empty item).
  std::optional<Message> error;
};

// The parameters of a header "FUNCTION NAME(A, VAR B, C[], D = 5)". The list
// is split at commas outside quotes, brackets and parentheses, so a default
// value may call a function.
HeaderParameters ParseHeaderParameters(std::u16string_view header);

// The check frame: the variables and hash tables a function declares (their
// values are never used), its module, and what the walk tracks per line.
struct CheckFrame : THensuFmt {
  // WITH targets as the run would push them; withTarget is the innermost.
  std::vector<ScriptValue> withStack;
  // Loops open at the line being checked.
  int loopDepth = 0;
  // The header of the function and the line being checked.
  int header = 0;
  int line = 0;

  // Empties the frame for the function whose header is given.
  void reset(int headerLine, const std::u16string& module);
  bool hasLocal(std::u16string_view name) const { return locals.find(name) >= 0 || hashTables.find(name) >= 0; }
};

class Checker;

// The evaluator's host during the check pass: every name read, call and COM
// member goes to its check and yields the integer 1.
class CheckEvalHost final : public EvalHost {
 public:
  explicit CheckEvalHost(Checker& checker) : checker_(checker) {}

  ScriptValue getValue(const NameRef& ref, std::span<const ScriptValue> indexes) override;
  ScriptValue callFunction(const CallSite& call, EvalContext& context) override;
  ScriptValue comMember(const NameRef& ref) override;
  bool isModuleMember(std::u16string_view dottedName) override;
  EvalOptions options() override;
  bool checkMode() override { return true; }
  int compareText(std::u16string_view a, std::u16string_view b) override;

 private:
  Checker& checker_;
};

class Checker {
 public:
  explicit Checker(const CheckScope& scope) : scope_(scope), host_(*this) {}
  Checker(const Checker&) = delete;
  Checker& operator=(const Checker&) = delete;

  std::optional<CheckFailure> CheckAllFunctions();

  // ---- what the evaluator's host asks (check mode) ----
  // The variable-reference check; indexCount indexes were checked by the evaluator.
  ScriptValue checkReference(const NameRef& ref, size_t indexCount);
  // ChkKB_Call for a call inside an expression.
  ScriptValue checkExpressionCall(const CallSite& call);
  // The COM member check of a member read (OBJ.PROP, .ITEM[1]).
  ScriptValue checkMemberRead(const NameRef& ref);
  bool isModuleMember(std::u16string_view dottedName) const;
  const CheckScope& scope() const { return scope_; }

 private:
  friend class FrameSwitch;

  // ---- the driver (check_pass.cpp) ----
  std::optional<CheckFailure> checkFunction(int entry);
  void declareHeaderParameters();

  // ---- ChkKB_Koubun and the statements (statement_checks.cpp) ----
  void ChkKB_Koubun(int end);
  void checkLine(int line);
  void checkStatement(StatementKind kind, const std::u16string& text);
  void checkCondition(const Expression& condition);
  void checkCaseValues(const std::u16string& values);
  void checkFor(const ForLinks& links);
  void checkForIn(const ForInLinks& links);
  void checkStatementForm(const std::u16string& text);
  void checkJump(const std::u16string& count, bool isBreak);
  void checkWith(const std::u16string& text);
  void checkEndWith();
  void checkDim(const std::u16string& text);
  void checkHashTbl(const std::u16string& text);
  // The declaration-name check; the name is declared afterwards by the caller.
  void checkDeclaredName(const std::u16string& name);

  // ---- names (reference_checks.cpp) ----
  void checkAssignTarget(const AssignTarget& target, std::u16string_view rightSide);
  // The module-privacy rule for a global variable or hash table slot.
  void requireReachable(int slot, bool hashTable, std::u16string_view writtenName);
  std::optional<ScriptValue> specialNameValue(const std::u16string& name);

  // ---- calls and COM members (call_checks.cpp) ----
  void ChkKB_Call(const CallSite& call, CallMode mode);
  void checkBuiltinArguments(const CallSite& call, std::u16string_view name);
  void checkUserArguments(const CallSite& call, const HeaderParameters& header);
  void checkArrayArgument(std::u16string_view text, const Expression& expression, const HeaderParameter& parameter);
  void ChkKB_Main(const FoundFunction& function, size_t argumentCount);
  const HeaderParameters& headerOf(int headerLine);
  void checkCalleeHeader(const FoundFunction& function, const HeaderParameters& header);
  void checkMemberChain(std::u16string_view text, bool call);
  // A local, global variable or hash table of that name is reachable from the frame.
  bool isVariableName(std::u16string_view name) const;
  // A user function or builtin of that name exists.
  bool isCallable(std::u16string_view name) const;
  void checkMemberSegments(const std::vector<std::u16string>& segments, size_t first, bool call);

  // ---- evaluation in check mode ----
  ScriptValue evaluate(const Expression& expression);
  ScriptValue evaluateText(std::u16string_view text);
  const Program& program() const { return scope_.program; }
  const GlobalStore& store() const { return scope_.store; }
  CheckFrame& frame() { return *current_; }
  const CheckFrame& frame() const { return *current_; }

  const CheckScope& scope_;
  CheckEvalHost host_;
  CheckFrame main_;
  CheckFrame* current_ = &main_;

  // Per called function (by header line): its parameters, and whether the
  // header check of ChkKB_Main was done or is running (a default value that
  // calls its own function must not recurse).
  struct CalleeState {
    HeaderParameters header;
    bool checked = false;
    bool checking = false;
  };
  std::unordered_map<int, CalleeState> callees_;
};

// Makes another frame the current one while it lives (a callee's scratch
// frame while its default values are checked).
class FrameSwitch {
 public:
  FrameSwitch(Checker& checker, CheckFrame& frame) : checker_(checker), saved_(checker.current_) {
    checker.current_ = &frame;
  }
  ~FrameSwitch() { checker_.current_ = saved_; }
  FrameSwitch(const FrameSwitch&) = delete;
  FrameSwitch& operator=(const FrameSwitch&) = delete;

 private:
  Checker& checker_;
  CheckFrame* saved_;
};

}  // namespace maqo::engine::check
