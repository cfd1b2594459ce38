// The global hot keys of the host: the key and modifier tables the settings
// index into, the "key,modifier" setting text, and the identifiers the main
// window registers them under.
#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace maqo::host {

struct HotKeyName {
  std::u16string_view name;
  unsigned code;  // virtual-key code, or RegisterHotKey modifier bits
};

inline constexpr int kHotKeyCount = 55;
inline constexpr int kHotKeyModifierCount = 6;

// Index -> display name and virtual-key code.
const std::array<HotKeyName, kHotKeyCount>& HotKeyKeys();
// Index -> display name and modifier bits (MOD_ALT 1, MOD_CONTROL 2, MOD_SHIFT 4, MOD_WIN 8).
const std::array<HotKeyName, kHotKeyModifierCount>& HotKeyModifiers();

// The identifiers registered on the main window.
enum HotKeyId : int {
  kStopHotKeyId = 9874,
  kPlayHotKeyId = 9875,
  kRecordHotKeyId = 9876,
  kTrayHotKeyId = 9877,
  kLaunchMenuHotKeyId = 9878,
};

// A key index and a modifier index into the tables.
struct HotKeyPair {
  int key = 0;
  int modifier = 0;
  bool operator==(const HotKeyPair&) const = default;
  bool valid() const { return key >= 0 && key < kHotKeyCount && modifier >= 0 && modifier < kHotKeyModifierCount; }
  unsigned virtualKey() const;      // 0 when not valid
  unsigned modifierBits() const;    // 0 when not valid
};

// The defaults of the settings (key index, modifier index).
inline constexpr HotKeyPair kDefaultPlayHotKey{1, 2};        // ALT+F1
inline constexpr HotKeyPair kDefaultStopHotKey{2, 2};        // ALT+F2
inline constexpr HotKeyPair kDefaultRecordHotKey{3, 2};      // ALT+F3
inline constexpr HotKeyPair kDefaultTrayHotKey{14, 5};       // CTRL+ALT+W
inline constexpr HotKeyPair kDefaultLaunchMenuHotKey{14, 0}; // CTRL+W

// Reads "key,modifier". A missing or non-numeric field takes the fallback's
// value; the result may still be out of the tables' range (valid() says so),
// which registers nothing.
HotKeyPair ParseHotKeySetting(std::u16string_view text, HotKeyPair fallback);

// "key,modifier" as the settings store it.
std::u16string FormatHotKeySetting(HotKeyPair pair);

// "CTRL+ALT+W" for messages; "?" parts for indexes outside the tables.
std::u16string HotKeyDisplayName(HotKeyPair pair);

}  // namespace maqo::host
