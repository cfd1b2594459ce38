// The time text the timer dialog stores for the choices made in it, or the
// message that keeps the dialog open: a formula that cannot be computed, a
// one-shot time that has passed, a window entry with neither title nor class.
#pragma once
#include <string>

#include "host/schedule/expression_preview.h"
#include "host/schedule/schedule_labels.h"
#include "platform/system_info.h"

namespace maqo::host::schedule {

enum class TimerChoice { None, Startup, Interval, TimeOfDay, Expression, Once, Window };

struct TimerSettings {
  TimerChoice choice = TimerChoice::None;
  int intervalIndex = 0;
  int hour = 0, minute = 0;  // time of day and once
  Period period = Period::Day;
  std::u16string detail;  // weekday label for Week, day number for Month
  std::u16string expression;
  int year = 2000, month = 1, day = 1;  // once
  std::u16string windowTitle, windowClass;
};

struct TimerSettingsResult {
  bool accepted = false;
  std::u16string timeText;  // what to store when accepted
  std::u16string refusal;   // the message shown (title "MAQO") when not
  // Expressions: the text as the edit shows it afterwards, and the preview.
  std::u16string shownExpression;
  ExpressionPreview preview;
};

TimerSettingsResult TimeTextFromSettings(const TimerSettings& settings, const platform::LocalTime& now,
                                         ScheduleLanguage language);

}  // namespace maqo::host::schedule
