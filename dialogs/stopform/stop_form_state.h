// The stop form's state: the run state it shows (0 idle, 1 recording,
// 2 playing, 3 paused), where it goes when STOPFORM shows it, and what its
// STOP button does.
#pragma once
#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

namespace maqo::dialogs {

enum StopFormRunState : int { kStopFormIdle = 0, kStopFormRecording = 1, kStopFormPlaying = 2, kStopFormPaused = 3 };

struct ScreenPosition {
  int x = 0, y = 0;
  bool operator==(const ScreenPosition&) const = default;
};

// Where STOPFORM puts the form: (x, y) when it was given at least three
// arguments; else the main window's position when the form was placed
// before; else the Position setting. Nothing: leave the form where it is.
std::optional<ScreenPosition> StopFormPlacement(int argumentCount, ScreenPosition given, bool placedBefore,
                                                std::optional<ScreenPosition> mainWindow,
                                                std::optional<ScreenPosition> setting);

class StopFormState {
 public:
  int runState() const { return runState_.load(); }
  // The host's operations; each records the new state.
  void startRecording() { runState_.store(kStopFormRecording); }
  void startPlaying() { runState_.store(kStopFormPlaying); }
  // Playing <-> paused; returns the new state (nothing changes when idle or recording).
  int togglePause();
  void stop() { runState_.store(kStopFormIdle); }

  bool placedBefore() const { return placed_.load(); }
  void notePlaced() { placed_.store(true); }

  // What the STOP button runs: the host's stop (the same request the abort
  // and Ctrl+C raise). Set by the program that runs scripts.
  void setStopHandler(std::function<void()> handler);
  // The button was pressed (any thread).
  void pressStop();

 private:
  std::atomic<int> runState_{kStopFormIdle};
  std::atomic<bool> placed_{false};
  std::mutex handlerLock_;
  std::function<void()> handler_;
};

// The process's stop form state (a process runs one engine).
StopFormState& TheStopForm();

}  // namespace maqo::dialogs
