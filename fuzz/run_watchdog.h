// Ends fuzzed runs that last too long: one thread that asks the engine to stop
// once a run has used its budget of real time, as the STOP button would, so
// endless loops end like any stopped script. A run that does not end after
// the stop request is a hang that libFuzzer's -timeout reports.
#pragma once
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace maqo::engine {
class TUScript;
}

namespace maqo::fuzz {

class RunWatchdog {
 public:
  RunWatchdog();
  ~RunWatchdog();
  RunWatchdog(const RunWatchdog&) = delete;
  RunWatchdog& operator=(const RunWatchdog&) = delete;

  // Watches engine's run from now on; it is stopped after budgetMs.
  void watch(engine::TUScript& engine, int budgetMs);
  // The run is over; true when it had to be stopped.
  bool release();

 private:
  void loop();

  std::mutex lock_;
  std::condition_variable changed_;
  engine::TUScript* engine_ = nullptr;
  std::chrono::steady_clock::time_point deadline_;
  bool fired_ = false;
  bool quit_ = false;
  std::thread thread_;
};

}  // namespace maqo::fuzz
