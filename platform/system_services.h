// The seams the machine-facing builtins use, bundled like Platform.
#pragma once
#include "platform/command_runner.h"
#include "platform/power_control.h"
#include "platform/sensor_reader.h"
#include "platform/sound_device.h"
#include "platform/system_info.h"

namespace maqo::platform {

struct SystemServices {
  SystemInfo& info;
  CommandRunner& commands;
  SoundDevice& sound;
  PowerControl& power;
  SensorReader& sensors;
};

// The real implementations of this build.
SystemServices& systemServices();

}  // namespace maqo::platform
