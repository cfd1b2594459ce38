// Waiting helpers for tests that involve threads: a condition is waited for
// with a generous bound, so a slow machine never fails a test and a broken
// one never hangs it.
#pragma once
#include <chrono>
#include <thread>

namespace maqo::thread_test {

using namespace std::chrono_literals;

inline constexpr auto kGenerousBound = 60s;

// True once condition() holds; false when it still does not after kGenerousBound.
template <typename Condition>
bool eventually(Condition condition) {
  const auto until = std::chrono::steady_clock::now() + kGenerousBound;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

}  // namespace maqo::thread_test
