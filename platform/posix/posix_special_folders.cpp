#include <cstdlib>

#include "platform/special_folders.h"
#include "platform/text_codec.h"

namespace maqo::platform {

// Linux has no Windows or system folder; the application-data folder is the
// user's configuration folder of the XDG base directory rules.
std::u16string specialFolderPath(SpecialFolder which) {
  if (which != SpecialFolder::AppData) return {};
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/') return utf8ToUtf16(config);
  if (const char* home = std::getenv("HOME"); home && *home) return utf8ToUtf16(std::string(home) + "/.config");
  return {};
}

}  // namespace maqo::platform
