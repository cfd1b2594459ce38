// BMP files read into and written from pixel buffers, without the platform:
// 1-, 4- and 8-bit palette pictures, 16-bit (5-5-5 or bit fields), 24- and
// 32-bit; bottom-up and top-down rows; no run-length compression.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "platform/pixel_buffer.h"

namespace maqo::automation {

// The picture of a BMP file's bytes; nothing when they are not a BMP this
// reader understands, or are cut short.
std::optional<platform::PixelBuffer> ReadBmp(std::string_view bytes);

// A BMP file of the picture with 32, 24, 16 (5-5-5), 8 (a 3-3-2 colour
// palette), 4 (the 16 standard colours) or 1 (black and white) bits per
// pixel; any other depth writes 24 bits.
std::string WriteBmp(const platform::PixelBuffer& picture, int bitsPerPixel);

}  // namespace maqo::automation
