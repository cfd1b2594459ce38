// Item matching with the platform's own half-width mapping (LCMapStringW), so
// the fake's table and the real forms cannot drift apart. Windows only; the
// suite runs under Wine.
#ifdef _WIN32
#include <gtest/gtest.h>

#include "automation/controls/item_names.h"
#include "platform/desktop.h"

namespace maqo::automation::controls {
namespace {

TEST(ControlWin32, HalfWidthFormsOfThePlatform) {
  platform::Desktop& desktop = platform::systemDesktop();
  EXPECT_EQ(desktop.halfWidth(u"ガ"), u"ｶﾞ");
  EXPECT_EQ(desktop.halfWidth(u"Ｏ"), u"O");
  EXPECT_EQ(desktop.halfWidth(u"\u3000"), u" ");
  const HalfWidthMapper mapper = [&](const std::u16string& text) { return desktop.halfWidth(text); };
  EXPECT_TRUE(ItemMatches(u"ガス", ItemQuery{PrepareSearchedName(u"ｶﾞｽ", false), false, true}, mapper));
  EXPECT_TRUE(ItemMatches(u"ＯＫ", ItemQuery{PrepareSearchedName(u"ok", false), false, true}, mapper));
}

}  // namespace
}  // namespace maqo::automation::controls
#endif
