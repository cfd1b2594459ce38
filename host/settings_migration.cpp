#include "host/settings_migration.h"

#include "platform/letter_case.h"

namespace maqo::host {

namespace {

bool sameIgnoringCase(std::u16string_view a, std::u16string_view b) {
  return platform::upperCaseText(a) == platform::upperCaseText(b);
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
  if (sameIgnoringCase(settingsFileName, u"MAQO.INI")) {
    const std::u16string oldLog = executableFolder + u"\\MAQO.LOG";
    if (files.exists(oldLog)) files.remove(oldLog);
  }
  return MigrationResult::Moved;
}

}  // namespace maqo::host
