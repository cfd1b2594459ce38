// Case and width mapping of text as the Windows system maps it (the string
// mapping of the system default locale), kept as tables so both builds give
// the same results: upper and lower case (platform/letter_case.h), hiragana
// and katakana, and half-width and full-width forms
// (ASCII, katakana with their voiced marks, Hangul letters and the few
// symbols that have both widths).
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace maqo::builtins {

// The mapping flags (the values of the SC_ constants).
inline constexpr uint32_t kMapLowerCase = 0x00000100;
inline constexpr uint32_t kMapUpperCase = 0x00000200;
inline constexpr uint32_t kMapHiragana = 0x00100000;
inline constexpr uint32_t kMapKatakana = 0x00200000;
inline constexpr uint32_t kMapHalfWidth = 0x00400000;
inline constexpr uint32_t kMapFullWidth = 0x00800000;

// Maps text with a sum of the flags above. Nothing when the flags contain
// anything else or a contradictory pair (upper and lower case, hiragana and
// katakana, half and full width), as the system refuses such a mapping.
// Order of the steps: full width, kana, half width, case; so full width plus
// hiragana turns half-width katakana into hiragana, and half width plus
// katakana turns hiragana into half-width katakana.
std::optional<std::u16string> MapTextLikeWindows(std::u16string_view text, uint32_t flags);

}  // namespace maqo::builtins
