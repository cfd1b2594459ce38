// Reads a dialog answer from standard input in short slices, so that a stop
// request or a time-out ends the wait even when no line comes. Consoles,
// pipes and files cannot be polled alike: a console is ready once its queue
// holds an Enter key press (it hands out whole lines), a pipe once it holds a
// byte, a file or another device always.
#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/dialog_windows.h"
#include "platform/text_codec.h"

namespace maqo::platform {

namespace {

constexpr DWORD kPollSliceMs = 100;

enum class InputState { Ready, NotYet, Ended };

bool consoleHoldsEnter(HANDLE console) {
  DWORD count = 0;
  if (!GetNumberOfConsoleInputEvents(console, &count) || count == 0) return false;
  std::vector<INPUT_RECORD> events(count);
  DWORD read = 0;
  if (!PeekConsoleInputW(console, events.data(), count, &read)) return false;
  for (DWORD i = 0; i < read; ++i) {
    const INPUT_RECORD& e = events[i];
    if (e.EventType == KEY_EVENT && e.Event.KeyEvent.bKeyDown && e.Event.KeyEvent.wVirtualKeyCode == VK_RETURN)
      return true;
  }
  return false;
}

// Waits at most one slice for input to read without blocking.
InputState waitForInput(HANDLE input, DWORD type, bool lineStarted) {
  if (type == FILE_TYPE_CHAR) {
    // Once a line is being read the console still holds its rest.
    if (lineStarted) return InputState::Ready;
    if (WaitForSingleObject(input, kPollSliceMs) != WAIT_OBJECT_0) return InputState::NotYet;
    if (consoleHoldsEnter(input)) return InputState::Ready;
    // Other events (key releases, focus) stay queued: wait a slice before looking again.
    Sleep(kPollSliceMs);
    return InputState::NotYet;
  }
  if (type == FILE_TYPE_PIPE) {
    DWORD available = 0;
    if (!PeekNamedPipe(input, nullptr, 0, nullptr, &available, nullptr)) return InputState::Ended;
    if (available > 0) return InputState::Ready;
    Sleep(kPollSliceMs);
    return InputState::NotYet;
  }
  return InputState::Ready;  // a file: reading never waits
}

}  // namespace

TerminalAnswer readTerminalAnswer(const DialogStopCheck& stopRequested, int timeoutMs) {
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  if (input == nullptr || input == INVALID_HANDLE_VALUE) return {TerminalAnswer::End::EndOfInput, {}};
  // A character device that is no console (NUL) reads like a file.
  DWORD consoleMode = 0;
  DWORD type = GetFileType(input);
  if (type == FILE_TYPE_CHAR && !GetConsoleMode(input, &consoleMode)) type = FILE_TYPE_DISK;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  std::string bytes;
  bool lineStarted = false;
  while (true) {
    if (stopRequested && stopRequested()) return {TerminalAnswer::End::Stopped, {}};
    if (timeoutMs > 0 && std::chrono::steady_clock::now() >= deadline) return {TerminalAnswer::End::TimedOut, {}};
    const InputState state = waitForInput(input, type, lineStarted);
    if (state == InputState::NotYet) continue;
    char c = 0;
    DWORD got = 0;
    // One byte at a time: what follows the line stays for the next dialog.
    if (state == InputState::Ended || !ReadFile(input, &c, 1, &got, nullptr) || got == 0) {
      if (bytes.empty()) return {TerminalAnswer::End::EndOfInput, {}};
      break;
    }
    lineStarted = true;
    if (c == '\n') break;
    bytes += c;
  }
  if (!bytes.empty() && bytes.back() == '\r') bytes.pop_back();
  return {TerminalAnswer::End::Line, utf8ToUtf16(bytes)};
}

}  // namespace maqo::platform
