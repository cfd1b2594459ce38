// The timer dialog's time texts and refusals, and the expression preview.
#include <gtest/gtest.h>

#include "host/schedule/timer_settings.h"
#include "platform/text_codec.h"

namespace maqo::host::schedule {
namespace {

constexpr auto kEnglish = ScheduleLanguage::English;
constexpr auto kJapanese = ScheduleLanguage::Japanese;

// Friday 2026-12-11 10:15:30.
const platform::LocalTime kNow{2026, 12, 11, 10, 15, 30, 0};

TimerSettings Choice(TimerChoice choice) {
  TimerSettings s;
  s.choice = choice;
  return s;
}

TEST(TimerSettingsText, AcceptedChoicesGiveTheStoredText) {
  TimerSettings interval = Choice(TimerChoice::Interval);
  interval.intervalIndex = 6;
  TimerSettings week = Choice(TimerChoice::TimeOfDay);
  week.hour = 9, week.minute = 5, week.period = Period::Week, week.detail = u"Mon";
  TimerSettings month = week;
  month.period = Period::Month, month.detail = u"31";
  TimerSettings day = week;
  day.period = Period::Day;
  TimerSettings once = Choice(TimerChoice::Once);
  once.year = 2030, once.month = 1, once.day = 1, once.hour = 9, once.minute = 5;
  TimerSettings window = Choice(TimerChoice::Window);
  window.windowTitle = u"  Notepad ", window.windowClass = u"a:b";
  TimerSettings classOnly = Choice(TimerChoice::Window);
  classOnly.windowClass = u"edit";

  const struct {
    TimerSettings settings;
    ScheduleLanguage language;
    std::u16string text;
  } cases[] = {
      {Choice(TimerChoice::None), kEnglish, u""},
      {Choice(TimerChoice::Startup), kEnglish, u"STARTS"},
      {Choice(TimerChoice::Startup), kJapanese, u"起動時"},
      {interval, kEnglish, u"15min"},
      {interval, kJapanese, u"１５分毎"},
      {week, kEnglish, u"09:05:Week:Mon"},
      {month, kJapanese, u"09:05:毎月:31"},
      {day, kEnglish, u"09:05:Day"},
      {once, kEnglish, u"20300101 09:05:ONESHOT"},
      {once, kJapanese, u"20300101 09:05:一回"},
      {window, kEnglish, u"win:NOTEPAD:A<#COLON>B"},
      {classOnly, kEnglish, u"win::EDIT"},
  };
  for (const auto& c : cases) {
    const TimerSettingsResult result = TimeTextFromSettings(c.settings, kNow, c.language);
    EXPECT_TRUE(result.accepted) << utf16ToUtf8(c.text);
    EXPECT_EQ(result.timeText, c.text);
  }
}

TEST(TimerSettingsText, RefusalsKeepTheDialogOpen) {
  TimerSettings bad = Choice(TimerChoice::Expression);
  bad.expression = u"hh=";
  TimerSettings past = Choice(TimerChoice::Once);
  past.year = 2026, past.month = 12, past.day = 11, past.hour = 10, past.minute = 15;  // this very minute
  TimerSettings empty = Choice(TimerChoice::Window);
  empty.windowTitle = u"   ";
  const struct {
    TimerSettings settings;
    ScheduleLanguage language;
    std::u16string message;
  } cases[] = {
      {bad, kEnglish, u"Equation is strange"},  {bad, kJapanese, u"式がおかしいです"},
      {past, kEnglish, u"Time has already passed"}, {past, kJapanese, u"設定時刻は既に過ぎてます"},
      {empty, kEnglish, u"no setting"},         {empty, kJapanese, u"設定がありません"},
  };
  for (const auto& c : cases) {
    const TimerSettingsResult result = TimeTextFromSettings(c.settings, kNow, c.language);
    EXPECT_FALSE(result.accepted);
    EXPECT_EQ(result.refusal, c.message);
  }
  // The next minute is in the future.
  past.minute = 16;
  EXPECT_TRUE(TimeTextFromSettings(past, kNow, kEnglish).accepted);
}

TEST(TimerSettingsText, ExpressionIsUpperCasedAndPreviewed) {
  TimerSettings s = Choice(TimerChoice::Expression);
  s.expression = u"  ww=1 and hh=9 and nn=0 ";
  const TimerSettingsResult result = TimeTextFromSettings(s, kNow, kEnglish);
  ASSERT_TRUE(result.accepted);
  EXPECT_EQ(result.timeText, u"WW=1 AND HH=9 AND NN=0");
  EXPECT_EQ(result.shownExpression, result.timeText);
  ASSERT_EQ(result.preview.hits.size(), 12u);
  EXPECT_EQ(result.preview.hits.front(), (ScheduleMinute{2026, 12, 14, 9, 0}));
  EXPECT_EQ(result.preview.hits.back(), (ScheduleMinute{2027, 3, 1, 9, 0}));
  EXPECT_TRUE(result.preview.more);  // 8 March is the 13th Monday within the 93 days
}

TEST(ExpressionPreviewText, NoHitSaysSoInEachLanguage) {
  EXPECT_EQ(PreviewExpression(u"HH=25", kNow, kEnglish).message, u"Expression\r\rNo execution within 3 month");
  EXPECT_EQ(PreviewExpression(u"HH=25", kNow, kJapanese).message, u"式による設定\r\r３ヶ月以内での実行は無し");
  // A formula failing at every minute previews as no hit, quietly.
  EXPECT_TRUE(PreviewExpression(u"1 MOD 0=0", kNow, kEnglish).hits.empty());
}

TEST(ExpressionPreviewText, StopsAtTheThirteenthHitAndSkipsThePast) {
  const ExpressionPreview preview = PreviewExpression(u"NN=15", kNow, kEnglish);
  ASSERT_EQ(preview.hits.size(), 12u);
  EXPECT_TRUE(preview.more);
  // 10:15 of today has begun already: the first hit is 11:15.
  EXPECT_EQ(preview.hits.front(), (ScheduleMinute{2026, 12, 11, 11, 15}));
  EXPECT_EQ(preview.message.substr(0, 28), u"Expression\r2026/12/11 11:15\r");
  EXPECT_EQ(preview.message.substr(preview.message.size() - 9), u"        :");

  // Two-digit fields in the preview compare like numbers.
  EXPECT_EQ(PreviewExpression(u"MM=01 AND DD=2 AND HH=3 AND NN=4", kNow, kEnglish).hits,
            (std::vector<ScheduleMinute>{{2027, 1, 2, 3, 4}}));
  // The search covers 93 days from today, not beyond.
  EXPECT_EQ(PreviewExpression(u"MM=3 AND DD=13 AND HH=23 AND NN=59", kNow, kEnglish).hits.size(), 1u);
  EXPECT_TRUE(PreviewExpression(u"MM=3 AND DD=14 AND HH=0 AND NN=0", kNow, kEnglish).hits.empty());
}

}  // namespace
}  // namespace maqo::host::schedule
