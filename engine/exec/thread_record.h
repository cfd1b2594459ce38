// TMainTrd: the per-thread record of a run. Index 0 of the engine's TrdTable
// is the main thread, index s + 1 script-thread slot s. A thread touches only
// its own record, so what it caches here needs no lock; only the control
// fields, which CTRLTRD sets from other threads, are atomics or guarded.
#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "engine/exec/compiled_line.h"

namespace maqo::engine {

struct TMainTrd {
  // Per program line: the compiled statement, made at the line's first
  // execution on this thread (null until then).
  std::vector<std::unique_ptr<CompiledLine>> lines;

  // True for the record of the main thread.
  bool isMain = false;
  // COM_ERR_IGN / COM_ERR_RET: COM failures of this thread only set the flag
  // instead of being reported; the flag is COM_ERR_FLG.
  bool comErrorIgnore = false;
  bool comErrorFlag = false;
  // Greater than 0 while FINALLY parts run during a stop (OPTION OPTFINALLY):
  // this thread then goes on although a stop is requested.
  int ignoreStop = 0;
  // When this thread last let window messages run (monotonic ms).
  int64_t lastPumpMs = 0;
  // The clock is read once every clockStride statements, not per statement:
  // the countdown to the next read, and the stride, which halves when
  // statements are slow (a read found more than the pump interval gone) and
  // doubles up to its limit while they are quick.
  int clockCountdown = 0;
  int clockStride = 1;
  // A script thread's control state: 0 running, 1 suspended, 2 stop, 3
  // abandoned (the run stopped waiting for it: it stops without running
  // FINALLY parts or reporting errors, as the run it belonged to is gone).
  std::atomic<int> controlState{0};
  // A priority CTRLTRD asked for (TRD_IDLE .. TRD_HIGHEST) that the thread
  // has not applied yet, 0 for none: a thread sets its own priority.
  std::atomic<int> priorityRequest{0};
  // A suspended thread waits on controlChanged for its state to change.
  std::mutex controlLock;
  std::condition_variable controlChanged;

  // The compiled line for a program line, or null.
  CompiledLine* compiled(int line) {
    const size_t i = static_cast<size_t>(line);
    return i < lines.size() ? lines[i].get() : nullptr;
  }
  // Sizes the line table for a program of lineCount lines (keeping what is compiled).
  void prepare(int lineCount) {
    if (lines.size() != static_cast<size_t>(lineCount)) lines.resize(static_cast<size_t>(lineCount));
  }
  // The per-thread run state, cleared at the start of a run (the per-line caches stay).
  void resetRunState() {
    comErrorIgnore = false;
    comErrorFlag = false;
    ignoreStop = 0;
    lastPumpMs = 0;
    clockCountdown = 0;
    clockStride = 1;
    controlState.store(0);
    priorityRequest.store(0);
  }
  // Forgets the compiled lines (the program is rebuilt or the run ended).
  void clearCaches() { lines.clear(); }

  // The thread was told to stop (TRD_QUIT, or the run no longer waits for it).
  bool quitRequested() const { return controlState.load(std::memory_order_relaxed) >= 2; }
  bool abandoned() const { return controlState.load(std::memory_order_relaxed) == 3; }
  // Sets the control state and wakes the thread if it waits while suspended.
  void setControlState(int state) {
    {
      std::lock_guard guard(controlLock);
      controlState.store(state);
    }
    controlChanged.notify_all();
  }
  // Wakes a suspended thread so that it looks at the run's stop flags now.
  void wakeUp() {
    { std::lock_guard guard(controlLock); }
    controlChanged.notify_all();
  }
};

// One record per thread that can run statements: the main thread and 64 script threads.
inline constexpr int kScriptThreadSlots = 64;
inline constexpr int kThreadRecords = kScriptThreadSlots + 1;

}  // namespace maqo::engine
