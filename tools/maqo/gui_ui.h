// The host application's user-interface sink: messages in message boxes,
// printed lines to standard output when one is attached (a GUI program has
// none unless its starter redirected it), and a message pump that passes
// every message through the main window's keyboard and mouse preview.
#pragma once
#include <functional>
#include <string>

#include "platform/ui_sink.h"
#include "platform/win32/win32_platform.h"

namespace maqo::app {

class GuiUi final : public platform::UiSink {
 public:
  void messageBox(const std::u16string& text, const std::u16string& caption) override;
  void errorDialog(const std::u16string& message) override;
  void printLine(const std::u16string& text) override;
  void beep() override;
  void pumpMessages() override;

  // Looks at a message before it is dispatched; true when it was handled.
  // Set by the main window once it exists.
  std::function<bool(void* msg)> preview;

 private:
  platform::Win32ConsoleUi console_;  // writes the printed lines
};

}  // namespace maqo::app
