// DROPFILE: which window gets the drop, where it lands, how the folder and the
// file names are read from the arguments (arrays and hash tables included),
// and how the shell's failures are reported. The desktop and the dropper are
// fakes; the real drop into another program runs in the Wine tests.
#include <gtest/gtest.h>

#include "automation/automation_session.h"
#include "automation/windows/drop_file.h"
#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_file_drop.h"
#include "tests/unit/builtins/builtins_fake_host.h"
#include "tests/unit/engine/reader/reader_test_support.h"

namespace maqo::builtins {
namespace {

using automation::DropEntries;
using automation::ExpandToList;
using automation::ReadDropEntries;
using automation::ScopedFileDropper;
using engine::ScriptValue;
using platform::DropPoint;
using testing::errorOf;
using testing::u8;

TEST(BuiltinsFilesDrop, DropPointLandsInTheClientAreaOnTheDesktop) {
  const platform::WindowRect desk{0, 0, 1280, 1024};
  const platform::WindowRect bottomBar{0, 984, 1280, 1024};
  const platform::WindowRect topBar{0, 0, 1280, 40};
  const struct {
    const char* label;
    platform::DropGeometry geometry;
    std::optional<DropPoint> client;
    std::optional<DropPoint> screen;
  } cases[] = {
      {"centre, halves rounded down", {{100, 200}, 301, 151, 170, desk, {}}, {}, DropPoint{250, 275}},
      {"client point", {{100, 200}, 300, 150, 170, desk, {}}, DropPoint{10, 20}, DropPoint{110, 220}},
      {"the far edge still counts", {{100, 200}, 300, 150, 170, desk, {}}, DropPoint{300, 150}, DropPoint{400, 350}},
      {"beyond the width", {{100, 200}, 300, 150, 170, desk, {}}, DropPoint{301, 0}, {}},
      {"beyond the height", {{100, 200}, 300, 150, 170, desk, {}}, DropPoint{0, 151}, {}},
      {"kept on the desktop", {{1200, 1000}, 300, 150, 970, desk, {}}, DropPoint{200, 100}, DropPoint{1279, 1023}},
      {"kept on a desktop left of the primary", {{-500, -20}, 300, 150, -50, {-1280, -100, 1280, 1024}, {}},
       DropPoint{0, 0}, DropPoint{-500, -20}},
      {"moved off a taskbar at the bottom", {{100, 900}, 300, 150, 870, desk, bottomBar}, DropPoint{10, 100},
       DropPoint{110, 983}},
      {"a window that starts on the taskbar keeps the point", {{100, 990}, 300, 150, 985, desk, bottomBar},
       DropPoint{10, 10}, DropPoint{110, 1000}},
      {"a taskbar at the top is left alone", {{100, 10}, 300, 150, -20, desk, topBar}, DropPoint{10, 10},
       DropPoint{110, 20}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(platform::DropScreenPoint(c.geometry, c.client), c.screen);
  }
}

TEST(BuiltinsFilesDrop, EntriesGiveThePointTheFolderAndTheFiles) {
  const struct {
    const char* label;
    std::vector<std::u16string> entries;
    std::optional<DropEntries> expected;
  } cases[] = {
      {"folder and files, trimmed, empty ones left out",
       {u"C:\\data", u" a.txt ", u"", u"b.txt"},
       DropEntries{{}, u"C:\\data", {u"a.txt", u"b.txt"}}},
      {"a point first", {u"10", u"20", u"C:\\data", u"a.txt"}, DropEntries{DropPoint{10, 20}, u"C:\\data", {u"a.txt"}}},
      {"a fraction is cut off", {u"1.9", u"2", u"d", u"f"}, DropEntries{DropPoint{1, 2}, u"d", {u"f"}}},
      {"one number is a folder name", {u"10", u"x", u"f"}, DropEntries{{}, u"10", {u"x", u"f"}}},
      {"numbers are not trimmed", {u" 10", u"20", u"f"}, DropEntries{{}, u" 10", {u"20", u"f"}}},
      {"a negative point drops nothing", {u"-1", u"5", u"d", u"f"}, std::nullopt},
      {"no folder", {u"5", u"6"}, DropEntries{DropPoint{5, 6}, u"", {}}},
      {"an empty folder", {u"", u"f"}, DropEntries{{}, u"", {u"f"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const std::optional<DropEntries> got = ReadDropEntries(c.entries);
    ASSERT_EQ(got.has_value(), c.expected.has_value());
    if (!got) continue;
    EXPECT_EQ(got->point, c.expected->point);
    EXPECT_EQ(got->folder, c.expected->folder);
    EXPECT_EQ(got->files, c.expected->files);
  }
  for (const std::u16string big : {u"3000000000", u"-2147483649"}) {
    SCOPED_TRACE(u8(big));
    const auto e = errorOf([&] { ReadDropEntries({big, u"1", u"d", u"f"}); });
    EXPECT_EQ(e.english, u"SyntaxError-10");
    EXPECT_FALSE(e.catchable);
  }
}

// DROPFILE called from script text through the dispatcher, on a fake desktop
// with a fake dropper.
class BuiltinsFilesDropCall : public ::testing::Test {
 protected:
  BuiltinsFilesDropCall() {
    platform::FakeWindow w;
    w.title = u"target";
    window = desktop.add(w);
    id = session.ids.idOf(window);
    host.set(u"ID", ScriptValue::int32(id));
    host.set(u"DIR", ScriptValue::string(dir.root()));
  }
  std::u16string folder() { return host.platformBundle.files.fullPath(dir.root()); }

  testing::FakeBuiltinHost host;
  engine::reader_test::TempDir dir;
  platform::FakeDesktop desktop;
  automation::AutomationSession session{desktop};
  automation::ScopedSession installedSession{session};
  platform::FakeFileDropper dropper;
  ScopedFileDropper installedDropper{dropper};
  platform::WindowHandle window = 0;
  int id = 0;
};

TEST_F(BuiltinsFilesDropCall, DropsTheFilesOfTheFolderOnTheWindow) {
  session.own.mainWindow.handle = 0x4242;
  EXPECT_EQ(host.run(u"DROPFILE(ID, DIR, \"a.txt\", \" b.txt \")").toDisplayText(), u"");
  ASSERT_EQ(dropper.requests.size(), 1u);
  const platform::FileDropRequest& r = dropper.requests[0];
  EXPECT_EQ(r.target, window);
  EXPECT_EQ(r.folder, folder());
  EXPECT_EQ(r.files, (std::vector<std::u16string>{u"a.txt", u"b.txt"}));
  EXPECT_FALSE(r.clientPoint);
  EXPECT_EQ(r.hostWindow, 0x4242u);
  EXPECT_EQ(dropper.dropsAt, (std::vector<DropPoint>{DropPoint{250, 275}}));
}

TEST_F(BuiltinsFilesDropCall, APointAndArraysOfNames) {
  host.set(u"NAMES", host.run(u"SPLIT(\"n1.txt,n2.txt\", \",\")"));
  host.store.DeclareHashTable(host.callFrame, u"H", 0);
  host.store.PutValue(host.callFrame, u"H", std::vector<ScriptValue>{ScriptValue::string(u"k")},
                      ScriptValue::string(u"h.txt"));
  host.set(u"X", ScriptValue::int32(15));
  host.run(u"DROPFILE(ID, X, 25, DIR, NAMES, H, \"a\" + \".txt\")");
  ASSERT_EQ(dropper.requests.size(), 1u);
  const platform::FileDropRequest& r = dropper.requests[0];
  EXPECT_EQ(r.clientPoint, (DropPoint{15, 25}));
  EXPECT_EQ(r.folder, folder());
  EXPECT_EQ(r.files, (std::vector<std::u16string>{u"n1.txt", u"n2.txt", u"h.txt", u"a.txt"}));
  EXPECT_EQ(dropper.dropsAt, (std::vector<DropPoint>{DropPoint{115, 225}}));
}

TEST_F(BuiltinsFilesDropCall, AnEmptyFolderIsTheCurrentOne) {
  host.run(u"DROPFILE(ID, \"\", \"a.txt\")");
  ASSERT_EQ(dropper.requests.size(), 1u);
  EXPECT_EQ(dropper.requests[0].folder,
            host.platformBundle.files.fullPath(host.platformBundle.files.currentDirectory()));
}

TEST_F(BuiltinsFilesDropCall, AMinimizedWindowIsRestoredFirst) {
  desktop.window(window).iconic = true;
  host.run(u"DROPFILE(ID, DIR, \"a.txt\")");
  EXPECT_FALSE(desktop.window(window).iconic);
  EXPECT_EQ(dropper.requests.size(), 1u);
}

TEST_F(BuiltinsFilesDropCall, NothingIsDroppedWithoutAWindowAPlaceOrAFile) {
  platform::FakeWindow hidden;
  hidden.visible = false;
  host.set(u"HIDDEN", ScriptValue::int32(session.ids.idOf(desktop.add(hidden))));
  const char16_t* calls[] = {
      u"DROPFILE(HIDDEN, DIR, \"a.txt\")",     // not visible
      u"DROPFILE(99, DIR, \"a.txt\")",         // no such ID
      u"DROPFILE(ID, -5, 10, DIR, \"a.txt\")", // a negative point
      u"DROPFILE(ID, DIR, \"\", \" \")",       // no file names
      u"DROPFILE(ID, 400, 10, DIR, \"a.txt\")" // beyond the client area: the dropper does nothing
  };
  for (const char16_t* text : calls) {
    SCOPED_TRACE(u8(text));
    EXPECT_EQ(host.run(text).toDisplayText(), u"");
  }
  EXPECT_EQ(dropper.requests.size(), 1u);  // only the last one reached the dropper
  EXPECT_TRUE(dropper.dropsAt.empty());
}

TEST_F(BuiltinsFilesDropCall, ShellFailuresAreReported) {
  const struct {
    platform::DropStatus status;
    const char16_t* english;
  } cases[] = {
      {platform::DropStatus::NotParsed, u"KansuCall:The system cannot find the file specified."},
      {platform::DropStatus::Failed, u"DropFile:The system cannot find the file specified."},
  };
  for (const auto& c : cases) {
    dropper.answer = {c.status, u"The system cannot find the file specified."};
    const auto e = errorOf([&] { host.run(u"DROPFILE(ID, DIR, \"missing.txt\")"); });
    EXPECT_EQ(e.english, c.english);
    EXPECT_TRUE(e.catchable);
  }
}

TEST_F(BuiltinsFilesDropCall, ABigPointIsASyntaxError) {
  const auto e = errorOf([&] { host.run(u"DROPFILE(ID, 1, 5000000000, DIR, \"a.txt\")"); });
  EXPECT_EQ(e.english, u"SyntaxError-10");
  EXPECT_FALSE(e.catchable);
  EXPECT_TRUE(dropper.requests.empty());
}

#ifndef _WIN32
// Without a desktop the builtin says what it needs.
TEST(BuiltinsFilesDrop, NeedsWindows) {
  testing::FakeBuiltinHost host;
  const auto e = errorOf([&] { host.run(u"DROPFILE(1, \"/tmp\", \"a.txt\")"); });
  EXPECT_EQ(e.english, u"DROPFILE needs Windows");
  EXPECT_TRUE(e.catchable);
}
#endif

}  // namespace
}  // namespace maqo::builtins
