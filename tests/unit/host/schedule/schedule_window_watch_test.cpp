// Window entries: which windows match, and when an entry fires as windows
// open and close.
#include <gtest/gtest.h>

#include "host/schedule/window_entry_watch.h"

namespace maqo::host::schedule {
namespace {

WatchedWindow Notepad(int64_t handle) { return MakeWatchedWindow(handle, u" Untitled - Notepad ", u"Notepad"); }

TEST(WindowEntryMatch, TitlePartAndClassPart) {
  const WatchedWindow window = Notepad(1);
  EXPECT_EQ(window.title, u"UNTITLED - NOTEPAD");
  const struct {
    const char16_t* pattern;
    bool matches;
  } cases[] = {
      {u"win:NOTEPAD:", true},      {u"win:NOTEPAD:NOTEPAD", true}, {u"win::NOTEPAD", true},
      {u"win:NOTEPAD:EDIT", false}, {u"win:WORD:", false},          {u"win::", false},
      {u"win::NOTE", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(WindowMatches(CompiledEntry(c.pattern, ScheduleLanguage::English).windowPattern(), window), c.matches)
        << std::string(c.pattern, c.pattern + std::char_traits<char16_t>::length(c.pattern));
}

TEST(WindowEntryWatchSteps, FiresAgainOnlyAfterEveryMatchingWindowClosed) {
  const WindowPattern pattern{u"NOTEPAD", u""};
  const WatchedWindow other = MakeWatchedWindow(9, u"Calculator", u"CalcFrame");
  WindowEntryWatch watch;
  const struct {
    std::vector<WatchedWindow> windows;
    std::optional<int64_t> fires;
  } steps[] = {
      {{other}, std::nullopt},
      {{other, Notepad(1)}, 1},
      {{other, Notepad(1)}, std::nullopt},           // still open
      {{Notepad(2), Notepad(1)}, std::nullopt},      // a second one comes to the top
      {{Notepad(2)}, std::nullopt},                  // the first closes, one is left
      {{other}, std::nullopt},                       // all closed
      {{Notepad(3)}, 3},
  };
  int step = 0;
  for (const auto& s : steps) EXPECT_EQ(watch.check(0, pattern, s.windows), s.fires) << "step " << step++;
}

TEST(WindowEntryWatchSteps, WindowsOpenAtTheFirstTickDoNotFire) {
  const WindowPattern pattern{u"", u"NOTEPAD"};
  WindowEntryWatch watch;
  watch.registerPresent(4, pattern, {Notepad(1)});
  EXPECT_EQ(watch.check(4, pattern, {Notepad(1)}), std::nullopt);
  EXPECT_EQ(watch.check(4, pattern, {}), std::nullopt);
  EXPECT_EQ(watch.check(4, pattern, {Notepad(2)}), 2);
}

TEST(WindowEntryWatchSteps, SeenListSurvivesARestart) {
  const WindowPattern pattern{u"NOTEPAD", u""};
  WindowEntryWatch before;
  EXPECT_EQ(before.check(3, pattern, {Notepad(77)}), 77);
  EXPECT_EQ(before.savedItems(), (std::vector<std::u16string>{u"3,77"}));

  WindowEntryWatch after;
  after.restore({u"3,77", u"garbage", u"-1,5", u"4,"});
  EXPECT_EQ(after.savedItems(), (std::vector<std::u16string>{u"3,77"}));
  EXPECT_EQ(after.check(3, pattern, {Notepad(77)}), std::nullopt);
}

}  // namespace
}  // namespace maqo::host::schedule
