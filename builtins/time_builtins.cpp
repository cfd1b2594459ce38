#include "builtins/time_builtins.h"

#include <cmath>
#include <vector>

#include "builtins/builtin_messages.h"
#include "builtins/date_time.h"
#include "engine/eval/numeric_ops.h"
#include "engine/eval/text_helpers.h"
#include "platform/system_services.h"

namespace maqo::builtins {

namespace {

using engine::ScriptValue;

ScriptValue emptyText() { return ScriptValue::string(u""); }

// Moves by a number of days (fractions are parts of a day); nothing when the
// moment leaves the years 1..9999.
std::optional<int64_t> addDays(int64_t moment, double days) {
  const double shift = std::round(days * static_cast<double>(kMsPerDay));
  // Beyond 10,000 years either way no valid moment remains.
  if (!std::isfinite(shift) || std::fabs(shift) > 4.0e14) return std::nullopt;
  const int64_t result = moment + static_cast<int64_t>(shift);
  if (!StampOf(result)) return std::nullopt;
  return result;
}

// Position of the "(" matching the ")" at close, outside double quotes; npos when none.
size_t matchingOpen(std::u16string_view text, size_t close) {
  std::vector<size_t> open;
  bool quoted = false;
  for (size_t i = 0; i < close; ++i) {
    const char16_t c = text[i];
    if (c == u'"') quoted = !quoted;
    if (quoted) continue;
    if (c == u'(') open.push_back(i);
    if (c == u')' && !open.empty()) open.pop_back();
  }
  return open.empty() ? std::u16string_view::npos : open.back();
}

std::u16string upperOutsideQuotes(std::u16string_view text) {
  std::u16string out(text);
  bool quoted = false;
  for (char16_t& c : out) {
    if (c == u'"') quoted = !quoted;
    if (!quoted) c = engine::UpperCase(c);
  }
  return out;
}

}  // namespace

void MessagePause(platform::Platform& platform, int rounds) {
  for (int i = 0; i < rounds; ++i) {
    platform.clock.sleepMs(0);
    platform.ui.pumpMessages();
  }
}

ScriptValue SleepBuiltin(BuiltinCall& call, BuiltinHost& host) {
  if (call.count() > 1) throw messages::sleepTooManyArguments();
  platform::Platform& p = host.platform();
  const double seconds = call.number(0);
  if (seconds == 0) {
    p.ui.pumpMessages();
    return emptyText();
  }
  const int64_t ms = engine::truncateToInt64(seconds * 1000.0);
  if (ms < 0)
    throw messages::callFailure(u"SLEEP: the time must not be below 0", u"SLEEP: 時間は 0 以上です");
  auto stop = [&] { return host.stopRequested(); };
  platform::sleepPumping(p, static_cast<int>(ms % 100), stop);
  if (ms < 10) {
    if (ms > 0) MessagePause(p, 1);
    return emptyText();
  }
  // Whole tenths of a second: rounds of 50 ms, at most twice as many as the
  // time needs, each ending early on a stop request. Time spent paused is not
  // counted, so a SLEEP never ends during a pause.
  const int64_t tenths = ms / 100;
  const int64_t limit = tenths * 100;
  const int64_t start = p.clock.monotonicMs();
  for (int64_t rounds = 0; rounds < 2 * tenths;) {
    if (host.stopRequested()) break;
    if (host.comEventsActive()) {
      for (int i = 0; i < 5; ++i) {
        p.clock.sleepMs(10);
        MessagePause(p, 1);
      }
    } else {
      p.clock.sleepMs(50);
      MessagePause(p, 1);
    }
    if (host.runPaused()) continue;
    if (p.clock.monotonicMs() - start >= limit) break;
    ++rounds;
  }
  MessagePause(p, 1);
  return emptyText();
}

ScriptValue GetTimeBuiltin(BuiltinCall& call, BuiltinHost& host) {
  const double days = call.number(0);
  engine::THensuFmt& frame = host.frame();
  const std::optional<int64_t> now = MomentOf(host.system().info.localTime());
  if (!now) throw messages::callFailure(u"GETTIME: the system clock is unreadable", u"GETTIME: 時計が読めません");
  std::optional<int64_t> stamp = addDays(*now, days);
  if (!stamp) throw messages::wrongDate(call.text(0));
  frame.timeStamp = *StampOf(*stamp);

  const std::u16string& dateText = call.text(1);
  if (call.count() >= 2 && !dateText.empty()) {
    const std::optional<int64_t> date = ParseDateText(dateText);
    if (!date) throw messages::wrongDate(dateText);
    frame.timeStamp = *StampOf(*date);
    stamp = addDays(*date, days);
    if (!stamp) throw messages::wrongDate(dateText);
    frame.timeStamp = *StampOf(*stamp);
  }
  const engine::TimeStamp& s = frame.timeStamp;
  const int64_t dayOffset = DayNumber(s.year, s.month, s.day) - DayNumber(2000, 1, 1);
  const double seconds =
      static_cast<double>(dayOffset) * 86400.0 + s.hour * 3600.0 + s.minute * 60.0 + static_cast<double>(s.second);
  return ScriptValue::number(seconds);
}

std::u16string PrepareEvalText(std::u16string_view source) {
  std::u16string text(source);
  // A(1).B is an indexed member: A[1].B.
  for (;;) {
    if (engine::CountOutside(u'(', text) != engine::CountOutside(u')', text)) break;
    const size_t at = engine::FindOutside(u").", text, false);
    if (at == 0) break;
    const size_t close = at - 1;
    const size_t open = matchingOpen(text, close);
    if (open == std::u16string::npos) break;
    text[close] = u']';
    text[open] = u'[';
  }
  if (text.size() >= 2 && text.front() == u'"' && text.back() == u'"') {
    const std::u16string inner = engine::ReplaceAll(std::u16string_view(text).substr(1, text.size() - 2), u"\"", u"<#_DBL>");
    text = u"\"" + inner + u"\"";
  }
  return upperOutsideQuotes(text);
}

std::u16string WithScriptExtension(std::u16string_view name) {
  std::u16string text(name);
  if (engine::UpperCase(text).find(u".MQS") != std::u16string::npos) return text;
  const size_t fileStart = text.find_last_of(u"\\/") == std::u16string::npos ? 0 : text.find_last_of(u"\\/") + 1;
  const size_t paren = text.rfind(u'(');
  if (paren != std::u16string::npos && paren >= fileStart) return text.insert(paren, u".MQS");
  return text + u".MQS";
}

ScriptValue EvalBuiltin(BuiltinCall& call, BuiltinHost& host) {
  const std::u16string text = PrepareEvalText(engine::TrimView(call.text(0)));
  const size_t space = text.find(u' ');
  const std::u16string_view firstWord = std::u16string_view(text).substr(0, space);
  if (firstWord == u"THREAD") {
    host.executeStatementText(text);
    return emptyText();
  }
  if (firstWord == u"CALL" && space != std::u16string::npos) {
    std::u16string target = engine::Trim(std::u16string_view(text).substr(space + 1));
    if (target.find(u'"') != std::u16string::npos) target = host.evaluateText(target).toText();
    host.callScriptFile(WithScriptExtension(target));
    return emptyText();
  }
  if (engine::FindOutside(u":=", text, false) != 0) {
    host.executeStatementText(engine::ReplaceAll(text, u":=", u"="));
    return emptyText();
  }
  return host.evaluateText(text);
}

}  // namespace maqo::builtins
