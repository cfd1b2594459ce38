#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "platform/posix/posix_system.h"
#include "platform/text_codec.h"

extern char** environ;

namespace maqo::platform {

namespace {

int64_t nowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::u16string errorText(int code) { return utf8ToUtf16(std::strerror(code)); }

bool onSearchPath(const std::string& program) {
  if (program.find('/') != std::string::npos) return access(program.c_str(), X_OK) == 0;
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  size_t from = 0;
  while (from <= dirs.size()) {
    size_t end = dirs.find(':', from);
    if (end == std::string::npos) end = dirs.size();
    std::string dir = dirs.substr(from, end - from);
    if (dir.empty()) dir = ".";
    const std::string candidate = dir + "/" + program;
    struct stat st {};
    if (stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(candidate.c_str(), X_OK) == 0) return true;
    from = end + 1;
  }
  return false;
}

// Reaps a child the caller stopped waiting for, so it leaves no zombie.
void reapLater(pid_t pid) {
  std::thread([pid] {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
}

}  // namespace

std::u16string PosixCommandRunner::decodeConsoleOutput(std::string_view bytes) { return utf8ToUtf16(bytes); }

CommandResult PosixCommandRunner::run(const CommandRequest& request) {
  CommandResult result;
  if (!request.requiredProgram.empty() && !onSearchPath(utf16ToUtf8(request.requiredProgram))) {
    result.error = request.requiredProgram + u" was not found";
    return result;
  }

  int pipeFds[2] = {-1, -1};
  if (request.capture && pipe2(pipeFds, O_CLOEXEC) != 0) {
    result.error = errorText(errno);
    return result;
  }

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  // Standard input at end-of-file.
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  if (request.capture) {
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    if (request.captureErrors)
      posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 2);
    else
      posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  } else if (request.show == WindowShow::Hidden) {
    // A hidden child's output goes nowhere, as into a hidden console window.
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  }

  const std::string command = utf16ToUtf8(request.shellCommand);
  char shell[] = "/bin/sh";
  char flag[] = "-c";
  std::string commandCopy = command;
  char* argv[] = {shell, flag, commandCopy.data(), nullptr};
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, "/bin/sh", &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (request.capture) close(pipeFds[1]);
  if (spawned != 0) {
    if (request.capture) close(pipeFds[0]);
    result.error = errorText(spawned);
    return result;
  }
  result.started = true;

  if (!request.wait) {
    if (request.capture) close(pipeFds[0]);
    reapLater(pid);
    return result;
  }

  const int64_t start = nowMs();
  bool outputOpen = request.capture;
  char buffer[65536];
  for (;;) {
    if (outputOpen) {
      pollfd fd{pipeFds[0], POLLIN, 0};
      const int ready = poll(&fd, 1, 10);
      if (ready > 0) {
        const ssize_t n = read(pipeFds[0], buffer, sizeof buffer);
        if (n > 0) {
          const size_t room = CommandRunner::kMaxCapturedBytes - result.output.size();
          result.output.append(buffer, std::min(static_cast<size_t>(n), room));
        } else if (n == 0 || (errno != EINTR && errno != EAGAIN)) {
          outputOpen = false;
        }
      }
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    int status = 0;
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) {
      result.finished = true;
      result.exitCode = WIFEXITED(status) ? static_cast<uint32_t>(WEXITSTATUS(status)) : 128u + WTERMSIG(status);
      break;
    }
    if (request.pump) request.pump();
    if (request.stop && request.stop()) break;
    if (request.waitLimitMs && nowMs() - start >= *request.waitLimitMs) break;
  }

  if (result.finished && outputOpen) {
    // What the child left in the pipe; a grandchild that still holds the pipe
    // open does not keep us waiting.
    for (;;) {
      pollfd fd{pipeFds[0], POLLIN, 0};
      if (poll(&fd, 1, 0) <= 0) break;
      const ssize_t n = read(pipeFds[0], buffer, sizeof buffer);
      if (n <= 0) break;
      const size_t room = CommandRunner::kMaxCapturedBytes - result.output.size();
      result.output.append(buffer, std::min(static_cast<size_t>(n), room));
    }
  }
  if (request.capture) close(pipeFds[0]);
  if (!result.finished) reapLater(pid);
  return result;
}

}  // namespace maqo::platform
