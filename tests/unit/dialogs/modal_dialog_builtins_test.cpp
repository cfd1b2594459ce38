// MSGBOX, INPUT, SLCTBOX and POPUPMENU as scripts call them: arguments reach
// the described form, answers come back as the right script values.
#include <gtest/gtest.h>

#include "automation/automation_session.h"
#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_dialog_windows.h"
#include "tests/unit/builtins/builtins_fake_host.h"

namespace maqo::dialogs {
namespace {

using Answer = platform::SelectDialogAnswer;

struct ModalDialogBuiltins : ::testing::Test {
  platform::FakeDialogWindows dialogs;
  platform::ScopedDialogWindows installed{dialogs};
  builtins::testing::FakeBuiltinHost host;
};

TEST_F(ModalDialogBuiltins, MessageBoxButtonsFocusAndEscape) {
  EXPECT_EQ(host.run(u"MSGBOX(\"q\")").toDisplayText(), u"2") << "Escape";
  ASSERT_EQ(dialogs.message->buttons.size(), 1u);
  EXPECT_EQ(dialogs.message->buttons[0].value, 1);
  EXPECT_FALSE(dialogs.message->position);

  dialogs.messageAnswer = 8;
  EXPECT_EQ(host.run(u"MSGBOX(\"q\", 4 + 8, -1, -1, 8)").toDisplayText(), u"8");
  EXPECT_EQ(dialogs.message->buttons.size(), 2u);
  EXPECT_EQ(dialogs.message->focusValue, 8);

  // A focus value that is not one of the shown buttons is no focus.
  host.run(u"MSGBOX(\"q\", 1, 10, 20, 64)");
  EXPECT_EQ(dialogs.message->focusValue, 0);
  ASSERT_TRUE(dialogs.message->position);
  EXPECT_EQ(dialogs.message->position->x, 10);
}

TEST_F(ModalDialogBuiltins, MessageBoxLinksOnlyWhenAsked) {
  host.run(u"MSGBOX(\"see http://a.example, ok\")");
  EXPECT_TRUE(dialogs.message->links.empty());
  host.run(u"MSGBOX(\"see http://a.example, ok\", 1, -1, -1, 0, TRUE)");
  EXPECT_EQ(dialogs.message->links, std::vector<std::u16string>{u"http://a.example"});
  EXPECT_EQ(dialogs.message->message, u"see http://a.example, ok") << "the shown text keeps its case";
}

TEST_F(ModalDialogBuiltins, InputResults) {
  EXPECT_EQ(host.run(u"INPUT(\"n?\", \"5\")").type(), engine::VarType::Empty) << "cancelled";
  EXPECT_EQ(dialogs.input->text, u"5");
  EXPECT_FALSE(dialogs.input->password);

  dialogs.inputAnswer = u"12";
  const engine::ScriptValue number = host.run(u"INPUT(\"n?\", \"\", 1)");
  EXPECT_EQ(number.toDisplayText(), u"12");
  EXPECT_NE(number.type(), engine::VarType::String) << "a number comes back as 8-bit text";
  EXPECT_TRUE(dialogs.input->password);

  dialogs.inputAnswer = u"abc";
  EXPECT_EQ(host.run(u"INPUT(\"t?\", \"\", 0, 30, 40)").type(), engine::VarType::String);
  ASSERT_TRUE(dialogs.input->position);
  EXPECT_EQ(dialogs.input->position->y, 40);
}

TEST_F(ModalDialogBuiltins, SelectBoxFormAndResults) {
  const struct {
    const char16_t* call;
    Answer answer;
    const char16_t* result;
  } cases[] = {
      {u"SLCTBOX(2, 0, \"m\", \"a\", \"b\", \"c\")", {Answer::Outcome::Chosen, {0, 2}}, u"5"},
      {u"SLCTBOX(2 + 64, 0, \"m\", \"a\", \"b\", \"c\")", {Answer::Outcome::Chosen, {0, 2}}, u"a\tc"},
      {u"SLCTBOX(4 + 128, 0, \"m\", \"a\", \"b\")", {Answer::Outcome::Chosen, {1}}, u"1"},
      {u"SLCTBOX(1, 5, \"m\", \"a\")", {Answer::Outcome::TimedOut, {}}, u"0"},
      {u"SLCTBOX(1 + 64, 5, \"m\", \"a\")", {Answer::Outcome::TimedOut, {}}, u""},
      {u"SLCTBOX(1, 0, \"m\", \"a\")", {Answer::Outcome::Cancelled, {}}, u"-1"},
  };
  for (const auto& c : cases) {
    dialogs.selectAnswer = c.answer;
    EXPECT_EQ(host.run(c.call).toDisplayText(), c.result) << std::string(c.call, c.call + std::char_traits<char16_t>::length(c.call));
  }
}

TEST_F(ModalDialogBuiltins, SelectBoxPositionFromValues) {
  host.set(u"px", engine::ScriptValue::int32(100));
  host.run(u"SLCTBOX(1, 0, px, 200, \"\", \"a\")");
  ASSERT_TRUE(dialogs.select->position);
  EXPECT_EQ(dialogs.select->position->x, 100);
  EXPECT_EQ(dialogs.select->message, u"");
  EXPECT_EQ(dialogs.select->items, std::vector<std::u16string>{u"a"});
}

TEST_F(ModalDialogBuiltins, DialogsWatchTheRunsStopRequest) {
  bool stopping = false;
  host.stopWhen = [&] { return stopping; };
  host.run(u"MSGBOX(\"q\")");
  host.run(u"INPUT(\"q\")");
  host.run(u"SLCTBOX(1, 0, \"m\", \"a\")");
  stopping = true;
  EXPECT_TRUE(dialogs.message->stopRequested());
  EXPECT_TRUE(dialogs.input->stopRequested());
  EXPECT_TRUE(dialogs.select->stopRequested());

  // A select box asked for while the run stops shows nothing.
  dialogs.select.reset();
  host.run(u"SLCTBOX(1, 0, \"m\", \"a\")");
  EXPECT_FALSE(dialogs.select);
}

TEST_F(ModalDialogBuiltins, FormsTakeTheRunsTitleAndFontAndReleaseTheInputLock) {
  host.run(u"MSGBOX(\"q\")");
  EXPECT_EQ(dialogs.message->caption, u"MAQO") << "no DLGTITLE: the application title";
  EXPECT_EQ(dialogs.message->fontName, u"");

  host.dialogSettings.title = u"Mine";
  host.dialogSettings.font = engine::FontSetting{u"Arial", 12};
  host.run(u"MSGBOX(\"q\")");
  host.run(u"INPUT(\"q\")");
  host.run(u"SLCTBOX(1, 0, \"m\", \"a\")");
  host.run(u"POPUPMENU(\"a\")");
  for (const platform::DialogCommon* form : std::initializer_list<const platform::DialogCommon*>{
           &*dialogs.message, &*dialogs.input, &*dialogs.select}) {
    EXPECT_EQ(form->caption, u"Mine");
    EXPECT_EQ(form->fontName, u"Arial");
    EXPECT_EQ(form->fontSize, 12);
  }
  EXPECT_EQ(host.inputReleases, 5) << "every dialog lets the user answer";
}

TEST_F(ModalDialogBuiltins, FormsArePlacedOnTheDesktop) {
  platform::FakeDesktop desktop;
  desktop.monitorList = {{{0, 0, 1024, 768}, true, u""}, {{1024, 0, 2048, 768}, false, u""}};
  automation::AutomationSession session(desktop);
  automation::ScopedSession installedSession(session);
  const struct {
    const char16_t* call;
    int x, y;
  } cases[] = {
      {u"MSGBOX(\"q\")", 412, 334},                      // centred on the primary monitor
      {u"MSGBOX(\"q\", 1, 5000, 5000)", 1848, 668},      // pulled back onto the desktop
      {u"MSGBOX(\"q\", 1, -50, 10)", 0, 10},
  };
  for (const auto& c : cases) {
    host.run(c.call);
    ASSERT_TRUE(dialogs.message->place);
    const platform::DialogPosition at = dialogs.message->place(200, 100);
    EXPECT_EQ(at.x, c.x);
    EXPECT_EQ(at.y, c.y);
  }
  ASSERT_TRUE(dialogs.message->layOutButtons);
  EXPECT_EQ(dialogs.message->layOutButtons(100, 7).clientWidth, 16 + 630 + 10) << "seven buttons widen the form";
}

TEST_F(ModalDialogBuiltins, PopupMenuTreeAndPosition) {
  dialogs.popupAnswer = 3;
  EXPECT_EQ(host.run(u"POPUPMENU(\"a\")").toDisplayText(), u"3");
  EXPECT_FALSE(dialogs.popupAt) << "at the pointer";
  host.run(u"POPUPMENU(\"a\", 10, 20)");
  ASSERT_TRUE(dialogs.popupAt);
  EXPECT_EQ(dialogs.popupAt->y, 20);
}

}  // namespace
}  // namespace maqo::dialogs
