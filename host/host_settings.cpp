#include "host/host_settings.h"

#include <cstddef>
#include <string>

#include "engine/values/number_text.h"
#include "host/hot_keys.h"
#include "host/setting_numbers.h"

namespace maqo::host {

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
      {u"Position", DecimalText(monitorRight - 400) + u"," + DecimalText(monitorBottom - 200)},
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
    } else if (entry.key == u"LogLines" && engine::trimControlAndSpace(stored) == u"200") {
      // The former default was too small to be useful; raise it once.
      writes.push_back({entry.key, u"2000"});
    }
  }
  return writes;
}

SettingPoint ParsePointSetting(std::u16string_view text) {
  const size_t comma = text.find(u',');
  const std::u16string_view second = comma == std::u16string_view::npos ? std::u16string_view() : text.substr(comma + 1);
  return {SettingInteger(text.substr(0, comma)).value_or(0), SettingInteger(second).value_or(0)};
}

bool FirstFieldIsOne(std::u16string_view text) { return engine::trimControlAndSpace(text.substr(0, text.find(u','))) == u"1"; }

int NumberSetting(std::u16string_view text) { return SettingInteger(text).value_or(0); }

DialogFontSetting ParseDialogFontSetting(std::u16string_view text) {
  DialogFontSetting font;
  const size_t comma = text.find(u',');
  font.name = std::u16string(engine::trimControlAndSpace(text.substr(0, comma)));
  const std::optional<int> size =
      comma == std::u16string_view::npos ? std::nullopt : SettingInteger(text.substr(comma + 1));
  font.size = size && *size > 0 ? *size : 0;
  return font;
}

}  // namespace maqo::host
