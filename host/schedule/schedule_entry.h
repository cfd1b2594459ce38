// One schedule entry's time text, read once into the form the due test
// needs. A time text is one of: empty, start-up, an interval label, a time of
// day "HH:NN:period[:detail]", an expression over the date and time, a
// one-shot "yyyymmdd HH:NN:ONESHOT", done, or "win:TITLE:CLASS".
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "host/schedule/expression_template.h"
#include "host/schedule/schedule_labels.h"
#include "host/schedule/schedule_minute.h"

namespace maqo::host::schedule {

enum class EntryKind { None, Startup, Interval, TimeOfDay, Expression, Once, Done, Window };

// A ":" inside a window entry's class part is stored as this.
inline constexpr std::u16string_view kColonMark = u"<#COLON>";

// What a window entry looks for: title part (found anywhere in the title)
// and class part (the whole class), both upper case.
struct WindowPattern {
  std::u16string title;
  std::u16string windowClass;
};

struct DueAnswer {
  bool due = false;
  std::u16string failure;  // an expression that could not be computed at this minute
};

class CompiledEntry {
 public:
  CompiledEntry() = default;
  CompiledEntry(std::u16string_view timeText, ScheduleLanguage language);

  EntryKind kind() const { return kind_; }
  const std::u16string& text() const { return text_; }
  const WindowPattern& windowPattern() const { return window_; }
  const ExpressionTemplate& expression() const { return expression_; }
  // True for the kinds that fire at a minute of the clock.
  bool timed() const;

  // Whether the entry is due at minute m. Never reports anything.
  DueAnswer dueAt(const ScheduleMinute& m) const;

 private:
  bool timeOfDayDue(const ScheduleMinute& m) const;
  bool onceDue(const ScheduleMinute& m) const;

  EntryKind kind_ = EntryKind::None;
  ScheduleLanguage language_ = ScheduleLanguage::English;
  std::u16string text_;
  IntervalStep interval_;
  ExpressionTemplate expression_;
  WindowPattern window_;
  // Time of day and once: the fields split at ":" (and, for once, at spaces).
  std::vector<std::u16string> fields_;
};

}  // namespace maqo::host::schedule
