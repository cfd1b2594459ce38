// The search for a template picture inside a screen picture: pure code over
// two pixel buffers. Positions are tried row by row and, in a row, column by
// column; after a hit the next position tried in that row is one template
// width further on, so hits in one row never overlap.
#pragma once
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/pixel_buffer.h"

namespace maqo::automation {

using platform::PixelBuffer;

// The hit list holds at most this many hits.
inline constexpr size_t kMaxImageHits = 4096;

struct ImageSearchRequest {
  // 0 (and anything not listed): exact colours. 1-4: the template's top-left,
  // top-right, bottom-left or bottom-right pixel is a transparent colour.
  // -1: pattern comparison (which neighbours are equal; colours ignored).
  int mode = 0;
  // 0x00BBGGRR: how far each channel of the screen may differ from the template.
  uint32_t tolerance = 0;
  // Stop when this many hits were found; 0 or less: find all.
  int wantedHits = 1;
};

struct ImageSearchResult {
  std::vector<std::pair<int, int>> hits;  // the template's top-left in the screen picture
  // A further hit was found when the list already held kMaxImageHits.
  bool hitListFull = false;
};

ImageSearchResult SearchImage(const PixelBuffer& screen, const PixelBuffer& pattern, const ImageSearchRequest& request);

}  // namespace maqo::automation
