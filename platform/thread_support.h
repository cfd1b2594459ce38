// What a script thread needs from the operating system beyond a plain thread:
// its own COM initialisation and a scheduling priority.
#pragma once

namespace maqo::platform {

// COM for the calling thread, in the multithreaded apartment, for the scope's
// lifetime (nothing on builds without COM). Objects the thread created must
// be released before the scope ends.
class ThreadComScope {
 public:
  ThreadComScope();
  ~ThreadComScope();
  ThreadComScope(const ThreadComScope&) = delete;
  ThreadComScope& operator=(const ThreadComScope&) = delete;

  // True when COM was initialised here (and is uninitialised at the end).
  bool initialised() const { return initialised_; }

 private:
  bool initialised_ = false;
};

enum class ThreadPriority { Idle, Lowest, Lower, Normal, Higher, Highest };

// Sets the calling thread's scheduling priority; false when the system refused
// (a raise may need privileges).
bool SetCurrentThreadPriority(ThreadPriority priority);

}  // namespace maqo::platform
