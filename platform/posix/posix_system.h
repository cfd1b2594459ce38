// The native implementations of the system seams of system_services.h.
#pragma once
#include "platform/command_runner.h"
#include "platform/system_info.h"

namespace maqo::platform {

// Commands through /bin/sh -c; output read while the child runs.
class PosixCommandRunner final : public CommandRunner {
 public:
  CommandResult run(const CommandRequest& request) override;
  std::u16string decodeConsoleOutput(std::string_view bytes) override;
};

// Local time, /proc/stat; no desktop and no Windows version.
class PosixSystemInfo final : public SystemInfo {
 public:
  LocalTime localTime() override;
  std::optional<ScreenPoint> cursorPosition() override { return std::nullopt; }
  std::optional<ScreenSize> virtualScreenSize() override { return std::nullopt; }
  std::optional<int> colorDepth() override { return std::nullopt; }
  std::optional<OsVersion> osVersion() override { return std::nullopt; }
  bool wow64() override { return false; }
  std::optional<ProcessorTimes> processorTimes() override;
};

}  // namespace maqo::platform
