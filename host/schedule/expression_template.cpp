#include "host/schedule/expression_template.h"

#include <array>
#include <charconv>

#include "engine/eval/formula.h"

namespace maqo::host::schedule {

namespace {

// Replacement order matters: YMDNN holds NN and so goes first.
enum Name { kYmdnn, kYear, kMonth, kDay, kHour, kMinute, kWeekday, kNameCount };
constexpr std::array<std::u16string_view, kNameCount> kNames = {u"YMDNN", u"YY", u"MM", u"DD", u"HH", u"NN", u"WW"};
constexpr char16_t kFirstMark = u'\uE000';

void appendNumber(std::u16string& out, int64_t value, bool twoDigits) {
  char buffer[24];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  (void)ec;
  if (twoDigits && end - buffer == 1) out.push_back(u'0');
  out.append(buffer, end);
}

bool IsMark(char16_t c) { return c >= kFirstMark && c < kFirstMark + kNameCount; }

// Characters that would join a replaced value into a longer token.
bool JoinsToken(char16_t c) {
  return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_' ||
         c == u'.' || IsMark(c);
}

// True when replacing the names by numbers yields the same tokens as reading
// the names as tokens: no name touches a digit, letter, "." or another name,
// and no lower-case letter could turn into a name when the text is upper-cased.
bool NamesStandAlone(std::u16string_view marked) {
  for (size_t i = 0; i < marked.size(); ++i) {
    if (marked[i] >= u'a' && marked[i] <= u'z') return false;
    if (!IsMark(marked[i])) continue;
    if ((i > 0 && JoinsToken(marked[i - 1])) || (i + 1 < marked.size() && JoinsToken(marked[i + 1]))) return false;
  }
  return true;
}

}  // namespace

ExpressionTemplate::ExpressionTemplate(std::u16string_view expression) : marked_(expression) {
  for (int name = 0; name < kNameCount; ++name) {
    const std::u16string_view text = kNames[name];
    for (size_t at = marked_.find(text); at != std::u16string::npos; at = marked_.find(text, at + 1))
      marked_.replace(at, text.size(), 1, static_cast<char16_t>(kFirstMark + name));
  }
  if (NamesStandAlone(marked_)) {
    const std::vector<std::u16string> names(kNames.begin(), kNames.end());
    prepared_.emplace(expression, names);
  }
}

std::u16string ExpressionTemplate::textAt(const ScheduleMinute& m, bool padded) const {
  std::u16string out;
  out.reserve(marked_.size() + 16);
  for (const char16_t c : marked_) {
    if (c < kFirstMark || c >= kFirstMark + kNameCount) {
      out.push_back(c);
      continue;
    }
    switch (c - kFirstMark) {
      case kYmdnn: appendNumber(out, MinutesSince2000(m), false); break;
      case kYear: appendNumber(out, m.year, false); break;
      case kMonth: appendNumber(out, m.month, padded); break;
      case kDay: appendNumber(out, m.day, padded); break;
      case kHour: appendNumber(out, m.hour, padded); break;
      case kMinute: appendNumber(out, m.minute, padded); break;
      default: appendNumber(out, WeekdayOf(m), false); break;
    }
  }
  return out;
}

ExpressionResult ExpressionTemplate::evaluateAt(const ScheduleMinute& m, bool padded) const {
  if (prepared_) {
    // Padding changes the text, never the value.
    const std::array<double, kNameCount> values = {
        static_cast<double>(MinutesSince2000(m)), static_cast<double>(m.year),   static_cast<double>(m.month),
        static_cast<double>(m.day),               static_cast<double>(m.hour),   static_cast<double>(m.minute),
        static_cast<double>(WeekdayOf(m))};
    const engine::FormulaOutcome outcome = prepared_->compute(values);
    return {outcome.value, outcome.failure};
  }
  const engine::FormulaOutcome outcome = engine::ComputeFormula(textAt(m, padded));
  return {outcome.value, outcome.failure};
}

std::u16string ExpressionTemplate::textWithOnes() const {
  std::u16string out;
  for (const char16_t c : marked_) {
    if (c >= kFirstMark && c < kFirstMark + kNameCount) out.push_back(u'1');
    else out.push_back(c);
  }
  return out;
}

}  // namespace maqo::host::schedule
