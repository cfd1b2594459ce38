// The restart state a restarting host leaves for the next process.
#include <gtest/gtest.h>

#include "host/restart_state.h"
#include "platform/text_codec.h"

namespace maqo::host {
namespace {

TEST(HostRestartState, RoundTripsCaptionsAndFileTextsWithCommas) {
  const RestartState cases[] = {
      {true, 10, 20, 300, 200, u"MAQO - a.mqs", u"C:\\a.mqs"},
      {false, -5, 0, 1, 2, u"Log, with, commas", u"C:\\x,y\\a.mqs\rp,1\rp%2"},
      {true, 0, 0, 0, 0, u"", u""},
      {false, 1, 1, 1, 1, u"100%2C literal", u"line\nbreak"},
  };
  for (const auto& state : cases) {
    SCOPED_TRACE(utf16ToUtf8(state.logCaption));
    const std::u16string text = FormatRestartState(state);
    EXPECT_EQ(text.find(u'\r'), std::u16string::npos);  // one INI line
    EXPECT_EQ(text.find(u'\n'), std::u16string::npos);
    EXPECT_EQ(ParseRestartState(text), state);
  }
}

TEST(HostRestartState, ReadsOldAndRejectsDamagedTexts) {
  // Written before fields were escaped: the file text keeps its commas.
  const auto old = ParseRestartState(u"1,5,6,7,8,Log,C:\\a,b.mqs");
  ASSERT_TRUE(old);
  EXPECT_TRUE(old->runAgain);
  EXPECT_EQ(old->logLeft, 5);
  EXPECT_EQ(old->logHeight, 8);
  EXPECT_EQ(old->fileText, u"C:\\a,b.mqs");
  EXPECT_FALSE(ParseRestartState(u"1,2,3,4,5,caption"));
  EXPECT_FALSE(ParseRestartState(u"x,2,3,4,5,c,f"));
  EXPECT_FALSE(ParseRestartState(u""));
  EXPECT_EQ(UnescapeRestartField(u"50% off %zz %2"), u"50% off %zz %2");
}

TEST(HostRestartState, PostponedEntriesRoundTrip) {
  const std::vector<std::u16string> entries = {u"2026/12/11 10:00,a.mqs", u"b.mqs"};
  const std::u16string text = FormatPostponedEntries(entries);
  EXPECT_EQ(text.front(), u',');
  EXPECT_EQ(ParsePostponedEntries(text), entries);
  EXPECT_TRUE(ParsePostponedEntries(u"").empty());
}

}  // namespace
}  // namespace maqo::host
