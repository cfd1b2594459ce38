#include "builtins/builtin_state.h"

#include <chrono>
#include <cmath>

namespace maqo::builtins {

RandomGenerator::RandomGenerator()
    : seed_(static_cast<uint32_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count())) {}

void RandomGenerator::setSeed(uint32_t seed) {
  std::lock_guard guard(lock_);
  seed_ = seed;
}

uint32_t RandomGenerator::next() {
  std::lock_guard guard(lock_);
  seed_ = seed_ * 134775813u + 1u;
  return seed_;
}

int CpuUseSampler::rateBetween(const platform::ProcessorTimes& a, const platform::ProcessorTimes& b) const {
  if (b.total <= a.total || b.idle < a.idle) return lastRate_ < 0 ? 0 : lastRate_;
  const double total = static_cast<double>(b.total - a.total);
  const double idle = static_cast<double>(b.idle - a.idle);
  double percent = (total - idle) * 100.0 / total;
  if (percent < 0) percent = 0;
  if (percent > 100) percent = 100;
  return static_cast<int>(std::lround(percent));
}

void CpuUseSampler::close() {
  std::lock_guard guard(lock_);
  open_ = false;
  last_.reset();
  lastRate_ = -1;
}

void BuiltinState::BeginRun() { floatingPoint.restore(); }

void BuiltinState::EndRun() { cpu.close(); }

}  // namespace maqo::builtins
