#include "engine/reader/cipher_secrets.h"

#include <charconv>
#include <iterator>

#include "engine/reader/hidden_text.h"
#include "platform/text_codec.h"

namespace maqo::engine {

namespace {

// The key that opens the values below.
constexpr char kHiddenKey[17] = "q7#Lm2@Vx9!Rt4&W";

const uint32_t kMarker1[] = {
    0x913D6042, 0x48511934,
};
const uint32_t kMarker2[] = {
    0x3CEB2A85, 0x71E1033D,
};
const uint32_t kMarker3[] = {
    0xC9FA99BF, 0x9DD464F4,
};
const uint32_t kMarker4[] = {
    0xB6FFFFBB, 0xA580863C,
};
const uint32_t kMarker5[] = {
    0xEA4EDA0A, 0xD5AA68C9,
};
const uint32_t kKeyTable[] = {
    0x6EF5CB63, 0xB3DF57E7, 0x4F48E524, 0x6394DD46, 0xB7C2039E, 0x9B0FA52A,
    0x114D1AC8, 0xAEB78E57, 0x2D54BCFF, 0xF981359A, 0x767C3B93, 0xD31E5C60,
    0xEB929DF2, 0xF49071FA, 0xD50FDE7C, 0xE374E2C5, 0x597B26B9, 0xAC5FA28F,
    0x049392C3, 0xEA64A907, 0x8992E6D3, 0xA977C19F, 0xF052DEEE, 0x18F810FA,
    0xC5F2BB3B, 0x0C391768, 0x27DCB368, 0xA4BB264C, 0x3A45567C, 0x351B06CB,
    0x0E617FF7, 0x5B7E427E, 0xA2602C55, 0x7C6D08F1, 0xB9699168, 0xC4502A89,
    0xB3E433F7, 0x70D203B1, 0x2C5585CB, 0xF1523FA8, 0xB8AAD1ED, 0xBDFF0960,
    0x936145DD, 0xC076291F, 0x9F2F8FCF, 0x86681D96, 0xA4592EB7, 0x97E69CB9,
};
const uint32_t kMask8[] = {
    0x8FA31459, 0x1589A9E6,
};
const uint32_t kMask16[] = {
    0x6FB852ED, 0xEF4F1BD7,
};
const uint32_t kUnknownFormatEn[] = {
    0x9F08B206, 0x72DE86D4, 0x4CE3791F, 0x0DC465F8, 0x3187B7CA, 0xEE5BE1BD,
    0xC6FB39E3, 0x5A91003E, 0xC6040F3E, 0x2F7AD973, 0x30FD781E, 0x11B59360,
    0x023ACA38, 0x5C4B7EED, 0xE52B777D, 0x1A625870,
};
const uint32_t kUnknownFormatJa[] = {
    0x488E1D19, 0x2D500922, 0x69D05CA4, 0xF7534E81, 0xFE2EF935, 0x913E88AB,
    0x72362004, 0x06EE551D, 0x94D92BD1, 0x43B8A835, 0x320C801C, 0x1E460F1A,
    0xDD5F80F4, 0x8948DF42, 0xA92FE88B, 0x5FC1B20F, 0x558312BB, 0x76A94C7A,
    0xCC87374F, 0x959409D3, 0xE4021174, 0x1C9971E2,
};
const uint32_t kDamagedEn[] = {
    0x28CCF553, 0x4875F67D, 0x306397E2, 0x7E26417D, 0x502E81F6, 0xF2D38CB6,
    0xA66F98A9, 0x882E4EE2, 0x93A9FBCE, 0xD0F53F0E, 0x93647677, 0x6BC4B1EE,
    0x87B9A97E, 0x14F5D156,
};
const uint32_t kDamagedJa[] = {
    0xA8E79E0A, 0x838D29E3, 0x4B42E567, 0x35942C2C, 0x431C2BCD, 0x2F143311,
    0x1DBEEF25, 0xD56F7336, 0xA8CC4D14, 0xBA4CF259, 0x05F82753, 0xB8CD30AB,
    0x473EE06A, 0x6F7E69C6, 0x7E12DAF7, 0xFB65E175, 0x9FB3FA82, 0x4101BEC2,
    0x228E29C1, 0x956DE819, 0x6423CBA6, 0x4242AA82, 0x2F020794, 0x6F496D34,
};

template <size_t N>
std::u16string reveal(const uint32_t (&words)[N], const uint32_t key[4]) {
  return RevealHiddenText(words, N, key);
}

// A comma-separated list of decimal integers.
std::vector<uint32_t> numbers(const std::u16string& text) {
  std::vector<uint32_t> out;
  const std::string s = utf16ToUtf8(text);
  const char* p = s.data();
  const char* end = s.data() + s.size();
  while (p < end) {
    uint32_t v = 0;
    auto r = std::from_chars(p, end, v);
    out.push_back(v);
    p = r.ptr;
    if (p < end) ++p;  // the comma
  }
  return out;
}

CipherSecrets reveal() {
  uint32_t key[4];
  XteaKeyFromString(kHiddenKey, key);
  CipherSecrets s;
  s.markers = {reveal(kMarker1, key), reveal(kMarker2, key), reveal(kMarker3, key), reveal(kMarker4, key),
               reveal(kMarker5, key)};
  const std::vector<uint32_t> table = numbers(reveal(kKeyTable, key));
  for (size_t i = 0; i < s.keyTable.size() && i < table.size(); ++i) s.keyTable[i] = table[i];
  s.mask8 = static_cast<uint8_t>(numbers(reveal(kMask8, key)).at(0));
  s.mask16 = static_cast<uint16_t>(numbers(reveal(kMask16, key)).at(0));
  s.unknownFormat = Message{reveal(kUnknownFormatEn, key), reveal(kUnknownFormatJa, key)};
  s.damaged = Message{reveal(kDamagedEn, key), reveal(kDamagedJa, key)};
  return s;
}

}  // namespace

const CipherSecrets& GetCipherSecrets() {
  static const CipherSecrets secrets = reveal();
  return secrets;
}

}  // namespace maqo::engine
