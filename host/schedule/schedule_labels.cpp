#include "host/schedule/schedule_labels.h"

namespace maqo::host::schedule {

namespace {

constexpr std::array<std::u16string_view, kIntervalCount> kEnglishIntervals = {
    u"1min", u"2min", u"3min", u"4min", u"5min", u"10min", u"15min", u"20min",
    u"30min", u"1h", u"2h", u"3h", u"4h", u"6h", u"8h", u"12h"};
constexpr std::array<std::u16string_view, kIntervalCount> kJapaneseIntervals = {
    u"１分毎", u"２分毎", u"３分毎", u"４分毎", u"５分毎", u"１０分毎", u"１５分毎", u"２０分毎",
    u"３０分毎", u"１時間毎", u"２時間毎", u"３時間毎", u"４時間毎", u"６時間毎", u"８時間毎", u"１２時間毎"};
// The number each label starts with; the first nine count minutes, the rest hours.
constexpr std::array<int, kIntervalCount> kIntervalCounts = {1, 2, 3, 4, 5, 10, 15, 20, 30, 1, 2, 3, 4, 6, 8, 12};
constexpr int kFirstHourInterval = 9;

constexpr std::array<std::u16string_view, 7> kEnglishWeekdays = {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};
constexpr std::array<std::u16string_view, 7> kJapaneseWeekdays = {u"日", u"月", u"火", u"水", u"木", u"金", u"土"};

constexpr std::array<std::u16string_view, 3> kEnglishPeriods = {u"Day", u"Week", u"Month"};
constexpr std::array<std::u16string_view, 3> kJapanesePeriods = {u"毎日", u"毎週", u"毎月"};

bool japanese(ScheduleLanguage language) { return language == ScheduleLanguage::Japanese; }

}  // namespace

const std::array<std::u16string_view, kIntervalCount>& IntervalLabels(ScheduleLanguage language) {
  return japanese(language) ? kJapaneseIntervals : kEnglishIntervals;
}

std::optional<int> IntervalIndexOf(std::u16string_view text, ScheduleLanguage language) {
  const auto& labels = IntervalLabels(language);
  for (int i = 0; i < kIntervalCount; ++i)
    if (labels[i] == text) return i;
  return std::nullopt;
}

IntervalStep IntervalStepOf(int intervalIndex) {
  if (intervalIndex < 0 || intervalIndex >= kIntervalCount) return {};
  return {kIntervalCounts[intervalIndex], intervalIndex >= kFirstHourInterval};
}

std::u16string_view PeriodLabel(Period period, ScheduleLanguage language) {
  const auto index = static_cast<size_t>(period);
  return japanese(language) ? kJapanesePeriods[index] : kEnglishPeriods[index];
}

std::optional<Period> PeriodOf(std::u16string_view text) {
  for (size_t i = 0; i < kEnglishPeriods.size(); ++i)
    if (text == kEnglishPeriods[i] || text == kJapanesePeriods[i]) return static_cast<Period>(i);
  return std::nullopt;
}

std::u16string_view WeekdayLabel(int weekday, ScheduleLanguage language) {
  const auto index = static_cast<size_t>(((weekday % 7) + 7) % 7);
  return japanese(language) ? kJapaneseWeekdays[index] : kEnglishWeekdays[index];
}

std::u16string_view StartupWord(ScheduleLanguage language) { return japanese(language) ? u"起動時" : u"STARTS"; }
std::u16string_view DoneWord(ScheduleLanguage language) { return japanese(language) ? u"済み" : u"EXPIRY"; }
std::u16string_view OnceWord(ScheduleLanguage language) { return japanese(language) ? u"一回" : u"ONESHOT"; }

bool IsStartupText(std::u16string_view text) { return text == u"起動時" || text == u"STARTS"; }
bool IsDoneText(std::u16string_view text) { return text == u"済み" || text == u"EXPIRY"; }
bool HasOnceMarker(std::u16string_view text) {
  return text.find(u":一回") != std::u16string_view::npos || text.find(u":ONESHOT") != std::u16string_view::npos;
}

}  // namespace maqo::host::schedule
