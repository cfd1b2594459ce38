#include "host/hot_keys.h"

#include <cstddef>

#include "host/setting_numbers.h"

namespace maqo::host {

const std::array<HotKeyName, kHotKeyCount>& HotKeyKeys() {
  static const std::array<HotKeyName, kHotKeyCount> keys = {{
      {u"SPACE", 32}, {u"F1", 112},  {u"F2", 113},  {u"F3", 114},  {u"F4", 115}, {u"F9", 120}, {u"F10", 121},
      {u"F11", 122},  {u"F12", 123}, {u"↑", 38},    {u"↓", 40},    {u"→", 39},   {u"←", 37},  {u"Q", 81},
      {u"W", 87},     {u"E", 69},    {u"R", 82},    {u"A", 65},    {u"S", 83},   {u"D", 68},  {u"F", 70},
      {u"End", 35},   {u"Home", 36}, {u"F5", 116},  {u"F6", 117},  {u"F7", 118}, {u"F8", 119}, {u"T", 84},
      {u"Y", 89},     {u"U", 85},    {u"I", 73},    {u"O", 79},    {u"P", 80},   {u"G", 71},  {u"H", 72},
      {u"J", 74},     {u"K", 75},    {u"L", 76},    {u"Z", 90},    {u"X", 88},   {u"C", 67},  {u"V", 86},
      {u"B", 66},     {u"N", 78},    {u"M", 77},    {u"1", 49},    {u"2", 50},   {u"3", 51},  {u"4", 52},
      {u"5", 53},     {u"6", 54},    {u"7", 55},    {u"8", 56},    {u"9", 57},   {u"0", 48},
  }};
  return keys;
}

const std::array<HotKeyName, kHotKeyModifierCount>& HotKeyModifiers() {
  static const std::array<HotKeyName, kHotKeyModifierCount> modifiers = {{
      {u"CTRL", 2}, {u"WIN", 8}, {u"ALT", 1}, {u"SHIFT+CTRL", 6}, {u"SHIFT+ALT", 5}, {u"CTRL+ALT", 3},
  }};
  return modifiers;
}

unsigned HotKeyPair::virtualKey() const { return valid() ? HotKeyKeys()[static_cast<size_t>(key)].code : 0; }

unsigned HotKeyPair::modifierBits() const {
  return valid() ? HotKeyModifiers()[static_cast<size_t>(modifier)].code : 0;
}


HotKeyPair ParseHotKeySetting(std::u16string_view text, HotKeyPair fallback) {
  const size_t comma = text.find(u',');
  const std::u16string_view keyField = text.substr(0, comma);
  const std::u16string_view modifierField =
      comma == std::u16string_view::npos ? std::u16string_view() : text.substr(comma + 1);
  return {SettingInteger(keyField).value_or(fallback.key), SettingInteger(modifierField).value_or(fallback.modifier)};
}

std::u16string FormatHotKeySetting(HotKeyPair pair) { return DecimalText(pair.key) + u"," + DecimalText(pair.modifier); }

std::u16string HotKeyDisplayName(HotKeyPair pair) {
  const bool modifierKnown = pair.modifier >= 0 && pair.modifier < kHotKeyModifierCount;
  const bool keyKnown = pair.key >= 0 && pair.key < kHotKeyCount;
  return std::u16string(modifierKnown ? HotKeyModifiers()[static_cast<size_t>(pair.modifier)].name : u"?") + u"+" +
         std::u16string(keyKnown ? HotKeyKeys()[static_cast<size_t>(pair.key)].name : u"?");
}

}  // namespace maqo::host
