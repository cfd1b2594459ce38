#include "host/host_settings.h"

#include <cstddef>
#include <string>

#include "host/hot_keys.h"

namespace maqo::host {

namespace {

std::u16string decimal(int value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

std::u16string_view trimmedView(std::u16string_view text) {
  while (!text.empty() && (text.front() == u' ' || text.front() == u'\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == u' ' || text.back() == u'\t')) text.remove_suffix(1);
  return text;
}

bool integerField(std::u16string_view field, int& value) {
  field = trimmedView(field);
  bool negative = false;
  if (!field.empty() && (field.front() == u'-' || field.front() == u'+')) {
    negative = field.front() == u'-';
    field.remove_prefix(1);
  }
  if (field.empty() || field.size() > 9) return false;
  int result = 0;
  for (char16_t c : field) {
    if (c < u'0' || c > u'9') return false;
    result = result * 10 + (c - u'0');
  }
  value = negative ? -result : result;
  return true;
}

}  // namespace

std::u16string SettingsFileName(std::u16string_view executablePath) {
  const size_t slash = executablePath.find_last_of(u"\\/");
  std::u16string_view name = slash == std::u16string_view::npos ? executablePath : executablePath.substr(slash + 1);
  const size_t dot = name.rfind(u'.');
  if (dot != std::u16string_view::npos) name = name.substr(0, dot);
  return std::u16string(name) + u".INI";
}

std::u16string SettingsFolder(bool exeMode, std::u16string_view executableFolder, std::u16string_view appDataFolder) {
  std::u16string folder(exeMode ? executableFolder : appDataFolder);
  while (!folder.empty() && (folder.back() == u'\\' || folder.back() == u'/')) folder.pop_back();
  return exeMode ? folder : folder + u"\\MAQO";
}

std::vector<SettingEntry> StartupSettingWrites(const std::function<std::u16string(std::u16string_view key)>& readSetting,
                                               int monitorRight, int monitorBottom) {
  const SettingEntry defaults[] = {
      {u"Position", decimal(monitorRight - 400) + u"," + decimal(monitorBottom - 200)},
      {u"PlayHotKey", FormatHotKeySetting(kDefaultPlayHotKey)},
      {u"StopHotKey", FormatHotKeySetting(kDefaultStopHotKey)},
      {u"RecHotKey", FormatHotKeySetting(kDefaultRecordHotKey)},
      {u"TrayHotKey", FormatHotKeySetting(kDefaultTrayHotKey)},
      {u"LunchMenuHotKey", FormatHotKeySetting(kDefaultLaunchMenuHotKey)},
      {u"MouseOrg", u"0"},
      {u"NotMultiplex", u"0"},
      {u"NotActive", u"0"},
      {u"StayOnTop", u"0"},
      {u"LogLines", u"2000"},
      {u"DefaultFont", u","},
  };
  std::vector<SettingEntry> writes;
  for (const SettingEntry& entry : defaults) {
    const std::u16string stored = readSetting(entry.key);
    if (stored.empty()) {
      writes.push_back(entry);
    } else if (entry.key == u"LogLines" && trimmedView(stored) == u"200") {
      // The former default was too small to be useful; raise it once.
      writes.push_back({entry.key, u"2000"});
    }
  }
  return writes;
}

SettingPoint ParsePointSetting(std::u16string_view text) {
  SettingPoint point;
  const size_t comma = text.find(u',');
  if (!integerField(text.substr(0, comma), point.x)) point.x = 0;
  if (comma == std::u16string_view::npos || !integerField(text.substr(comma + 1), point.y)) point.y = 0;
  return point;
}

bool FirstFieldIsOne(std::u16string_view text) { return trimmedView(text.substr(0, text.find(u','))) == u"1"; }

int NumberSetting(std::u16string_view text) {
  int value = 0;
  return integerField(text, value) ? value : 0;
}

DialogFontSetting ParseDialogFontSetting(std::u16string_view text) {
  DialogFontSetting font;
  const size_t comma = text.find(u',');
  font.name = std::u16string(trimmedView(text.substr(0, comma)));
  if (comma == std::u16string_view::npos || !integerField(text.substr(comma + 1), font.size) || font.size < 0)
    font.size = 0;
  return font;
}

}  // namespace maqo::host
