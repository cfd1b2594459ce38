#include "host/schedule/timer_settings.h"

#include <cstdio>

#include "engine/eval/formula.h"
#include "engine/eval/text_helpers.h"
#include "host/schedule/expression_template.h"
#include "host/schedule/schedule_entry.h"
#include "platform/text_codec.h"

namespace maqo::host::schedule {

namespace {

std::u16string Formatted(const char* format, int a, int b, int c = 0) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, format, a, b, c);
  return u16(buffer);
}

TimerSettingsResult Accepted(std::u16string text) {
  TimerSettingsResult result;
  result.accepted = true;
  result.timeText = std::move(text);
  return result;
}

TimerSettingsResult Refused(std::u16string message) {
  TimerSettingsResult result;
  result.refusal = std::move(message);
  return result;
}

}  // namespace

TimerSettingsResult TimeTextFromSettings(const TimerSettings& settings, const platform::LocalTime& now,
                                         ScheduleLanguage language) {
  const bool japanese = language == ScheduleLanguage::Japanese;
  switch (settings.choice) {
    case TimerChoice::None:
      return Accepted({});
    case TimerChoice::Startup:
      return Accepted(std::u16string(StartupWord(language)));
    case TimerChoice::Interval: {
      const auto& labels = IntervalLabels(language);
      if (settings.intervalIndex < 0 || settings.intervalIndex >= kIntervalCount) return Accepted({});
      return Accepted(std::u16string(labels[settings.intervalIndex]));
    }
    case TimerChoice::TimeOfDay: {
      std::u16string text = Formatted("%2.2d:%2.2d:", settings.hour, settings.minute);
      text += PeriodLabel(settings.period, language);
      if (settings.period != Period::Day && !settings.detail.empty()) text += u":" + settings.detail;
      return Accepted(std::move(text));
    }
    case TimerChoice::Expression: {
      const std::u16string expression = asciiUpper(engine::TrimView(settings.expression));
      const ExpressionTemplate formula(expression);
      if (!engine::ComputeFormula(formula.textWithOnes()).ok()) {
        TimerSettingsResult refused = Refused(japanese ? u"式がおかしいです" : u"Equation is strange");
        refused.shownExpression = expression;
        return refused;
      }
      TimerSettingsResult result = Accepted(expression);
      result.shownExpression = expression;
      result.preview = PreviewExpression(expression, now, language);
      return result;
    }
    case TimerChoice::Once: {
      const ScheduleMinute chosen{settings.year, settings.month, settings.day, settings.hour, settings.minute};
      if (MinuteNumber(chosen) * 60 <= MinuteNumber(MinuteOf(now)) * 60 + now.second)
        return Refused(japanese ? u"設定時刻は既に過ぎてます" : u"Time has already passed");
      std::u16string text = Formatted("%04d%02d%02d", settings.year, settings.month, settings.day);
      text += Formatted(" %2.2d:%2.2d:", settings.hour, settings.minute);
      text += OnceWord(language);
      return Accepted(std::move(text));
    }
    case TimerChoice::Window: {
      const std::u16string title = asciiUpper(engine::TrimView(settings.windowTitle));
      std::u16string windowClass = asciiUpper(engine::TrimView(settings.windowClass));
      if (title.empty() && windowClass.empty()) return Refused(japanese ? u"設定がありません" : u"no setting");
      for (size_t at = windowClass.find(u':'); at != std::u16string::npos; at = windowClass.find(u':', at))
        windowClass.replace(at, 1, kColonMark);
      return Accepted(u"win:" + title + u":" + windowClass);
    }
  }
  return Accepted({});
}

}  // namespace maqo::host::schedule
