// The host's settings file: where it lives, the "SET" keys written with their
// defaults when missing, and the values read from it at start-up.
#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace maqo::host {

inline constexpr char16_t kSettingsSection[] = u"SET";

struct SettingEntry {
  std::u16string key;
  std::u16string value;
  bool operator==(const SettingEntry&) const = default;
};

// The settings file's name: the executable's file name with ".INI" in place
// of its extension ("maqo.exe" -> "maqo.INI").
std::u16string SettingsFileName(std::u16string_view executablePath);

// The folder of the settings file (and of the log and temporary files): the
// executable's folder in exe mode, else "MAQO" in the user's application-data
// folder.
std::u16string SettingsFolder(bool exeMode, std::u16string_view executableFolder, std::u16string_view appDataFolder);

// The "SET" entries start-up writes: every key whose stored value (read
// through readSetting; empty means missing) is missing gets its default, and
// a stored LogLines of exactly "200" is raised to "2000". The main window's
// default Position is 400 left of and 200 above the primary monitor's
// right-bottom corner.
std::vector<SettingEntry> StartupSettingWrites(const std::function<std::u16string(std::u16string_view key)>& readSetting,
                                               int monitorRight, int monitorBottom);

// A "x,y" pair setting (Position); missing or bad fields give 0.
struct SettingPoint {
  int x = 0, y = 0;
  bool operator==(const SettingPoint&) const = default;
};
SettingPoint ParsePointSetting(std::u16string_view text);

// The first comma-separated field of a setting is "1" (NotTaskBar, StayOnTop).
bool FirstFieldIsOne(std::u16string_view text);

// A number setting (NotMultiplex); anything else reads as 0.
int NumberSetting(std::u16string_view text);

// DefaultFont "name,size": an empty name or size 0 keeps the forms' own font.
struct DialogFontSetting {
  std::u16string name;
  int size = 0;
  bool operator==(const DialogFontSetting&) const = default;
};
DialogFontSetting ParseDialogFontSetting(std::u16string_view text);

}  // namespace maqo::host
