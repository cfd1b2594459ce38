// Times the scheduler's two searches: the preview of an expression entry that
// never comes true (every minute of 93 days evaluated: 133,920 formulas) and
// the wake-up search over 40 timed entries, once as a mixed table (10 each of
// interval, time of day, expression and once) and once with no entry due in
// the 32 days searched (every entry tested at every minute, ~1.8 M due tests),
// and one window tick: 400 window entries checked against 200 open windows.
// Prints one row per case: the work done, the median milliseconds over the
// rounds and the target; exits with 1 when a case misses its target.
//   schedule_bench [ROUNDS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "host/schedule/expression_preview.h"
#include "host/schedule/wake_planner.h"
#include "host/schedule/window_entry_watch.h"
#include "platform/text_codec.h"

namespace {

using namespace maqo::host::schedule;

const maqo::platform::LocalTime kNow{2026, 12, 11, 10, 15, 30, 0};

double MedianMs(int rounds, const std::function<void()>& work) {
  std::vector<double> times;
  for (int i = 0; i < rounds; ++i) {
    const auto start = std::chrono::steady_clock::now();
    work();
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

std::vector<CompiledEntry> Compile(const std::vector<std::string>& texts) {
  std::vector<CompiledEntry> entries;
  for (const std::string& text : texts) entries.emplace_back(maqo::u16(text), ScheduleLanguage::English);
  return entries;
}

std::vector<std::string> MixedTable() {
  std::vector<std::string> texts;
  for (const char* interval : {"1h", "2h", "3h", "4h", "6h", "8h", "12h", "30min", "20min", "15min"})
    texts.push_back(interval);
  for (int i = 0; i < 10; ++i)
    texts.push_back((i % 2 ? "0" : "1") + std::to_string(i) + ":3" + std::to_string(i) + (i % 3 ? ":Day" : ":Week:Sun"));
  for (int i = 0; i < 10; ++i)
    texts.push_back("WW=" + std::to_string(i % 7) + " AND HH=" + std::to_string(8 + i) + " AND NN MOD 15=0");
  for (int i = 0; i < 10; ++i) texts.push_back("202701" + std::to_string(10 + i) + " 09:05:ONESHOT");
  return texts;
}

// Nothing comes due within the 32 days searched from kFebruary: the 30th and
// 31st of the month are next in March.
const maqo::platform::LocalTime kFebruary{2027, 2, 1, 10, 15, 30, 0};
std::vector<std::string> NeverDueTable() {
  std::vector<std::string> texts;
  for (int i = 0; i < 14; ++i) texts.push_back("0" + std::to_string(i % 10) + ":30:Month:" + std::to_string(i % 2 ? 30 : 31));
  for (int i = 0; i < 13; ++i)
    texts.push_back("YY=2099 AND MM=" + std::to_string(1 + i % 12) + " AND DD=1 AND HH=" + std::to_string(i) + " AND NN=0");
  for (int i = 0; i < 13; ++i) texts.push_back("20300101 09:" + std::to_string(10 + i) + ":ONESHOT");
  return texts;
}

// Counts the due tests a search performs until its first hit.
long long DueTests(const std::vector<CompiledEntry>& entries, const maqo::platform::LocalTime& now,
                   const std::optional<ScheduleMinute>& due) {
  const long long first = (MinuteNumber(MinuteOf(now)) * 60 + now.second + 119) / 60;
  const long long last = due ? MinuteNumber(*due) : first + kWakeSearchDays * 1440LL - 1;
  return (last - first + 1) * static_cast<long long>(entries.size());
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = std::max(argc > 1 ? std::atoi(argv[1]) : 5, 1);
  std::printf("%-22s %-24s %10s %s\n", "case", "work", "median ms", "target");

  size_t hits = 0;
  const double previewMs =
      MedianMs(rounds, [&] { hits = PreviewExpression(u"WW=1 AND HH=25 AND NN=0", kNow, ScheduleLanguage::English).hits.size(); });
  std::printf("%-22s %-24s %10.1f %s\n", "preview", "133920 evaluations", previewMs, "< 1000");
  if (hits != 0) return 1;

  bool overTarget = previewMs >= 1000;
  const struct {
    const char* name;
    std::vector<CompiledEntry> entries;
    maqo::platform::LocalTime now;
  } cases[] = {{"wake, 40 mixed", Compile(MixedTable()), kNow},
               {"wake, 40 never due", Compile(NeverDueTable()), kFebruary}};
  for (const auto& c : cases) {
    std::optional<ScheduleMinute> due;
    const double ms = MedianMs(rounds, [&] { due = NextDueMinute(c.entries, c.now); });
    const std::string work = std::to_string(DueTests(c.entries, c.now, due)) + " due tests";
    std::printf("%-22s %-24s %10.1f %s\n", c.name, work.c_str(), ms, "< 1000");
    overTarget = overTarget || ms >= 1000;
  }

  // A window tick: the open windows normalised, then every window entry checked.
  std::vector<std::pair<std::u16string, std::u16string>> desktop;
  for (int i = 0; i < 200; ++i)
    desktop.emplace_back(maqo::u16(" Document " + std::to_string(i) + " - Editor "), maqo::u16("EditorFrame" + std::to_string(i % 7)));
  std::vector<CompiledEntry> windowEntries;
  for (int i = 0; i < 400; ++i)
    windowEntries.emplace_back(maqo::u16("win:DOCUMENT " + std::to_string(i * 3) + " -:" + (i % 2 ? "EDITORFRAME1" : "")),
                               ScheduleLanguage::English);
  WindowEntryWatch watch;
  int fired = 0;
  const double tickMs = MedianMs(rounds * 20, [&] {
    std::vector<WatchedWindow> windows;
    windows.reserve(desktop.size());
    for (size_t i = 0; i < desktop.size(); ++i)
      windows.push_back(MakeWatchedWindow(static_cast<int64_t>(i + 1), desktop[i].first, desktop[i].second));
    for (size_t e = 0; e < windowEntries.size(); ++e)
      fired += watch.check(static_cast<int>(e), windowEntries[e].windowPattern(), windows).has_value();
  });
  std::printf("%-22s %-24s %10.3f %s\n", "window tick", "400 entries, 200 windows", tickMs, "< 5");
  overTarget = overTarget || tickMs >= 5;
  return overTarget ? 1 : 0;
}
