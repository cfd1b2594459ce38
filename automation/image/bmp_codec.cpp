#include "automation/image/bmp_codec.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace maqo::automation {

using platform::PixelBuffer;

namespace {

uint32_t le16(std::string_view b, size_t at) {
  return static_cast<uint8_t>(b[at]) | static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8;
}
uint32_t le32(std::string_view b, size_t at) { return le16(b, at) | le16(b, at + 2) << 16; }

void put16(std::string& out, uint32_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void put32(std::string& out, uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

// The value of a bit-field channel scaled to 0..255.
uint32_t channel(uint32_t pixel, uint32_t mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (((mask >> shift) & 1) == 0) ++shift;
  const uint32_t max = mask >> shift;
  return (((pixel & mask) >> shift) * 255 + max / 2) / max;
}

size_t rowBytes(int width, int bits) { return ((static_cast<size_t>(width) * static_cast<size_t>(bits) + 31) / 32) * 4; }

// The 16 standard colours of a 4-bit picture, 0x00RRGGBB.
constexpr std::array<uint32_t, 16> kStandardColours = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

int nearestStandard(uint32_t rgb) {
  int best = 0;
  int64_t bestDistance = INT64_MAX;
  for (int i = 0; i < 16; ++i) {
    int64_t d = 0;
    for (int shift = 0; shift < 24; shift += 8) {
      const int64_t diff = static_cast<int64_t>((rgb >> shift) & 0xFF) - ((kStandardColours[i] >> shift) & 0xFF);
      d += diff * diff;
    }
    if (d < bestDistance) best = i, bestDistance = d;
  }
  return best;
}

}  // namespace

std::optional<PixelBuffer> ReadBmp(std::string_view b) {
  if (b.size() < 26 || b[0] != 'B' || b[1] != 'M') return std::nullopt;
  const size_t dataOffset = le32(b, 10);
  const size_t headerSize = le32(b, 14);
  int64_t width = 0, height = 0;
  uint32_t bits = 0, compression = 0, paletteCount = 0;
  size_t paletteEntry = 4;
  if (headerSize == 12) {  // the old core header
    width = le16(b, 18);
    height = static_cast<int16_t>(le16(b, 20));
    bits = le16(b, 24);
    paletteEntry = 3;
  } else if (headerSize >= 40 && b.size() >= 14 + 40) {
    width = static_cast<int32_t>(le32(b, 18));
    height = static_cast<int32_t>(le32(b, 22));
    bits = le16(b, 28);
    compression = le32(b, 30);
    paletteCount = le32(b, 46);
  } else {
    return std::nullopt;
  }
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (width <= 0 || height <= 0 || width > 65536 || height > 65536) return std::nullopt;
  if (compression != 0 && compression != 3) return std::nullopt;  // run-length and embedded formats
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return std::nullopt;

  // Bit-field masks: after the 40-byte header (BI_BITFIELDS) or inside a larger one.
  uint32_t red = 0x00FF0000, green = 0x0000FF00, blue = 0x000000FF;
  if (bits == 16) red = 0x7C00, green = 0x03E0, blue = 0x001F;
  size_t paletteAt = 14 + headerSize;
  if (compression == 3) {
    if (b.size() < 14 + 40 + 12) return std::nullopt;
    red = le32(b, 54), green = le32(b, 58), blue = le32(b, 62);
    if (headerSize == 40) paletteAt += 12;
  }

  std::vector<uint32_t> palette;
  if (bits <= 8) {
    const size_t count = paletteCount == 0 || paletteCount > (1u << bits) ? (1u << bits) : paletteCount;
    if (paletteAt + count * paletteEntry > b.size()) return std::nullopt;
    for (size_t i = 0; i < count; ++i) {
      const size_t at = paletteAt + i * paletteEntry;
      palette.push_back(static_cast<uint8_t>(b[at]) | static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8 |
                        static_cast<uint32_t>(static_cast<uint8_t>(b[at + 2])) << 16);
    }
  }

  const int w = static_cast<int>(width), h = static_cast<int>(height);
  const size_t stride = rowBytes(w, static_cast<int>(bits));
  if (dataOffset > b.size() || (b.size() - dataOffset) / stride < static_cast<size_t>(h)) return std::nullopt;
  PixelBuffer out(w, h);
  for (int y = 0; y < h; ++y) {
    const size_t row = dataOffset + static_cast<size_t>(topDown ? y : h - 1 - y) * stride;
    uint32_t* dst = out.row(y);
    for (int x = 0; x < w; ++x) {
      uint32_t rgb = 0;
      switch (bits) {
        case 1:
        case 4:
        case 8: {
          const size_t bitIndex = static_cast<size_t>(x) * bits;
          const uint32_t byte = static_cast<uint8_t>(b[row + bitIndex / 8]);
          const uint32_t index = (byte >> (8 - bits - bitIndex % 8)) & ((1u << bits) - 1);
          rgb = index < palette.size() ? palette[index] : 0;
          break;
        }
        case 16: {
          const uint32_t p = le16(b, row + static_cast<size_t>(x) * 2);
          rgb = channel(p, red) << 16 | channel(p, green) << 8 | channel(p, blue);
          break;
        }
        case 24: {
          const size_t at = row + static_cast<size_t>(x) * 3;
          rgb = static_cast<uint8_t>(b[at]) | static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8 |
                static_cast<uint32_t>(static_cast<uint8_t>(b[at + 2])) << 16;
          break;
        }
        default: {
          const uint32_t p = le32(b, row + static_cast<size_t>(x) * 4);
          rgb = compression == 3 ? (channel(p, red) << 16 | channel(p, green) << 8 | channel(p, blue)) : p & 0x00FFFFFF;
          break;
        }
      }
      dst[x] = rgb;
    }
  }
  return out;
}

std::string WriteBmp(const PixelBuffer& picture, int bits) {
  if (bits != 32 && bits != 16 && bits != 8 && bits != 4 && bits != 1) bits = 24;
  const int w = picture.width, h = picture.height;
  const size_t stride = rowBytes(w, bits);
  const size_t paletteCount = bits <= 8 ? (size_t{1} << bits) : 0;
  const size_t dataOffset = 14 + 40 + paletteCount * 4;
  const size_t imageSize = stride * static_cast<size_t>(h);
  std::string out;
  out.reserve(dataOffset + imageSize);
  out += "BM";
  put32(out, static_cast<uint32_t>(dataOffset + imageSize));
  put32(out, 0);
  put32(out, static_cast<uint32_t>(dataOffset));
  put32(out, 40);
  put32(out, static_cast<uint32_t>(w));
  put32(out, static_cast<uint32_t>(h));  // bottom-up, as most readers expect
  put16(out, 1);
  put16(out, static_cast<uint32_t>(bits));
  put32(out, 0);
  put32(out, static_cast<uint32_t>(imageSize));
  put32(out, 3780), put32(out, 3780);  // 96 dpi
  put32(out, static_cast<uint32_t>(paletteCount));
  put32(out, 0);
  for (size_t i = 0; i < paletteCount; ++i) {
    uint32_t rgb = 0;
    if (bits == 8)  // 3 bits red, 3 green, 2 blue
      rgb = ((i >> 5) & 7) * 255 / 7 << 16 | ((i >> 2) & 7) * 255 / 7 << 8 | (i & 3) * 255 / 3;
    else if (bits == 4)
      rgb = kStandardColours[i];
    else
      rgb = i == 0 ? 0 : 0xFFFFFF;
    put32(out, static_cast<uint32_t>(rgb));
  }
  std::string row(stride, '\0');
  for (int y = h - 1; y >= 0; --y) {
    std::fill(row.begin(), row.end(), '\0');
    const uint32_t* src = picture.row(y);
    for (int x = 0; x < w; ++x) {
      const uint32_t p = src[x] & 0x00FFFFFF;
      const uint32_t r = p >> 16, g = (p >> 8) & 0xFF, bl = p & 0xFF;
      const size_t xs = static_cast<size_t>(x);
      switch (bits) {
        case 32:
        case 24: {
          const size_t at = xs * static_cast<size_t>(bits / 8);
          row[at] = static_cast<char>(bl), row[at + 1] = static_cast<char>(g), row[at + 2] = static_cast<char>(r);
          break;
        }
        case 16: {
          const uint32_t v = (r >> 3) << 10 | (g >> 3) << 5 | (bl >> 3);
          row[xs * 2] = static_cast<char>(v & 0xFF), row[xs * 2 + 1] = static_cast<char>(v >> 8);
          break;
        }
        case 8: row[xs] = static_cast<char>((r * 7 + 127) / 255 << 5 | (g * 7 + 127) / 255 << 2 | (bl * 3 + 127) / 255); break;
        case 4: row[xs / 2] = static_cast<char>(row[xs / 2] | nearestStandard(p) << (xs % 2 == 0 ? 4 : 0)); break;
        default:
          if (r * 299 + g * 587 + bl * 114 >= 128000) row[xs / 8] = static_cast<char>(row[xs / 8] | 0x80 >> (xs % 8));
          break;
      }
    }
    out += row;
  }
  return out;
}

}  // namespace maqo::automation
