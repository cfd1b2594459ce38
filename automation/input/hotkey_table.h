// The script's hot keys (SETHOTKEY): one entry per slot, the slot number
// being the ID the system knows the hot key by. A slot whose name is empty
// is free. Owned by the user-interface thread.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace maqo::automation {

// Runs the hot key's script function with its key and modifiers.
using HotKeyHandler = std::function<void(int virtualKey, int modifiers)>;

struct TsvHotkey {
  uint32_t virtualKey = 0;
  uint32_t modifiers = 0;  // MOD_ALT 1, MOD_CONTROL 2, MOD_SHIFT 4, MOD_WIN 8
  std::u16string function;  // upper case; empty: the slot is free
  HotKeyHandler handler;
  bool registered = false;  // the system accepted it
  bool active() const { return !function.empty(); }
};

class HotKeyTable {
 public:
  // The slot with this key and modifiers (freed first by the caller), or a new one.
  int slotFor(uint32_t virtualKey, uint32_t modifiers);
  TsvHotkey* at(int slot);
  // The active, registered slots a key press of code would trigger: the same
  // key, or modifiers that share a bit with the code's own modifier bit.
  std::vector<int> triggeredBy(int code) const;
  std::vector<int> activeSlots() const;
  void clear() { slots_.clear(); }

 private:
  std::vector<TsvHotkey> slots_;
};

}  // namespace maqo::automation
