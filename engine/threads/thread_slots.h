// ThreadSlots: the 64 slots of the script threads of a run. Slot s runs on
// its own operating-system thread and uses the per-thread record s + 1 of the
// engine's TrdTable.
//
// A slot is empty, reserved (THREAD is preparing its frame), or holds a
// thread: running, then ended. An ended thread's slot is freed when a THREAD
// needs a slot and when the run waits for its threads; only then may its
// record serve another thread. A thread the run gave up waiting for
// (abandoned: stuck in a call that does not return) keeps its slot and record
// until it really ends, and is told to stop at its next statement.
//
// One lock guards the table; CTRLTRD and the waits read slots only under it.
#pragma once
#include <array>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/exec/thread_record.h"

namespace maqo::engine {

// The stack each script thread gets. Address space, not memory; 64 of them
// must fit a 32-bit process beside the main part's, and it stays below the
// 64 MB that AddressSanitizer can clean up after an exception. Deeper
// recursion ends in the clean "nested too deeply" errors.
inline constexpr size_t kScriptThreadStackBytes = sizeof(void*) >= 8 ? size_t{32} << 20 : size_t{8} << 20;

// The control state of a thread the run no longer waits for (TMainTrd).
inline constexpr int kThreadAbandoned = 3;

// CTRLTRD's commands.
enum ThreadCommand : int {
  kTrdSuspend = 1,
  kTrdQuit = 2,
  kTrdResume = 3,
  kTrdIdle = 10,
  kTrdLowest = 11,
  kTrdLower = 12,
  kTrdNormal = 13,
  kTrdHigher = 14,
  kTrdHighest = 15,
};

// A thread the run stopped waiting for.
struct AbandonedThread {
  int slot = -1;
  std::u16string function;
};

class ThreadSlots {
 public:
  explicit ThreadSlots(std::array<TMainTrd, kThreadRecords>& records);
  ~ThreadSlots();
  ThreadSlots(const ThreadSlots&) = delete;
  ThreadSlots& operator=(const ThreadSlots&) = delete;

  // Called each time a thread has ended or a reserved slot was given back
  // (with the table's lock held: it must not call the table).
  std::function<void()> onSlotFreed;

  // Takes the first empty slot, freeing the slots of ended threads on the
  // way; -1 when every slot is in use.
  int reserve();
  // Gives back a reserved slot that got no thread.
  void release(int slot);
  // Starts body on a new thread in the reserved slot and waits until it has
  // begun to run, at most for startBound. The thread is marked as script
  // thread `slot` and has COM initialised while body runs; body must release
  // what the thread created before it returns. False when no thread with a
  // large stack could be made (the slot is freed like an ended thread's) or
  // the run gave up on the reservation (the slot is empty again); throws
  // std::system_error when the system refuses even the starting thread (the
  // slot is empty again).
  bool start(int slot, std::u16string function, std::function<void()> body,
             std::chrono::milliseconds startBound);

  // CTRLTRD: sets the control state or the priority of the thread in slot;
  // a slot outside 0..63, an empty slot and an unknown command are ignored.
  void control(int slot, int command);
  // Lets suspended threads look at the run's stop flags now.
  void wakeAll();

  // Frees the slots of ended threads. True when no slot holds a thread to
  // wait for (abandoned ones are not waited for).
  bool reclaim();
  // Gives up on every thread still running: each is told to stop at its next
  // statement and is not waited for any more. Returns those newly abandoned.
  std::vector<AbandonedThread> abandonRunning();
  // True when a reservation or a thread that has not ended (abandoned ones
  // included) holds record `index` of TrdTable (index 0, the main thread's,
  // never is). Ended threads are freed first.
  bool recordInUse(int index);
  // Number of slots in use (reserved, running or abandoned); ended threads
  // are freed first.
  int occupied();

 private:
  struct Thread;
  void launch(Thread& thread);
  // Frees slot s when its thread has ended; call with the lock held.
  bool freeIfEnded(size_t s);

  std::array<TMainTrd, kThreadRecords>& records_;
  std::mutex lock_;
  std::condition_variable changed_;
  std::array<std::unique_ptr<Thread>, kScriptThreadSlots> slots_;
};

}  // namespace maqo::engine
