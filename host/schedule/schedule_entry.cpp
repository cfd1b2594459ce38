#include "host/schedule/schedule_entry.h"

#include <charconv>

namespace maqo::host::schedule {

namespace {

std::vector<std::u16string> SplitAt(std::u16string_view text, std::u16string_view separators) {
  std::vector<std::u16string> fields;
  std::u16string current;
  for (const char16_t c : text) {
    if (separators.find(c) != std::u16string_view::npos) {
      fields.push_back(std::move(current));
      current.clear();
    } else {
      current.push_back(c);
    }
  }
  fields.push_back(std::move(current));
  return fields;
}

// The number a field of ASCII digits holds; -1 for anything else.
int NumberIn(std::u16string_view field) {
  if (field.empty() || field.size() > 9) return -1;
  int value = 0;
  for (const char16_t c : field) {
    if (c < u'0' || c > u'9') return -1;
    value = value * 10 + (c - u'0');
  }
  return value;
}

std::u16string TwoDigits(int value) {
  return {static_cast<char16_t>(u'0' + value / 10 % 10), static_cast<char16_t>(u'0' + value % 10)};
}

void ReplaceAll(std::u16string& text, std::u16string_view what, std::u16string_view with) {
  for (size_t at = text.find(what); at != std::u16string::npos; at = text.find(what, at + with.size()))
    text.replace(at, what.size(), with);
}

}  // namespace

CompiledEntry::CompiledEntry(std::u16string_view timeText, ScheduleLanguage language)
    : language_(language), text_(timeText) {
  if (text_.empty()) {
    kind_ = EntryKind::None;
  } else if (IsStartupText(text_)) {
    kind_ = EntryKind::Startup;
  } else if (IsDoneText(text_)) {
    kind_ = EntryKind::Done;
  } else if (text_.rfind(u"win:", 0) == 0) {
    kind_ = EntryKind::Window;
    const std::u16string_view parts = std::u16string_view(text_).substr(4);
    const size_t colon = parts.rfind(u':');
    window_.title = std::u16string(colon == std::u16string_view::npos ? parts : parts.substr(0, colon));
    if (colon != std::u16string_view::npos) window_.windowClass = std::u16string(parts.substr(colon + 1));
    ReplaceAll(window_.windowClass, kColonMark, u":");
  } else if (const auto index = IntervalIndexOf(text_, language)) {
    kind_ = EntryKind::Interval;
    interval_ = IntervalStepOf(*index);
  } else if (HasOnceMarker(text_)) {
    kind_ = EntryKind::Once;
    fields_ = SplitAt(text_, u" :");
  } else if (text_.find(u':') == std::u16string::npos) {
    kind_ = EntryKind::Expression;
    expression_ = ExpressionTemplate(text_);
  } else {
    kind_ = EntryKind::TimeOfDay;
    fields_ = SplitAt(text_, u":");
  }
}

bool CompiledEntry::timed() const {
  return kind_ == EntryKind::Interval || kind_ == EntryKind::TimeOfDay || kind_ == EntryKind::Expression ||
         kind_ == EntryKind::Once;
}

DueAnswer CompiledEntry::dueAt(const ScheduleMinute& m) const {
  switch (kind_) {
    case EntryKind::Interval:
      if (!interval_.hours) return {m.minute % interval_.count == 0, {}};
      return {m.minute == 0 && m.hour % interval_.count == 0, {}};
    case EntryKind::Once:
      return {onceDue(m), {}};
    case EntryKind::Expression: {
      const ExpressionResult result = expression_.evaluateAt(m, false);
      return {IsTrue(result), result.failure};
    }
    case EntryKind::TimeOfDay:
      return {timeOfDayDue(m), {}};
    default:
      return {};
  }
}

bool CompiledEntry::timeOfDayDue(const ScheduleMinute& m) const {
  if (fields_.size() < 2 || fields_[0] + u":" + fields_[1] != TwoDigits(m.hour) + u":" + TwoDigits(m.minute))
    return false;
  const std::optional<Period> period = fields_.size() > 2 ? PeriodOf(fields_[2]) : std::nullopt;
  if (period == Period::Week) return fields_.size() > 3 && fields_[3] == WeekdayLabel(WeekdayOf(m), language_);
  if (period == Period::Month) return fields_.size() > 3 && NumberIn(fields_[3]) == m.day;
  return true;
}

bool CompiledEntry::onceDue(const ScheduleMinute& m) const {
  // fields_: "yyyymmdd", "HH", "NN", marker.
  if (fields_.size() < 3 || fields_[0].size() < 8) return false;
  const std::u16string_view date = fields_[0];
  return NumberIn(date.substr(0, 4)) == m.year && NumberIn(date.substr(4, 2)) == m.month &&
         NumberIn(date.substr(6, 2)) == m.day && NumberIn(fields_[1]) == m.hour && NumberIn(fields_[2]) == m.minute;
}

}  // namespace maqo::host::schedule
