// The launch-menu entry dialog's contents for entry n: what it shows when
// opened (nothing, a file entry or a submenu) and the settings it writes on
// OK. Keys are those of the "LUNCHMENU" section.
#pragma once
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "host/schedule/launch_menu.h"

namespace maqo::host::schedule {

enum class LaunchEntryKind { None, File, Submenu };

struct LaunchSubmenuRow {
  std::u16string title, target;
};

struct LaunchEntryForm {
  LaunchEntryKind kind = LaunchEntryKind::None;
  std::u16string title, target;  // file entry; title is the submenu's name for a submenu
  bool separateProcess = false;
  std::array<LaunchSubmenuRow, kLaunchEntries> rows;
};

// One write of the save: a value, or nothing to delete the key.
struct LaunchSettingWrite {
  std::u16string key;
  std::optional<std::u16string> value;
  bool operator==(const LaunchSettingWrite&) const = default;
};

LaunchEntryForm LoadLaunchEntryForm(int n, const LaunchSettingReader& read);
// The writes in order: every Tn-Cm and Sn-Cm deleted first, then the entry.
// A submenu without a name is called ">>".
std::vector<LaunchSettingWrite> SaveLaunchEntryForm(int n, const LaunchEntryForm& form);

}  // namespace maqo::host::schedule
