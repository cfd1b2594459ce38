// The engine-wide state of the builtins: the floating-point control word
// scripts run with, the random generator, the CPU-use sampler and the
// event-sound table. One per engine; the
// engine keeps it among its family state (StateOf).
#pragma once
#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "builtins/engine_interface.h"
#include "platform/system_info.h"

namespace maqo::builtins {

// The x87-style control word scripts see. The word is kept here and its
// exception masks are applied in software to the math builtins' results;
// the processor's own control word is never changed, so no hardware trap
// can fire anywhere in the process.
class FloatingPointControl {
 public:
  // The word scripts start with: invalid operation, division by zero and
  // overflow unmasked (they raise errors); denormal, underflow and precision
  // masked; 64-bit precision, round to nearest.
  static constexpr uint16_t kStartupWord = 0x1332;
  // Exception mask bits.
  static constexpr uint16_t kInvalidMask = 0x01, kDenormalMask = 0x02, kZeroDivideMask = 0x04,
                            kOverflowMask = 0x08, kUnderflowMask = 0x10, kPrecisionMask = 0x20;

  uint16_t word() const { return word_.load(std::memory_order_relaxed); }
  void set(uint16_t word) { word_.store(word, std::memory_order_relaxed); }
  void restore() { set(kStartupWord); }
  bool masked(uint16_t bit) const { return (word() & bit) != 0; }

 private:
  std::atomic<uint16_t> word_{kStartupWord};
};

// The 32-bit linear congruential generator of RANDOM.
class RandomGenerator {
 public:
  // Seeded from the high-resolution clock.
  RandomGenerator();
  void setSeed(uint32_t seed);
  // Steps the generator and returns the new seed.
  uint32_t next();

 private:
  std::mutex lock_;
  uint32_t seed_;
};

// CPUUSERATE: processor use between two samples of the cumulative times.
class CpuUseSampler {
 public:
  // The first call of a run takes a sample, waits (sleep(600) must wait about
  // 600 ms and may end early) and samples again; later calls return the rate
  // since the previous sample when that lies at least 500 ms back, else the
  // last rate. -1 when the times cannot be read.
  template <typename Read, typename Sleep, typename Now>
  int rate(Read read, Sleep sleep, Now now);
  // The host's one-second tick: a new sample while the query is open.
  template <typename Read, typename Now>
  void tick(Read read, Now now);
  // Closes the query (end of a run).
  void close();

 private:
  int rateBetween(const platform::ProcessorTimes& a, const platform::ProcessorTimes& b) const;

  std::mutex lock_;
  bool open_ = false;
  std::optional<platform::ProcessorTimes> last_;
  int64_t lastAt_ = 0;
  int lastRate_ = -1;
};

class BuiltinState {
 public:
  FloatingPointControl floatingPoint;
  RandomGenerator random;
  CpuUseSampler cpu;


  // The event-sound table of SOUND: (name, file) pairs, loaded on first use.
  struct SoundTable {
    std::mutex lock;
    bool loaded = false;
    std::vector<std::pair<std::u16string, std::u16string>> entries;
  } sounds;

  // Start of a run: the control word goes back to the start-up word.
  void BeginRun();
  // End of a run: the CPU query is closed.
  void EndRun();
};

// The builtin state of the host's engine.
inline BuiltinState& StateOf(BuiltinHost& host) { return host.familyState().get<BuiltinState>(); }

// ---- template members ----

template <typename Read, typename Sleep, typename Now>
int CpuUseSampler::rate(Read read, Sleep sleep, Now now) {
  std::unique_lock guard(lock_);
  if (!open_) {
    const std::optional<platform::ProcessorTimes> first = read();
    if (!first) return -1;
    guard.unlock();
    sleep(600);
    guard.lock();
    const std::optional<platform::ProcessorTimes> second = read();
    if (!second) return -1;
    open_ = true;
    last_ = second;
    lastAt_ = now();
    lastRate_ = rateBetween(*first, *second);
    return lastRate_;
  }
  if (now() - lastAt_ >= 500) {
    const std::optional<platform::ProcessorTimes> sample = read();
    if (sample && last_) {
      lastRate_ = rateBetween(*last_, *sample);
      last_ = sample;
      lastAt_ = now();
    }
  }
  return lastRate_;
}

template <typename Read, typename Now>
void CpuUseSampler::tick(Read read, Now now) {
  std::lock_guard guard(lock_);
  if (!open_) return;
  const std::optional<platform::ProcessorTimes> sample = read();
  if (!sample || !last_) return;
  lastRate_ = rateBetween(*last_, *sample);
  last_ = sample;
  lastAt_ = now();
}

}  // namespace maqo::builtins
