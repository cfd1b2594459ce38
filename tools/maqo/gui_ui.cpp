#include "tools/maqo/gui_ui.h"

#include <windows.h>

#include "dialogs/application_title.h"
#include "tools/maqo/wide_text.h"

namespace maqo::app {

void GuiUi::messageBox(const std::u16string& text, const std::u16string& caption) {
  MessageBoxW(nullptr, wide(text), wide(caption.empty() ? std::u16string(dialogs::kApplicationTitle) : caption),
              MB_OK | MB_SETFOREGROUND | MB_TASKMODAL);
}

void GuiUi::errorDialog(const std::u16string& message) { messageBox(message, dialogs::kApplicationTitle); }

void GuiUi::printLine(const std::u16string& text) { console_.printLine(text); }

void GuiUi::beep() { MessageBeep(0); }

void GuiUi::pumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // The run's pump must not swallow the end of the program.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (preview && preview(&msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace maqo::app
