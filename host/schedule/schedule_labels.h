// The words a schedule entry's time text is made of, in the two languages the
// system may report. Start-up, done, once and the Day/Week/Month periods are
// recognised in either language (a settings file may have been written under
// the other one); interval and weekday labels only in the current language,
// as they are offered and compared.
#pragma once
#include <array>
#include <optional>
#include <string_view>

namespace maqo::host::schedule {

enum class ScheduleLanguage { English, Japanese };

inline constexpr int kIntervalCount = 16;

// The interval labels "1min" .. "12h" (or their Japanese forms), in order.
const std::array<std::u16string_view, kIntervalCount>& IntervalLabels(ScheduleLanguage language);
// The index of text among the current language's interval labels.
std::optional<int> IntervalIndexOf(std::u16string_view text, ScheduleLanguage language);

// An interval as the due test uses it: every `count` minutes, or every
// `count` hours on the full hour.
struct IntervalStep {
  int count = 1;
  bool hours = false;
};
IntervalStep IntervalStepOf(int intervalIndex);

enum class Period { Day, Week, Month };
std::u16string_view PeriodLabel(Period period, ScheduleLanguage language);
// "Day"/"毎日", "Week"/"毎週", "Month"/"毎月" in either language.
std::optional<Period> PeriodOf(std::u16string_view text);

// Weekday labels, 0 = Sunday.
std::u16string_view WeekdayLabel(int weekday, ScheduleLanguage language);

// The stored words of the special time texts, in the given language.
std::u16string_view StartupWord(ScheduleLanguage language);  // STARTS / 起動時
std::u16string_view DoneWord(ScheduleLanguage language);     // EXPIRY / 済み
std::u16string_view OnceWord(ScheduleLanguage language);     // ONESHOT / 一回

bool IsStartupText(std::u16string_view text);
bool IsDoneText(std::u16string_view text);
// True when text carries the once marker (":ONESHOT" or ":一回").
bool HasOnceMarker(std::u16string_view text);

}  // namespace maqo::host::schedule
