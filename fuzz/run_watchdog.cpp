#include "fuzz/run_watchdog.h"

#include "engine/run/tuscript.h"

namespace maqo::fuzz {

RunWatchdog::RunWatchdog() : thread_([this] { loop(); }) {}

RunWatchdog::~RunWatchdog() {
  {
    std::lock_guard guard(lock_);
    quit_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void RunWatchdog::watch(engine::TUScript& engine, int budgetMs) {
  {
    std::lock_guard guard(lock_);
    engine_ = &engine;
    deadline_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(budgetMs);
    fired_ = false;
  }
  changed_.notify_all();
}

bool RunWatchdog::release() {
  std::lock_guard guard(lock_);
  engine_ = nullptr;
  return fired_;
}

void RunWatchdog::loop() {
  std::unique_lock guard(lock_);
  while (!quit_) {
    if (engine_ == nullptr || fired_) {
      changed_.wait(guard);
      continue;
    }
    if (changed_.wait_until(guard, deadline_) == std::cv_status::timeout && engine_ != nullptr && !fired_ &&
        std::chrono::steady_clock::now() >= deadline_) {
      engine_->RequestStop();
      fired_ = true;
    }
  }
}

}  // namespace maqo::fuzz
