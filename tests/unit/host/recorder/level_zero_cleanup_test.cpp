#include "host/recorder/level_zero_cleanup.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/text_codec.h"

namespace maqo::host::recorder {
namespace {

using Lines = std::vector<std::u16string>;

const ScreenRect kDesktop{0, 0, 1920, 1080};

struct PassCase {
  const char* name;
  std::function<Lines(const Lines&)> pass;
  Lines input;
  Lines expected;
};

// The title holds a comma and a parenthesis: it must come through unchanged.
const std::u16string kWindow = u"ACW(GETID(\"a, b (x)\",\"Notepad\"),100,50,640,480,0)";

TEST(RecorderCleanUpPasses, EachPassOnItsOwn) {
  const PassCase cases[] = {
      {"unmatched presses dropped, matched kept, IME keys left alone", DropUnmatchedPresses,
       {u"KBD(VK_A,DOWN,5)", u"BTN(LEFT,DOWN,1,2,5)", u"KBD(VK_KANA,DOWN,5)", u"KBD(VK_B,DOWN,5)",
        u"KBD(VK_A,UP,5)", u"BTN(RIGHT,UP,1,2,5)", u"BTN(LEFT,DOWN,3,4,5)"},
       {u"KBD(VK_A,DOWN,5)", u"KBD(VK_KANA,DOWN,5)", u"KBD(VK_A,UP,5)", u"BTN(RIGHT,UP,1,2,5)"}},
      {"an earlier release does not match a later press", DropUnmatchedPresses,
       {u"KBD(VK_A,UP,5)", u"KBD(VK_A,DOWN,5)"}, {u"KBD(VK_A,UP,5)"}},
      {"keys compare by code, not by spelling", DropUnmatchedPresses,
       {u"KBD(65,DOWN,5)", u"KBD(VK_LSHIFT,DOWN,5)", u"KBD(VK_A,UP,5)", u"KBD(VK_SHIFT,UP,5)"},
       {u"KBD(65,DOWN,5)", u"KBD(VK_A,UP,5)", u"KBD(VK_SHIFT,UP,5)"}},
      {"window line copied before a leading button", PutWindowFirst,
       {u"MMV(1,1,5)", u"BTN(LEFT,CLICK,1,1,5)", u"MMV(2,2,5)", kWindow, u"KBD(VK_A,CLICK,5)"},
       {u"MMV(1,1,5)", kWindow, u"BTN(LEFT,CLICK,1,1,5)", u"MMV(2,2,5)", kWindow, u"KBD(VK_A,CLICK,5)"}},
      {"no copy when the window line is the last line", PutWindowFirst,
       {u"BTN(LEFT,CLICK,1,1,5)", kWindow}, {u"BTN(LEFT,CLICK,1,1,5)", kWindow}},
      {"no copy when the window line is five lines on", PutWindowFirst,
       {u"BTN(LEFT,CLICK,1,1,5)", u"MMV(1,1,1)", u"MMV(1,1,2)", u"MMV(1,1,3)", u"MMV(1,1,4)", kWindow, u"X"},
       {u"BTN(LEFT,CLICK,1,1,5)", u"MMV(1,1,1)", u"MMV(1,1,2)", u"MMV(1,1,3)", u"MMV(1,1,4)", kWindow, u"X"}},
      {"extra movements: moves and trailing window lines go, delays capped", DropExtraMovements,
       {kWindow, u"MMV(1,1,5)", u"BTN(LEFT,CLICK,1,2,900)", u"KBD(VK_A,CLICK,41)", u"KBD(VK_B,CLICK,40)",
        u"ACW(GETID(\"a, b (x)\"),1,2,3,4,7,250)", u"BTN(LEFT,CLICK,1,2,3,4,299)", kWindow, kWindow},
       {u"ACW(GETID(\"a, b (x)\",\"Notepad\"),100,50,640,480,0)", u"BTN(LEFT,CLICK,1,2,300)",
        u"KBD(VK_A,CLICK,40)", u"KBD(VK_B,CLICK,40)", u"ACW(GETID(\"a, b (x)\"),1,2,3,4,100)",
        u"BTN(LEFT,CLICK,1,2,299)"}},
      {"a window line alone stays", DropExtraMovements, {kWindow}, {kWindow}},
      {"move between button and window line dropped", DropMoveBetweenButtonAndWindow,
       {u"BTN(LEFT,UP,1,1,5)", u"MMV(1,1,5)", kWindow, u"MMV(2,2,5)", kWindow},
       {u"BTN(LEFT,UP,1,1,5)", kWindow, u"MMV(2,2,5)", kWindow}},
      {"key down and up become a click with the down line's duration", MergeKeyClicks,
       {u"KBD(VK_A,DOWN,40)", u"KBD(VK_A,UP,30)", u"KBD(VK_B,DOWN,10)", u"KBD(VK_C,UP,5)", u"KBD(VK_B,UP,5)"},
       {u"KBD(VK_A,CLICK,40)", u"KBD(VK_B,DOWN,10)", u"KBD(VK_C,UP,5)", u"KBD(VK_B,UP,5)"}},
      {"a press followed by another press becomes a click", MendLostReleases,
       {u"BTN(LEFT,DOWN,1,1,5)", u"MMV(2,2,5)", u"BTN(RIGHT,DOWN,2,2,5)", u"BTN(RIGHT,UP,2,2,5)"},
       {u"BTN(LEFT,CLICK,1,1,5)", u"MMV(2,2,5)", u"BTN(RIGHT,DOWN,2,2,5)", u"BTN(RIGHT,UP,2,2,5)"}},
      {"button clicks merge only at one point within 500 ms", MergeButtonClicks,
       {u"BTN(LEFT,DOWN,410,310,0)", u"BTN(LEFT,UP,410,310,90)", u"BTN(LEFT,DOWN,5,5,7)", u"BTN(LEFT,UP,6,5,9)",
        u"BTN(RIGHT,DOWN,5,5,7)", u"BTN(RIGHT,UP,5,5,500)"},
       {u"BTN(LEFT,CLICK,410,310,0)", u"BTN(LEFT,DOWN,5,5,7)", u"BTN(LEFT,UP,6,5,9)", u"BTN(RIGHT,DOWN,5,5,7)",
        u"BTN(RIGHT,UP,5,5,500)"}},
      {"window line repeated after a drag", RepeatWindowAfterDrag,
       {u"ACW(0,1,2,0,0,0)", u"BTN(LEFT,UP,5,5,5)", u"MMV(1,1,1)", u"ACW(0,3,4,0,0,0)", u"BTN(LEFT,UP,5,5,5)",
        u"ACW(0,9,9,0,0,0)", u"ACW(0,7,7,0,0,0)", u"BTN(LEFT,UP,5,5,5)"},
       {u"ACW(0,1,2,0,0,0)", u"BTN(LEFT,UP,5,5,5)", u"ACW(0,1,2,0,0,0)", u"MMV(1,1,1)", u"ACW(0,3,4,0,0,0)",
        u"BTN(LEFT,UP,5,5,5)", u"ACW(0,9,9,0,0,0)", u"ACW(0,7,7,0,0,0)", u"BTN(LEFT,UP,5,5,5)",
        u"ACW(0,7,7,0,0,0)"}},
      {"input-method keys", MendInputMethodKeys,
       {u"KBD(VK_OEM_AUTO,CLICK,5)", u"KBD(VK_OEM_ENLW,CLICK,5)", u"KBD(VK_A,CLICK,5)"},
       {u"KBD(VK_KANJI,CLICK,20)", u"KBD(VK_A,CLICK,5)"}},
  };
  for (const PassCase& c : cases) EXPECT_EQ(c.pass(c.input), c.expected) << c.name;
}

TEST(RecorderCleanUpPasses, OffScreenMovesBecomeTheSleepLadder) {
  const struct {
    int duration;
    const char16_t* pause;  // null: the move disappears
  } cases[] = {{900, u"SLEEP(0.4)"}, {401, u"SLEEP(0.4)"}, {400, u"SLEEP(0.2)"}, {300, u"SLEEP(0.2)"},
               {201, u"SLEEP(0.2)"}, {200, u"SLEEP(0.1)"}, {101, u"SLEEP(0.1)"}, {100, u"SLEEP(0.05)"},
               {51, u"SLEEP(0.05)"}, {50, u"SLEEP(0.02)"}, {21, u"SLEEP(0.02)"}, {20, nullptr},
               {15, nullptr},        {0, nullptr}};
  for (const auto& c : cases) {
    const std::u16string move = u"MMV(-32000,-32000," + std::u16string(u16(std::to_string(c.duration))) + u")";
    Lines expected;
    if (c.pause) expected.push_back(c.pause);
    expected.push_back(u"MMV(5,5,5)");
    EXPECT_EQ(MovesToPauses({move, u"MMV(5,5,5)"}, kDesktop), expected) << c.duration;
  }
}

TEST(RecorderCleanUpPasses, OnScreenMovesAndTheLastMove) {
  // Duration 0 goes; a short move repeated at the same point goes; the last
  // move stays whatever it holds.
  EXPECT_EQ(MovesToPauses({u"MMV(1,1,0)", u"MMV(2,2,19)", u"MMV(2,2,19)", u"MMV(3,3,19)", u"MMV(4,4,20)",
                           u"MMV(4,4,5)", u"MMV(-1,-1,0)"},
                          kDesktop),
            (Lines{u"MMV(2,2,19)", u"MMV(3,3,19)", u"MMV(4,4,20)", u"MMV(4,4,5)", u"MMV(-1,-1,0)"}));
}

TEST(RecorderCleanUp, WholeRecordingThroughEveryPass) {
  const Lines recorded = {
      u"BTN(LEFT,DOWN,410,310,0)",  u"BTN(LEFT,UP,410,310,90)", kWindow, u"MMV(9000,9000,300)",
      u"MMV(500,400,12)",           u"KBD(VK_A,DOWN,40)",       u"KBD(VK_A,UP,30)",
      u"KBD(VK_SHIFT,DOWN,10)",     u"MMV(600,400,900)",        u"BTN(RIGHT,DOWN,600,400,900)",
  };
  LevelZeroCleanupOptions options;
  options.virtualDesktop = kDesktop;
  EXPECT_EQ(CleanUpLevelZero(recorded, options),
            (Lines{kWindow, u"BTN(LEFT,CLICK,410,310,0)", kWindow, u"SLEEP(0.2)", u"MMV(500,400,12)",
                   u"KBD(VK_A,CLICK,40)", u"MMV(600,400,900)"}));
  options.dropExtraMovements = true;
  EXPECT_EQ(CleanUpLevelZero(recorded, options),
            (Lines{kWindow, u"BTN(LEFT,CLICK,410,310,0)", kWindow, u"KBD(VK_A,CLICK,40)"}));
  const Lines capped = CleanUpLevelZero({u"BTN(LEFT,DOWN,1,1,900)", u"BTN(LEFT,UP,1,1,50)"}, options);
  EXPECT_EQ(capped, (Lines{u"BTN(LEFT,CLICK,1,1,300)"}));
}

}  // namespace
}  // namespace maqo::host::recorder
