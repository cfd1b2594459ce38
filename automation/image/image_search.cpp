#include "automation/image/image_search.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace maqo::automation {

namespace {

// Records hits and says when the search is over.
class HitCollector {
 public:
  HitCollector(int wanted, ImageSearchResult& out) : wanted_(wanted), out_(out) {}
  // True when the search should stop.
  bool add(int x, int y) {
    if (out_.hits.size() >= kMaxImageHits) {
      out_.hitListFull = true;
      return true;
    }
    out_.hits.emplace_back(x, y);
    return wanted_ > 0 && out_.hits.size() >= static_cast<size_t>(wanted_);
  }

 private:
  int wanted_;
  ImageSearchResult& out_;
};

// Positions row by row; in each row the matcher names the next position whose
// anchor fits, and the full comparison decides. A hit skips one template width.
template <typename Matcher>
void scanPositions(const Matcher& m, int lastX, int lastY, int templateWidth, HitCollector& hits) {
  for (int y = 0; y <= lastY; ++y) {
    int x = 0;
    while (x <= lastX) {
      x = m.nextCandidate(x, y, lastX);
      if (x < 0) break;
      if (m.matchesAt(x, y)) {
        if (hits.add(x, y)) return;
        x += templateWidth;
      } else {
        ++x;
      }
    }
  }
}

// The first index in [from, to] whose pixel equals colour, or -1.
int findEqual(const uint32_t* row, int from, int to, uint32_t colour) {
  int i = from;
#if defined(__SSE2__)
  const __m128i key = _mm_set1_epi32(static_cast<int>(colour));
  for (; i + 3 <= to; i += 4) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + i));
    const int mask = _mm_movemask_epi8(_mm_cmpeq_epi32(v, key));
    if (mask != 0) return i + (__builtin_ctz(static_cast<unsigned>(mask)) >> 2);
  }
#endif
  for (; i <= to; ++i)
    if (row[i] == colour) return i;
  return -1;
}

bool withinBounds(uint32_t pixel, uint32_t low, uint32_t high) {
  for (int shift = 0; shift < 24; shift += 8) {
    const uint32_t v = (pixel >> shift) & 0xFF;
    if (v < ((low >> shift) & 0xFF) || v > ((high >> shift) & 0xFF)) return false;
  }
  return true;
}

#if defined(__SSE2__)
// A 16-bit mask with the four bits of every pixel set whose bytes all lie
// within [low, high] (unsigned, byte by byte).
inline int withinMask(__m128i v, __m128i low, __m128i high) {
  const __m128i aboveLow = _mm_cmpeq_epi8(_mm_max_epu8(v, low), v);
  const __m128i belowHigh = _mm_cmpeq_epi8(_mm_min_epu8(v, high), v);
  return _mm_movemask_epi8(_mm_and_si128(aboveLow, belowHigh));
}
#endif

// The first index in [from, to] whose pixel lies within the bounds, or -1.
int findWithin(const uint32_t* row, int from, int to, uint32_t low, uint32_t high) {
  int i = from;
#if defined(__SSE2__)
  const __m128i lo = _mm_set1_epi32(static_cast<int>(low)), hi = _mm_set1_epi32(static_cast<int>(high));
  for (; i + 3 <= to; i += 4) {
    const int m = withinMask(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row + i)), lo, hi);
    const unsigned whole = static_cast<unsigned>(m & (m >> 1) & (m >> 2) & (m >> 3) & 0x1111);
    if (whole != 0) return i + (__builtin_ctz(whole) >> 2);
  }
#endif
  for (; i <= to; ++i)
    if (withinBounds(row[i], low, high)) return i;
  return -1;
}

// Every pixel of the row within its own bounds.
bool rowWithin(const uint32_t* row, const uint32_t* low, const uint32_t* high, int count) {
  int i = 0;
#if defined(__SSE2__)
  for (; i + 4 <= count; i += 4) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + i));
    const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(low + i));
    const __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(high + i));
    if (withinMask(v, lo, hi) != 0xFFFF) return false;
  }
#endif
  for (; i < count; ++i)
    if (!withinBounds(row[i], low[i], high[i])) return false;
  return true;
}

// The index of the template pixel whose colour is rarest among the pixels
// that take part (first such in row order): background colours are common,
// so comparing this pixel first rejects most positions at once. -1 when no
// pixel takes part.
template <typename TakesPart>
int rarestPixel(const PixelBuffer& pattern, TakesPart takesPart) {
  std::unordered_map<uint32_t, int> counts;
  for (size_t i = 0; i < pattern.pixels.size(); ++i)
    if (takesPart(i)) ++counts[pattern.pixels[i]];
  int best = -1, bestCount = 0;
  for (size_t i = 0; i < pattern.pixels.size(); ++i) {
    if (!takesPart(i)) continue;
    const int count = counts[pattern.pixels[i]];
    if (best < 0 || count < bestCount) best = static_cast<int>(i), bestCount = count;
  }
  return best;
}

class ExactMatcher {
 public:
  ExactMatcher(const PixelBuffer& screen, const PixelBuffer& pattern) : screen_(screen), pattern_(pattern) {
    const int anchor = rarestPixel(pattern, [](size_t) { return true; });
    ax_ = anchor % pattern.width;
    ay_ = anchor / pattern.width;
    colour_ = pattern.pixels[static_cast<size_t>(anchor)];
  }
  int nextCandidate(int from, int y, int lastX) const {
    const int found = findEqual(screen_.row(y + ay_), from + ax_, lastX + ax_, colour_);
    return found < 0 ? -1 : found - ax_;
  }
  bool matchesAt(int x, int y) const {
    const size_t bytes = static_cast<size_t>(pattern_.width) * sizeof(uint32_t);
    for (int r = 0; r < pattern_.height; ++r)
      if (std::memcmp(screen_.row(y + r) + x, pattern_.row(r), bytes) != 0) return false;
    return true;
  }

 private:
  const PixelBuffer& screen_;
  const PixelBuffer& pattern_;
  int ax_ = 0, ay_ = 0;
  uint32_t colour_ = 0;
};

// Each template pixel gives per-channel bounds; a transparent pixel's bounds
// take any colour. Serves tolerance and the transparent modes alike.
class BoundsMatcher {
 public:
  // tolerance: per channel in the pixels' own layout, 0x00RRGGBB.
  BoundsMatcher(const PixelBuffer& screen, const PixelBuffer& pattern, int corner, uint32_t tolerance)
      : screen_(screen), width_(pattern.width), height_(pattern.height), low_(pattern.pixels.size()),
        high_(pattern.pixels.size()) {
    const bool keyed = corner >= 1 && corner <= 4;
    const int kx = corner == 2 || corner == 4 ? pattern.width - 1 : 0;
    const int ky = corner == 3 || corner == 4 ? pattern.height - 1 : 0;
    const uint32_t key = keyed ? pattern.at(kx, ky) : 0;
    for (size_t i = 0; i < pattern.pixels.size(); ++i) {
      const uint32_t p = pattern.pixels[i];
      if (keyed && p == key) {
        low_[i] = 0, high_[i] = 0x00FFFFFF;
        continue;
      }
      uint32_t lo = 0, hi = 0;
      for (int shift = 0; shift < 24; shift += 8) {
        const int v = static_cast<int>((p >> shift) & 0xFF);
        const int t = static_cast<int>((tolerance >> shift) & 0xFF);
        lo |= static_cast<uint32_t>(std::max(v - t, 0)) << shift;
        hi |= static_cast<uint32_t>(std::min(v + t, 255)) << shift;
      }
      low_[i] = lo, high_[i] = hi;
    }
    anchor_ = rarestPixel(pattern, [&](size_t i) { return !(keyed && pattern.pixels[i] == key); });
    if (anchor_ >= 0) ax_ = anchor_ % width_, ay_ = anchor_ / width_;
  }
  int nextCandidate(int from, int y, int lastX) const {
    if (anchor_ < 0) return from;  // all transparent: every position fits
    const size_t a = static_cast<size_t>(anchor_);
    const int found = findWithin(screen_.row(y + ay_), from + ax_, lastX + ax_, low_[a], high_[a]);
    return found < 0 ? -1 : found - ax_;
  }
  bool matchesAt(int x, int y) const {
    for (int r = 0; r < height_; ++r) {
      const size_t offset = static_cast<size_t>(r) * static_cast<size_t>(width_);
      if (!rowWithin(screen_.row(y + r) + x, low_.data() + offset, high_.data() + offset, width_)) return false;
    }
    return true;
  }

 private:
  const PixelBuffer& screen_;
  int width_, height_;
  std::vector<uint32_t> low_, high_;
  int anchor_ = -1, ax_ = 0, ay_ = 0;
};

// Which neighbours are equal: right[y * width + x] says pixel (x, y) equals
// (x + 1, y), down[...] that it equals (x, y + 1).
struct NeighbourRelations {
  int width = 0;
  std::vector<uint8_t> right, down;
  explicit NeighbourRelations(const PixelBuffer& p)
      : width(p.width), right(p.pixels.size(), 0), down(p.pixels.size(), 0) {
    for (int y = 0; y < p.height; ++y) {
      const uint32_t* row = p.row(y);
      uint8_t* r = right.data() + static_cast<size_t>(y) * static_cast<size_t>(p.width);
      for (int x = 0; x + 1 < p.width; ++x) r[x] = row[x] == row[x + 1];
      if (y + 1 < p.height) {
        const uint32_t* next = p.row(y + 1);
        uint8_t* d = down.data() + static_cast<size_t>(y) * static_cast<size_t>(p.width);
        for (int x = 0; x < p.width; ++x) d[x] = row[x] == next[x];
      }
    }
  }
  const uint8_t* rightRow(int y) const { return right.data() + static_cast<size_t>(y) * static_cast<size_t>(width); }
  const uint8_t* downRow(int y) const { return down.data() + static_cast<size_t>(y) * static_cast<size_t>(width); }
};

// Shape only: for every template pixel (x, y) with x < width - 1 and
// y < height - 1, the screen's pixel equals its right neighbour exactly when
// the template's does, and likewise its lower neighbour. A template one pixel
// wide compares only the vertical relations, one pixel high only the
// horizontal ones.
class PatternMatcher {
 public:
  PatternMatcher(const PixelBuffer& screen, const PixelBuffer& pattern) : screen_(screen), pattern_(pattern) {
    const int w = pattern.width, h = pattern.height;
    useRight_ = w > 1;
    useDown_ = h > 1;
    rows_ = h > 1 ? h - 1 : 1;
    columns_ = w > 1 ? w - 1 : 1;
    if (!useRight_ && !useDown_) return;
    // Anchor on a relation where the template changes colour: the screen's
    // plain areas are equal everywhere, so that rejects most positions.
    const std::vector<uint8_t>& anchorMap = useRight_ ? pattern_.right : pattern_.down;
    anchorInRight_ = useRight_;
    for (int y = 0; y < rows_ && !anchorFound_; ++y)
      for (int x = 0; x < columns_; ++x)
        if (anchorMap[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] == 0) {
          ax_ = x, ay_ = y, anchorFound_ = true;
          break;
        }
    anchorValue_ = anchorFound_ ? 0 : 1;
  }
  int nextCandidate(int from, int y, int lastX) const {
    if (!useRight_ && !useDown_) return from;
    const uint8_t* row = anchorInRight_ ? screen_.rightRow(y + ay_) : screen_.downRow(y + ay_);
    const void* found = std::memchr(row + from + ax_, anchorValue_, static_cast<size_t>(lastX - from + 1));
    return found == nullptr ? -1 : static_cast<int>(static_cast<const uint8_t*>(found) - row) - ax_;
  }
  bool matchesAt(int x, int y) const {
    const size_t count = static_cast<size_t>(columns_);
    for (int r = 0; r < rows_; ++r) {
      if (useRight_ && std::memcmp(screen_.rightRow(y + r) + x, pattern_.rightRow(r), count) != 0) return false;
      if (useDown_ && std::memcmp(screen_.downRow(y + r) + x, pattern_.downRow(r), count) != 0) return false;
    }
    return true;
  }

 private:
  NeighbourRelations screen_;
  NeighbourRelations pattern_;
  bool useRight_ = false, useDown_ = false, anchorInRight_ = true, anchorFound_ = false;
  int rows_ = 1, columns_ = 1, ax_ = 0, ay_ = 0;
  int anchorValue_ = 1;
};

}  // namespace

ImageSearchResult SearchImage(const PixelBuffer& screen, const PixelBuffer& pattern, const ImageSearchRequest& request) {
  ImageSearchResult result;
  if (screen.empty() || pattern.empty() || pattern.width > screen.width || pattern.height > screen.height) return result;
  HitCollector hits(request.wantedHits, result);
  const int lastX = screen.width - pattern.width, lastY = screen.height - pattern.height;
  // The tolerance is 0x00BBGGRR (red lowest), pixels 0x00RRGGBB: swap red and blue.
  const uint32_t t = request.tolerance;
  const uint32_t tolerance = (t & 0xFF) << 16 | (t & 0xFF00) | ((t >> 16) & 0xFF);
  if (request.mode == -1) {
    scanPositions(PatternMatcher(screen, pattern), lastX, lastY, pattern.width, hits);
  } else if (tolerance != 0 || (request.mode >= 1 && request.mode <= 4)) {
    scanPositions(BoundsMatcher(screen, pattern, request.mode, tolerance), lastX, lastY, pattern.width, hits);
  } else {
    scanPositions(ExactMatcher(screen, pattern), lastX, lastY, pattern.width, hits);
  }
  return result;
}

}  // namespace maqo::automation
