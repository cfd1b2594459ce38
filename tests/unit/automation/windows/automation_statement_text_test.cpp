// GETID reads the text of the statement that calls it: a browser title is
// looked for by its generic name only when the statement is ACW(GETID(...)).
// Runs whole scripts on the engine with a fake desktop installed.
#include <gtest/gtest.h>

#include "automation/automation_session.h"
#include "tests/unit/engine/exec/exec_test_support.h"
#include "platform/fake/fake_desktop.h"

namespace maqo::automation::testing {
namespace {

class AutomationStatementText : public engine::exec_test::EngineTest {
 protected:
  platform::FakeDesktop desktop;
  AutomationSession session{desktop};
  ScopedSession installed{session};
  platform::WindowHandle browser = 0;

  void SetUp() override {
    platform::FakeWindow w;
    w.title = u"Windows Internet Explorer";
    w.className = u"IEFrame";
    w.rect = {0, 0, 500, 400};
    browser = desktop.add(w);
  }
};

TEST_F(AutomationStatementText, BrowserFallbackFollowsTheCallingStatement) {
  EXPECT_EQ(play({
      u"PRINT GETID(\"Start - Windows Internet Explorer\", \"IEFrame\", 0.0001)",
      u"acw( getid(\"Start - Windows Internet Explorer\", \"IEFrame\", 0.0001), 30, 40)",
      u"PRINT STATUS(GETID(\"Windows Internet Explorer\", \"IEFrame\", 0.0001), ST_X)",
  }), engine::PlayOutcome::Completed);
  EXPECT_TRUE(ui.errors().empty()) << (ui.errors().empty() ? "" : ui.errors().front());
  EXPECT_EQ(ui.printed(), (std::vector<std::string>{"-1", "30"}));
  EXPECT_EQ(desktop.window(browser).rect.top, 40);
}

}  // namespace
}  // namespace maqo::automation::testing
