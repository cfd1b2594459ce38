#include "engine/run/large_stack.h"

#include <pthread.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <string>

namespace maqo::engine {

namespace {

// The stack of the current thread: where it began and how much of it may be used.
struct StackLimit {
  uintptr_t base = 0;
  size_t usable = 0;
};
thread_local StackLimit currentStack;

uintptr_t stackPointer() { return reinterpret_cast<uintptr_t>(__builtin_frame_address(0)); }

// What stays free below the limit: room for one more statement's worth of
// frames (builtins included) after the check said yes.
size_t safetyMargin(size_t stackBytes) {
  const size_t margin = stackBytes / 8;
  return margin < (size_t{2} << 20) ? margin : (size_t{2} << 20);
}

struct Job {
  const std::function<void()>* body = nullptr;
  size_t stackBytes = 0;
  std::exception_ptr failure;
  std::mutex lock;
  std::condition_variable finished;
  bool done = false;
};

void* runJob(void* argument) {
  Job& job = *static_cast<Job*>(argument);
  currentStack.base = stackPointer();
  currentStack.usable = job.stackBytes - safetyMargin(job.stackBytes);
  try {
    (*job.body)();
  } catch (...) {
    job.failure = std::current_exception();
  }
  {
    std::lock_guard guard(job.lock);
    job.done = true;
  }
  job.finished.notify_all();
  return nullptr;
}

}  // namespace

void RunOnLargeStack(size_t stackBytes, const std::function<void()>& body, const std::function<void()>& waitStep) {
  Job job;
  job.body = &body;
  job.stackBytes = stackBytes;
  pthread_attr_t attributes;
  if (pthread_attr_init(&attributes) != 0) throw std::runtime_error("cannot prepare the script thread");
  int error = pthread_attr_setstacksize(&attributes, stackBytes);
  pthread_t thread;
  if (error == 0) error = pthread_create(&thread, &attributes, runJob, &job);
  pthread_attr_destroy(&attributes);
  if (error != 0) throw std::runtime_error("cannot start the script thread (error " + std::to_string(error) + ")");
  for (;;) {
    {
      std::unique_lock guard(job.lock);
      if (job.finished.wait_for(guard, std::chrono::milliseconds(10), [&] { return job.done; })) break;
    }
    if (waitStep) waitStep();
  }
  pthread_join(thread, nullptr);
  if (job.failure) std::rethrow_exception(job.failure);
}

bool StackNearlyExhausted() {
  if (currentStack.usable == 0) return false;
  const uintptr_t here = stackPointer();
  return here < currentStack.base && currentStack.base - here > currentStack.usable;
}

}  // namespace maqo::engine
