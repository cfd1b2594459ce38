// Times the level-0 clean-up of a long recording: 100,000 script lines of
// mouse moves (some off-screen pauses), button presses and releases, key
// presses and releases, unmatched presses and window lines with a title
// holding a comma and a parenthesis, once as recorded and once with extra
// movements dropped. Prints one row per case: the lines in and out, the
// median milliseconds over the rounds and the target; exits with 1 when a case
// misses its target.
//   recorder_bench [ROUNDS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/recorder/level_zero_cleanup.h"
#include "platform/text_codec.h"

namespace {

using namespace maqo::host::recorder;

std::vector<std::u16string> Recording(size_t count) {
  std::vector<std::u16string> lines;
  lines.reserve(count);
  for (size_t i = 0; lines.size() < count; ++i) {
    const std::string x = std::to_string(100 + i % 900), y = std::to_string(50 + i % 700);
    const std::string blocks[] = {
        "ACW(GETID(\"Report, draft (2)\",\"Notepad\")," + x + "," + y + ",640,480,0)",
        "MMV(" + x + "," + y + ",15)",
        "MMV(" + x + "," + y + ",7)",
        "MMV(-32000,-32000," + std::to_string(i % 600) + ")",
        "BTN(LEFT,DOWN," + x + "," + y + ",120)",
        "BTN(LEFT,UP," + x + "," + y + ",80)",
        "KBD(VK_A,DOWN,30)",
        "KBD(VK_A,UP,20)",
        "KBD(VK_SHIFT,DOWN,10)",
        "BTN(RIGHT,DOWN," + x + "," + y + ",900)",
    };
    for (const std::string& line : blocks)
      if (lines.size() < count) lines.push_back(maqo::u16(line));
  }
  return lines;
}

template <typename Work>
double MedianMs(int rounds, Work work) {
  std::vector<double> times;
  for (int i = 0; i < rounds; ++i) {
    const auto start = std::chrono::steady_clock::now();
    work();
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const std::vector<std::u16string> recording = Recording(100000);
  std::printf("%-26s %-24s %10s %s\n", "case", "work", "median ms", "target");
  bool overTarget = false;
  for (const bool dropExtra : {false, true}) {
    LevelZeroCleanupOptions options;
    options.dropExtraMovements = dropExtra;
    options.virtualDesktop = {0, 0, 1920, 1080};
    size_t kept = 0;
    const double ms = MedianMs(rounds, [&] { kept = CleanUpLevelZero(recording, options).size(); });
    const std::string work = std::to_string(recording.size()) + " -> " + std::to_string(kept) + " lines";
    std::printf("%-26s %-24s %10.1f %s\n", dropExtra ? "clean-up NotExtraMovRec=1" : "clean-up", work.c_str(), ms,
                "< 500");
    overTarget = overTarget || ms >= 500;
  }
  return overTarget ? 1 : 0;
}
