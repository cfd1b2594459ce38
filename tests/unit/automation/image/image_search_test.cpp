// The pure search over pixel buffers: the matching rules of each mode, hit
// order and resumption, the hit limit, and a cross-check of the fast scan
// against a plain position-by-position search on random pictures.
#include <gtest/gtest.h>

#include <random>

#include "automation/image/image_search.h"
#include "tests/unit/automation/image/image_test_pictures.h"

namespace maqo::automation::testing {
namespace {

using Hits = std::vector<std::pair<int, int>>;
const std::map<char, uint32_t> kLegend = {{'.', 0xFFFFFF}, {'#', 0x000000}, {'r', 0xFF0000}, {'g', 0x00FF00},
                                          {'b', 0x0000FF}, {'k', 0x808080}};

const PixelBuffer kIcon = Picture({"#r#", "rgr", "#r#"}, kLegend);

PixelBuffer ScreenWith(int width, int height, uint32_t background, std::initializer_list<std::pair<int, int>> at,
                       const PixelBuffer& icon = kIcon) {
  PixelBuffer screen(width, height, background);
  for (auto [x, y] : at) Paste(screen, icon, x, y);
  return screen;
}

Hits Search(const PixelBuffer& screen, const PixelBuffer& pattern, int mode = 0, uint32_t tolerance = 0, int wanted = 0) {
  return SearchImage(screen, pattern, {mode, tolerance, wanted}).hits;
}

// Every pixel's channels moved by (dr, dg, db).
PixelBuffer Shifted(const PixelBuffer& p, int dr, int dg, int db) {
  PixelBuffer out = p;
  for (uint32_t& px : out.pixels) {
    const int r = std::clamp(static_cast<int>(px >> 16) + dr, 0, 255);
    const int g = std::clamp(static_cast<int>((px >> 8) & 0xFF) + dg, 0, 255);
    const int b = std::clamp(static_cast<int>(px & 0xFF) + db, 0, 255);
    px = static_cast<uint32_t>(r << 16 | g << 8 | b);
  }
  return out;
}

TEST(ImageSearch, FindsIconsInRowOrderWithoutOverlapAndStopsAtTheWantedHit) {
  const PixelBuffer screen = ScreenWith(20, 10, 0xFFFFFF, {{12, 1}, {2, 1}, {5, 6}});
  EXPECT_EQ(Search(screen, kIcon), (Hits{{2, 1}, {12, 1}, {5, 6}}));
  EXPECT_EQ(Search(screen, kIcon, 0, 0, 2), (Hits{{2, 1}, {12, 1}}));
  EXPECT_TRUE(Search(PixelBuffer(2, 2, 0), kIcon).empty());  // template larger than the area

  // A uniform template on a uniform row: hits one template width apart.
  const PixelBuffer plain(3, 1, 0x123456);
  EXPECT_EQ(Search(PixelBuffer(10, 1, 0x123456), plain), (Hits{{0, 0}, {3, 0}, {6, 0}}));
}

TEST(ImageSearch, ToleranceBoundsEachChannelByItsOwnBits) {
  struct Case {
    const char* what;
    int dr, dg, db;
    uint32_t tolerance;
    bool found;
  };
  const Case cases[] = {
      {"exact", 0, 0, 0, 0, true},
      {"1 off, exact asked", 1, 0, 0, 0, false},
      {"BGR1, 1 off each", 1, 1, 1, 65793, true},
      {"BGR1, -1 off each", -1, -1, -1, 65793, true},
      {"BGR1, 2 off each", 2, 2, 2, 65793, false},
      {"R1, red 1 off", 1, 0, 0, 1, true},
      {"R1, green 1 off", 0, 1, 0, 1, false},
      {"R1, blue 1 off", 0, 0, 1, 1, false},
      {"B1, blue 1 off", 0, 0, 1, 0x010000, true},
      {"B1, red 1 off", 1, 0, 0, 0x010000, false},
      {"G2, green 2 off", 0, -2, 0, 0x000200, true},
      {"R8, red anywhere", -255, 0, 0, 255, true},
  };
  for (const Case& c : cases) {
    const PixelBuffer grey = Picture({"kk.", "k.k"}, kLegend);
    PixelBuffer screen(12, 6, 0x000000);
    Paste(screen, Shifted(grey, c.dr, c.dg, c.db), 5, 2);
    EXPECT_EQ(!Search(screen, grey, 0, c.tolerance).empty(), c.found) << c.what;
  }
}

TEST(ImageSearch, CornerColourIsTransparentOnAnyBackground) {
  const PixelBuffer keyed = Picture({"ggg", "g#g", "g#g"}, kLegend);
  for (int corner = 1; corner <= 4; ++corner)
    for (uint32_t background : {0xFFFFFFu, 0x0000FFu}) {
      PixelBuffer screen(10, 8, background);
      screen.set(6, 4, 0), screen.set(6, 5, 0);
      EXPECT_EQ(Search(screen, keyed, corner), (Hits{{5, 3}})) << corner;
      EXPECT_TRUE(Search(screen, keyed, 0).empty());
    }
  // Transparency with a tolerance: key pixels still match anything.
  PixelBuffer screen(10, 8, 0x0000FF);
  screen.set(6, 4, 0x010101), screen.set(6, 5, 0x010101);
  EXPECT_EQ(Search(screen, keyed, 1, 65793), (Hits{{5, 3}}));
  EXPECT_TRUE(Search(screen, keyed, 1, 0).empty());
}

TEST(ImageSearch, PatternModeComparesShapeNotColour) {
  const PixelBuffer icon = Picture({"....", ".##.", ".#..", "...."}, kLegend);
  const PixelBuffer inverted = Picture({"####", "#..#", "#.##", "####"}, kLegend);
  PixelBuffer screen(12, 8, 0x0000FF);
  Paste(screen, inverted, 6, 3);
  EXPECT_EQ(Search(screen, icon, -1), (Hits{{6, 3}}));
  EXPECT_TRUE(Search(screen, icon, 0).empty());
  // A different shape is not found.
  const PixelBuffer other = Picture({"....", ".#..", ".##.", "...."}, kLegend);
  EXPECT_TRUE(Search(screen, other, -1).empty());
  // One pixel wide or high: only the vertical or the horizontal relations.
  const PixelBuffer column = Picture({"#", "#", "."}, kLegend);
  PixelBuffer stripes(5, 3, 0xFFFFFF);
  stripes.set(2, 0, 0x00FF00), stripes.set(2, 1, 0x00FF00);
  EXPECT_EQ(Search(stripes, column, -1), (Hits{{2, 0}}));
}

TEST(ImageSearch, FindAllOnAUniformAreaFillsTheHitList) {
  const PixelBuffer screen(1280, 1024, 0xC0C0C0);
  const ImageSearchResult all = SearchImage(screen, PixelBuffer(2, 2, 0xC0C0C0), {0, 0, 0});
  EXPECT_TRUE(all.hitListFull);
  EXPECT_EQ(all.hits.size(), kMaxImageHits);
  // Exactly as many hits as the list holds is not an overflow.
  const ImageSearchResult fits = SearchImage(PixelBuffer(4096, 1, 0), PixelBuffer(1, 1, 0), {0, 0, 0});
  EXPECT_FALSE(fits.hitListFull);
  EXPECT_EQ(fits.hits.size(), kMaxImageHits);
}

// The plain search the fast one must agree with.
Hits Reference(const PixelBuffer& s, const PixelBuffer& t, int mode, uint32_t tol) {
  // Pixels are 0x00RRGGBB, the tolerance 0x00BBGGRR.
  auto within = [&](uint32_t sp, uint32_t tp) {
    for (int shift = 0; shift < 24; shift += 8) {
      const int a = static_cast<int>((sp >> shift) & 0xFF), b = static_cast<int>((tp >> shift) & 0xFF);
      if (std::abs(a - b) > static_cast<int>((tol >> (16 - shift)) & 0xFF)) return false;
    }
    return true;
  };
  const int kx = mode == 2 || mode == 4 ? t.width - 1 : 0, ky = mode == 3 || mode == 4 ? t.height - 1 : 0;
  auto matches = [&](int x, int y) {
    for (int r = 0; r < t.height; ++r)
      for (int c = 0; c < t.width; ++c) {
        if (mode == -1) {
          const bool both = t.width > 1 && t.height > 1;
          if (t.width > 1 && c < t.width - 1 && (r < t.height - 1 || !both) &&
              (t.at(c, r) == t.at(c + 1, r)) != (s.at(x + c, y + r) == s.at(x + c + 1, y + r)))
            return false;
          if (t.height > 1 && r < t.height - 1 && (c < t.width - 1 || !both) &&
              (t.at(c, r) == t.at(c, r + 1)) != (s.at(x + c, y + r) == s.at(x + c, y + r + 1)))
            return false;
          continue;
        }
        if (mode >= 1 && mode <= 4 && t.at(c, r) == t.at(kx, ky)) continue;
        if (!within(s.at(x + c, y + r), t.at(c, r))) return false;
      }
    return true;
  };
  Hits hits;
  for (int y = 0; y + t.height <= s.height; ++y)
    for (int x = 0; x + t.width <= s.width;)
      if (matches(x, y)) hits.emplace_back(x, y), x += t.width;
      else ++x;
  return hits;
}

TEST(ImageSearch, AgreesWithThePlainSearchOnRandomPictures) {
  std::mt19937 random(12345);
  const uint32_t colours[] = {0x000000, 0x010101, 0x020000, 0xFFFFFF, 0x00FF00};
  for (int round = 0; round < 300; ++round) {
    PixelBuffer screen(3 + static_cast<int>(random() % 20), 1 + static_cast<int>(random() % 8));
    for (uint32_t& p : screen.pixels) p = colours[random() % 3 + (random() % 4 == 0 ? 2 : 0)];
    PixelBuffer t(1 + static_cast<int>(random() % 3), 1 + static_cast<int>(random() % 3));
    const int sx = static_cast<int>(random() % static_cast<unsigned>(std::max(1, screen.width - t.width + 1)));
    const int sy = static_cast<int>(random() % static_cast<unsigned>(std::max(1, screen.height - t.height + 1)));
    for (int r = 0; r < t.height; ++r)
      for (int c = 0; c < t.width; ++c)
        t.set(c, r, sx + c < screen.width && sy + r < screen.height ? screen.at(sx + c, sy + r) : 0);
    const int modes[] = {0, 1, 4, -1};
    const uint32_t tolerances[] = {0, 65793, 0x000002, 0x020000};
    const int mode = modes[round % 4];
    const uint32_t tol = mode == -1 ? 0 : tolerances[(round / 4) % 4];
    EXPECT_EQ(Search(screen, t, mode, tol), Reference(screen, t, mode, tol)) << "round " << round;
  }
}

}  // namespace
}  // namespace maqo::automation::testing
