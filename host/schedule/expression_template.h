// An expression entry's text prepared once for evaluation at many minutes:
// the date and time names YMDNN, YY, MM, DD, HH, NN and WW are replaced by the
// values of a minute, in that order, exactly as a text replacement would do,
// and the result goes to the numeric formula evaluator. Evaluation is quiet:
// a formula that cannot be computed gives its reason, nothing is shown or
// logged, so a scheduler that asks every minute never floods the user.
// Where every name stands as a token of its own (the usual case), the formula
// is read once and computed with the values directly, which gives the same
// result as the replaced text at a fraction of the cost; any other text is
// replaced and read at each minute.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "engine/eval/formula.h"

#include "host/schedule/schedule_minute.h"

namespace maqo::host::schedule {

struct ExpressionResult {
  double value = 0.0;
  std::u16string failure;  // why the formula could not be computed; empty when value holds
  bool ok() const { return failure.empty(); }
};

class ExpressionTemplate {
 public:
  explicit ExpressionTemplate(std::u16string_view expression = {});

  // Month, day, hour and minute as two digits when padded (the preview),
  // without padding otherwise (the due test); the value is the same.
  std::u16string textAt(const ScheduleMinute& m, bool padded) const;
  ExpressionResult evaluateAt(const ScheduleMinute& m, bool padded) const;

  // Every name replaced by "1": the form the timer dialog checks.
  std::u16string textWithOnes() const;
  // True when evaluateAt computes a formula read once.
  bool prepared() const { return prepared_.has_value(); }

 private:
  // The expression with each name replaced by one private-use character
  // (they are no letters or digits, so they cannot join a neighbouring name).
  std::u16string marked_;
  std::optional<engine::PreparedFormula> prepared_;
};

// True when text counts as "1" for the due test.
inline bool IsTrue(const ExpressionResult& r) { return r.ok() && r.value == 1.0; }

}  // namespace maqo::host::schedule
