// The machine's sensors for SENSOR: the first sensor of a category read once.
#pragma once
#include <cstdint>
#include <string>

namespace maqo::platform {

struct SensorReading {
  enum class Kind { Unsupported, None, Number, Boolean, Unsigned, Text };
  // Unsupported: this system has no sensor manager at all. None: the manager
  // has no such sensor, the kind is unknown or the value could not be read.
  Kind kind = Kind::None;
  double number = 0;
  bool flag = false;
  uint64_t unsignedValue = 0;
  std::u16string text;
};

class SensorReader {
 public:
  virtual ~SensorReader() = default;
  // kind is one of the SNSR_* codes.
  virtual SensorReading read(int kind) = 0;
};

}  // namespace maqo::platform
