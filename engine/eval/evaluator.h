// The expression evaluator: computes the value of a compiled expression.
#pragma once
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

#include "engine/errors/script_error.h"
#include "engine/eval/eval_host.h"
#include "engine/eval/expression.h"
#include "engine/values/script_value.h"

namespace maqo::engine {

// Evaluates a compiled expression. A blank expression gives Empty. Names,
// calls and COM members go to the host. shortCircuit is the request of a
// condition; it takes effect only while OPTION SHORTCIRCUIT is set.
//
// The result is post-processed: unless OPTION ROUNDVALUE, a double with a
// fraction is rounded to its 15-digit text and back (0.1 + 0.2 = 0.3); a string
// has its special characters expanded (ExpandSpecialCharacters).
//
// A failure throws ScriptError and ends the evaluation there: the evaluator's
// own failures carry "a type isn't correct. or overflow." (check pass: "expression
// is wrong. or a type isn't correct."); an error thrown by the host (a failed
// call, an undefined name) passes through unchanged.
ScriptValue EvaluateExpression(const Expression& expression, EvalHost& host, bool shortCircuit = false);
ScriptValue EvaluateExpression(const Expression& expression, EvalHost& host, EvalContext& context,
                               bool shortCircuit = false);

// As EvaluateExpression (no condition), for a caller that raises the
// evaluator's own failure itself: that failure ("a type isn't correct. or
// overflow.") gives false instead of a throw; the evaluation stops at it, so
// nothing after it is read or called. Any other error (a compile failure, one
// thrown by the host) is thrown as usual.
bool TryEvaluateExpression(const Expression& expression, EvalHost& host, ScriptValue& result);

// The evaluator's own error, for the given mode.
ScriptError ExpressionError(bool checkMode);

// "<#_DBL>", "<#_CR>", "<#_TAB>" always, and unless OPTION SPECIALCHAR also
// "<#DBL>", "<#CR>", "<#TAB>", become a double quote, CR LF and TAB.
std::u16string ExpandSpecialCharacters(std::u16string_view text, bool specialCharOption);

// "S = S + a + b ...", appended in place instead of copying S per statement:
// AppendsToName is true when the expression is a chain of "+" whose first
// operand is the bare name target and whose other operands call nothing and
// never read target (nor any dotted name), so their values can be worked out
// before the variable is touched without changing what the statement does.
bool AppendsToName(const Expression& expression, std::u16string_view target);
// For such a chain: the text its other operands add to a text, each joined as
// "+" joins it to a text. Throws as the whole evaluation would.
std::u16string EvaluateAppendedText(const Expression& expression, EvalHost& host);
// After a text that holds no special character grew from oldSize: expands
// those the join completed (a sequence is at most 7 long, so only the end of
// the old text can take part).
void ExpandSpecialCharactersAfterJoin(std::u16string& text, size_t oldSize, bool specialCharOption);

// Compiled expressions by text, for texts that are only known at run time
// (EVAL, conditions built by builtins). Thread-safe. Clear it when the
// program is rebuilt; it also empties itself when it grows past kMaxEntries.
class CompileCache {
 public:
  static constexpr size_t kMaxEntries = 4096;
  ExpressionPtr get(std::u16string_view text);
  void clear();
  size_t size();

 private:
  struct Hash {
    using is_transparent = void;
    size_t operator()(std::u16string_view s) const { return std::hash<std::u16string_view>{}(s); }
  };
  std::mutex lock_;
  std::unordered_map<std::u16string, ExpressionPtr, Hash, std::equal_to<>> entries_;
};

// Compiles through the cache and evaluates: the EvalExpression of the engine.
ScriptValue EvalExpression(std::u16string_view text, EvalHost& host, CompileCache& cache, bool shortCircuit = false);

}  // namespace maqo::engine
