// Texts the system keeps out of plain sight in its own binary: they are stored
// XTEA-enciphered (32 rounds) and deciphered when first needed.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace maqo::engine {

// One 8-byte block, as two 32-bit words, with a 128-bit key.
void XteaEncipherBlock(uint32_t block[2], const uint32_t key[4]);
void XteaDecipherBlock(uint32_t block[2], const uint32_t key[4]);

// The key words of a 16-character key string (its bytes, little-endian words).
void XteaKeyFromString(const char (&keyString)[17], uint32_t key[4]);

// Deciphers consecutive blocks of words (an even count) holding UTF-8 text
// padded with zero bytes.
std::u16string RevealHiddenText(const uint32_t* words, size_t count, const uint32_t key[4]);

}  // namespace maqo::engine
