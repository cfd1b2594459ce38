#include "dialogs/log/log_hosts.h"

#include "dialogs/log/log_path.h"
#include "engine/reader/reader_const.h"

namespace maqo::dialogs {

std::u16string LoggingBuildHost::resolveLogPath(const std::u16string& value) {
  return ResolveLogPath(value, logFileName_, engine::PlatformReaderFolders(platform_),
                        [this](const std::u16string& path) { return platform_.files.directoryExists(path); });
}

}  // namespace maqo::dialogs
