// Reads a dialog answer from standard input in short polls, so that a stop
// request or a time-out ends the wait even when no line comes.
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include "platform/dialog_windows.h"
#include "platform/text_codec.h"

namespace maqo::platform {

TerminalAnswer readTerminalAnswer(const DialogStopCheck& stopRequested, int timeoutMs) {
  constexpr int kPollSliceMs = 100;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  std::string bytes;
  while (true) {
    if (stopRequested && stopRequested()) return {TerminalAnswer::End::Stopped, {}};
    if (timeoutMs > 0 && std::chrono::steady_clock::now() >= deadline) return {TerminalAnswer::End::TimedOut, {}};
    pollfd input{STDIN_FILENO, POLLIN, 0};
    const int ready = ::poll(&input, 1, kPollSliceMs);
    if (ready < 0) return {TerminalAnswer::End::EndOfInput, {}};
    if (ready == 0) continue;
    // One byte at a time: what follows the line stays for the next dialog.
    char c = 0;
    const ssize_t got = ::read(STDIN_FILENO, &c, 1);
    if (got <= 0) {
      if (bytes.empty()) return {TerminalAnswer::End::EndOfInput, {}};
      break;
    }
    if (c == '\n') break;
    bytes += c;
  }
  if (!bytes.empty() && bytes.back() == '\r') bytes.pop_back();
  return {TerminalAnswer::End::Line, utf8ToUtf16(bytes)};
}

}  // namespace maqo::platform
