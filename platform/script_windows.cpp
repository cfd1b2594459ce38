#include "platform/script_windows.h"

#include <atomic>

namespace maqo::platform {

namespace {
std::atomic<ScriptWindows*> installed{nullptr};
}

ScriptWindows& scriptWindows() {
  if (ScriptWindows* windows = installed.load()) return *windows;
  return buildScriptWindows();
}

void setScriptWindows(ScriptWindows* windows) { installed.store(windows); }

}  // namespace maqo::platform
