#include <cstdio>

#include "platform/posix/posix_platform.h"
#include "platform/text_codec.h"

namespace maqo::platform {

void ConsoleUi::messageBox(const std::u16string& text, const std::u16string& caption) {
  std::lock_guard<std::mutex> hold(lock_);
  std::string out = utf16ToUtf8(text) + "\n";
  fwrite(out.data(), 1, out.size(), stderr);
  fflush(stderr);
}

void ConsoleUi::errorDialog(const std::u16string& message) { messageBox(message, u"maqo"); }

void ConsoleUi::printLine(const std::u16string& text) {
  std::lock_guard<std::mutex> hold(lock_);
  std::string out = utf16ToUtf8(text) + "\n";
  fwrite(out.data(), 1, out.size(), stdout);
}

}  // namespace maqo::platform
