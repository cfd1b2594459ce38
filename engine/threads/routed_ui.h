// The user-interface sink the engine uses: it forwards to the host's sink, and
// what a script thread asks for (PRINT, messages, error dialogs, beeps) is
// handed to the user-interface thread, so a dialog or the log window is only
// ever touched by that thread and whole lines never interleave.
#pragma once
#include <functional>

#include "engine/threads/ui_handover.h"
#include "platform/ui_sink.h"

namespace maqo::engine {

// The script-thread slot (0..63) the calling thread runs, or -1 for any
// other thread (the user-interface thread, the main part's thread).
int CurrentScriptThreadSlot();

// Marks the calling thread as running a script-thread slot for its lifetime.
class ScriptThreadMark {
 public:
  explicit ScriptThreadMark(int slot);
  ~ScriptThreadMark();
  ScriptThreadMark(const ScriptThreadMark&) = delete;
  ScriptThreadMark& operator=(const ScriptThreadMark&) = delete;

 private:
  int previous_;
};

class RoutedUi final : public platform::UiSink {
 public:
  RoutedUi(platform::UiSink& host, UiHandOver& handOver) : host_(host), handOver_(handOver) {}

  void messageBox(const std::u16string& text, const std::u16string& caption) override;
  void errorDialog(const std::u16string& message) override;
  void printLine(const std::u16string& text) override;
  void beep() override;
  // Each thread lets its own window messages run: never handed over. The
  // observer, when set, runs after each pass (it decides which threads' passes
  // count).
  void pumpMessages() override;
  void setAfterPump(std::function<void()> observer) { afterPump_ = std::move(observer); }

  // Runs work where user-interface work of the calling thread belongs.
  void onUiThread(const std::function<void()>& work);

 private:
  platform::UiSink& host_;
  UiHandOver& handOver_;
  std::function<void()> afterPump_;
};

}  // namespace maqo::engine
