// WindowIdTable: the small integer window IDs scripts use. The handle at
// position i has ID i+1; IDs are never removed or reused during a run, so a
// stale ID resolves to no window once its window is gone. A hash index keeps
// idOf O(1). One table per engine, shared by the main script and its threads.
#pragma once
#include <cstdint>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/desktop.h"

namespace maqo::automation {

class WindowIdTable {
 public:
  // -1 for no window; the existing ID of a known handle; else a new ID.
  int idOf(platform::WindowHandle handle);
  // The handle of an ID. ID 0 is the foreground window unless strict; an ID
  // out of range or whose window is gone gives 0.
  platform::WindowHandle handleOf(int64_t id, bool strict, platform::Desktop& desktop) const;
  // A number that is either an ID or a raw handle: -1 is none; a valid ID
  // resolves through handleOf; otherwise the number itself when it is a window.
  platform::WindowHandle resolveWindow(int64_t number, platform::Desktop& desktop) const;
  int count() const;
  // Forgets every ID (run prepared, run ended).
  void clear();

 private:
  mutable std::mutex lock_;
  std::vector<platform::WindowHandle> handles_;
  std::unordered_map<platform::WindowHandle, int> index_;
};

}  // namespace maqo::automation
