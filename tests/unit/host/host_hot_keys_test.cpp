// Hot-key tables and the "key,modifier" settings.
#include <gtest/gtest.h>

#include <set>

#include "host/hot_keys.h"
#include "platform/text_codec.h"

namespace maqo::host {
namespace {

TEST(HostHotKeys, TablesHoldDistinctKeysAndModifiers) {
  std::set<unsigned> codes;
  std::set<std::u16string_view> names;
  for (const HotKeyName& key : HotKeyKeys()) {
    codes.insert(key.code);
    names.insert(key.name);
  }
  EXPECT_EQ(codes.size(), 55u);
  EXPECT_EQ(names.size(), 55u);
  // Spot checks across the table: its order is what the settings index.
  const struct {
    int index;
    std::u16string_view name;
    unsigned code;
  } keys[] = {{0, u"SPACE", 32}, {1, u"F1", 112}, {8, u"F12", 123}, {9, u"↑", 38},  {12, u"←", 37},
              {14, u"W", 87},    {21, u"End", 35}, {26, u"F8", 119}, {45, u"1", 49}, {53, u"9", 57}, {54, u"0", 48}};
  for (const auto& k : keys) {
    SCOPED_TRACE(k.index);
    EXPECT_EQ(HotKeyKeys()[k.index].name, k.name);
    EXPECT_EQ(HotKeyKeys()[k.index].code, k.code);
  }
  const unsigned modifierBits[] = {2, 8, 1, 6, 5, 3};
  for (int m = 0; m < kHotKeyModifierCount; ++m) EXPECT_EQ(HotKeyModifiers()[m].code, modifierBits[m]) << m;
}

TEST(HostHotKeys, SettingTextWithFallbacksAndRange) {
  const struct {
    std::u16string text;
    HotKeyPair fallback, expected;
    bool valid;
  } cases[] = {
      {u"1,2", kDefaultStopHotKey, {1, 2}, true},
      {u" 14 , 5 ", kDefaultStopHotKey, {14, 5}, true},
      {u"", kDefaultStopHotKey, {2, 2}, true},          // both missing: the stop default
      {u"7", kDefaultStopHotKey, {7, 2}, true},         // modifier missing
      {u",0", kDefaultPlayHotKey, {1, 0}, true},        // key missing
      {u"x,y", kDefaultRecordHotKey, {3, 2}, true},     // not numbers
      {u"55,0", kDefaultStopHotKey, {55, 0}, false},    // past the key table
      {u"0,6", kDefaultStopHotKey, {0, 6}, false},      // past the modifier table
      {u"-1,0", kDefaultStopHotKey, {-1, 0}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(utf16ToUtf8(c.text));
    const HotKeyPair pair = ParseHotKeySetting(c.text, c.fallback);
    EXPECT_EQ(pair, c.expected);
    EXPECT_EQ(pair.valid(), c.valid);
    if (!pair.valid()) {
      EXPECT_EQ(pair.virtualKey(), 0u);
      EXPECT_EQ(pair.modifierBits(), 0u);
    }
  }
  EXPECT_EQ(FormatHotKeySetting({14, 5}), u"14,5");
  EXPECT_EQ(ParseHotKeySetting(FormatHotKeySetting({54, 3}), {}), (HotKeyPair{54, 3}));
  EXPECT_EQ((HotKeyPair{2, 2}).virtualKey(), 113u);
  EXPECT_EQ((HotKeyPair{2, 2}).modifierBits(), 1u);
  EXPECT_EQ(HotKeyDisplayName({14, 5}), u"CTRL+ALT+W");
  EXPECT_EQ(HotKeyDisplayName({99, 0}), u"CTRL+?");
}

}  // namespace
}  // namespace maqo::host
