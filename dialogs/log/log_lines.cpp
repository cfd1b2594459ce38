#include "dialogs/log/log_lines.h"

#include <charconv>
#include <string>

namespace maqo::dialogs {

namespace {

std::u16string twoDigits(int value) {
  const int v = ((value % 100) + 100) % 100;
  return {static_cast<char16_t>(u'0' + v / 10), static_cast<char16_t>(u'0' + v % 10)};
}

bool isBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\x3000'; }

}  // namespace

int LogLinesFromSetting(std::u16string_view text) {
  const size_t comma = text.find(u',');
  std::u16string_view field = comma == std::u16string_view::npos ? text : text.substr(0, comma);
  while (!field.empty() && isBlank(field.front())) field.remove_prefix(1);
  while (!field.empty() && isBlank(field.back())) field.remove_suffix(1);
  std::string ascii;
  for (char16_t c : field) {
    if (c > 0x7f) return kDefaultLogLines;
    ascii.push_back(static_cast<char>(c));
  }
  if (!ascii.empty() && ascii.front() == '+') ascii.erase(0, 1);
  long long value = 0;
  const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
  if (ascii.empty() || error == std::errc::invalid_argument || end != ascii.data() + ascii.size())
    return kDefaultLogLines;
  if (error == std::errc::result_out_of_range) return ascii.front() == '-' ? kDefaultLogLines : kMaxLogLines;
  if (value <= 0) return kDefaultLogLines;
  return value > kMaxLogLines ? kMaxLogLines : static_cast<int>(value);
}

void KeptLines::setLimit(int limit) {
  limit_ = limit < 1 ? 1 : limit;
  while (lines_.size() > static_cast<size_t>(limit_)) lines_.pop_front();
}

void KeptLines::add(std::u16string line) {
  lines_.push_back(std::move(line));
  while (lines_.size() > static_cast<size_t>(limit_)) lines_.pop_front();
}

std::u16string KeptLines::joined() const {
  size_t total = 0;
  for (const auto& line : lines_) total += line.size() + 2;
  std::u16string text;
  text.reserve(total);
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (i > 0) text += u"\r\n";
    text += lines_[i];
  }
  return text;
}

bool MemoNeedsRewrite(size_t memoLines, int limit) {
  const size_t bound = static_cast<size_t>(limit < 1 ? 1 : limit);
  return memoLines > bound + bound / 10;
}

std::optional<std::u16string> LogFileLine(int mode, std::u16string_view text, const platform::LocalTime& now) {
  const int form = mode & 3;
  if (form == 1) return std::nullopt;
  std::u16string body(text.substr(0, kLogFileLineCut));
  if (text.size() > kLogFileLineCut) body += u"...";
  if (form == 2) return body;
  std::u16string stamp = twoDigits(now.year) + u"/" + twoDigits(now.month) + u"/" + twoDigits(now.day) + u" " +
                         twoDigits(now.hour) + u":" + twoDigits(now.minute);
  if (form == 3) stamp += u":" + twoDigits(now.second);
  return stamp + u"  " + body;
}

}  // namespace maqo::dialogs
