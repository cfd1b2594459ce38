#include <windows.h>

#include <vector>

#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_system.h"

namespace maqo::platform {

namespace {

class Handle {
 public:
  Handle() = default;
  explicit Handle(HANDLE h) : h_(h) {}
  ~Handle() { reset(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return h_; }
  HANDLE* out() { return &h_; }
  void reset() {
    if (h_ != nullptr && h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
    h_ = nullptr;
  }

 private:
  HANDLE h_ = nullptr;
};

// Appends what the pipe holds now without blocking; false once the pipe is
// broken (every writer closed it) and empty. got tells whether anything came.
bool readAvailable(HANDLE pipe, std::string& output, std::vector<char>& buffer, bool* got = nullptr) {
  for (;;) {
    DWORD available = 0;
    if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr)) return false;
    if (available == 0) return true;
    if (got) *got = true;
    DWORD count = 0;
    const DWORD want = available < buffer.size() ? available : static_cast<DWORD>(buffer.size());
    if (!ReadFile(pipe, buffer.data(), want, &count, nullptr) || count == 0) return false;
    const size_t room = CommandRunner::kMaxCapturedBytes - output.size();
    output.append(buffer.data(), count < room ? count : room);
  }
}

WORD showCommand(WindowShow show) {
  switch (show) {
    case WindowShow::Hidden:
      return SW_HIDE;
    case WindowShow::Minimized:
      return SW_SHOWMINNOACTIVE;
    default:
      return SW_SHOWNORMAL;
  }
}

}  // namespace

std::u16string Win32CommandRunner::decodeConsoleOutput(std::string_view bytes) {
  if (bytes.empty()) return {};
  const int n = MultiByteToWideChar(CP_OEMCP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::u16string out(static_cast<size_t>(n), u'\0');
  MultiByteToWideChar(CP_OEMCP, 0, bytes.data(), static_cast<int>(bytes.size()), reinterpret_cast<wchar_t*>(out.data()),
                      n);
  return out;
}

CommandResult Win32CommandRunner::run(const CommandRequest& request) {
  CommandResult result;
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};

  Handle outputRead, outputWrite, inputRead, inputWrite, errorWrite;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = showCommand(request.show);
  if (request.capture) {
    if (!CreatePipe(outputRead.out(), outputWrite.out(), &inherit, 1 << 20) ||
        !CreatePipe(inputRead.out(), inputWrite.out(), &inherit, 0)) {
      result.error = lastErrorText(GetLastError());
      return result;
    }
    SetHandleInformation(outputRead.get(), HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(inputWrite.get(), HANDLE_FLAG_INHERIT, 0);
    if (!request.captureErrors) {
      // Standard error goes nowhere rather than into the captured text.
      *errorWrite.out() = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                      OPEN_EXISTING, 0, nullptr);
    }
    startup.dwFlags |= STARTF_USESTDHANDLES;
    startup.hStdInput = inputRead.get();
    startup.hStdOutput = outputWrite.get();
    startup.hStdError = request.captureErrors ? outputWrite.get() : errorWrite.get();
  }

  std::u16string commandLine = request.windowsCommandLine;
  PROCESS_INFORMATION process{};
  // A hidden child gets no console window at all; a shown one its own console.
  const DWORD flags = request.show == WindowShow::Hidden ? CREATE_NO_WINDOW : CREATE_NEW_CONSOLE;
  if (!CreateProcessW(nullptr, reinterpret_cast<wchar_t*>(commandLine.data()), nullptr, nullptr,
                      request.capture ? TRUE : FALSE, flags | CREATE_UNICODE_ENVIRONMENT, nullptr, nullptr, &startup,
                      &process)) {
    result.error = lastErrorText(GetLastError());
    return result;
  }
  result.started = true;
  Handle processHandle(process.hProcess);
  Handle threadHandle(process.hThread);
  // Only the child holds these ends now: closing ours gives the child
  // end-of-file on its input and lets us see the end of its output.
  outputWrite.reset();
  inputRead.reset();
  inputWrite.reset();
  errorWrite.reset();

  if (!request.wait) return result;

  const ULONGLONG start = GetTickCount64();
  std::vector<char> buffer(65536);
  bool outputOpen = request.capture;
  for (;;) {
    bool got = false;
    if (outputOpen) outputOpen = readAvailable(outputRead.get(), result.output, buffer, &got);
    // While output flows, read on at once; otherwise wait a little for the child.
    if (WaitForSingleObject(processHandle.get(), got ? 0 : 10) == WAIT_OBJECT_0) {
      result.finished = true;
      DWORD code = 0;
      GetExitCodeProcess(processHandle.get(), &code);
      result.exitCode = code;
      break;
    }
    if (request.pump) request.pump();
    if (request.stop && request.stop()) break;
    if (request.waitLimitMs && static_cast<int64_t>(GetTickCount64() - start) >= *request.waitLimitMs) break;
  }
  // What the child left in the pipe; a grandchild that still holds the pipe
  // open does not keep us waiting.
  if (result.finished && outputOpen) readAvailable(outputRead.get(), result.output, buffer);
  return result;
}

}  // namespace maqo::platform
