// The script's windows on Windows (the suite runs under Wine): the balloon
// gets its place, size, region and layering, the stop form its place and a
// working button, and the memo keeps what the log appends in order.
#ifdef _WIN32
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "dialogs/balloon/balloon_shape.h"
#include "platform/script_windows.h"

namespace maqo::dialogs {
namespace {

HWND hwndOf(platform::WindowHandle h) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(h)); }

// Waits (bounded) until the window thread has handled what was posted to it.
void settle(platform::ScriptWindows& windows) {
  for (int i = 0; i < 5; ++i) windows.logWindowVisible(), windows.logWindow();
}

std::u16string textOf(HWND w) {
  const int length = GetWindowTextLengthW(w);
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  GetWindowTextW(w, reinterpret_cast<wchar_t*>(text.data()), length + 1);
  text.resize(static_cast<size_t>(length));
  return text;
}

TEST(Win32ScriptWindows, BalloonHasItsPlaceRegionAndLayering) {
  platform::ScriptWindows& windows = platform::buildScriptWindows();
  BalloonStyle style;
  style.direction = 1;
  style.transparency = 10;
  const auto label = windows.measureBalloonText(u"hi", u"", BalloonFontSize(0));
  EXPECT_GT(label.width, 0);
  const BalloonLook look = LookOf(u"hi", 100, 100, style, label.width, label.height);
  HWND w = hwndOf(windows.showBalloon(0, look));
  ASSERT_NE(w, nullptr);
  RECT r{};
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.top, 100);
  EXPECT_EQ(r.right - r.left, look.shape.width);
  EXPECT_TRUE(IsWindowVisible(w));
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(w, region), COMPLEXREGION) << "cut to the outline with its tail";
  DeleteObject(region);
  EXPECT_NE(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  BYTE alpha = 0;
  DWORD flags = 0;
  if (GetLayeredWindowAttributes(w, nullptr, &alpha, &flags)) {
    EXPECT_EQ(alpha, 245);
    EXPECT_EQ(flags & LWA_ALPHA, static_cast<DWORD>(LWA_ALPHA));
  }

  windows.hideBalloon(0);
  EXPECT_FALSE(IsWindowVisible(w));
  windows.closeBalloons();
  EXPECT_FALSE(IsWindow(w));
}

TEST(Win32ScriptWindows, StopFormButtonRunsTheStop) {
  platform::ScriptWindows& windows = platform::buildScriptWindows();
  std::atomic<int> stops{0};
  HWND w = hwndOf(windows.showStopForm(platform::OutlinePoint{10, 20}, u"MAQO", [&] { ++stops; }));
  ASSERT_NE(w, nullptr);
  RECT r{};
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 20);
  HWND button = FindWindowExW(w, nullptr, L"BUTTON", L"STOP");
  ASSERT_NE(button, nullptr);
  SendMessageW(button, BM_CLICK, 0, 0);
  EXPECT_GE(stops.load(), 1);
  windows.hideStopForm();
  EXPECT_FALSE(IsWindowVisible(w));
}

TEST(Win32ScriptWindows, MemoHoldsTheAppendedLines) {
  platform::ScriptWindows& windows = platform::buildScriptWindows();
  windows.setLogText(u"a\r\nb");
  windows.appendLogLine(u"c");
  windows.appendLogLine(u"d");
  settle(windows);
  HWND log = hwndOf(windows.logWindow());
  ASSERT_NE(log, nullptr);
  HWND memo = FindWindowExW(log, nullptr, L"EDIT", nullptr);
  ASSERT_NE(memo, nullptr);
  // The batch is added by the window thread; wait for it with a bound.
  for (int i = 0; i < 100 && textOf(memo) != u"a\r\nb\r\nc\r\nd"; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(textOf(memo), u"a\r\nb\r\nc\r\nd");
  windows.setLogText(u"");
}

}  // namespace
}  // namespace maqo::dialogs
#endif
