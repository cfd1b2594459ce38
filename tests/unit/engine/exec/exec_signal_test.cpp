// The console runner takes Ctrl+C (SIGINT) and SIGTERM as a stop request: an
// endless loop ends, FINALLY parts run as a stop lets them, and the exit
// code is 128 + the signal. Runs the mqsrun built beside this test program.
#ifndef _WIN32
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

extern char** environ;

namespace maqo {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

fs::path mqsrunPath() { return fs::read_symlink("/proc/self/exe").parent_path() / "mqsrun"; }

struct Finished {
  bool ended = false;
  int exitCode = -1;
  std::string output;
};

// Starts mqsrun on the script, waits until it printed "started", sends the
// signal, and waits (with a generous bound) for the process to end.
Finished runAndSignal(const std::string& script, int signalNumber) {
  const fs::path folder = fs::temp_directory_path() / ("maqo-exec-signal-" + std::to_string(getpid()));
  fs::create_directories(folder);
  const fs::path scriptFile = folder / "spin.mqs";
  const fs::path outputFile = folder / "out.txt";
  std::ofstream(scriptFile) << script;

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const std::string program = mqsrunPath().string();
  std::string scriptArgument = scriptFile.string();
  char* argv[] = {const_cast<char*>(program.c_str()), scriptArgument.data(), nullptr};
  pid_t child = 0;
  Finished result;
  if (posix_spawn(&child, program.c_str(), &actions, nullptr, argv, environ) != 0) return result;
  posix_spawn_file_actions_destroy(&actions);

  auto readOutput = [&] {
    std::ifstream in(outputFile);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  const auto until = std::chrono::steady_clock::now() + 60s;
  while (readOutput().find("started") == std::string::npos && std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(5ms);
  kill(child, signalNumber);
  int status = 0;
  while (std::chrono::steady_clock::now() < until) {
    if (waitpid(child, &status, WNOHANG) == child) {
      result.ended = true;
      break;
    }
    std::this_thread::sleep_for(5ms);
  }
  if (!result.ended) {
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
  } else if (WIFEXITED(status)) {
    result.exitCode = WEXITSTATUS(status);
  }
  result.output = readOutput();
  fs::remove_all(folder);
  return result;
}

TEST(ExecMqsrunSignal, InterruptStopsAnEndlessLoop) {
  ASSERT_TRUE(fs::exists(mqsrunPath())) << "mqsrun is not built beside the tests";
  const Finished run = runAndSignal("PRINT \"started\"\nWHILE TRUE\nWEND\nPRINT \"never\"\n", SIGINT);
  ASSERT_TRUE(run.ended) << "mqsrun did not stop";
  EXPECT_EQ(run.exitCode, 128 + SIGINT);
  EXPECT_EQ(run.output, "started\n");
}

TEST(ExecMqsrunSignal, TerminateLetsFinallyRunUnderOptFinally) {
  ASSERT_TRUE(fs::exists(mqsrunPath())) << "mqsrun is not built beside the tests";
  const Finished run = runAndSignal(
      "OPTION OPTFINALLY\nTRY\nPRINT \"started\"\nREPEAT\nUNTIL FALSE\nFINALLY\nPRINT \"cleaned up\"\nENDTRY\n", SIGTERM);
  ASSERT_TRUE(run.ended) << "mqsrun did not stop";
  EXPECT_EQ(run.exitCode, 128 + SIGTERM);
  EXPECT_EQ(run.output, "started\ncleaned up\n");
}

}  // namespace
}  // namespace maqo
#endif
