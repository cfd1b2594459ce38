// The values of the enciphered script format: the version markers, the key
// table and masks, and the format's two messages. They are held enciphered in
// the binary and deciphered once, on first use.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/errors/script_error.h"

namespace maqo::engine {

struct CipherSecrets {
  std::array<std::u16string, 5> markers;  // markers[v - 1] is the first line of format version v
  std::array<uint32_t, 32> keyTable{};
  uint8_t mask8 = 0;    // the byte format's mask
  uint16_t mask16 = 0;  // the text format's mask
  Message unknownFormat;  // a first line "MQS0?" of no known version
  Message damaged;        // the checksum does not match
};

const CipherSecrets& GetCipherSecrets();

}  // namespace maqo::engine
