// Where the engine's user-facing output goes: the host's dialogs and log window,
// or, in the console runner, standard output and standard error.
#pragma once
#include <string>

namespace maqo::platform {

class UiSink {
 public:
  virtual ~UiSink() = default;
  // A modal message; the console runner writes it to standard error.
  virtual void messageBox(const std::u16string& text, const std::u16string& caption) = 0;
  // The error dialog of an uncaught script error.
  virtual void errorDialog(const std::u16string& message) = 0;
  // One line of script output (PRINT).
  virtual void printLine(const std::u16string& text) = 0;
  virtual void beep() = 0;
  // One pass over pending window messages; nothing on a console.
  virtual void pumpMessages() = 0;
};

}  // namespace maqo::platform
