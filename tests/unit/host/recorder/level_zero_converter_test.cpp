#include "host/recorder/level_zero_converter.h"

#include <gtest/gtest.h>

#include "tests/unit/host/recorder/fake_window_information.h"

namespace maqo::host::recorder {
namespace {

using Lines = std::vector<std::u16string>;

constexpr WindowHandle kMain = 1, kStopForm = 2, kEditor = 10, kOther = 11;

class LevelZeroConverterTest : public ::testing::Test {
 protected:
  LevelZeroConverterTest() {
    windows.windows[kMain] = {u"maqo", u"TMainForm", {0, 0, 200, 100}};
    windows.windows[kStopForm] = {u"", u"TStopForm", {1800, 0, 1900, 40}};
    windows.windows[kEditor] = {u" Report, draft (2) ", u"Notepad", {100, 50, 740, 530}};
    windows.windows[kOther] = {u"Say \"hi\"\tnow", u"Afx:400000:8", {300, 300, 500, 500}};
    windows.foreground = kEditor;
    own.main = kMain;
    own.stopForm = kStopForm;
  }

  Lines Feed(LevelZeroConverter& converter, std::initializer_list<const char16_t*> records) {
    Lines lines;
    for (const char16_t* text : records) {
      windows.now += 150;
      const auto record = ParseEventRecord(text, true);
      EXPECT_TRUE(record) << std::u16string(text).size();
      if (record) converter.convert(*record, lines);
    }
    return lines;
  }

  FakeWindowInformation windows;
  RecorderOwnWindows own;
};

TEST_F(LevelZeroConverterTest, WritesWindowLineThenButtonAndKeyLines) {
  LevelZeroConverter converter(windows, own, false);
  windows.cursor = {400, 300};
  const Lines lines = Feed(converter, {u"M,513,410,310,0", u"M,514,410,310,90", u"K,65,256,40", u"K,65,257,30",
                                       u"K,66,257,5", u"M,512,420,320,12", u"M,522,420,320,3"});
  const Lines expected = {
      u"ACW(GETID(\"Report, draft (2)\",\"Notepad\"),100,50,640,480,0)",
      u"BTN(LEFT,DOWN,410,310,0)",
      u"BTN(LEFT,UP,410,310,90)",
      u"KBD(VK_A,DOWN,40)",
      u"KBD(VK_A,UP,30)",
      u"KBD(VK_B,CLICK,5)",
      u"MMV(420,320,12)",
  };
  EXPECT_EQ(lines, expected);
}

TEST_F(LevelZeroConverterTest, WindowLineFormsFollowIdentityMoveAndResize) {
  LevelZeroConverter converter(windows, own, false);
  Lines lines = Feed(converter, {u"M,513,410,310,0", u"M,514,410,310,90"});
  windows.windows[kEditor].rect = {110, 60, 750, 540};  // moved, same size
  Lines more = Feed(converter, {u"M,512,1,1,5"});
  windows.windows[kEditor].rect = {110, 70, 760, 560};  // moved and resized
  const Lines resized = Feed(converter, {u"M,512,2,2,5"});
  windows.foreground = kOther;
  const Lines other = Feed(converter, {u"M,516,310,310,5"});
  EXPECT_EQ(more, (Lines{u"MMV(1,1,5)", u"ACW(0,110,60,0,0,0)"}));
  EXPECT_EQ(resized, (Lines{u"MMV(2,2,5)", u"ACW(0,110,70,650,490,0)"}));
  // Quote and TAB escaped; a class with ":" is left out.
  EXPECT_EQ(other, (Lines{u"ACW(GETID(\"Say <#DBL>hi<#DBL><#TAB>now\"),300,300,200,200,0)", u"BTN(RIGHT,DOWN,310,310,5)"}));
}

TEST_F(LevelZeroConverterTest, KeypadEnterKeepsItsOwnDownState) {
  LevelZeroConverter converter(windows, own, false);
  // 901 must not share a down flag with any code below 256 (133 is 901 & 0xFF).
  const Lines lines = Feed(converter, {u"M,513,410,310,0", u"K,901,256,5", u"K,133,257,5", u"K,901,257,5",
                                       u"K,-3,257,5", u"K,5000,256,5", u"K,5000,257,5"});
  EXPECT_EQ(Lines(lines.begin() + 2, lines.end()),
            (Lines{u"KBD(VK_RRETURN,DOWN,5)", u"KBD(133,CLICK,5)", u"KBD(VK_RRETURN,UP,5)", u"KBD(-3,CLICK,5)",
                   u"KBD(5000,DOWN,5)", u"KBD(5000,CLICK,5)"}));
}

TEST_F(LevelZeroConverterTest, ClassWithDotsIsCutAfterTheSecondDot) {
  windows.windows[kOther].className = u"WindowsForms10.Window.8.app.0.2bf8098";
  windows.foreground = kOther;
  LevelZeroConverter converter(windows, own, false);
  const Lines lines = Feed(converter, {u"M,513,310,310,0"});
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], u"ACW(GETID(\"Say <#DBL>hi<#DBL><#TAB>now\",\"WindowsForms10.Window.\"),300,300,200,200,0)");
}

TEST_F(LevelZeroConverterTest, RelativeModeWritesPositionsFromTheMouseOrigin) {
  LevelZeroConverter converter(windows, own, true);
  Lines lines = Feed(converter, {u"M,513,410,310,0"});
  windows.windows.erase(kEditor);  // gone: its last known rectangle still counts
  const Lines after = Feed(converter, {u"M,514,420,320,50"});
  EXPECT_EQ(lines, (Lines{u"ACW(GETID(\"Report, draft (2)\",\"Notepad\"),100,50,640,480,0)",
                          u"MOUSEORG(GETID(\"Report, draft (2)\",\"Notepad\"))", u"BTN(LEFT,DOWN,310,260,0)"}));
  EXPECT_EQ(after, (Lines{u"BTN(LEFT,UP,320,270,50)"}));
}

TEST_F(LevelZeroConverterTest, RecordingStartsOnlyAwayFromTheMainWindow) {
  LevelZeroConverter converter(windows, own, false);
  windows.cursor = {50, 50};  // keys count at the cursor, inside the main window
  Lines lines;
  for (const char16_t* text : {u"M,512,10,10,5", u"K,65,256,5", u"M,512,20,20,5"}) {
    windows.now += 500;
    converter.convert(*ParseEventRecord(text, true), lines);
  }
  EXPECT_TRUE(lines.empty());
  EXPECT_FALSE(converter.started());
  // Away from it, a quick move does not start the recording; a quiet one does.
  windows.now += 50;
  converter.convert(*ParseEventRecord(u"M,512,900,900,5", true), lines);
  EXPECT_FALSE(converter.started());
  windows.now += 101;
  converter.convert(*ParseEventRecord(u"M,512,901,900,5", true), lines);
  EXPECT_TRUE(converter.started());
  EXPECT_EQ(lines.front(), u"MMV(901,900,5)");
}

TEST_F(LevelZeroConverterTest, ButtonsOnTheStopFormAndOtherMessagesWriteNothing) {
  LevelZeroConverter converter(windows, own, false);
  const Lines lines = Feed(converter, {u"M,513,1800,40,0", u"M,515,410,310,5", u"M,522,410,310,5",
                                       u"M,523,410,310,5", u"C,100", u"S,61472,10"});
  // The press on the stop form still counts as a press for the window line.
  EXPECT_EQ(lines, (Lines{u"ACW(GETID(\"Report, draft (2)\",\"Notepad\"),100,50,640,480,0)"}));
}

TEST_F(LevelZeroConverterTest, UnusableForegroundWindowsGetNoWindowLine) {
  const struct {
    WindowFacts facts;
  } cases[] = {
      {{u"", u"Shell_TrayWnd", {0, 1040, 1920, 1080}}},
      {{u"Program Manager", u"Progman", {0, 0, 1920, 1080}}},
      {{u"tip", u"tooltips_class32", {0, 0, 10, 10}}},
      {{u"Recding...", u"X", {0, 0, 10, 10}}},
      {{u"empty", u"X", {5, 5, 5, 5}}},
      {{u"hidden", u"X", {0, 0, 10, 10}, false}},
      {{u"min", u"X", {0, 0, 10, 10}, true, true}},
  };
  for (const auto& c : cases) {
    windows.windows[kOther] = c.facts;
    windows.foreground = kOther;
    LevelZeroConverter converter(windows, own, false);
    const Lines lines = Feed(converter, {u"M,513,410,310,0"});
    EXPECT_EQ(lines, (Lines{u"BTN(LEFT,DOWN,410,310,0)"})) << c.facts.title.size();
  }
  windows.foreground = kMain;
  LevelZeroConverter converter(windows, own, false);
  EXPECT_EQ(Feed(converter, {u"M,513,410,310,0"}), (Lines{u"BTN(LEFT,DOWN,410,310,0)"}));
}

}  // namespace
}  // namespace maqo::host::recorder
