// Small pictures for the image tests, drawn as text: each character is one
// pixel, its colour taken from a legend.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "platform/pixel_buffer.h"

namespace maqo::automation::testing {

inline platform::PixelBuffer Picture(const std::vector<std::string>& rows, const std::map<char, uint32_t>& legend) {
  platform::PixelBuffer p(rows.empty() ? 0 : static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) p.set(x, y, legend.at(rows[static_cast<size_t>(y)][static_cast<size_t>(x)]));
  return p;
}

// Copies picture into target with its top-left at (x, y).
inline void Paste(platform::PixelBuffer& target, const platform::PixelBuffer& picture, int x, int y) {
  for (int r = 0; r < picture.height; ++r)
    for (int c = 0; c < picture.width; ++c) target.set(x + c, y + r, picture.at(c, r));
}

}  // namespace maqo::automation::testing
