// The real file operations behind moving an old settings file.
#pragma once
#include "host/settings_migration.h"
#include "platform/files.h"

namespace maqo::app {

class Win32MigrationFiles final : public host::MigrationFiles {
 public:
  explicit Win32MigrationFiles(platform::FileSystem& files) : files_(files) {}
  bool exists(const std::u16string& path) override;
  bool ensureFolder(const std::u16string& folder) override;
  bool copyNew(const std::u16string& from, const std::u16string& to) override;
  std::optional<std::string> read(const std::u16string& path) override;
  bool remove(const std::u16string& path) override;

 private:
  platform::FileSystem& files_;
};

}  // namespace maqo::app
