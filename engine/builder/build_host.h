// What the program builder needs from the engine and the host around it: the
// reset at the start of a run, the host settings that OPTION lines change, and
// the reporting of build errors that stop the run. An interface, so the builder
// is tested without a host and the console runner can supply its own.
#pragma once
#include <string>

#include "engine/errors/script_error.h"

namespace maqo::engine {

struct FontSetting {
  std::u16string name;
  int size = 0;
  bool operator==(const FontSetting&) const = default;
};

class BuildHost {
 public:
  virtual ~BuildHost() = default;

  // The engine's part of the reset at the start of a run: run flags, log
  // window, thread slots, per-line caches, key states and the like.
  virtual void resetForRun() = 0;
  // A build error that stops the run before anything runs (sets AbortFlag);
  // lineText is the program line being built when it was found.
  virtual void reportBuildError(const Message& message, const std::u16string& lineText) = 0;

  // Settings that OPTION lines change for one run.
  virtual int logLines() = 0;
  virtual void setLogLines(int lines) = 0;
  virtual FontSetting dialogFont() = 0;
  virtual void setDialogFont(const FontSetting& font) = 0;
  virtual FontSetting logFont() = 0;
  virtual void setLogFont(const FontSetting& font) = 0;
  virtual void setLogFileMode(int mode) = 0;
  // Resolves an OPTION LOGPATH value to the log file's path; empty when it
  // names no usable path.
  virtual std::u16string resolveLogPath(const std::u16string& value) = 0;
  virtual void setLogPath(const std::u16string& path) = 0;
  // Empties the log window's list of lines.
  virtual void clearLogList() = 0;
  // Places the stop form (and the log window beside it); failures are ignored.
  virtual void setStopFormPosition(int x, int y) = 0;
  virtual void putStopFormOnTop() = 0;
  virtual void unregisterStopHotkey() = 0;
};

}  // namespace maqo::engine
