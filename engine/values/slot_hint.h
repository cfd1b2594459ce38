// SlotHints: the slot numbers a name was last found at, remembered by the
// compiled reference (a name in an expression, an assignment target), so the
// next access tries that slot first instead of hashing the name. A hint is
// only a guess: it counts when the slot at that number has exactly the name
// (slots keep their numbers for the life of a table), and any other frame,
// module or table simply misses and looks the name up as before. Compiled
// trees may be shared by threads, so the numbers are relaxed atomics.
#pragma once
#include <atomic>

namespace maqo::engine {

struct SlotHints {
  SlotHints() = default;
  SlotHints(const SlotHints& other) { *this = other; }
  SlotHints& operator=(const SlotHints& other) {
    local.store(other.local.load(std::memory_order_relaxed), std::memory_order_relaxed);
    global.store(other.global.load(std::memory_order_relaxed), std::memory_order_relaxed);
    return *this;
  }

  // In the frame's own variables, and in the global frame's variables.
  mutable std::atomic<int> local{-1};
  mutable std::atomic<int> global{-1};
};

}  // namespace maqo::engine
