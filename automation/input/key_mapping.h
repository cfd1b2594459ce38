// How a script's key code becomes a key event: the keypad Enter and the
// right-hand modifiers turn into their base key with the extended flag, the
// navigation keys carry the extended flag, codes from 256 up are characters.
#pragma once
#include <cstdint>

namespace maqo::automation {

inline constexpr int kKeypadEnter = 901;  // VK_RRETURN / VK_RENTER
inline constexpr int kFirstCharacterCode = 256;

struct MappedKey {
  int virtualKey = 0;
  bool extended = false;
  bool character = false;  // sent as KEYEVENTF_UNICODE with the code as the character
};

MappedKey MapKey(int code);

// The MOD_* bit a modifier key shares with a hot key's modifiers (Alt 1,
// Ctrl 2, Shift 4, Windows 8); 0 for other keys.
uint32_t HotKeyModifierOf(int code);

// Shift, Ctrl, Alt (either side) and the Windows keys: SCKEY holds them down
// while it clicks the other keys.
bool IsShortcutModifier(int code);

// The lParam of a posted WM_KEYDOWN: repeat count 1, the scan code, the
// extended bit; WM_KEYUP adds the previous-state and transition bits.
uint32_t KeyDownLParam(uint16_t scan, bool extended);
uint32_t KeyUpLParam(uint16_t scan, bool extended);

}  // namespace maqo::automation
