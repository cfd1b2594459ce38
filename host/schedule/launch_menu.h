// The launch menu as data: the items built from the "LUNCHMENU" settings
// (Tn, Sn, Pn and Tn-Cm, Sn-Cm for submenus), their captions and tags, what a
// chosen tag starts, and the hot key and position settings. The host turns
// the items into menus and registers the hot key.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace maqo::host::schedule {

inline constexpr int kLaunchEntries = 35;

// Reads one key of the "LUNCHMENU" section; empty when it is not set.
using LaunchSettingReader = std::function<std::u16string(std::u16string_view key)>;

// The keys "Tn", "Sn", "Pn" (letter and n) and "Tn-Cm", "Sn-Cm".
std::u16string LaunchKey(char16_t letter, int n);
std::u16string LaunchChildKey(char16_t letter, int n, int m);

struct LaunchMenuItem {
  std::u16string caption;  // "&" + accelerator + ". " + title
  int tag = 0;             // entry i: i; item m of submenu n: n * 35 + (m - 1)
  std::vector<LaunchMenuItem> children;
};

// The accelerator character of index i (0-based): 0-9, then A-Y.
char16_t LaunchAccelerator(int index);
std::u16string LaunchCaption(int index, std::u16string_view title);

// One item per entry up to the highest n whose title or target is set (an
// entry with a target but no title keeps its place); an entry without a
// target holds its submenu items up to the highest m whose title or target is
// set.
std::vector<LaunchMenuItem> BuildLaunchMenu(const LaunchSettingReader& read);

struct LaunchTarget {
  std::u16string target;
  bool separateProcess = false;
};
// What the item with this tag starts; nothing for a tag no item can have.
std::optional<LaunchTarget> LaunchTargetOfTag(int tag, const LaunchSettingReader& read);

// `SET`/`LunchMenuHotKey`: key index, comma, modifier index; a missing,
// "-1" or out-of-range field takes its default (14 and 0).
struct LaunchHotKey {
  int keyIndex = 14;
  int modifierIndex = 0;
};
inline constexpr int kHotKeyNames = 55;
inline constexpr int kHotKeyModifiers = 6;
LaunchHotKey ParseLaunchHotKey(std::u16string_view text);
std::u16string LaunchHotKeyText(const LaunchHotKey& key);

// `LUNCHMENU`/`Position`: "x,y"; "0,0" (the screen centre) when missing or unreadable.
struct LaunchMenuPosition {
  int x = 0, y = 0;
};
LaunchMenuPosition ParseLaunchMenuPosition(std::u16string_view text);

}  // namespace maqo::host::schedule
