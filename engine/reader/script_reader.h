// The script source reader: turns a script file and every file it CALLs into
// one flat list of normalised lines for the program builder.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace maqo::engine {

using Lines = std::vector<std::u16string>;

class TReadMqsFile {
 public:
  explicit TReadMqsFile(platform::Platform& platform);

  // Reads the script at path (and what it CALLs) into lines. Returns true when a
  // file of the script changed since the last read. On failure ReadError holds
  // the message and the lines must not be run.
  bool creUscrptFil(Lines& lines, const std::u16string& path);

  std::u16string ReadError;

 private:
  platform::Platform& platform_;
};

}  // namespace maqo::engine
