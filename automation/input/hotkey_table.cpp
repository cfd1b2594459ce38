#include "automation/input/hotkey_table.h"

#include <utility>

#include "automation/input/key_mapping.h"

namespace maqo::automation {

int HotKeyTable::slotFor(uint32_t virtualKey, uint32_t modifiers) {
  for (size_t i = 0; i < slots_.size(); ++i)
    if (slots_[i].virtualKey == virtualKey && slots_[i].modifiers == modifiers) return static_cast<int>(i);
  TsvHotkey fresh;
  fresh.virtualKey = virtualKey;
  fresh.modifiers = modifiers;
  slots_.push_back(std::move(fresh));
  return static_cast<int>(slots_.size() - 1);
}

TsvHotkey* HotKeyTable::at(int slot) {
  return slot >= 0 && static_cast<size_t>(slot) < slots_.size() ? &slots_[static_cast<size_t>(slot)] : nullptr;
}

std::vector<int> HotKeyTable::triggeredBy(int code) const {
  std::vector<int> found;
  const uint32_t bit = HotKeyModifierOf(code);
  for (size_t i = 0; i < slots_.size(); ++i) {
    const TsvHotkey& k = slots_[i];
    if (k.active() && k.registered && (k.virtualKey == static_cast<uint32_t>(code) || (k.modifiers & bit) != 0))
      found.push_back(static_cast<int>(i));
  }
  return found;
}

std::vector<int> HotKeyTable::activeSlots() const {
  std::vector<int> found;
  for (size_t i = 0; i < slots_.size(); ++i)
    if (slots_[i].active()) found.push_back(static_cast<int>(i));
  return found;
}

}  // namespace maqo::automation
