#include "engine/threads/ui_handover.h"

#include <algorithm>

namespace maqo::engine {

void UiHandOver::run(const std::function<void()>& work) {
  std::unique_lock guard(lock_);
  if (serving_ == 0) {
    guard.unlock();
    work();
    return;
  }
  Request request;
  request.work = &work;
  queue_.push_back(&request);
  arrived_.notify_all();
  auto pickupBy = Clock::now() + pickupBound;
  while (request.state != Request::State::Done) {
    if (request.state == Request::State::Running) {
      // Taken up: a dialog may wait for the user as long as it takes.
      finished_.wait(guard);
      continue;
    }
    if (finished_.wait_until(guard, pickupBy) == std::cv_status::timeout && request.state == Request::State::Queued) {
      if (running_ > 0) {
        // It runs another thread's request (a dialog waits for the user):
        // this one is next in turn.
        pickupBy = Clock::now() + pickupBound;
        turnsWaited_.fetch_add(1);
        continue;
      }
      // The serving thread is blocked in a long call of its own: run it here
      // instead, so that neither thread waits for the other.
      queue_.erase(std::find(queue_.begin(), queue_.end(), &request));
      guard.unlock();
      work();
      return;
    }
  }
  if (request.failure) std::rethrow_exception(request.failure);
}

size_t UiHandOver::queuedRequests() {
  std::lock_guard<std::mutex> guard(lock_);
  return queue_.size();
}

void UiHandOver::runTaken(Request& request, std::unique_lock<std::mutex>& guard) {
  request.state = Request::State::Running;
  ++running_;
  guard.unlock();
  std::exception_ptr failure;
  try {
    (*request.work)();
  } catch (...) {
    failure = std::current_exception();
  }
  guard.lock();
  --running_;
  request.failure = failure;
  request.state = Request::State::Done;
  finished_.notify_all();
}

void UiHandOver::runQueued(std::unique_lock<std::mutex>& guard) {
  while (!queue_.empty()) {
    Request* request = queue_.front();
    queue_.pop_front();
    runTaken(*request, guard);
  }
}

UiHandOver::Serving::Serving(UiHandOver& handOver) : handOver_(handOver) {
  std::lock_guard guard(handOver_.lock_);
  ++handOver_.serving_;
}

UiHandOver::Serving::~Serving() {
  std::unique_lock guard(handOver_.lock_);
  // Requests made from here on run on their own threads; those already
  // queued are still run here.
  --handOver_.serving_;
  handOver_.runQueued(guard);
}

bool UiHandOver::serveUntil(const std::function<bool()>& done, const std::function<void()>& idle,
                            Clock::time_point deadline, std::chrono::milliseconds idleEvery) {
  Serving serving(*this);
  auto nextIdle = Clock::now() + idleEvery;
  for (;;) {
    {
      std::unique_lock guard(lock_);
      runQueued(guard);
    }
    if (done()) return true;
    const auto now = Clock::now();
    if (now >= deadline) return false;
    if (now >= nextIdle) {
      if (idle) idle();
      nextIdle = Clock::now() + idleEvery;
    }
    std::unique_lock guard(lock_);
    if (queue_.empty() && !woken_) arrived_.wait_until(guard, std::min(nextIdle, deadline));
    woken_ = false;
  }
}

void UiHandOver::wake() {
  std::lock_guard guard(lock_);
  woken_ = true;
  arrived_.notify_all();
}

}  // namespace maqo::engine
