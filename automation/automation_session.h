// The per-engine state of the window automation: the window-ID table, the
// per-slot GETID memory, the new-window flag, the system's own windows (which
// enumeration skips) and the visible-window cache. The engine keeps one
// session and empties it when a run is prepared and when it ends.
#pragma once
#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "automation/origin_settings.h"
#include "automation/windows/window_id_table.h"
#include "platform/desktop.h"

namespace maqo::automation {

inline constexpr int kThreadSlots = 64;

// One per script-thread slot: index 0 the main script, s+1 thread slot s.
struct SlotWindowMemory {
  int lastId = -1;
  std::u16string lastTitle;
  // MOUSEORG's settings; ACW also stores the position it moved a window to.
  OriginSettings origin;
  // Where CLKITEM's accessibility search with CLK_CONTINUE goes on: the
  // window of the previous search, the child window of its hit, and how many
  // matches that hit passed.
  platform::WindowHandle accessibleWindow = 0;
  platform::WindowHandle accessibleHitWindow = 0;
  int accessibleMatchesPassed = 0;
};

// The windows of the system itself, registered by the host as it creates
// them (0 while a window does not exist). Each named one reports its fixed name.
struct OwnWindow {
  platform::WindowHandle handle = 0;
  std::u16string name;
};
struct SystemWindows {
  OwnWindow logWindow, mainWindow, applicationWindow, stopForm;
  std::array<platform::WindowHandle, kThreadSlots + 1> balloons{};  // 0: main script, s+1: thread slot s
  std::array<platform::WindowHandle, 2> forms{};                     // the two HTML form windows
  platform::WindowHandle scheduleWindow = 0;
};

class AutomationSession {
 public:
  explicit AutomationSession(platform::Desktop& desktop) : desktop_(&desktop) {}

  platform::Desktop& desktop() { return *desktop_; }
  WindowIdTable ids;
  std::atomic<bool> newWindowExpected{false};
  SystemWindows own;

  // slot: the frame's thread slot (-1 for the main script).
  SlotWindowMemory& memory(int threadSlot);

  // True for a window of the system itself (log window, main window,
  // application window, stop form, any balloon).
  bool isOwnWindow(platform::WindowHandle h) const;
  // The fixed name of a named own window, or nullptr.
  const std::u16string* ownName(platform::WindowHandle h) const;

  // The visible top-level windows, retaken when older than one second.
  bool inVisibleCache(platform::WindowHandle h, int64_t nowMs);

  // A run is prepared or has ended: IDs, slot memory and the flag are reset.
  void resetForRun();

 private:
  platform::Desktop* desktop_;
  std::mutex slotLock_;
  std::array<SlotWindowMemory, kThreadSlots + 1> slots_;
  std::mutex cacheLock_;
  std::vector<platform::WindowHandle> visible_;
  int64_t visibleTakenAt_ = INT64_MIN;
};

// The session the window builtins use. By default one for the process on the
// build's desktop (a process runs one engine); tests and hosts may install
// their own for the lifetime of a ScopedSession.
AutomationSession& currentSession();

class ScopedSession {
 public:
  explicit ScopedSession(AutomationSession& session);
  ~ScopedSession();
  ScopedSession(const ScopedSession&) = delete;
  ScopedSession& operator=(const ScopedSession&) = delete;

 private:
  AutomationSession* previous_;
};

// The run driver's hooks: BeginRun when a run is prepared, EndRun when it ends.
void BeginRun();
void EndRun();

}  // namespace maqo::automation
