#include "builtins/ini_file.h"

#include <mutex>

#include "engine/eval/text_helpers.h"

namespace maqo::builtins {

namespace {

using engine::Trim;
using engine::UpperCase;

std::mutex settingsLock;
IniHostSettings hostSettings;

constexpr int kIniReadAttempts = 3;
constexpr int kIniRetryPauseMs = 80;

bool isHeader(std::u16string_view trimmed) {
  return trimmed.size() >= 2 && trimmed.front() == u'[' && trimmed.back() == u']';
}
std::u16string headerName(std::u16string_view trimmed) { return Trim(trimmed.substr(1, trimmed.size() - 2)); }

struct Entry {
  std::u16string key, value;
};
Entry entryOf(std::u16string_view trimmed) {
  const size_t eq = trimmed.find(u'=');
  if (eq == std::u16string_view::npos) return {u"", std::u16string(trimmed)};
  return {Trim(trimmed.substr(0, eq)), Trim(trimmed.substr(eq + 1))};
}

bool sameName(std::u16string_view a, std::u16string_view b) { return UpperCase(a) == UpperCase(b); }

bool isSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

// An existing file's content, or a new file's: false when it exists but cannot be read.
bool loadForChange(platform::Platform& p, const std::u16string& path, TextFileContent& content, bool& existed) {
  const platform::ReadStatus status = ReadTextFileContent(p, path, content);
  existed = status == platform::ReadStatus::Ok;
  if (status == platform::ReadStatus::NotFound) {
    content = TextFileContent{};
    content.encoding = TextEncoding::Ansi;
  }
  return status != platform::ReadStatus::Failed;
}

}  // namespace

void SetIniHostSettings(IniHostSettings settings) {
  std::lock_guard guard(settingsLock);
  hostSettings = std::move(settings);
}

IniHostSettings GetIniHostSettings() {
  std::lock_guard guard(settingsLock);
  return hostSettings;
}

std::u16string IniFileArgument(std::u16string_view file, const IniHostSettings& settings) {
  std::u16string name(file);
  if (name.empty() && !settings.exeMode && !settings.scriptFile.empty()) {
    name = settings.scriptFile;
    const size_t dot = name.rfind(u'.');
    size_t slash = name.size();
    for (size_t i = name.size(); i-- > 0;)
      if (isSeparator(name[i])) {
        slash = i;
        break;
      }
    if (dot != std::u16string::npos && (slash == name.size() || dot > slash)) name.resize(dot);
    name += u".INI";
  }
  if (!name.empty() && name.find(u'.') == std::u16string::npos) name += u".INI";
  return name;
}

std::u16string ResolveIniPath(platform::Platform& p, std::u16string_view file) {
  if (file.empty()) {
    IniHostSettings settings = GetIniHostSettings();
    if (!settings.settingsFile.empty()) return settings.settingsFile;
    return p.files.executableDirectory() + u"\\MAQO.INI";
  }
  const std::u16string folder = UpperCase(p.files.currentDirectory());
  const bool hasSeparator = file.find_first_of(u"\\/") != std::u16string_view::npos;
  if (!hasSeparator) return folder + u"\\" + std::u16string(file);
  if (file.starts_with(u".\\") || file.starts_with(u"./")) return folder + std::u16string(file.substr(1));
  if (file.starts_with(u"..\\") || file.starts_with(u"../")) {
    size_t last = folder.size();
    for (size_t i = folder.size(); i-- > 0;)
      if (isSeparator(folder[i])) {
        last = i;
        break;
      }
    const std::u16string parent = last == folder.size() ? folder + u"\\" : folder.substr(0, last + 1);
    return parent + std::u16string(file.substr(3));
  }
  return std::u16string(file);
}

std::u16string LookupIniValue(const Lines& lines, std::u16string_view section, std::u16string_view key,
                              bool* quoted) {
  if (quoted) *quoted = false;
  const std::u16string wantSection = Trim(section), wantKey = Trim(key);
  bool inSection = false;
  std::u16string value;
  for (const auto& line : lines) {
    const std::u16string t = Trim(line);
    if (t.empty()) continue;
    if (isHeader(t)) {
      if (inSection) break;
      inSection = sameName(headerName(t), wantSection);
      continue;
    }
    if (!inSection) continue;
    Entry e = entryOf(t);
    if (sameName(e.key, wantKey)) {
      value = std::move(e.value);
      break;
    }
  }
  if (value.size() >= 2 && value.front() == u'"' && value.back() == u'"') {
    value = value.substr(1, value.size() - 2);
    if (quoted) *quoted = true;
  }
  return value;
}

void SetIniValueInLines(Lines& lines, std::u16string_view section, std::u16string_view key,
                        std::u16string_view value) {
  const std::u16string wantSection = Trim(section), wantKey = Trim(key);
  const std::u16string entry = wantKey + u"=" + std::u16string(value);
  bool inSection = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::u16string t = Trim(lines[i]);
    if (t.empty()) continue;
    if (isHeader(t)) {
      if (inSection) {
        // Blank separator lines stay in front of the next section.
        size_t at = i;
        for (int back = 0; back < 3 && at > 0 && Trim(lines[at - 1]).empty(); ++back) --at;
        lines.insert(lines.begin() + static_cast<ptrdiff_t>(at), entry);
        return;
      }
      inSection = sameName(headerName(t), wantSection);
      continue;
    }
    if (inSection && sameName(entryOf(t).key, wantKey)) {
      lines[i] = entry;
      return;
    }
  }
  if (!inSection) lines.push_back(u"[" + wantSection + u"]");
  lines.push_back(entry);
}

bool DeleteIniValueInLines(Lines& lines, std::u16string_view section, std::u16string_view key) {
  const std::u16string wantSection = Trim(section), wantKey = Trim(key);
  bool inSection = false, changed = false;
  for (size_t i = 0; i < lines.size();) {
    const std::u16string t = Trim(lines[i]);
    if (t.empty()) {
      ++i;
      continue;
    }
    if (isHeader(t)) {
      if (inSection) break;
      inSection = sameName(headerName(t), wantSection);
      if (inSection && wantKey.empty()) {
        lines.erase(lines.begin() + static_cast<ptrdiff_t>(i));
        changed = true;
        continue;
      }
      ++i;
      continue;
    }
    if (inSection && (wantKey.empty() || sameName(entryOf(t).key, wantKey))) {
      lines.erase(lines.begin() + static_cast<ptrdiff_t>(i));
      changed = true;
      if (!wantKey.empty()) break;
      continue;
    }
    ++i;
  }
  return changed;
}

std::u16string ReadIniValue(platform::Platform& p, std::u16string_view section, std::u16string_view key,
                            std::u16string_view file, bool* quoted) {
  if (quoted) *quoted = false;
  const std::u16string path = ResolveIniPath(p, file);
  for (int attempt = 1;; ++attempt) {
    TextFileContent content;
    const platform::ReadStatus status = ReadTextFileContent(p, path, content);
    if (status == platform::ReadStatus::Ok) return LookupIniValue(content.lines, section, key, quoted);
    if (status == platform::ReadStatus::NotFound || attempt >= kIniReadAttempts) return {};
    platform::sleepPumping(p, kIniRetryPauseMs, [] { return false; });
  }
}

bool WriteIniValue(platform::Platform& p, std::u16string_view section, std::u16string_view key,
                   std::u16string_view value, bool force, std::u16string_view file) {
  if (file.empty() && !force && GetIniHostSettings().noIniWrites) return false;
  const std::u16string path = ResolveIniPath(p, file);
  TextFileContent content;
  bool existed = false;
  if (!loadForChange(p, path, content, existed)) return false;
  TextEncoding encoding = content.encoding;
  if (encoding == TextEncoding::AnsiAuto || encoding == TextEncoding::Ansi) {
    const std::u16string added = Trim(section) + Trim(key) + std::u16string(value);
    encoding = SettleEncoding(added, TextEncoding::AnsiAuto, p.locale);
  }
  SetIniValueInLines(content.lines, section, key, value);
  return WriteTextFile(p, path, content.lines, encoding, false, content.layout);
}

bool DeleteIniValue(platform::Platform& p, std::u16string_view section, std::u16string_view key,
                    std::u16string_view file) {
  const std::u16string path = ResolveIniPath(p, file);
  TextFileContent content;
  if (ReadTextFileContent(p, path, content) != platform::ReadStatus::Ok) return false;
  if (!DeleteIniValueInLines(content.lines, section, key)) return false;
  const TextEncoding encoding =
      content.encoding == TextEncoding::AnsiAuto ? TextEncoding::Ansi : content.encoding;
  return WriteTextFile(p, path, content.lines, encoding, false, content.layout);
}

}  // namespace maqo::builtins
