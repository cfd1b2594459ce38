#include <windows.h>

#include "platform/text_codec.h"
#include "platform/win32/win32_platform.h"

namespace maqo::platform {

namespace {

void writeTo(DWORD which, const std::string& bytes) {
  HANDLE h = GetStdHandle(which);
  if (h == nullptr || h == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD chunk = static_cast<DWORD>(bytes.size() - done > 1u << 20 ? 1u << 20 : bytes.size() - done);
    if (!WriteFile(h, bytes.data() + done, chunk, &written, nullptr) || written == 0) return;
    done += written;
  }
}

}  // namespace

void Win32ConsoleUi::messageBox(const std::u16string& text, const std::u16string& caption) {
  std::lock_guard<std::mutex> hold(lock_);
  writeTo(STD_ERROR_HANDLE, utf16ToUtf8(text) + "\n");
}

void Win32ConsoleUi::errorDialog(const std::u16string& message) { messageBox(message, u"maqo"); }

void Win32ConsoleUi::printLine(const std::u16string& text) {
  std::lock_guard<std::mutex> hold(lock_);
  writeTo(STD_OUTPUT_HANDLE, utf16ToUtf8(text) + "\n");
}

void Win32ConsoleUi::beep() { MessageBeep(0); }

void Win32ConsoleUi::pumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace maqo::platform
