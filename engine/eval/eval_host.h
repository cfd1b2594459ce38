// What the expression evaluator needs from the engine around it. The
// evaluator knows operators and values only; variables, functions, modules and
// COM objects are the host's. The statement executor implements this with the
// real variable store and call dispatch; tests use a small fake.
#pragma once
#include <span>
#include <string_view>

#include "engine/eval/expression.h"
#include "engine/values/script_value.h"

namespace maqo::engine {

// The OPTION switches that change how expressions evaluate.
struct EvalOptions {
  bool shortCircuit = false;  // SHORTCIRCUIT: conditions may stop at a decided AND / OR
  bool sameStr = false;       // SAMESTR: text comparisons respect case
  bool roundValue = false;    // ROUNDVALUE: results keep their raw binary value
  bool specialChar = false;   // SPECIALCHAR: "<#CR>", "<#TAB>", "<#DBL>" stay as written
};

// State of one evaluation that calls can change.
struct EvalContext {
  // Set by COPYB and CHRB when they produce a byte string during this
  // evaluation: "+" then joins byte strings as text even when they look like numbers.
  bool byteStringProduced = false;
};

class EvalHost {
 public:
  virtual ~EvalHost() = default;

  // Reads a name: a variable (with its indexes evaluated, in order, as
  // ref.indexes), a constant, a special name, a hash table entry, a module
  // member. During the check pass the host checks the name and gives 1.
  virtual ScriptValue getValue(const NameRef& ref, std::span<const ScriptValue> indexes) = 0;

  // Calls a function: user function, builtin, DLL function or COM method (and
  // resolves call.tail on its result). The host evaluates the arguments it
  // wants evaluated (EvaluateExpression on call.arguments[i]) and may read
  // others from call.argumentTexts (VAR parameters, array names). During the
  // check pass it checks the call and gives the integer 1.
  virtual ScriptValue callFunction(const CallSite& call, EvalContext& context) = 0;

  // Reads a COM member named by a dotted name that is not a module member
  // (OBJ.PROP, OBJ.ITEM[1]); ref.text is the name as written.
  virtual ScriptValue comMember(const NameRef& ref) = 0;

  // Whether a dotted name (without its indexes) is a module member: M.X with M
  // a module, THIS.X or GLOBAL.X inside a module, .X under a WITH on a module.
  virtual bool isModuleMember(std::u16string_view dottedName) = 0;

  virtual EvalOptions options() = 0;
  // True during the pre-run check pass.
  virtual bool checkMode() = 0;
  // The locale-aware, case-sensitive text comparison of the system: negative,
  // zero or positive.
  virtual int compareText(std::u16string_view a, std::u16string_view b) = 0;
};

}  // namespace maqo::engine
