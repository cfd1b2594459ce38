// The window automation tests' fixture: the builtin test host, a fake desktop
// installed as the current automation session, and calls of the window
// builtins with argument texts as the dispatcher would pass them.
#pragma once
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <string>

#include "builtins/builtin_table.h"
#include "automation/automation_session.h"
#include "automation/windows/window_builtins.h"
#include "tests/unit/builtins/builtins_fake_host.h"
#include "engine/values/number_text.h"
#include "platform/fake/fake_desktop.h"

namespace maqo::automation::testing {

// A call of the builtin NAME whose arguments are the given texts, each also
// read as a number where it is one; "" stands for an omitted argument. The
// first two arguments are also the call's values, as texts.
inline builtins::BuiltinCall TextArgumentCall(std::u16string_view name, const engine::CallSite& site, int pacingMs,
                                              std::initializer_list<std::u16string_view> args) {
  builtins::BuiltinCall c{*builtins::FindBuiltin(name), site, {}, {}, {}, pacingMs};
  for (std::u16string_view text : args) {
    builtins::BuiltinArgument a;
    a.text = std::u16string(text);
    if (auto n = engine::parseNumberText(text, engine::NumberTextMode::Strict)) {
      a.isNumber = true;
      a.number = *n;
      a.integer = static_cast<int64_t>(std::trunc(*n));
    }
    c.arguments.push_back(std::move(a));
  }
  if (c.count() > 0) c.first = engine::ScriptValue::string(c.text(0));
  if (c.count() > 1) c.second = engine::ScriptValue::string(c.text(1));
  return c;
}

using builtins::testing::FakeBuiltinHost;
using platform::FakeDesktop;
using platform::FakeWindow;
using platform::WindowHandle;

// The builtin test host with a settable text of the calling statement.
class WindowTestHost : public FakeBuiltinHost {
 public:
  std::u16string statement;
  std::u16string statementText() override { return statement; }
};

class AutomationTest : public ::testing::Test {
 protected:
  WindowTestHost host;
  FakeDesktop desktop;
  AutomationSession session{desktop};
  ScopedSession installed{session};
  engine::CallSite site;
  int pacingMs = 0;

  // Calls a window builtin; "" at a position stands for an omitted argument
  // there (an empty text). A null first argument is passed with nullFirst.
  engine::ScriptValue call(builtins::BuiltinFunction f, std::u16string_view name,
                           std::initializer_list<std::u16string_view> args, bool nullFirst = false) {
    builtins::BuiltinCall c = TextArgumentCall(name, site, pacingMs, args);
    if (nullFirst && c.count() > 0) c.first = engine::ScriptValue::null();
    return f(c, host);
  }
  int64_t number(const engine::ScriptValue& v) { return static_cast<int64_t>(v.toDouble()); }
  std::u16string text(const engine::ScriptValue& v) { return v.toText(); }
  static std::u16string num(int64_t n) { return utf8ToUtf16(std::to_string(n)); }

  int getid(std::u16string_view title, std::u16string_view cls = u"", std::u16string_view wait = u"0") {
    return static_cast<int>(number(call(&Getid, u"GETID", {title, cls, wait})));
  }
  WindowHandle window(std::u16string title, std::u16string cls = u"NOTEPAD", bool visible = true) {
    FakeWindow w;
    w.title = std::move(title);
    w.className = std::move(cls);
    w.visible = visible;
    return desktop.add(std::move(w));
  }
  WindowHandle handleOfId(int id) { return session.ids.handleOf(id, true, desktop); }
};

}  // namespace maqo::automation::testing
