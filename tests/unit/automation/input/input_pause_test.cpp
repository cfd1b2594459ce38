// The main script's pauses for window messages note the mouse buttons they
// see pressed, so GETKEYSTATE reports a click that came and went between two
// of its calls: a whole script runs on a real engine whose message pump is
// where the user's click happens.
#include <gtest/gtest.h>

#include <mutex>

#include "automation/automation_session.h"
#include "automation/input/input_session.h"
#include "engine/builder/headless_build_host.h"
#include "engine/run/tuscript.h"
#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_input.h"
#include "platform/text_codec.h"
#include "tests/unit/engine/exec/exec_test_support.h"

namespace maqo::automation::testing {
namespace {

// A user interface whose message pump is where the user clicks: the button
// goes down at the main script's first pump and up at its second, so only a
// pause that looked in between can know of it. Pumps of other threads
// change nothing (the fake input is the main script's alone).
class ClickingUi final : public platform::UiSink {
 public:
  ClickingUi(platform::FakeInput& input, int button) : input_(input), button_(button) {}
  engine::TUScript* engine = nullptr;

  void messageBox(const std::u16string&, const std::u16string&) override {}
  void errorDialog(const std::u16string& message) override { printLine(u"error: " + message); }
  void printLine(const std::u16string& text) override {
    std::lock_guard guard(lock_);
    printed_.push_back(utf16ToUtf8(text));
  }
  void beep() override {}
  void pumpMessages() override {
    if (engine == nullptr || !engine->OnMainThread()) return;
    ++mainPumps_;
    if (mainPumps_ <= 2) input_.physicallyDown[button_] = mainPumps_ == 1;
  }
  std::vector<std::string> printed() {
    std::lock_guard guard(lock_);
    return printed_;
  }

 private:
  platform::FakeInput& input_;
  int button_;
  int mainPumps_ = 0;
  std::mutex lock_;
  std::vector<std::string> printed_;
};

TEST(InputPauses, AClickBetweenTwoGetkeystateCallsIsReportedOnce) {
  platform::FakeDesktop desktop;
  AutomationSession session{desktop};
  ScopedSession sessionInstalled{session};
  platform::FakeInput input;
  InputSession inputSession{input};
  ScopedInputSession inputInstalled{inputSession};

  platform::Platform& base = platform::consolePlatform();
  ClickingUi ui(input, 1);
  platform::Platform p{base.clock, base.files, base.locale, ui};
  engine::HeadlessBuildHost settings;
  engine::TUScript engine(p, settings, tests::TestLibrary());
  ui.engine = &engine;

  engine::PlayRequest request;
  request.scriptPath = engine::exec_test::missingScriptPath();
  request.recordedText = {u"SLEEP(0.1)", u"PRINT GETKEYSTATE(VK_LBUTTON)", u"PRINT GETKEYSTATE(VK_LBUTTON)",
                          u"PRINT GETKEYSTATE(VK_RBUTTON)"};
  ASSERT_EQ(engine.pplay(request), engine::PlayOutcome::Completed);
  // The button is up again and the system's own "pressed since" bit was
  // spent by the pause: only the pause's note reports it, and only once.
  EXPECT_EQ(ui.printed(), (std::vector<std::string>{"True", "False", "False"}));
}

}  // namespace
}  // namespace maqo::automation::testing
