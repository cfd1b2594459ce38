// First start after an update: a settings file left beside the executable
// moves to the user's settings folder. The old file (and the old log beside
// it) is deleted only once the copy reads back the same, so a failed copy
// never loses the user's settings.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace maqo::host {

// The file operations the move needs (the real file system, or a fake).
class MigrationFiles {
 public:
  virtual ~MigrationFiles() = default;
  virtual bool exists(const std::u16string& path) = 0;
  virtual bool ensureFolder(const std::u16string& folder) = 0;
  // Copies without overwriting an existing target; false on failure.
  virtual bool copyNew(const std::u16string& from, const std::u16string& to) = 0;
  // The whole file, or nothing when it cannot be read.
  virtual std::optional<std::string> read(const std::u16string& path) = 0;
  virtual bool remove(const std::u16string& path) = 0;
};

enum class MigrationResult {
  NothingToMove,  // the user's file exists already, or there is none beside the executable
  Moved,          // copied, verified, old file deleted
  CopyFailed,     // the copy failed or read back different: both places as before
  OldKept,        // copied and verified, but the old file could not be deleted
};

// settingsFileName is e.g. "MAQO.INI"; folders without a trailing separator.
// For "MAQO.INI" the old "MAQO.LOG" beside the executable goes too.
MigrationResult MigrateSettingsBesideExecutable(MigrationFiles& files, std::u16string_view settingsFileName,
                                                const std::u16string& executableFolder,
                                                const std::u16string& settingsFolder);

}  // namespace maqo::host
