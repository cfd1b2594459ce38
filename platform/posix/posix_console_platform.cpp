#include "platform/posix/posix_platform.h"

namespace maqo::platform {

Platform& consolePlatform() {
  static PosixClock clock;
  static PosixFileSystem files;
  static PosixLocale locale;
  static ConsoleUi ui;
  static Platform platform{clock, files, locale, ui};
  return platform;
}

}  // namespace maqo::platform
