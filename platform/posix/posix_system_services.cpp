#include <sys/time.h>

#include <charconv>
#include <ctime>
#include <fstream>
#include <string>

#include "platform/posix/posix_system.h"
#include "platform/system_services.h"

namespace maqo::platform {

namespace {

// This system has no sound player, power control or sensor manager that the
// builtins could use; they report that they need Windows.
class NoSound final : public SoundDevice {
 public:
  bool available() override { return false; }
  bool play(const std::u16string&, int) override { return false; }
  bool playing() override { return false; }
  void close() override {}
  void tone(int, int) override {}
  void defaultBeep() override {}
  std::vector<EventSound> eventSounds() override { return {}; }
};

class NoPowerControl final : public PowerControl {
 public:
  bool available() override { return false; }
  bool enableShutdownPrivilege() override { return false; }
  bool setSuspendState(bool, bool) override { return false; }
  void broadcastSysCommand(unsigned, intptr_t) override {}
  void requireDisplay() override {}
  bool exitSession(unsigned) override { return false; }
};

class NoSensors final : public SensorReader {
 public:
  SensorReading read(int) override {
    SensorReading r;
    r.kind = SensorReading::Kind::Unsupported;
    return r;
  }
};

}  // namespace

LocalTime PosixSystemInfo::localTime() {
  timeval now{};
  gettimeofday(&now, nullptr);
  std::tm parts{};
  const time_t seconds = now.tv_sec;
  localtime_r(&seconds, &parts);
  LocalTime t;
  t.year = parts.tm_year + 1900;
  t.month = parts.tm_mon + 1;
  t.day = parts.tm_mday;
  t.hour = parts.tm_hour;
  t.minute = parts.tm_min;
  // A leap second reads as the last second of its minute.
  t.second = parts.tm_sec > 59 ? 59 : parts.tm_sec;
  t.millisecond = static_cast<int>(now.tv_usec / 1000);
  return t;
}

std::optional<ProcessorTimes> PosixSystemInfo::processorTimes() {
  // The first line of /proc/stat: "cpu user nice system idle iowait irq softirq steal ..."
  std::ifstream stat("/proc/stat");
  std::string line;
  if (!std::getline(stat, line) || line.rfind("cpu ", 0) != 0) return std::nullopt;
  ProcessorTimes times;
  const char* at = line.data() + 4;
  const char* end = line.data() + line.size();
  for (int i = 0; i < 8; ++i) {
    while (at < end && *at == ' ') ++at;
    uint64_t value = 0;
    const auto [next, error] = std::from_chars(at, end, value);
    if (error != std::errc()) break;
    at = next;
    times.total += value;
    if (i == 3 || i == 4) times.idle += value;  // idle and iowait
  }
  if (times.total == 0) return std::nullopt;
  return times;
}

SystemServices& systemServices() {
  static PosixSystemInfo info;
  static PosixCommandRunner commands;
  static NoSound sound;
  static NoPowerControl power;
  static NoSensors sensors;
  static SystemServices services{info, commands, sound, power, sensors};
  return services;
}

}  // namespace maqo::platform
