#include "automation/windows/window_id_table.h"

namespace maqo::automation {

int WindowIdTable::idOf(platform::WindowHandle handle) {
  if (handle == 0) return -1;
  std::lock_guard guard(lock_);
  auto [it, added] = index_.try_emplace(handle, static_cast<int>(handles_.size()) + 1);
  if (added) handles_.push_back(handle);
  return it->second;
}

platform::WindowHandle WindowIdTable::handleOf(int64_t id, bool strict, platform::Desktop& desktop) const {
  platform::WindowHandle handle = 0;
  {
    std::lock_guard guard(lock_);
    if (id < 0 || id > static_cast<int64_t>(handles_.size())) return 0;
    if (id > 0) handle = handles_[static_cast<size_t>(id - 1)];
  }
  if (id == 0) return strict ? 0 : desktop.foreground();
  return desktop.isWindow(handle) ? handle : 0;
}

platform::WindowHandle WindowIdTable::resolveWindow(int64_t number, platform::Desktop& desktop) const {
  if (number == -1) return 0;
  if (number >= 0 && number <= count()) {
    if (platform::WindowHandle h = handleOf(number, false, desktop)) return h;
  }
  if (number <= 0) return 0;
  const auto raw = static_cast<platform::WindowHandle>(number);
  return desktop.isWindow(raw) ? raw : 0;
}

int WindowIdTable::count() const {
  std::lock_guard guard(lock_);
  return static_cast<int>(handles_.size());
}

void WindowIdTable::clear() {
  std::lock_guard guard(lock_);
  handles_.clear();
  index_.clear();
}

}  // namespace maqo::automation
