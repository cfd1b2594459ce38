#include "platform/win32/win32_platform.h"

namespace maqo::platform {

Platform& consolePlatform() {
  static Win32Clock clock;
  static Win32FileSystem files;
  static Win32Locale locale;
  static Win32ConsoleUi ui;
  static Platform platform{clock, files, locale, ui};
  return platform;
}

}  // namespace maqo::platform
