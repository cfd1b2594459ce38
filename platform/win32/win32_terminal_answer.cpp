// Reads a dialog answer from standard input. Windows console and pipe handles
// cannot be polled alike, so the read blocks until a line or the end of
// input; a stop request is honoured before the wait begins.
#include <cstdio>
#include <string>

#include "platform/dialog_windows.h"
#include "platform/text_codec.h"

namespace maqo::platform {

TerminalAnswer readTerminalAnswer(const DialogStopCheck& stopRequested, int) {
  if (stopRequested && stopRequested()) return {TerminalAnswer::End::Stopped, {}};
  std::string bytes;
  int c = 0;
  while ((c = std::fgetc(stdin)) != EOF && c != '\n') bytes += static_cast<char>(c);
  if (c == EOF && bytes.empty()) return {TerminalAnswer::End::EndOfInput, {}};
  if (!bytes.empty() && bytes.back() == '\r') bytes.pop_back();
  return {TerminalAnswer::End::Line, utf8ToUtf16(bytes)};
}

}  // namespace maqo::platform
