#include "automation/input/key_mapping.h"

namespace maqo::automation {

MappedKey MapKey(int code) {
  switch (code) {
    case 161: return {16, true};  // right Shift
    case 163: return {17, true};  // right Ctrl
    case 165: return {18, true};  // right Alt
    case kKeypadEnter: return {13, true};
    case 33: case 34: case 35: case 36:  // page up/down, End, Home
    case 37: case 38: case 39: case 40:  // arrows
    case 45: case 46:                    // Insert, Delete
    case 111:                            // keypad divide
      return {code, true};
    default:
      break;
  }
  if (code >= kFirstCharacterCode) return {code, false, true};
  return {code, false};
}

uint32_t HotKeyModifierOf(int code) {
  switch (code) {
    case 18: case 165: return 1;
    case 17: case 162: case 163: return 2;
    case 16: case 160: case 161: return 4;
    case 91: case 92: return 8;
    default: return 0;
  }
}

bool IsShortcutModifier(int code) {
  return (code >= 16 && code <= 18) || code == 91 || code == 92 || (code >= 160 && code <= 165);
}

uint32_t KeyDownLParam(uint16_t scan, bool extended) {
  return (uint32_t(scan) << 16) + 1 + (extended ? 0x01000000u : 0u);
}

uint32_t KeyUpLParam(uint16_t scan, bool extended) { return KeyDownLParam(scan, extended) + 0xC0000000u; }

}  // namespace maqo::automation
