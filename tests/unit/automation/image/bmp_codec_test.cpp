// BMP reading and writing, and the template file name rule.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "automation/image/bmp_codec.h"
#include "automation/image/template_cache.h"
#include "tests/unit/automation/image/image_test_pictures.h"

namespace maqo::automation::testing {
namespace {

using platform::PixelBuffer;

TEST(BmpCodec, EachDepthReadsBackTheColoursItCanHold) {
  // Black, white, pure red, green and blue survive every depth but 1 bit,
  // which keeps black and white.
  const PixelBuffer picture = Picture({"#.rgb", "bgr.#", "#####"}, {{'#', 0x000000}, {'.', 0xFFFFFF},
                                                                      {'r', 0xFF0000}, {'g', 0x00FF00}, {'b', 0x0000FF}});
  for (int bits : {32, 24, 16, 8, 4}) {
    const std::optional<PixelBuffer> back = ReadBmp(WriteBmp(picture, bits));
    ASSERT_TRUE(back) << bits;
    EXPECT_EQ(back->width, 5);
    EXPECT_EQ(back->height, 3);
    EXPECT_EQ(back->pixels, picture.pixels) << bits;
  }
  const PixelBuffer mono = Picture({"#.#..", "....#"}, {{'#', 0x000000}, {'.', 0xFFFFFF}});
  EXPECT_EQ(ReadBmp(WriteBmp(mono, 1))->pixels, mono.pixels);
  // An odd colour at 24 bits is exact; an unknown depth writes 24 bits.
  const PixelBuffer odd(3, 1, 0x123456);
  EXPECT_EQ(ReadBmp(WriteBmp(odd, 7))->pixels, odd.pixels);
}

TEST(BmpCodec, ReadsTopDownRowsAndRejectsWhatItCannotRead) {
  const PixelBuffer picture = Picture({"ab", "cd"}, {{'a', 1}, {'b', 2}, {'c', 3}, {'d', 4}});
  std::string bytes = WriteBmp(picture, 32);
  // Negative height: the same rows stored top row first.
  std::string topDown = bytes;
  const int32_t negative = -2;
  std::memcpy(&topDown[22], &negative, 4);
  std::swap_ranges(topDown.begin() + 54, topDown.begin() + 62, topDown.begin() + 62);
  EXPECT_EQ(ReadBmp(topDown)->pixels, picture.pixels);

  EXPECT_FALSE(ReadBmp(""));
  EXPECT_FALSE(ReadBmp("PNG not a bitmap at all, no header here"));
  EXPECT_FALSE(ReadBmp(bytes.substr(0, bytes.size() - 1)));  // cut short
  std::string rle = bytes;
  rle[30] = 1;  // run-length compression
  EXPECT_FALSE(ReadBmp(rle));
}

TEST(TemplateFileNames, TheLastComponentsExtensionBecomesBmp) {
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"pic.png", u"pic.BMP"},           {u"pic", u"pic.BMP"},
      {u"pic.bmp", u"pic.BMP"},           {u"C:\\dir.v2\\pic", u"C:\\dir.v2\\pic.BMP"},
      {u"dir.v2/pic.gif", u"dir.v2/pic.BMP"}, {u"a.b.c", u"a.b.BMP"},
  };
  for (const auto& [name, file] : cases) EXPECT_EQ(TemplateFileName(name), file);
}

}  // namespace
}  // namespace maqo::automation::testing
