// Runs a command interpreter as a child process and collects what it prints.
// The child's output is read while it runs, so a child that prints more than a
// pipe holds never blocks; the wait keeps window messages flowing and ends
// early on a stop request. The child's standard input is at end-of-file.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace maqo::platform {

enum class WindowShow { Hidden, Normal, Minimized };

struct CommandRequest {
  // The command line handed to CreateProcess (Windows).
  std::u16string windowsCommandLine;
  // The command run by /bin/sh -c (other systems).
  std::u16string shellCommand;
  // Collect standard output (and standard error when captureErrors).
  bool capture = false;
  bool captureErrors = true;
  WindowShow show = WindowShow::Hidden;
  // False: start the child and return at once.
  bool wait = true;
  // The longest wait; nothing waits until the child ends (or a stop).
  std::optional<int64_t> waitLimitMs;
  // Polled while waiting; true ends the wait (the child keeps running).
  std::function<bool()> stop;
  // Called about every 10 ms while waiting; may be empty.
  std::function<void()> pump;
  // A program the command needs besides the shell (other systems): when it is
  // not on the search path the child is not started and the result says so.
  std::u16string requiredProgram;
};

struct CommandResult {
  bool started = false;
  std::u16string error;   // why the child could not be started
  bool finished = false;  // the child ended while we waited
  uint32_t exitCode = 0;  // valid when finished
  std::string output;     // the captured bytes (at most kMaxCapturedBytes)
};

class CommandRunner {
 public:
  // Output beyond this is read and dropped, so the child still runs to its end.
  static constexpr size_t kMaxCapturedBytes = 64000000;
  virtual ~CommandRunner() = default;
  virtual CommandResult run(const CommandRequest& request) = 0;
  // Text from the bytes a command interpreter prints in its default mode: the
  // OEM code page on Windows, UTF-8 elsewhere.
  virtual std::u16string decodeConsoleOutput(std::string_view bytes) = 0;
};

}  // namespace maqo::platform
