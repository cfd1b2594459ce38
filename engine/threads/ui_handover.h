// Hands user-interface work from script threads to the thread that plays the
// script (the user-interface thread), which runs it between its own waits.
//
// The user-interface thread serves while it waits for the main part and for
// the script threads to end (serveUntil); a request wakes it at once. When no
// thread serves, or the serving thread does not take a request up within a
// bound (it is blocked in a long call of its own), the request runs on the
// thread that made it, so the two threads can never wait for each other.
#pragma once
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>

namespace maqo::engine {

class UiHandOver {
 public:
  using Clock = std::chrono::steady_clock;

  // Runs work on the serving thread and returns when it has run (an
  // exception it throws is thrown again here).
  void run(const std::function<void()>& work);

  // Serves requests on the calling thread until done() is true or the
  // deadline passes (false then). idle() runs about every idleEvery while
  // nothing else happens (the window-message pump). done() and idle() are
  // called without the hand-over's lock.
  bool serveUntil(const std::function<bool()>& done, const std::function<void()>& idle,
                  Clock::time_point deadline = Clock::time_point::max(),
                  std::chrono::milliseconds idleEvery = std::chrono::milliseconds(10));

  // Makes the serving thread check done() now (what it waits for has changed).
  void wake();

  // Marks the calling thread as serving for the scope's lifetime, so that
  // requests made meanwhile wait for it (serveUntil runs them) instead of
  // running on their own threads. At the end, requests still queued run here.
  class Serving {
   public:
    explicit Serving(UiHandOver& handOver);
    ~Serving();
    Serving(const Serving&) = delete;
    Serving& operator=(const Serving&) = delete;

   private:
    UiHandOver& handOver_;
  };

  // How long a request waits for the serving thread to take it up while
  // that thread runs no other request.
  std::chrono::milliseconds pickupBound{2000};

  // What a waiting request can observe, for tests and diagnostics: requests
  // queued and not yet taken up, and how often a request's pickup bound ran
  // out while another request ran, so that it kept waiting its turn.
  size_t queuedRequests();
  int turnsWaited() const { return turnsWaited_.load(); }

 private:
  struct Request {
    const std::function<void()>* work = nullptr;
    std::exception_ptr failure;
    enum class State { Queued, Running, Done } state = State::Queued;
  };
  // Runs one taken request with the lock released; the lock is held again on return.
  void runTaken(Request& request, std::unique_lock<std::mutex>& guard);
  // Runs every queued request; the lock is held on entry and on return.
  void runQueued(std::unique_lock<std::mutex>& guard);

  std::mutex lock_;
  std::condition_variable arrived_;   // the serving thread waits on it
  std::condition_variable finished_;  // requesting threads wait on it
  std::deque<Request*> queue_;
  int serving_ = 0;
  int running_ = 0;  // requests running on the serving thread
  bool woken_ = false;
  std::atomic<int> turnsWaited_{0};
};

}  // namespace maqo::engine
