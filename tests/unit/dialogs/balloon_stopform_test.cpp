// The balloon's shape and transparency, the balloon calls per slot, and the
// stop form's state and placement.
#include <gtest/gtest.h>

#include "automation/automation_session.h"
#include "dialogs/balloon/balloons.h"
#include "dialogs/stopform/stop_form_state.h"
#include "platform/fake/fake_script_windows.h"

namespace maqo::dialogs {
namespace {

using P = BalloonPoint;

TEST(BalloonShape, OutlinePerDirection) {
  // A label of 40 x 10: W = 60, H = 30, h = 10, b = 20.
  const struct {
    int direction;
    int labelX, labelY;
    std::vector<P> outline;
    bool region;
  } cases[] = {
      {1, 10, 15, {{0, 10}, {10, 10}, {10, 0}, {20, 10}, {60, 10}, {60, 30}, {0, 30}}, true},
      {2, 10, 5, {{0, 0}, {60, 0}, {60, 20}, {20, 20}, {10, 30}, {10, 20}, {0, 20}}, true},
      {3, 15, 10, {{10, 0}, {60, 0}, {60, 30}, {10, 30}, {10, 20}, {0, 10}, {10, 10}}, true},
      {4, 5, 10, {{0, 0}, {50, 0}, {50, 10}, {60, 10}, {50, 20}, {50, 30}, {0, 30}}, true},
      {0, 10, 10, {{0, 0}, {60, 0}, {60, 30}, {0, 30}}, false},
      {7, 10, 10, {{0, 0}, {60, 0}, {60, 30}, {0, 30}}, false},
  };
  for (const auto& c : cases) {
    const BalloonShape s = ShapeOf(c.direction, 40, 10);
    EXPECT_EQ(s.width, 60);
    EXPECT_EQ(s.height, 30);
    EXPECT_EQ(s.labelX, c.labelX) << c.direction;
    EXPECT_EQ(s.labelY, c.labelY) << c.direction;
    EXPECT_EQ(s.outline, c.outline) << c.direction;
    EXPECT_EQ(s.region, c.region) << c.direction;
  }
}

TEST(BalloonTransparency, KeyColourAndAlpha) {
  using L = BalloonLayering;
  const struct {
    int t;
    uint32_t back, text;
    L layering;
    uint32_t key;
    int alpha;
  } cases[] = {
      {0, 0xFF, 0, L::None, 0, 255},
      {-1, 0x100, 0, L::ColourKey, 0xFF, 255},
      {-1, 0x100, 0xFF, L::ColourKey, 0xFE, 255},  // back - 1 is the text colour
      {-1, 0, 1, L::ColourKey, 2, 255},            // negative, + 1 is the text colour
      {-2, 0, 0, L::ColourKey, 1, 255},
      {10, 0, 0, L::Alpha, 0, 245},
      {247, 0, 0, L::Alpha, 0, 8},
      {248, 0, 0, L::Alpha, 0, 8},
      {250, 0, 0, L::Alpha, 0, 8},
      {999, 0, 0, L::Alpha, 0, 8},
      {-7, 0, 0, L::Alpha, 0, 255},  // clamped to 0
  };
  for (const auto& c : cases) {
    const BalloonTransparency r = TransparencyOf(c.t, c.back, c.text);
    EXPECT_EQ(r.layering, c.layering) << c.t;
    if (c.layering == L::ColourKey) {
      EXPECT_EQ(r.keyColour, c.key) << c.t;
    }
    if (c.layering == L::Alpha) {
      EXPECT_EQ(r.alpha, c.alpha) << c.t;
    }
  }
}

TEST(BalloonLook, ColoursFontAndOutline) {
  BalloonStyle style;
  BalloonLook look = LookOf(u"hi", 5, 6, style, 16, 16);
  EXPECT_EQ(look.formColour, kBalloonYellow) << "no background colour: yellow";
  EXPECT_EQ(look.fontSize, kBalloonDefaultFontSize);
  EXPECT_TRUE(look.drawOutline);
  EXPECT_EQ(look.outlineColour, 0u);
  EXPECT_FALSE(look.antialiased) << "quality 0";

  style.backColour = 0x00FF00;
  style.fontSize = 3;
  style.quality = 1;
  look = LookOf(u"hi", 5, 6, style, 16, 16);
  EXPECT_EQ(look.formColour, 0x00FF00u);
  EXPECT_EQ(look.fontSize, kBalloonMinFontSize);
  EXPECT_TRUE(look.antialiased);

  style.transparency = -1;
  look = LookOf(u"hi", 5, 6, style, 16, 16);
  EXPECT_EQ(look.formColour, 0x00FEFFu) << "the key colour fills the form";
  EXPECT_EQ(look.outlineColour, 0x00FF00u);
  EXPECT_TRUE(look.drawOutline);
  style.transparency = -2;
  EXPECT_FALSE(LookOf(u"hi", 5, 6, style, 16, 16).drawOutline);
}

TEST(Balloons, OnePerSlotRegisteredAsOwnWindowsAndClosedAtRunEnd) {
  platform::FakeScriptWindows windows;
  automation::AutomationSession& session = automation::currentSession();
  EXPECT_EQ(BalloonCall(windows, 0, u"", 0, 0, {}), 0u) << "an empty text before any balloon does nothing";
  EXPECT_TRUE(windows.balloons.empty());

  BalloonStyle style;
  style.direction = 1;
  const auto handle = BalloonCall(windows, 0, u"hi", 100, 100, style);
  EXPECT_EQ(session.own.balloons[0], handle);
  BalloonCall(windows, 3, u"thread", 1, 2, {});
  ASSERT_EQ(windows.balloons.size(), 2u);
  const BalloonLook& main = windows.balloons.at(0);
  EXPECT_EQ(main.x, 100);
  EXPECT_EQ(main.shape.width, 2 * 8 + 20) << "sized around the measured label";
  EXPECT_TRUE(main.shape.region);

  BalloonCall(windows, 0, u"", 0, 0, {});
  EXPECT_FALSE(windows.balloons.contains(0)) << "an empty text hides it";
  EXPECT_TRUE(windows.balloons.contains(3));

  CloseBalloons(windows);
  EXPECT_TRUE(windows.balloons.empty());
  EXPECT_EQ(session.own.balloons[3], 0u);
  EXPECT_EQ(BalloonCall(windows, 3, u"", 0, 0, {}), 0u);
}

TEST(StopForm, PlacementRules) {
  const ScreenPosition given{10, 20}, main{300, 400}, setting{50, 60};
  EXPECT_EQ(StopFormPlacement(3, given, false, main, setting), given);
  EXPECT_EQ(StopFormPlacement(3, given, true, main, setting), given);
  EXPECT_EQ(StopFormPlacement(1, given, true, main, setting), main);
  EXPECT_EQ(StopFormPlacement(2, given, false, main, setting), setting);
  EXPECT_EQ(StopFormPlacement(1, given, false, main, std::nullopt), std::nullopt);
}

TEST(StopForm, RunStateAndStopButton) {
  StopFormState state;
  EXPECT_EQ(state.runState(), kStopFormIdle);
  EXPECT_EQ(state.togglePause(), kStopFormIdle) << "nothing to pause while idle";
  state.startPlaying();
  EXPECT_EQ(state.togglePause(), kStopFormPaused);
  EXPECT_EQ(state.togglePause(), kStopFormPlaying);
  state.startRecording();
  EXPECT_EQ(state.togglePause(), kStopFormRecording);
  state.stop();
  EXPECT_EQ(state.runState(), kStopFormIdle);

  int stops = 0;
  state.pressStop();  // no handler: nothing happens
  state.setStopHandler([&] { ++stops; });
  state.pressStop();
  EXPECT_EQ(stops, 1);
}

}  // namespace
}  // namespace maqo::dialogs

namespace maqo::platform {
namespace {

TEST(LogWindowPlace, KeptWithinReach) {
  const ScreenRect desktop{0, 0, 1280, 1024};
  const struct {
    int left, top, width;
    OutlinePoint expected;
  } cases[] = {
      {100, 100, 200, {100, 100}},     // on the desktop: stays
      {-500, -50, 200, {-100, 0}},     // half its width may hang off the left
      {1270, 1020, 200, {1220, 964}},  // 60 pixels stay on the desktop
      {-90, 10, 200, {-90, 10}},
  };
  for (const auto& c : cases) EXPECT_EQ(ReachablePosition(c.left, c.top, c.width, desktop), c.expected) << c.left;
}

}  // namespace
}  // namespace maqo::platform
