#include "engine/reader/hidden_text.h"

#include <string>

#include "platform/text_codec.h"

namespace maqo::engine {

namespace {
constexpr uint32_t kDelta = 0x9E3779B9;
constexpr int kRounds = 32;
}  // namespace

void XteaEncipherBlock(uint32_t block[2], const uint32_t key[4]) {
  uint32_t v0 = block[0], v1 = block[1], sum = 0;
  for (int i = 0; i < kRounds; ++i) {
    v0 += (((v1 << 4) ^ (v1 >> 5)) + v1) ^ (sum + key[sum & 3]);
    sum += kDelta;
    v1 += (((v0 << 4) ^ (v0 >> 5)) + v0) ^ (sum + key[(sum >> 11) & 3]);
  }
  block[0] = v0;
  block[1] = v1;
}

void XteaDecipherBlock(uint32_t block[2], const uint32_t key[4]) {
  uint32_t v0 = block[0], v1 = block[1], sum = kDelta * static_cast<uint32_t>(kRounds);
  for (int i = 0; i < kRounds; ++i) {
    v1 -= (((v0 << 4) ^ (v0 >> 5)) + v0) ^ (sum + key[(sum >> 11) & 3]);
    sum -= kDelta;
    v0 -= (((v1 << 4) ^ (v1 >> 5)) + v1) ^ (sum + key[sum & 3]);
  }
  block[0] = v0;
  block[1] = v1;
}

void XteaKeyFromString(const char (&keyString)[17], uint32_t key[4]) {
  for (int w = 0; w < 4; ++w) {
    key[w] = 0;
    for (int b = 0; b < 4; ++b)
      key[w] |= static_cast<uint32_t>(static_cast<unsigned char>(keyString[w * 4 + b])) << (8 * b);
  }
}

std::u16string RevealHiddenText(const uint32_t* words, size_t count, const uint32_t key[4]) {
  std::string bytes;
  for (size_t i = 0; i + 1 < count; i += 2) {
    uint32_t block[2] = {words[i], words[i + 1]};
    XteaDecipherBlock(block, key);
    for (uint32_t w : block)
      for (int b = 0; b < 4; ++b) bytes.push_back(static_cast<char>((w >> (8 * b)) & 0xFF));
  }
  const size_t end = bytes.find('\0');
  if (end != std::string::npos) bytes.resize(end);
  return utf8ToUtf16(bytes);
}

}  // namespace maqo::engine
