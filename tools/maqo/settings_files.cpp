#include "tools/maqo/settings_files.h"

#include <windows.h>

#include "tools/maqo/wide_text.h"

namespace maqo::app {

bool Win32MigrationFiles::exists(const std::u16string& path) { return files_.fileExists(path); }

bool Win32MigrationFiles::ensureFolder(const std::u16string& folder) {
  return CreateDirectoryW(wide(folder), nullptr) != FALSE || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool Win32MigrationFiles::copyNew(const std::u16string& from, const std::u16string& to) {
  return CopyFileW(wide(from), wide(to), TRUE) != FALSE;
}

std::optional<std::string> Win32MigrationFiles::read(const std::u16string& path) {
  platform::ReadResult result = files_.readAll(path);
  if (result.status != platform::ReadStatus::Ok) return std::nullopt;
  return std::move(result.bytes);
}

bool Win32MigrationFiles::remove(const std::u16string& path) { return DeleteFileW(wide(path)) != FALSE; }

}  // namespace maqo::app
