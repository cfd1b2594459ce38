// LOGPRINT, FUKIDASI/BALLOON and STOPFORM as scripts call them: arguments
// reach the windows in the right places, the windows are registered as the
// system's own, the stop form's button runs the run's stop, and nothing acts
// during the pre-run check.
#include <gtest/gtest.h>

#include "automation/automation_session.h"
#include "dialogs/balloon/balloons.h"
#include "dialogs/stopform/stop_form_state.h"
#include "platform/fake/fake_script_windows.h"
#include "tests/unit/builtins/builtins_fake_host.h"

namespace maqo::dialogs {
namespace {

using Fake = platform::FakeScriptWindows;

struct ScriptWindowBuiltins : ::testing::Test {
  Fake windows;
  platform::ScopedScriptWindows installed{windows};
  builtins::testing::FakeBuiltinHost host;
  ~ScriptWindowBuiltins() override { CloseBalloons(windows); }
};

TEST_F(ScriptWindowBuiltins, BalloonArgumentsReachTheLook) {
  host.run(u"FUKIDASI(\"hello\", 30, 40, 3, 12, \"Arial\", $0000FF, $00FF00, 10, 1)");
  ASSERT_TRUE(windows.balloons.contains(0));
  const platform::BalloonLook& look = windows.balloons.at(0);
  EXPECT_EQ(look.text, u"hello");
  EXPECT_EQ(look.x, 30);
  EXPECT_EQ(look.y, 40);
  EXPECT_EQ(look.shape.labelX, 15) << "direction 3";
  EXPECT_EQ(look.fontSize, 12);
  EXPECT_EQ(look.fontName, u"Arial");
  EXPECT_EQ(look.textColour, 0x0000FFu);
  EXPECT_EQ(look.formColour, 0x00FF00u);
  EXPECT_EQ(look.transparency.alpha, 245);
  EXPECT_TRUE(look.antialiased);
  EXPECT_EQ(automation::currentSession().own.balloons[0], Fake::kBalloonBase);

  host.run(u"BALLOON(\"\")");
  EXPECT_FALSE(windows.balloons.contains(0));
}

TEST_F(ScriptWindowBuiltins, OmittedBalloonArgumentsAreZero) {
  host.run(u"FUKIDASI(\"hi\")");
  const platform::BalloonLook& look = windows.balloons.at(0);
  EXPECT_EQ(look.x, 0);
  EXPECT_EQ(look.y, 0);
  EXPECT_FALSE(look.shape.region);
  EXPECT_EQ(look.formColour, 0x0000FFFFu) << "yellow";
}

TEST_F(ScriptWindowBuiltins, StopFormPlacesShowsAndStops) {
  int stops = 0;
  TheStopForm().setStopHandler([&] { ++stops; });
  host.run(u"STOPFORM(1, 10, 20)");
  EXPECT_TRUE(windows.stopVisible);
  ASSERT_TRUE(windows.stopPosition);
  EXPECT_EQ(windows.stopPosition->x, 10);
  EXPECT_EQ(windows.stopPosition->y, 20);
  EXPECT_EQ(automation::currentSession().own.stopForm.handle, Fake::kStopHandle);
  windows.pressStop();
  EXPECT_EQ(stops, 1);
  host.run(u"STOPFORM(0)");
  EXPECT_FALSE(windows.stopVisible);
  TheStopForm().setStopHandler(nullptr);
}

TEST_F(ScriptWindowBuiltins, LogPrintPlacesAndSizesByArgumentCount) {
  host.run(u"LOGPRINT(1)");
  EXPECT_TRUE(windows.logVisible);
  EXPECT_FALSE(windows.logPlacement);
  host.run(u"LOGPRINT(1, 5, 6)");
  ASSERT_TRUE(windows.logPlacement);
  EXPECT_EQ(windows.logPlacement->x, 5);
  EXPECT_FALSE(windows.logPlacement->width);
  host.run(u"LOGPRINT(0, 5, 6, 300, 200)");
  EXPECT_EQ(windows.logPlacement->height, 200);
  EXPECT_FALSE(windows.logVisible);
  EXPECT_EQ(automation::currentSession().own.logWindow.handle, Fake::kLogHandle);
}

TEST_F(ScriptWindowBuiltins, NothingActsDuringTheCheckPass) {
  host.checking = true;
  for (auto call : {u"FUKIDASI(\"x\")", u"STOPFORM(1, 1, 1)", u"LOGPRINT(1)"}) host.run(call);
  EXPECT_TRUE(windows.balloons.empty());
  EXPECT_FALSE(windows.stopVisible);
  EXPECT_FALSE(windows.logVisible);
}

}  // namespace
}  // namespace maqo::dialogs
