#include "platform/fake/fakes.h"

namespace maqo::platform {

ReadResult FlakyFileSystem::readAll(const std::u16string& path) {
  ++attempts_[path];
  auto it = failures_.find(path);
  if (it != failures_.end() && it->second.first > 0) {
    --it->second.first;
    ReadResult r;
    r.status = ReadStatus::Failed;
    r.error = it->second.second;
    return r;
  }
  return real_.readAll(path);
}

}  // namespace maqo::platform
