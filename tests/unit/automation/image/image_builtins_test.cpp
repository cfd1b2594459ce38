// CHKIMG, PEEKCOLOR and SAVEIMG against the in-memory screen, the fake
// desktop and input (for MOUSEORG), with template files in a temporary folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "automation/image/bmp_codec.h"
#include "automation/image/image_builtins.h"
#include "automation/image/image_session.h"
#include "automation/image/jpeg_writer.h"
#include "automation/image/template_cache.h"
#include "platform/fake/fake_screen_capture.h"
#include "platform/text_codec.h"
#include "tests/unit/automation/image/image_test_pictures.h"
#include "tests/unit/automation/input/input_fixture.h"
#include "tests/unit/test_library.h"

namespace maqo::automation::testing {
namespace {

namespace fs = std::filesystem;
using platform::PixelBuffer;
const std::map<char, uint32_t> kLegend = {{'.', 0xFFFFFF}, {'#', 0x000000}, {'r', 0xFF0000}, {'g', 0x00FF00}};
const PixelBuffer kIcon = Picture({"#r#", "rgr", "#r#"}, kLegend);

class ImageTest : public InputTest {
 protected:
  platform::FakeScreenCapture capture;
  ScopedScreenCapture captureInstalled{capture};
  fs::path folder = fs::temp_directory_path() / ("maqo_image_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                                 "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());

  ImageTest() { fs::create_directories(folder); }
  ~ImageTest() override { fs::remove_all(folder); }

  std::u16string path(const std::string& name) { return utf8ToUtf16((folder / name).string()); }
  void writeFile(const std::string& name, const std::string& bytes) {
    std::ofstream(folder / name, std::ios::binary) << bytes;
  }
  std::string readFile(const std::string& name) {
    std::ifstream in(folder / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  double value(std::u16string_view expression) { return inputHost.run(expression).toDouble(); }
  TemplateCache& cache() { return inputHost.familyStates.get<TemplateCache>(); }
};

TEST_F(ImageTest, ChkimgFindsBothTwinsLeftFirstAndReportsEveryHit) {
  Paste(capture.screen, kIcon, 30, 10);
  Paste(capture.screen, kIcon, 10, 10);
  writeFile("icon.bmp", WriteBmp(kIcon, 24));
  EXPECT_EQ(value(u"0") + run(&Chkimg, u"CHKIMG", {path("icon.png"), u"0", u"", u"", u"", u"", u"-1"}).toDouble(), 2);
  EXPECT_EQ(value(u"ALL_IMG_X[0]"), 10);
  EXPECT_EQ(value(u"ALL_IMG_X[1]"), 30);
  EXPECT_EQ(value(u"ALL_IMG_Y[1]"), 10);
  EXPECT_EQ(value(u"G_IMG_X"), 30);  // the last hit

  // The first hit only, within an area that starts past the left twin.
  EXPECT_EQ(run(&Chkimg, u"CHKIMG", {path("icon.bmp"), u"0", u"20", u"0"}).toDouble(), -1);
  EXPECT_EQ(value(u"G_IMG_X"), 30);
  // A third hit does not exist: FALSE, and the area offset still applies.
  EXPECT_EQ(run(&Chkimg, u"CHKIMG", {path("icon.bmp"), u"0", u"", u"", u"", u"", u"3"}).toDouble(), 0);
  // Not found anywhere: FALSE and the marker coordinates.
  capture.screen = PixelBuffer(64, 48, 0xFFFFFF);
  EXPECT_EQ(run(&Chkimg, u"CHKIMG", {path("icon.bmp")}).toDouble(), 0);
  EXPECT_EQ(value(u"G_IMG_X"), -999999);
}

TEST_F(ImageTest, ChkimgReadsATemplateFileOnceUntilItChanges) {
  Paste(capture.screen, kIcon, 5, 5);
  writeFile("icon.bmp", WriteBmp(kIcon, 24));
  for (int i = 0; i < 5; ++i) EXPECT_EQ(run(&Chkimg, u"CHKIMG", {path("icon.bmp")}).toDouble(), -1);
  EXPECT_EQ(cache().fileReads(), 1);
  writeFile("icon.bmp", WriteBmp(kIcon, 32));  // another size: the file changed
  EXPECT_EQ(run(&Chkimg, u"CHKIMG", {path("icon.bmp")}).toDouble(), -1);
  EXPECT_EQ(cache().fileReads(), 2);
  // The end of a run empties the cache: the next run reads the file afresh.
  engine::RunHookContext runEnd{inputHost.familyStates, inputHost.platform()};
  tests::TestLibrary().endRun(runEnd);
  EXPECT_EQ(run(&Chkimg, u"CHKIMG", {path("icon.bmp")}).toDouble(), -1);
  EXPECT_EQ(cache().fileReads(), 3);
}

TEST_F(ImageTest, ChkimgReportsItsErrors) {
  auto message = [&](std::initializer_list<std::u16string_view> args) -> std::u16string {
    try {
      run(&Chkimg, u"CHKIMG", args);
    } catch (const engine::ScriptError& e) {
      return e.message().english;
    }
    return u"(no error)";
  };
  writeFile("icon.bmp", WriteBmp(kIcon, 24));
  writeFile("bad.bmp", "BM but not really a bitmap");
  EXPECT_EQ(message({path("icon.bmp"), u"0", u"", u"", u"", u"", u"1", u"16777215"}),
            u"CHKIMG: Value of the 8 argument is wrong");
  EXPECT_EQ(message({path("icon.bmp"), u"0", u"", u"", u"", u"", u"1", u"16777214"}), u"(no error)");
  EXPECT_EQ(message({path("missing.png")}), u"Not Found: " + path("missing.BMP"));
  EXPECT_EQ(message({path("bad.bmp")}), u"It is the BMP file incorrect: " + path("bad.BMP"));
  // Find-all over a uniform screen with a uniform template overflows the hit list.
  capture.desktop = {0, 0, 100, 50};
  capture.screen = PixelBuffer(100, 50, 0xFFFFFF);
  writeFile("plain.bmp", WriteBmp(PixelBuffer(1, 1, 0xFFFFFF), 24));
  EXPECT_EQ(message({path("plain.bmp"), u"0", u"", u"", u"", u"", u"-1"}),
            u"CHKIMG: Number of Hit exceeded maximum value: 4096");
  writeFile("tall.bmp", WriteBmp(PixelBuffer(1, 1082, 0), 24));
  EXPECT_EQ(message({path("tall.bmp")}), u"CHKIMG: Specified image is too large");
}

TEST_F(ImageTest, ChkimgAfterMouseorgSearchesTheWindowAndAnswersRelativeToIt) {
  capture.desktop = {0, 0, 200, 150};
  capture.screen = PixelBuffer(200, 150, 0xFFFFFF);
  const WindowHandle cover = window(u"Cover");  // above the canvas in z order, away from it for now
  desktop.window(cover).rect = {160, 130, 200, 150};
  const WindowHandle h = window(u"Canvas");
  desktop.window(h).rect = {50, 40, 150, 120};
  Paste(capture.screen, kIcon, 20, 20);   // outside the window
  Paste(capture.screen, kIcon, 100, 90);  // inside: 50,50 of the window, 46,30 of its client area
  writeFile("icon.bmp", WriteBmp(kIcon, 24));
  const int id = getid(u"Canvas");
  run(&Mouseorg, u"MOUSEORG", {num(id)});
  EXPECT_EQ(run(&Chkimg, u"CHKIMG", {path("icon.bmp"), u"0", u"", u"", u"", u"", u"-1"}).toDouble(), 1);
  EXPECT_EQ(value(u"G_IMG_X"), 50);
  EXPECT_EQ(value(u"G_IMG_Y"), 50);
  run(&Mouseorg, u"MOUSEORG", {num(id), u"1"});
  EXPECT_EQ(run(&Chkimg, u"CHKIMG", {path("icon.bmp")}).toDouble(), -1);
  EXPECT_EQ(value(u"G_IMG_X"), 46);
  EXPECT_EQ(value(u"G_IMG_Y"), 30);

  // Covered by another window above it: the window paints itself instead.
  desktop.window(cover).rect = {0, 0, 60, 60};
  PixelBuffer painting(100, 80, 0x00FF00);
  Paste(painting, kIcon, 10, 12);
  capture.paintings[h] = {painting, 4, 20};
  capture.log.clear();
  run(&Mouseorg, u"MOUSEORG", {num(id)});
  EXPECT_EQ(run(&Chkimg, u"CHKIMG", {path("icon.bmp")}).toDouble(), -1);
  EXPECT_EQ(value(u"G_IMG_X"), 10);
  EXPECT_EQ(capture.log, (std::vector<std::string>{"paint " + std::to_string(h) + " window 100x80"}));
  // MORG_FORE reads the screen whatever covers it.
  run(&Mouseorg, u"MOUSEORG", {num(id), u"0", u"1"});
  EXPECT_EQ(run(&Chkimg, u"CHKIMG", {path("icon.bmp")}).toDouble(), -1);
  EXPECT_EQ(value(u"G_IMG_X"), 50);
}

TEST_F(ImageTest, ChkimgSearchesScreensTallerThan4097Rows) {
  capture.desktop = {0, 0, 16, 5000};
  capture.screen = PixelBuffer(16, 5000, 0xFFFFFF);
  Paste(capture.screen, kIcon, 4, 4990);
  writeFile("icon.bmp", WriteBmp(kIcon, 24));
  EXPECT_EQ(run(&Chkimg, u"CHKIMG", {path("icon.bmp")}).toDouble(), -1);
  EXPECT_EQ(value(u"G_IMG_Y"), 4990);
}

TEST_F(ImageTest, PeekcolorReadsOnePixelInEachForm) {
  capture.screen.set(7, 9, 0xFF0000);
  capture.screen.set(8, 9, 0x123456);
  const std::pair<std::u16string, double> forms[] = {{u"0", 255}, {u"3", 0xFF0000}, {u"4", 255}, {u"5", 0}, {u"6", 0}};
  for (const auto& [form, expected] : forms)
    EXPECT_EQ(run(&Peekcolor, u"PEEKCOLOR", {u"7", u"9", form}).toDouble(), expected);
  EXPECT_EQ(run(&Peekcolor, u"PEEKCOLOR", {u"8", u"9"}).toDouble(), 0x563412);
  EXPECT_EQ(run(&Peekcolor, u"PEEKCOLOR", {u"64", u"0"}).toDouble(), -1);  // off the desktop
  EXPECT_EQ(run(&Peekcolor, u"PEEKCOLOR", {u"-1", u"0"}).toDouble(), -1);
}

TEST_F(ImageTest, PeekcolorOnTheClipboardStaysInsideTheBitmap) {
  capture.clipboard = PixelBuffer(4, 3, 0x00FF00);
  EXPECT_EQ(run(&Peekcolor, u"PEEKCOLOR", {u"3", u"2", u"3", u"1"}).toDouble(), 0x00FF00);
  // Inside the desktop but outside the bitmap: -1, never a read past it.
  EXPECT_EQ(run(&Peekcolor, u"PEEKCOLOR", {u"4", u"2", u"3", u"1"}).toDouble(), -1);
  EXPECT_EQ(run(&Peekcolor, u"PEEKCOLOR", {u"1", u"30", u"3", u"1"}).toDouble(), -1);
  capture.clipboard.reset();
  EXPECT_EQ(run(&Peekcolor, u"PEEKCOLOR", {u"0", u"0", u"0", u"1"}).toDouble(), -1);
}

TEST_F(ImageTest, SaveimgWritesTheScreenAndARegionThatChkimgFindsAgain) {
  Paste(capture.screen, kIcon, 21, 13);
  run(&Saveimg, u"SAVEIMG", {path("shot")});
  const std::optional<PixelBuffer> shot = ReadBmp(readFile("shot.bmp"));
  ASSERT_TRUE(shot);
  EXPECT_EQ(shot->width, 64);
  EXPECT_EQ(shot->height, 48);
  EXPECT_EQ(shot->pixels, capture.screen.pixels);

  run(&Saveimg, u"SAVEIMG", {path("part.BMP."), u"0", u"21", u"13", u"3", u"3"});
  EXPECT_EQ(ReadBmp(readFile("part.BMP"))->pixels, kIcon.pixels);
  EXPECT_EQ(run(&Chkimg, u"CHKIMG", {path("part")}).toDouble(), -1);
  EXPECT_EQ(value(u"G_IMG_X"), 21);
  EXPECT_EQ(value(u"G_IMG_Y"), 13);

  // 16 bits per pixel on request; the empty name puts the picture on the clipboard.
  run(&Saveimg, u"SAVEIMG", {path("deep"), u"0", u"0", u"0", u"2", u"2", u"0", u"-16"});
  EXPECT_EQ(readFile("deep.bmp")[28], 16);
  run(&Saveimg, u"SAVEIMG", {u"", u"0", u"21", u"13", u"3", u"3"});
  ASSERT_TRUE(capture.clipboard);
  EXPECT_EQ(capture.clipboard->pixels, kIcon.pixels);
}

TEST_F(ImageTest, SaveimgWritesJpegWithTheAskedQuality) {
  if (!JpegAvailable()) GTEST_SKIP() << "this build has no JPEG encoder";
  for (size_t i = 0; i < capture.screen.pixels.size(); ++i) capture.screen.pixels[i] = static_cast<uint32_t>(i * 2654435761u) & 0xFFFFFF;
  run(&Saveimg, u"SAVEIMG", {path("low"), u"0", u"", u"", u"", u"", u"0", u"10"});
  run(&Saveimg, u"SAVEIMG", {path("high.JPEG"), u"0", u"", u"", u"", u"", u"0", u"90"});
  const std::string low = readFile("low.jpg"), high = readFile("high.JPEG");
  ASSERT_GE(low.size(), 2u);
  EXPECT_EQ(low.substr(0, 2), "\xFF\xD8");
  EXPECT_LT(low.size(), high.size());
}

}  // namespace
}  // namespace maqo::automation::testing
