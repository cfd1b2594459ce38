#include "engine/errors/system_error_log.h"

#include <algorithm>
#include <ctime>

#include "platform/text_codec.h"

namespace maqo::engine {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

void appendTwoDigits(std::u16string& out, int value) {
  value = ((value % 100) + 100) % 100;
  out.push_back(static_cast<char16_t>(u'0' + value / 10));
  out.push_back(static_cast<char16_t>(u'0' + value % 10));
}

std::u16string stamp(const LogTime& t) {
  std::u16string s;
  appendTwoDigits(s, t.year);
  s += u'/';
  appendTwoDigits(s, t.month);
  s += u'/';
  appendTwoDigits(s, t.day);
  s += u' ';
  appendTwoDigits(s, t.hour);
  s += u':';
  appendTwoDigits(s, t.minute);
  s += u"  ";
  return s;
}

std::vector<std::u16string> splitLines(std::string_view bytes) {
  if (bytes.substr(0, kUtf8Mark.size()) == kUtf8Mark) bytes.remove_prefix(kUtf8Mark.size());
  const std::u16string text = utf8ToUtf16(bytes);
  std::vector<std::u16string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(u'\n', start);
    if (end == std::u16string::npos) end = text.size();
    size_t stop = end;
    if (stop > start && text[stop - 1] == u'\r') --stop;
    if (stop > start) lines.push_back(text.substr(start, stop - start));
    start = end + 1;
  }
  return lines;
}

void keepLast(std::vector<std::u16string>& lines, size_t count) {
  if (lines.size() > count) lines.erase(lines.begin(), lines.end() - static_cast<ptrdiff_t>(count));
}

}  // namespace

SystemErrorLog::SystemErrorLog(platform::FileSystem& files, std::u16string path, std::function<LogTime()> now)
    : files_(files), path_(std::move(path)), now_(std::move(now)) {}

LogTime SystemErrorLog::localTimeNow() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
#ifdef _WIN32
  localtime_s(&tm, &now);
#else
  localtime_r(&now, &tm);
#endif
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min};
}

bool SystemErrorLog::load() {
  if (loaded_) return true;
  if (path_.empty()) {
    path_ = files_.currentDirectory();
    if (!path_.empty() && path_.back() != u'\\' && path_.back() != u'/') path_ += u'\\';
    path_ += u"SYSERR.LOG";
  }
  const platform::ReadResult r = files_.readAll(path_);
  if (r.status == platform::ReadStatus::Failed) return false;
  std::vector<std::u16string> merged;
  if (r.status == platform::ReadStatus::Ok) merged = splitLines(r.bytes);
  // Lines added while the file could not be read follow what the file held.
  for (auto& line : lines_)
    if (std::find(merged.begin(), merged.end(), line) == merged.end()) merged.push_back(std::move(line));
  keepLast(merged, kMaxLines);
  lines_ = std::move(merged);
  loaded_ = true;
  return true;
}

void SystemErrorLog::append(std::u16string_view message) {
  std::u16string line = stamp(now_());
  for (char16_t c : message) line.push_back(c == u'\r' || c == u'\n' ? u' ' : c);

  std::lock_guard<std::mutex> guard(lock_);
  // A file that exists but cannot be read now is never overwritten from a
  // partial copy; the line waits in memory for the next write.
  const bool readable = load();
  if (std::find(lines_.begin(), lines_.end(), line) != lines_.end()) return;
  keepLast(lines_, kMaxLines - 1);
  lines_.push_back(std::move(line));
  if (!readable) return;

  std::string bytes(kUtf8Mark);
  for (const auto& l : lines_) {
    bytes += utf16ToUtf8(l);
    bytes += "\r\n";
  }
  files_.writeAllReplacing(path_, bytes);
}

std::vector<std::u16string> SystemErrorLog::lines() {
  std::lock_guard<std::mutex> guard(lock_);
  load();
  return lines_;
}

}  // namespace maqo::engine
