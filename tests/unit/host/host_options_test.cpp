// The options dialog's settings: reading, writing back, and hot keys that clash.
#include <gtest/gtest.h>

#include <map>

#include "host/host_options.h"

namespace maqo::host {
namespace {

HostOptions loadFrom(const std::map<std::u16string, std::u16string>& stored) {
  return LoadHostOptions([&stored](std::u16string_view key) {
    auto it = stored.find(std::u16string(key));
    return it == stored.end() ? std::u16string() : it->second;
  });
}

TEST(HostOptions, LoadsWithDefaultsAndWritesBack) {
  const HostOptions empty = loadFrom({});
  EXPECT_EQ(empty, HostOptions{});
  const HostOptions stored = loadFrom({{u"RecLevel", u"2"},
                                       {u"NotExtraMovRec", u"1"},
                                       {u"MouseOrg", u"yes"},
                                       {u"Cp2Clipboard", u" 1 "},
                                       {u"PlayHotKey", u"5,"},
                                       {u"StopHotKey", u"6,1"}});
  EXPECT_TRUE(stored.highLevelRecording);  // any non-zero level is high
  EXPECT_TRUE(stored.skipExtraMoves);
  EXPECT_FALSE(stored.relativeMouse);      // only "1" checks a box
  EXPECT_TRUE(stored.copyToClipboard);
  EXPECT_EQ(stored.play, (HotKeyPair{5, 2}));
  EXPECT_EQ(stored.stop, (HotKeyPair{6, 1}));
  EXPECT_EQ(stored.tray, kDefaultTrayHotKey);

  // Saving writes level 1 for high, and reading that back gives the same options.
  std::map<std::u16string, std::u16string> written;
  for (const auto& entry : HostOptionWrites(stored)) written[entry.key] = entry.value;
  EXPECT_EQ(written[u"RecLevel"], u"1");
  EXPECT_EQ(written[u"MouseOrg"], u"0");
  EXPECT_EQ(written[u"PlayHotKey"], u"5,2");
  EXPECT_EQ(loadFrom(written), stored);
}

TEST(HostOptions, ClashingHotKeysAreNamed) {
  using Names = std::vector<std::u16string>;
  HostOptions options;
  EXPECT_EQ(ClashingHotKeys(options), Names{});
  options.stop = options.play;
  EXPECT_EQ(ClashingHotKeys(options), (Names{u"Play", u"Stop"}));
  options = HostOptions{};
  options.tray = options.record;
  options.play = options.record;
  EXPECT_EQ(ClashingHotKeys(options), (Names{u"Play", u"Rec", u"Tray"}));
}

}  // namespace
}  // namespace maqo::host
