// The Windows implementations of the system seams of system_services.h.
#pragma once
#include <mutex>

#include "platform/command_runner.h"
#include "platform/power_control.h"
#include "platform/sensor_reader.h"
#include "platform/sound_device.h"
#include "platform/system_info.h"

namespace maqo::platform {

class Win32SystemInfo final : public SystemInfo {
 public:
  LocalTime localTime() override;
  std::optional<ScreenPoint> cursorPosition() override;
  std::optional<ScreenSize> virtualScreenSize() override;
  std::optional<int> colorDepth() override;
  std::optional<OsVersion> osVersion() override;
  bool wow64() override;
  std::optional<ProcessorTimes> processorTimes() override;
};

// CreateProcessW with the output pipe read while the child runs.
class Win32CommandRunner final : public CommandRunner {
 public:
  CommandResult run(const CommandRequest& request) override;
  std::u16string decodeConsoleOutput(std::string_view bytes) override;
};

// The media control interface of winmm.dll (loaded on first use).
class Win32SoundDevice final : public SoundDevice {
 public:
  bool available() override { return true; }
  bool play(const std::u16string& file, int device) override;
  bool playing() override;
  void close() override;
  void tone(int hz, int ms) override;
  void defaultBeep() override;
  std::vector<EventSound> eventSounds() override;

 private:
  std::mutex lock_;
  bool open_ = false;
};

class Win32PowerControl final : public PowerControl {
 public:
  bool available() override { return true; }
  bool enableShutdownPrivilege() override;
  bool setSuspendState(bool suspend, bool force) override;
  void broadcastSysCommand(unsigned command, intptr_t parameter) override;
  void requireDisplay() override;
  bool exitSession(unsigned flags) override;
};

// The sensor manager of the Windows sensor interface, activated per read.
class Win32SensorReader final : public SensorReader {
 public:
  SensorReading read(int kind) override;
};

}  // namespace maqo::platform
