#include "host/host_options.h"

#include "engine/values/number_text.h"

namespace maqo::host {

HostOptions LoadHostOptions(const std::function<std::u16string(std::u16string_view key)>& readSetting) {
  HostOptions options;
  options.highLevelRecording = NumberSetting(readSetting(u"RecLevel")) != 0;
  // A check box is checked only by exactly "1".
  options.skipExtraMoves = engine::trimControlAndSpace(readSetting(u"NotExtraMovRec")) == u"1";
  options.relativeMouse = engine::trimControlAndSpace(readSetting(u"MouseOrg")) == u"1";
  options.copyToClipboard = engine::trimControlAndSpace(readSetting(u"Cp2Clipboard")) == u"1";
  options.play = ParseHotKeySetting(readSetting(u"PlayHotKey"), kDefaultPlayHotKey);
  options.stop = ParseHotKeySetting(readSetting(u"StopHotKey"), kDefaultStopHotKey);
  options.record = ParseHotKeySetting(readSetting(u"RecHotKey"), kDefaultRecordHotKey);
  options.tray = ParseHotKeySetting(readSetting(u"TrayHotKey"), kDefaultTrayHotKey);
  return options;
}

std::vector<SettingEntry> HostOptionWrites(const HostOptions& o) {
  const auto flag = [](bool on) { return std::u16string(on ? u"1" : u"0"); };
  return {
      {u"RecLevel", flag(o.highLevelRecording)},
      {u"Cp2Clipboard", flag(o.copyToClipboard)},
      {u"NotExtraMovRec", flag(o.skipExtraMoves)},
      {u"MouseOrg", flag(o.relativeMouse)},
      {u"PlayHotKey", FormatHotKeySetting(o.play)},
      {u"StopHotKey", FormatHotKeySetting(o.stop)},
      {u"RecHotKey", FormatHotKeySetting(o.record)},
      {u"TrayHotKey", FormatHotKeySetting(o.tray)},
  };
}

std::vector<std::u16string> ClashingHotKeys(const HostOptions& o) {
  const struct {
    const char16_t* name;
    HotKeyPair pair;
  } keys[] = {{u"Play", o.play}, {u"Stop", o.stop}, {u"Rec", o.record}, {u"Tray", o.tray}};
  std::vector<std::u16string> clashing;
  for (size_t i = 0; i < std::size(keys); ++i)
    for (size_t k = 0; k < std::size(keys); ++k)
      if (i != k && keys[i].pair == keys[k].pair) {
        clashing.emplace_back(keys[i].name);
        break;
      }
  return clashing;
}

}  // namespace maqo::host
