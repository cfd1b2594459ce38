// The input tests' fixture: the window fixture plus a call-recording fake
// input installed as the current input session, and a host that can name
// hot-key handlers.
#pragma once
#include <map>

#include "automation/input/input_builtins.h"
#include "automation/input/input_session.h"
#include "platform/fake/fake_input.h"
#include "tests/unit/automation/automation_fixture.h"

namespace maqo::automation::testing {

class InputTestHost : public WindowTestHost {
 public:
  // Functions the script "has": name -> the (vk, mod) pairs each call saw.
  std::map<std::u16string, std::vector<std::pair<int, int>>> functions;
  std::function<void(int, int)> hotkeyHandler(std::u16string_view name) override {
    std::u16string upper(name);
    for (char16_t& ch : upper)
      if (ch >= u'a' && ch <= u'z') ch = static_cast<char16_t>(ch - u'a' + u'A');
    auto it = functions.find(upper);
    if (it == functions.end()) return {};
    auto* calls = &it->second;
    return [calls](int vk, int mod) { calls->push_back({vk, mod}); };
  }
};

class InputTest : public AutomationTest {
 protected:
  platform::FakeInput input;
  InputSession inputSession{input};
  ScopedInputSession inputInstalled{inputSession};
  InputTestHost inputHost;

  engine::ScriptValue run(builtins::BuiltinFunction f, std::u16string_view name,
                          std::initializer_list<std::u16string_view> args) {
    builtins::BuiltinCall c = TextArgumentCall(name, site, pacingMs, args);
    return f(c, inputHost);
  }
  void releaseAtRunEnd() { ReleaseInputAtRunEnd(inputHost.platform()); }
  std::vector<std::string> keyLog() const { return input.entries("key"); }
};

}  // namespace maqo::automation::testing
