#include "host/settings_migration.h"

namespace maqo::host {

namespace {

bool sameIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char16_t x = a[i], y = b[i];
    if (x >= u'a' && x <= u'z') x = static_cast<char16_t>(x - 32);
    if (y >= u'a' && y <= u'z') y = static_cast<char16_t>(y - 32);
    if (x != y) return false;
  }
  return true;
}

}  // namespace

MigrationResult MigrateSettingsBesideExecutable(MigrationFiles& files, std::u16string_view settingsFileName,
                                                const std::u16string& executableFolder,
                                                const std::u16string& settingsFolder) {
  const std::u16string target = settingsFolder + u"\\" + std::u16string(settingsFileName);
  if (files.exists(target)) return MigrationResult::NothingToMove;
  files.ensureFolder(settingsFolder);
  const std::u16string old = executableFolder + u"\\" + std::u16string(settingsFileName);
  if (!files.exists(old)) return MigrationResult::NothingToMove;

  const bool copied = files.copyNew(old, target);
  const std::optional<std::string> before = files.read(old);
  const std::optional<std::string> after = copied ? files.read(target) : std::nullopt;
  if (!copied || !before || !after || *before != *after) {
    // A partial copy would pass for the user's file at the next start and the
    // old one would never move again: take it away, keep the old one.
    if (copied) files.remove(target);
    return MigrationResult::CopyFailed;
  }
  if (!files.remove(old)) return MigrationResult::OldKept;
  if (sameIgnoringAsciiCase(settingsFileName, u"MAQO.INI")) {
    const std::u16string oldLog = executableFolder + u"\\MAQO.LOG";
    if (files.exists(oldLog)) files.remove(oldLog);
  }
  return MigrationResult::Moved;
}

}  // namespace maqo::host
