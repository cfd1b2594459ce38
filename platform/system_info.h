// Facts about the machine the builtins read: the local time, the cursor and
// the screen, the Windows version and the processor's cumulative times.
// Questions that have no answer on this system give nothing.
#pragma once
#include <cstdint>
#include <optional>

namespace maqo::platform {

struct LocalTime {
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};

struct ScreenPoint {
  int x = 0, y = 0;
};

struct ScreenSize {
  int width = 0, height = 0;
};

// The operating system's version as its version query reports it.
struct OsVersion {
  unsigned major = 0, minor = 0, build = 0, platformId = 0;
  bool server = false;  // a server product rather than a workstation
};

// Cumulative processor times since start-up, in any one unit: the time spent
// idle and the total time (idle included), summed over all processors.
struct ProcessorTimes {
  uint64_t idle = 0;
  uint64_t total = 0;
};

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;
  virtual LocalTime localTime() = 0;
  // The mouse cursor in screen coordinates; nothing without a desktop.
  virtual std::optional<ScreenPoint> cursorPosition() = 0;
  // Width and height of the virtual desktop (all monitors); nothing without a desktop.
  virtual std::optional<ScreenSize> virtualScreenSize() = 0;
  // Planes times bits per pixel of the screen; nothing without a desktop.
  virtual std::optional<int> colorDepth() = 0;
  // The Windows version; nothing on other systems.
  virtual std::optional<OsVersion> osVersion() = 0;
  // True when this is a 32-bit process on 64-bit Windows.
  virtual bool wow64() = 0;
  virtual std::optional<ProcessorTimes> processorTimes() = 0;
};

}  // namespace maqo::platform
