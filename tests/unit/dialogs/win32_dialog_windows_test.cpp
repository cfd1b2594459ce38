// The modal forms on Windows (the suite runs under Wine): each form carries
// its window class, caption, place and topmost style, answers Escape and
// Enter as a user would, and ends on its time-out or on the run's stop.
// A helper thread plays the user: it finds the form and posts keys to it.
#ifdef _WIN32
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/dialog_windows.h"

namespace maqo::platform {
namespace {

// Waits (bounded) for a shown form of the class.
HWND waitForForm(const wchar_t* windowClass) {
  for (int i = 0; i < 200; ++i) {
    HWND w = FindWindowW(windowClass, nullptr);
    if (w && IsWindowVisible(w)) return w;
    Sleep(50);
  }
  return nullptr;
}

// Keys go to the form itself: it looks at Enter and Escape before any
// control, and by then its focus is set, which a thread outside cannot wait for.
void postKey(HWND form, UINT key) { PostMessageW(form, WM_KEYDOWN, key, 0); }

// What the user thread saw of the form.
struct SeenForm {
  bool found = false;
  std::wstring caption;
  bool topmost = false;
  RECT place{};
};

SeenForm look(HWND w) {
  SeenForm seen;
  seen.found = w != nullptr;
  if (!w) return seen;
  wchar_t text[64] = {};
  GetWindowTextW(w, text, 64);
  seen.caption = text;
  seen.topmost = (GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  GetWindowRect(w, &seen.place);
  return seen;
}

TEST(Win32DialogWindows, MessageFormEscapeAndEnterOnTheFocusButton) {
  DialogWindows& dialogs = buildDialogWindows();
  MessageDialogForm form;
  form.caption = u"Title";
  form.message = u"q";
  form.buttons = {{4, u"&Yes"}, {8, u"&No"}};
  form.focusValue = 8;
  form.place = [](int, int) { return DialogPosition{123, 45}; };
  const struct {
    UINT key;
    int expected;
  } cases[] = {{VK_ESCAPE, 2}, {VK_RETURN, 8}};
  for (const auto& c : cases) {
    SeenForm seen;
    std::thread user([&] {
      HWND w = waitForForm(L"TUmsgDlg_maqo");
      seen = look(w);
      if (w) postKey(w, c.key);
    });
    EXPECT_EQ(dialogs.askMessage(form, 2), c.expected);
    user.join();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.caption, L"Title");
    EXPECT_TRUE(seen.topmost);
    EXPECT_EQ(seen.place.left, 123);
    EXPECT_EQ(seen.place.top, 45);
  }
}

TEST(Win32DialogWindows, InputFormTextPasswordAndCancel) {
  DialogWindows& dialogs = buildDialogWindows();
  InputDialogForm form;
  form.message = u"n?";
  form.text = u"1";
  form.password = true;
  bool password = false;
  std::thread user([&] {
    HWND w = waitForForm(L"TUinpBox_maqo");
    if (!w) return;
    HWND edit = FindWindowExW(w, nullptr, L"EDIT", nullptr);
    if (!edit) return;
    password = (GetWindowLongPtrW(edit, GWL_STYLE) & ES_PASSWORD) != 0;
    PostMessageW(edit, WM_KEYDOWN, VK_END, 0);
    PostMessageW(edit, WM_CHAR, L'2', 0);
    postKey(w, VK_RETURN);
  });
  const std::optional<std::u16string> typed = dialogs.askInput(form);
  user.join();
  ASSERT_TRUE(typed);
  EXPECT_TRUE(*typed == u"12" || *typed == u"2") << "the default text, selected or not, then the typed character";
  EXPECT_TRUE(password);

  std::thread canceller([&] {
    if (HWND w = waitForForm(L"TUinpBox_maqo")) postKey(w, VK_ESCAPE);
  });
  EXPECT_FALSE(dialogs.askInput(form));
  canceller.join();
}

TEST(Win32DialogWindows, SelectFormChecksEscapeAndTimeOut) {
  DialogWindows& dialogs = buildDialogWindows();
  SelectDialogForm form;
  form.message = u"pick";
  form.items = {u"a", u"b", u"c"};
  form.controls = SelectControls::CheckBoxes;
  std::thread user([&] {
    HWND w = waitForForm(L"TUslctBox_maqo");
    if (!w) return;
    for (const wchar_t* item : {L"a", L"c"}) SendMessageW(FindWindowExW(w, nullptr, L"BUTTON", item), BM_CLICK, 0, 0);
    postKey(w, VK_RETURN);
  });
  const SelectDialogAnswer checked = dialogs.askSelect(form);
  user.join();
  EXPECT_EQ(checked.outcome, SelectDialogAnswer::Outcome::Chosen);
  EXPECT_EQ(checked.chosen, (std::vector<size_t>{0, 2}));

  form.controls = SelectControls::Buttons;
  std::thread canceller([&] {
    if (HWND w = waitForForm(L"TUslctBox_maqo")) postKey(w, VK_ESCAPE);
  });
  EXPECT_EQ(dialogs.askSelect(form).outcome, SelectDialogAnswer::Outcome::Cancelled);
  canceller.join();

  form.timeoutSeconds = 1;
  EXPECT_EQ(dialogs.askSelect(form).outcome, SelectDialogAnswer::Outcome::TimedOut) << "nobody answers";
}

TEST(Win32DialogWindows, StopRequestEndsEveryDialogAsEscape) {
  DialogWindows& dialogs = buildDialogWindows();
  std::atomic<int> checks{0};
  // Stops once the dialog has been waiting through a few checks.
  const DialogStopCheck stopSoon = [&] { return ++checks > 5; };
  MessageDialogForm message;
  message.message = u"q";
  message.buttons = {{1, u"OK"}};
  message.stopRequested = stopSoon;
  EXPECT_EQ(dialogs.askMessage(message, 2), 2);
  checks = 0;
  InputDialogForm input;
  input.stopRequested = stopSoon;
  EXPECT_FALSE(dialogs.askInput(input));
  checks = 0;
  EXPECT_EQ(dialogs.askPopupMenu({{u"a", 0, {}}}, DialogPosition{100, 100}, stopSoon), -1);
  EXPECT_FALSE(FindWindowW(L"TUmsgDlg_maqo", nullptr)) << "the form is gone";
}

}  // namespace
}  // namespace maqo::platform
#endif
