// The control tests' fixture: the window fixture with fake controls installed,
// a fake input (for pointer moves and the Ctrl state), and a window laid out
// like the test program's: helpers add controls to both fakes.
#pragma once
#include <algorithm>

#include "automation/controls/control_builtins.h"
#include "automation/controls/control_context.h"
#include "automation/input/input_session.h"
#include "platform/fake/fake_controls.h"
#include "platform/fake/fake_input.h"
#include "tests/unit/automation/automation_fixture.h"

namespace maqo::automation::testing {

class ControlTest : public AutomationTest {
 protected:
  platform::FakeControls controls;
  controls::ScopedControls controlsInstalled{controls};
  platform::FakeInput input;
  InputSession inputSession{input};
  ScopedInputSession inputInstalled{inputSession};
  WindowHandle main = 0;
  int id = 0;

  void SetUp() override {
    main = window(u"CtlHost", u"CTLHOST");
    desktop.foregroundWindow = main;
    id = getid(u"CtlHost");
  }

  // A control of the main window (or of parent) at (left, top), 80 x 24.
  platform::FakeControl& add(std::u16string cls, std::u16string title, int left, int top, uint32_t style = 0,
                             bool enabled = true, WindowHandle parent = 0) {
    FakeWindow w;
    w.title = title;
    w.className = cls;
    w.parent = parent ? parent : main;
    w.enabled = enabled;
    w.rect = {left, top, left + 80, top + 24};
    const WindowHandle h = desktop.add(w);
    platform::FakeControl c;
    c.facts = {h, w.parent, std::move(cls), std::move(title), w.rect, true, enabled, style | 0x10000000};
    return controls.add(std::move(c));
  }
  std::u16string s(int64_t n) { return num(n); }
  // The log lines that start with prefix.
  std::vector<std::string> logged(std::string_view prefix) const {
    std::vector<std::string> out;
    for (const std::string& line : controls.log)
      if (line.starts_with(prefix)) out.push_back(line);
    return out;
  }
  static std::string hex(WindowHandle h) { return platform::FakeControls::logHandle(h); }
};

}  // namespace maqo::automation::testing
