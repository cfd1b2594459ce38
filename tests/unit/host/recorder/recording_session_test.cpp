#include "host/recorder/recording_session.h"

#include <gtest/gtest.h>

#include <deque>

#include "tests/unit/host/recorder/fake_surroundings.h"

namespace maqo::host::recorder {
namespace {

using Lines = std::vector<std::u16string>;

RecordReader QueueOf(std::deque<std::u16string>& queue) {
  return [&queue] {
    if (queue.empty()) return std::u16string();
    std::u16string next = queue.front();
    queue.pop_front();
    return next;
  };
}

TEST(RecorderSession, LevelZeroClickAndKeyBecomeClickLines) {
  FakeSurroundings s;
  s.table.windows[5] = {u"Report, draft", u"Notepad", {100, 50, 740, 530}};
  s.table.foreground = 5;
  RecordingSession session(s, {});
  std::deque<std::u16string> queue = {u"M,513,410,310,0", u"M,514,410,310,80", u"K,65,256,120", u"K,65,257,40",
                                      u"garbage", u"M,512,500,500,0"};
  EXPECT_EQ(session.poll(QueueOf(queue)), 6u);
  EXPECT_EQ(session.stop(), (Lines{u"ACW(GETID(\"Report, draft\",\"Notepad\"),100,50,640,480,0)",
                                   u"BTN(LEFT,CLICK,410,310,0)", u"KBD(VK_A,CLICK,120)", u"MMV(500,500,0)"}));
}

TEST(RecorderSession, PollEndsEvenWhenTheReaderNeverRunsDry) {
  FakeSurroundings s;
  RecordingSession session(s, {});
  size_t calls = 0;
  EXPECT_EQ(session.poll([&] {
    ++calls;
    return std::u16string(u"M,512,1,1,5");
  }),
            RecordingSession::kMaxRecordsPerPoll);
  EXPECT_EQ(calls, RecordingSession::kMaxRecordsPerPoll);
}

TEST(RecorderSession, LevelOneStopAddsTheTrailer) {
  FakeSurroundings s;
  s.table.windows[7] = {u"Doc", u"Notepad", {0, 0, 500, 500}};
  s.table.windows[8] = {u"", u"Shell_TrayWnd", {0, 1040, 1920, 1080}};
  RecordingSettings settings;
  settings.level = 1;
  RecordingSession session(s, settings);
  std::deque<std::u16string> queue = {u"K", u"C,40001", u"S,61472,8"};
  s.table.foreground = 7;
  session.poll(QueueOf(queue));
  EXPECT_EQ(session.stop(),
            (Lines{u"DEF_DLL PostMessageA(Hwnd,Long,Long,Dword):Bool:user32", u"WM_COMMAND = $111",
                   u"id = GETID(\"Doc\", \"Notepad\", -1)", u"PostMessageA(IDTOHND(id), WM_COMMAND, 40001, 0)",
                   u"id = GETID(\"\", \"Shell_TrayWnd\", -1)", u"SLEEP(1)", u"CTRLWIN(id, MIN)"}));
}

}  // namespace
}  // namespace maqo::host::recorder
