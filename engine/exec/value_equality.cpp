#include "engine/exec/value_equality.h"

#include "engine/errors/script_error.h"
#include "engine/eval/evaluator.h"

namespace maqo::engine {

namespace {

// Serves the two operands of "A = B" to the evaluator, so the comparison is
// exactly the one of expressions.
class OperandHost final : public EvalHost {
 public:
  OperandHost(const ScriptValue& a, const ScriptValue& b, EvalHost& outer) : a_(a), b_(b), outer_(outer) {}

  ScriptValue getValue(const NameRef& ref, std::span<const ScriptValue>) override {
    return ref.name == u"A" ? a_ : b_;
  }
  ScriptValue callFunction(const CallSite&, EvalContext&) override { return ScriptValue(); }
  ScriptValue comMember(const NameRef&) override { return ScriptValue(); }
  bool isModuleMember(std::u16string_view) override { return false; }
  EvalOptions options() override {
    EvalOptions o = outer_.options();
    o.specialChar = true;  // the operands were expanded when they were evaluated
    return o;
  }
  bool checkMode() override { return false; }
  int compareText(std::u16string_view x, std::u16string_view y) override { return outer_.compareText(x, y); }

 private:
  const ScriptValue& a_;
  const ScriptValue& b_;
  EvalHost& outer_;
};

}  // namespace

bool ValuesEqual(const ScriptValue& a, const ScriptValue& b, EvalHost& host) {
  static const ExpressionPtr comparison = CompileExpression(u"A = B");
  OperandHost operands(a, b, host);
  return EvaluateExpression(*comparison, operands).isTrue();
}

}  // namespace maqo::engine
