// The options dialog's settings: recorder options and the play, stop,
// record and tray hot keys, read from and written to the "SET" section.
#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "host/host_settings.h"
#include "host/hot_keys.h"

namespace maqo::host {

struct HostOptions {
  bool highLevelRecording = false;  // RecLevel: any non-zero number
  bool skipExtraMoves = false;      // NotExtraMovRec
  bool relativeMouse = false;       // MouseOrg
  bool copyToClipboard = false;     // Cp2Clipboard
  HotKeyPair play = kDefaultPlayHotKey;
  HotKeyPair stop = kDefaultStopHotKey;
  HotKeyPair record = kDefaultRecordHotKey;
  HotKeyPair tray = kDefaultTrayHotKey;
  bool operator==(const HostOptions&) const = default;
};

HostOptions LoadHostOptions(const std::function<std::u16string(std::u16string_view key)>& readSetting);

// The entries saving writes ("1"/"0", hot keys as "key,modifier").
std::vector<SettingEntry> HostOptionWrites(const HostOptions& options);

// The names of hot keys that share their key and modifiers with another
// (two actions on one key would leave one of them silently dead), e.g.
// {"Play", "Stop"}; empty when all four differ.
std::vector<std::u16string> ClashingHotKeys(const HostOptions& options);

}  // namespace maqo::host
