#include "engine/threads/thread_slots.h"

#include "engine/run/large_stack.h"
#include "engine/threads/routed_ui.h"
#include "platform/thread_support.h"

namespace maqo::engine {

// One slot's occupant. Every field is guarded by the table's lock, except
// body and function, which are set before the thread starts and then only
// read by it.
struct ThreadSlots::Thread {
  int slot = -1;
  std::u16string function;
  std::function<void()> body;
  std::thread launcher;
  bool launched = false;     // start() made its thread; before: a reservation
  bool started = false;      // the thread has begun to run (or could not)
  bool startFailed = false;  // no thread with a large stack could be made
  bool ended = false;        // the thread touches its record no more
  bool abandoned = false;    // the run does not wait for it
};

ThreadSlots::ThreadSlots(std::array<TMainTrd, kThreadRecords>& records) : records_(records) {}

ThreadSlots::~ThreadSlots() {
  std::unique_lock guard(lock_);
  for (size_t s = 0; s < slots_.size(); ++s) {
    std::unique_ptr<Thread>& thread = slots_[s];
    if (!thread) continue;
    if (thread->abandoned && !thread->ended) {
      // Still stuck in its call and still using this object: left to the
      // process's end rather than freed under it.
      (void)thread.release();
      continue;
    }
    records_[s + 1].setControlState(2);
    if (thread->launcher.joinable()) {
      guard.unlock();
      thread->launcher.join();
      guard.lock();
    }
  }
}

int ThreadSlots::reserve() {
  std::lock_guard guard(lock_);
  for (size_t s = 0; s < slots_.size(); ++s) {
    freeIfEnded(s);
    if (slots_[s]) continue;
    slots_[s] = std::make_unique<Thread>();
    slots_[s]->slot = static_cast<int>(s);
    return static_cast<int>(s);
  }
  return -1;
}

void ThreadSlots::release(int slot) {
  if (slot < 0 || slot >= kScriptThreadSlots) return;
  std::lock_guard guard(lock_);
  std::unique_ptr<Thread>& thread = slots_[static_cast<size_t>(slot)];
  if (thread && !thread->launched) thread.reset();
  changed_.notify_all();
  if (onSlotFreed) onSlotFreed();
}

bool ThreadSlots::freeIfEnded(size_t s) {
  std::unique_ptr<Thread>& thread = slots_[s];
  if (!thread || !thread->ended) return false;
  // The launcher has set `ended` as its last use of the slot; joining it
  // makes everything the thread did visible before the record is reused.
  if (thread->launcher.joinable()) thread->launcher.join();
  thread.reset();
  return true;
}

void ThreadSlots::launch(Thread& thread) {
  try {
    RunOnLargeStack(
        kScriptThreadStackBytes,
        [&] {
          ScriptThreadMark mark(thread.slot);
          platform::ThreadComScope com;
          {
            std::lock_guard guard(lock_);
            thread.started = true;
          }
          changed_.notify_all();
          thread.body();
        },
        {});
  } catch (...) {
    // The body catches what the script raises; what arrives here is a
    // thread that could not be made. The starter learns it from startFailed.
  }
  // The last use of the table: the launcher of an abandoned thread is
  // detached, and the table may go as soon as the lock is released.
  std::lock_guard guard(lock_);
  if (!thread.started) thread.startFailed = true;
  thread.started = true;
  thread.ended = true;
  changed_.notify_all();
  if (onSlotFreed) onSlotFreed();
}

bool ThreadSlots::start(int slot, std::u16string function, std::function<void()> body,
                        std::chrono::milliseconds startBound) {
  std::unique_lock guard(lock_);
  Thread* thread = slots_[static_cast<size_t>(slot)].get();
  if (thread == nullptr || thread->launched) return false;
  if (thread->abandoned) {
    // The run gave up on the thread that reserved this slot: it starts nothing.
    slots_[static_cast<size_t>(slot)].reset();
    return false;
  }
  thread->function = std::move(function);
  thread->body = std::move(body);
  try {
    thread->launcher = std::thread([this, thread] { launch(*thread); });
  } catch (...) {
    slots_[static_cast<size_t>(slot)].reset();
    throw;
  }
  thread->launched = true;
  // Once ended, the slot may be freed and even taken again: the thread is
  // recognised by its address while it is still in the slot.
  auto begun = [&] { return slots_[static_cast<size_t>(slot)].get() != thread || thread->started; };
  changed_.wait_for(guard, startBound, begun);
  return slots_[static_cast<size_t>(slot)].get() != thread || !thread->startFailed;
}

void ThreadSlots::control(int slot, int command) {
  if (slot < 0 || slot >= kScriptThreadSlots) return;
  std::lock_guard guard(lock_);
  const Thread* thread = slots_[static_cast<size_t>(slot)].get();
  if (thread == nullptr || !thread->launched || thread->ended || thread->abandoned) return;
  TMainTrd& record = records_[static_cast<size_t>(slot) + 1];
  switch (command) {
    case kTrdSuspend: record.setControlState(1); break;
    case kTrdQuit: record.setControlState(2); break;
    case kTrdResume: record.setControlState(0); break;
    case kTrdIdle:
    case kTrdLowest:
    case kTrdLower:
    case kTrdNormal:
    case kTrdHigher:
    case kTrdHighest:
      record.priorityRequest.store(command);
      record.wakeUp();
      break;
    default: break;
  }
}

void ThreadSlots::wakeAll() {
  std::lock_guard guard(lock_);
  for (size_t s = 0; s < slots_.size(); ++s)
    if (slots_[s]) records_[s + 1].wakeUp();
}

bool ThreadSlots::reclaim() {
  std::lock_guard guard(lock_);
  bool nothingToWaitFor = true;
  for (size_t s = 0; s < slots_.size(); ++s) {
    freeIfEnded(s);
    if (slots_[s] && !slots_[s]->abandoned) nothingToWaitFor = false;
  }
  return nothingToWaitFor;
}

std::vector<AbandonedThread> ThreadSlots::abandonRunning() {
  std::vector<AbandonedThread> abandoned;
  std::lock_guard guard(lock_);
  for (size_t s = 0; s < slots_.size(); ++s) {
    freeIfEnded(s);
    Thread* thread = slots_[s].get();
    if (thread == nullptr || thread->abandoned) continue;
    thread->abandoned = true;
    records_[s + 1].setControlState(kThreadAbandoned);
    if (thread->launcher.joinable()) thread->launcher.detach();
    if (thread->launched) abandoned.push_back({static_cast<int>(s), thread->function});
  }
  return abandoned;
}

bool ThreadSlots::recordInUse(int index) {
  const int s = index - 1;
  if (s < 0 || s >= kScriptThreadSlots) return false;
  std::lock_guard guard(lock_);
  freeIfEnded(static_cast<size_t>(s));
  return slots_[static_cast<size_t>(s)] != nullptr;
}

int ThreadSlots::occupied() {
  std::lock_guard guard(lock_);
  int count = 0;
  for (size_t s = 0; s < slots_.size(); ++s) {
    freeIfEnded(s);
    if (slots_[s]) ++count;
  }
  return count;
}

}  // namespace maqo::engine
