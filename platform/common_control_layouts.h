// Field offsets of the common-control structures exchanged with controls of
// other processes, in the 32-bit and the 64-bit layout (pointers, handles
// and LPARAMs are 4 or 8 bytes and aligned to their size). The layout is
// chosen by the target process's bitness, not by this program's. The win32
// build checks its own bitness's column against the platform headers.
#pragma once
#include <cstdint>
#include <cstring>

namespace maqo::platform::layouts {

struct NmhdrLayout {
  uint32_t hwndFrom, idFrom, code, size;
};
struct TcItemLayout {
  uint32_t mask, text, textMax, size;
};
struct TvItemLayout {
  uint32_t mask, item, state, stateMask, text, textMax, children, size;
};
struct LvItemLayout {
  uint32_t mask, item, subItem, state, stateMask, text, textMax, size;
};
struct LvColumnLayout {
  uint32_t mask, text, textMax, size;
};
struct TbButtonLayout {
  uint32_t bitmap, command, state, style, data, string, size;
};

constexpr NmhdrLayout nmhdr(bool bits64) { return bits64 ? NmhdrLayout{0, 8, 16, 24} : NmhdrLayout{0, 4, 8, 12}; }
constexpr TcItemLayout tcItem(bool bits64) { return bits64 ? TcItemLayout{0, 16, 24, 40} : TcItemLayout{0, 12, 16, 28}; }
constexpr TvItemLayout tvItem(bool bits64) {
  return bits64 ? TvItemLayout{0, 8, 16, 20, 24, 32, 44, 56} : TvItemLayout{0, 4, 8, 12, 16, 20, 32, 40};
}
constexpr LvItemLayout lvItem(bool bits64) {
  return bits64 ? LvItemLayout{0, 4, 8, 12, 16, 24, 32, 88} : LvItemLayout{0, 4, 8, 12, 16, 20, 24, 60};
}
constexpr LvColumnLayout lvColumn(bool bits64) {
  return bits64 ? LvColumnLayout{0, 16, 24, 56} : LvColumnLayout{0, 12, 16, 44};
}
constexpr TbButtonLayout tbButton(bool bits64) {
  return bits64 ? TbButtonLayout{0, 4, 8, 9, 16, 24, 32} : TbButtonLayout{0, 4, 8, 9, 12, 16, 20};
}

// The local image of a structure: fields written and read at offsets, a
// pointer-sized field as 4 or 8 little-endian bytes.
class StructImage {
 public:
  StructImage(uint8_t* bytes, bool bits64) : bytes_(bytes), bits64_(bits64) {}
  void put32(uint32_t offset, uint32_t value) { std::memcpy(bytes_ + offset, &value, 4); }
  void putPointer(uint32_t offset, uint64_t value) {
    if (bits64_)
      std::memcpy(bytes_ + offset, &value, 8);
    else
      put32(offset, static_cast<uint32_t>(value));
  }
  uint32_t get32(uint32_t offset) const {
    uint32_t v;
    std::memcpy(&v, bytes_ + offset, 4);
    return v;
  }
  uint8_t get8(uint32_t offset) const { return bytes_[offset]; }
  uint64_t getPointer(uint32_t offset) const {
    if (!bits64_) return get32(offset);
    uint64_t v;
    std::memcpy(&v, bytes_ + offset, 8);
    return v;
  }

 private:
  uint8_t* bytes_;
  bool bits64_;
};

// The remote buffer's plan: one page, a text area of 256 characters at the
// start and the item structure at 512. Longer texts (status-bar parts) grow
// the buffer to fit them first.
inline constexpr uint32_t kRemoteBufferSize = 4096;
inline constexpr uint32_t kTextChars = 256;
inline constexpr uint32_t kStructOffset = 512;
// Room for the NMHDR of a notification, past the largest item structure.
inline constexpr uint32_t kNotifyOffset = 768;

}  // namespace maqo::platform::layouts
