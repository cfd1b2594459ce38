#include "engine/builder/headless_build_host.h"

#include "engine/eval/text_helpers.h"

namespace maqo::engine {

std::u16string HeadlessBuildHost::resolveLogPath(const std::u16string& value) {
  std::u16string_view path = TrimView(value);
  if (path.size() >= 2 && path.front() == u'"' && path.back() == u'"') path = TrimView(path.substr(1, path.size() - 2));
  return std::u16string(path);
}

}  // namespace maqo::engine
