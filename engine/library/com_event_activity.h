// Whether COM event sinks are connected in the run. The COM events family
// keeps the count in the run's family state; waits read it to pass window
// messages more often, since events from other apartments arrive as messages.
#pragma once
#include <atomic>
#include <cstddef>

namespace maqo::engine {

struct ComEventActivity {
  std::atomic<size_t> connections{0};
};

}  // namespace maqo::engine
