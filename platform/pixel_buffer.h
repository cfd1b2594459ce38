// A picture as rows of 32-bit pixels, top row first. Each pixel is
// 0x00RRGGBB as a number, so its bytes in memory are blue, green, red and a
// fourth byte that is always 0 (kept 0 so that rows compare with memcmp).
// Captures, clipboard bitmaps and BMP files all become this one format.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace maqo::platform {

struct PixelBuffer {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // width * height, row after row

  PixelBuffer() = default;
  PixelBuffer(int w, int h, uint32_t fill = 0)
      : width(w), height(h), pixels(static_cast<size_t>(w) * static_cast<size_t>(h), fill & 0x00FFFFFFu) {}

  bool empty() const { return width <= 0 || height <= 0; }
  uint32_t* row(int y) { return pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width); }
  const uint32_t* row(int y) const { return pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width); }
  uint32_t at(int x, int y) const { return row(y)[x]; }
  void set(int x, int y, uint32_t rgb) { row(y)[x] = rgb & 0x00FFFFFFu; }

  // The part at (x, y), w x h; pixels outside the picture are black.
  PixelBuffer crop(int x, int y, int w, int h) const {
    PixelBuffer out(w, h, 0);
    const int from = std::max(0, -x), to = std::min(w, width - x);  // the columns inside
    for (int r = 0; r < h && from < to; ++r)
      if (y + r >= 0 && y + r < height) std::copy_n(row(y + r) + x + from, to - from, out.row(r) + from);
    return out;
  }
};

}  // namespace maqo::platform
