// The due test of every kind of time text at chosen minutes, in both
// languages, and the minute check over an entry table: one-shot entries
// become done, failing expressions are reported once and never crash.
#include <gtest/gtest.h>

#include "host/schedule/schedule_model.h"
#include "platform/text_codec.h"

namespace maqo::host::schedule {
namespace {

constexpr auto kEnglish = ScheduleLanguage::English;
constexpr auto kJapanese = ScheduleLanguage::Japanese;

ScheduleMinute At(int year, int month, int day, int hour, int minute) { return {year, month, day, hour, minute}; }

struct DueCase {
  const char* text;
  ScheduleLanguage language;
  ScheduleMinute minute;
  bool due;
};

TEST(ScheduleDue, EveryKindAtChosenMinutes) {
  // 2026-12-07 is a Monday.
  const DueCase cases[] = {
      {"15min", kEnglish, At(2026, 12, 8, 10, 15), true},
      {"15min", kEnglish, At(2026, 12, 8, 10, 20), false},
      {"15min", kEnglish, At(2026, 12, 8, 10, 0), true},
      {"15min", kEnglish, At(2026, 12, 8, 10, 45), true},
      {"1min", kEnglish, At(2026, 12, 8, 10, 7), true},
      {"3h", kEnglish, At(2026, 12, 8, 3, 0), true},
      {"3h", kEnglish, At(2026, 12, 8, 0, 0), true},
      {"3h", kEnglish, At(2026, 12, 8, 3, 1), false},
      {"3h", kEnglish, At(2026, 12, 8, 4, 0), false},
      {"12h", kEnglish, At(2026, 12, 8, 12, 0), true},
      {"１５分毎", kJapanese, At(2026, 12, 8, 10, 15), true},
      {"１５分毎", kJapanese, At(2026, 12, 8, 10, 20), false},
      {"３時間毎", kJapanese, At(2026, 12, 8, 6, 0), true},
      {"３時間毎", kJapanese, At(2026, 12, 8, 7, 0), false},
      // Interval labels count only in the current language (the Japanese
      // label in English is an expression that cannot be computed).
      {"１分毎", kEnglish, At(2026, 12, 8, 10, 0), false},
      {"1min", kJapanese, At(2026, 12, 8, 10, 0), false},
      {"09:30:Week:Mon", kEnglish, At(2026, 12, 7, 9, 30), true},
      {"09:30:Week:Mon", kEnglish, At(2026, 12, 8, 9, 30), false},
      {"09:30:Week:Mon", kEnglish, At(2026, 12, 7, 9, 31), false},
      {"09:30:Week:Mon", kEnglish, At(2026, 12, 7, 10, 30), false},
      {"09:30:毎週:Mon", kEnglish, At(2026, 12, 7, 9, 30), true},
      {"09:30:Week:月", kJapanese, At(2026, 12, 7, 9, 30), true},
      // Weekday labels compare in the current language only.
      {"09:30:Week:Mon", kJapanese, At(2026, 12, 7, 9, 30), false},
      {"09:30:Month:31", kEnglish, At(2027, 4, 30, 9, 30), false},
      {"09:30:Month:31", kEnglish, At(2027, 5, 31, 9, 30), true},
      {"09:30:毎月:31", kJapanese, At(2027, 5, 31, 9, 30), true},
      {"09:30:Month:1", kEnglish, At(2027, 5, 1, 9, 30), true},
      {"09:30:Day", kEnglish, At(2027, 5, 1, 9, 30), true},
      {"09:30:毎日", kEnglish, At(2027, 5, 2, 9, 30), true},
      {"09:30:Day", kEnglish, At(2027, 5, 2, 21, 30), false},
      {"20300101 09:05:ONESHOT", kEnglish, At(2030, 1, 1, 9, 5), true},
      {"20300101 09:05:ONESHOT", kEnglish, At(2030, 1, 1, 9, 6), false},
      {"20300101 09:05:ONESHOT", kEnglish, At(2031, 1, 1, 9, 5), false},
      {"20300101 09:05:一回", kEnglish, At(2030, 1, 1, 9, 5), true},
      {"YMDNN=1440", kEnglish, At(2000, 1, 2, 0, 0), true},
      {"YMDNN=1440", kEnglish, At(2000, 1, 1, 0, 0), false},
      {"WW=1 AND HH=9 AND NN=0", kEnglish, At(2026, 12, 7, 9, 0), true},
      {"WW=1 AND HH=9 AND NN=0", kEnglish, At(2026, 12, 8, 9, 0), false},
      {"YY=2027 AND MM=5 AND DD=31", kEnglish, At(2027, 5, 31, 23, 59), true},
      {"HH=25", kEnglish, At(2026, 12, 7, 23, 0), false},
      {"NN MOD (HH-9)=0", kEnglish, At(2026, 12, 7, 9, 0), false},
      {"NN MOD (HH-9)=0", kEnglish, At(2026, 12, 7, 10, 0), true},
      // Never due by the clock.
      {"", kEnglish, At(2026, 12, 7, 9, 0), false},
      {"STARTS", kEnglish, At(2026, 12, 7, 9, 0), false},
      {"起動時", kEnglish, At(2026, 12, 7, 9, 0), false},
      {"EXPIRY", kJapanese, At(2026, 12, 7, 9, 0), false},
      {"済み", kEnglish, At(2026, 12, 7, 9, 0), false},
      {"win:NOTEPAD:", kEnglish, At(2026, 12, 7, 9, 0), false},
  };
  for (const DueCase& c : cases) {
    const CompiledEntry entry(u16(c.text), c.language);
    EXPECT_EQ(entry.dueAt(c.minute).due, c.due)
        << c.text << " at " << utf16ToUtf8(MinuteText(c.minute))
        << (c.language == kJapanese ? " (Japanese)" : " (English)");
  }
}

TEST(ScheduleDue, KindsAreRecognisedInBothLanguages) {
  const struct {
    const char* text;
    ScheduleLanguage language;
    EntryKind kind;
  } cases[] = {
      {"STARTS", kJapanese, EntryKind::Startup},     {"起動時", kEnglish, EntryKind::Startup},
      {"EXPIRY", kJapanese, EntryKind::Done},        {"済み", kEnglish, EntryKind::Done},
      {"20300101 09:05:一回", kEnglish, EntryKind::Once},
      {"20300101 09:05:ONESHOT", kJapanese, EntryKind::Once},
      {"10min", kEnglish, EntryKind::Interval},      {"１０分毎", kJapanese, EntryKind::Interval},
      {"10min", kJapanese, EntryKind::Expression},   {"09:30:Day", kJapanese, EntryKind::TimeOfDay},
      {"HH=9", kEnglish, EntryKind::Expression},     {"win:A:B<#COLON>C", kEnglish, EntryKind::Window},
      {"", kEnglish, EntryKind::None},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CompiledEntry(u16(c.text), c.language).kind(), c.kind) << c.text;

  const CompiledEntry window(u"win:MY:TITLE:B<#COLON>C", kEnglish);
  EXPECT_EQ(window.windowPattern().title, u"MY:TITLE");
  EXPECT_EQ(window.windowPattern().windowClass, u"B:C");
}

TEST(ScheduleModelCheck, OneShotFiresAtItsMinuteAndIsThenDone) {
  for (const auto& [language, done] : {std::pair{kEnglish, u"EXPIRY"}, std::pair{kJapanese, u"済み"}}) {
    ScheduleModel model(language);
    const std::u16string everyMinute(IntervalLabels(language)[0]);
    model.setEntries({{u"a.mqs", u"20300101 09:05:ONESHOT", false}, {u"b.mqs", everyMinute, false}});
    EXPECT_EQ(model.checkMinute(At(2030, 1, 1, 9, 4)), (std::vector<int>{1}));
    EXPECT_TRUE(model.takeRewrittenEntries().empty());
    EXPECT_EQ(model.checkMinute(At(2030, 1, 1, 9, 5)), (std::vector<int>{0, 1}));
    EXPECT_EQ(model.entries()[0].timeText, done);
    EXPECT_EQ(model.compiled()[0].kind(), EntryKind::Done);
    EXPECT_EQ(model.takeRewrittenEntries(), (std::vector<int>{0}));
    // Checking the same minute again (a clock set back) does not run it twice.
    EXPECT_EQ(model.checkMinute(At(2030, 1, 1, 9, 5)), (std::vector<int>{1}));
  }
}

TEST(ScheduleModelCheck, FailingExpressionIsReportedOnceAndMarked) {
  ScheduleModel model(kEnglish);
  model.setEntries({{u"a.mqs", u"NN MOD (HH-9)=0", false}, {u"b.mqs", u"HH=", false}, {u"c.mqs", u"HH=10", false}});
  // At 09:00 the first divides by zero, the second never computes.
  EXPECT_TRUE(model.checkMinute(At(2026, 12, 7, 9, 0)).empty());
  const auto reports = model.takeReports();
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0].rfind(u"ChkScjl:No. 1: ", 0), 0u) << utf16ToUtf8(reports[0]);
  EXPECT_NE(reports[0].find(u"Division by zero"), std::u16string::npos);
  EXPECT_EQ(reports[1].rfind(u"ChkScjl:No. 2: ", 0), 0u);
  EXPECT_TRUE(model.failed(0));
  EXPECT_TRUE(model.failed(1));
  EXPECT_FALSE(model.failed(2));
  // Later minutes fail again without a new report; the entry keeps working
  // where it computes.
  EXPECT_TRUE(model.checkMinute(At(2026, 12, 7, 9, 1)).empty());
  EXPECT_TRUE(model.takeReports().empty());
  EXPECT_EQ(model.checkMinute(At(2026, 12, 7, 10, 0)), (std::vector<int>{0, 2}));
  // Setting the entries again clears the marks.
  model.setEntries({{u"a.mqs", u"NN MOD (HH-9)=0", false}});
  EXPECT_FALSE(model.failed(0));
}

TEST(ScheduleModelCheck, StartupAndWindowEntriesAreListed) {
  ScheduleModel model(kJapanese);
  model.setEntries({{u"a", u"起動時", false}, {u"b", u"win:X:", true}, {u"c", u"STARTS", false}, {u"d", u"", false}});
  EXPECT_EQ(model.startupEntries(), (std::vector<int>{0, 2}));
  EXPECT_EQ(model.windowEntries(), (std::vector<int>{1}));
  EXPECT_FALSE(model.hasTimedEntries());
  model.setEntries({{u"a", u"済み", false}, {u"b", u"１分毎", false}});
  EXPECT_TRUE(model.hasTimedEntries());
}

}  // namespace
}  // namespace maqo::host::schedule
