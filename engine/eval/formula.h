// FEnzanKisan: a small evaluator of purely numeric formulas, used by the
// scheduler's timer settings. It knows numbers, the operators | OR & AND
// > < = >= <= <> + - * / MOD !, parentheses and a fixed set of functions.
#pragma once
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/errors/system_error_log.h"
#include "platform/ui_sink.h"

namespace maqo::engine {

// The result of a formula that could not be computed.
inline constexpr double kFormulaError = -2.1e9;

// The value of a formula, or why it could not be computed.
struct FormulaOutcome {
  double value = 0.0;
  std::u16string failure;  // empty when value holds the result
  bool ok() const { return failure.empty(); }
};

// Computes formula and reports nothing: for callers that evaluate the same
// formula many times over (the scheduler) and decide themselves what to say.
FormulaOutcome ComputeFormula(std::u16string_view formula);

// A formula read once whose names stand for numbers supplied at each
// computation, for callers that compute one formula at many points. The
// result equals ComputeFormula of the text with each name replaced by its
// value, wherever the names stand as tokens of their own.
class PreparedFormula {
 public:
  // names: the upper-case names that take values, in the order compute expects them.
  PreparedFormula(std::u16string_view formula, const std::vector<std::u16string>& names);
  FormulaOutcome compute(std::span<const double> values) const;

 private:
  struct Tokens;
  std::shared_ptr<const Tokens> tokens_;
  bool empty_ = false;
};

// Computes formula. A wrong formula gives kFormulaError, writes one line
// "構文解析処理: " + reason + " :" + formula to the system error log and,
// unless quiet, shows the same line in a message box.
double FEnzanKisan(std::u16string_view formula, bool quiet, platform::UiSink& ui, SystemErrorLog& log);

}  // namespace maqo::engine
