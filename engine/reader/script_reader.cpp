#include "engine/reader/script_reader.h"

namespace maqo::engine {

TReadMqsFile::TReadMqsFile(platform::Platform& platform) : platform_(platform) {}

bool TReadMqsFile::creUscrptFil(Lines& lines, const std::u16string& path) {
  ReadError = u"creUscrptFil: not implemented";
  return false;
}

}  // namespace maqo::engine
