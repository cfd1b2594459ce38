// What the reader saw of every file of a script at its last successful read:
// the modification time and size per canonical path. A later read compares
// against it to tell whether anything changed, so the run driver can skip the
// check pass for a script it has already checked.
#pragma once
#include <map>
#include <optional>
#include <string>

#include "platform/files.h"

namespace maqo::engine {

class ScriptStamps {
 public:
  // Forgets everything: the next read counts as changed. The run driver calls
  // it after a failed build or check, the host when it loads another script.
  void clear() { stamps_.clear(); }
  bool empty() const { return stamps_.empty(); }
  size_t size() const { return stamps_.size(); }

  std::optional<platform::FileStamp> find(const std::u16string& canonicalPath) const {
    auto it = stamps_.find(canonicalPath);
    if (it == stamps_.end()) return std::nullopt;
    return it->second;
  }

  // True when the file has no record or its stamp differs in time or size.
  bool differs(const std::u16string& canonicalPath, const platform::FileStamp& now) const {
    auto it = stamps_.find(canonicalPath);
    return it == stamps_.end() || it->second.modified != now.modified || it->second.size != now.size;
  }

  void replace(std::map<std::u16string, platform::FileStamp> stamps) { stamps_ = std::move(stamps); }

 private:
  std::map<std::u16string, platform::FileStamp> stamps_;
};

}  // namespace maqo::engine
