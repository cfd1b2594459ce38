// The case and width tables. Natively: the mappings scripts rely on. On
// Windows (and under Wine): every code unit against the system's own mapping.
#include <gtest/gtest.h>

#include <string>

#include "builtins/text_tables.h"
#include "platform/letter_case.h"
#include "platform/text_codec.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace maqo::builtins {
namespace {

std::string u8(std::u16string_view s) { return utf16ToUtf8(s); }

TEST(TextTablesTest, CaseMappingOfScriptLetters) {
  const struct {
    char16_t lower, upper;
  } pairs[] = {{u'a', u'A'},       {0xE9, 0xC9},     {0xFF, 0x178},    {0x101, 0x100},   {0x3B1, 0x391},
               {0x3C9, 0x3A9},     {0x436, 0x416},   {0x451, 0x401},   {0xFF41, 0xFF21}, {0x24D0, 0x24B6},
               {0x2C65, 0x23A}};
  for (const auto& p : pairs) {
    EXPECT_EQ(platform::upperCaseLetter(p.lower), p.upper) << std::hex << static_cast<unsigned>(p.lower);
    if (p.lower != p.upper) {
      EXPECT_EQ(platform::lowerCaseLetter(p.upper), p.lower) << std::hex << static_cast<unsigned>(p.upper);
    }
  }
  // Letters whose upper case is more than one character stay as they are.
  EXPECT_EQ(platform::upperCaseLetter(0xDF), 0xDF);
  EXPECT_EQ(platform::upperCaseLetter(u'1'), u'1');
  EXPECT_EQ(platform::lowerCaseLetter(0xD800), 0xD800);
}

TEST(TextTablesTest, RefusedFlagCombinations) {
  for (uint32_t flags : {0u, kMapUpperCase | kMapLowerCase, kMapHiragana | kMapKatakana, kMapHalfWidth | kMapFullWidth,
                         kMapUpperCase | 1u})
    EXPECT_FALSE(MapTextLikeWindows(u"a", flags).has_value()) << flags;
}

TEST(TextTablesTest, WidthOfKatakanaWithVoicedMarks) {
  const struct {
    const char16_t* text;
    uint32_t flags;
    const char16_t* expected;
  } cases[] = {
      {u"\u30F4\u30D1\u30FC", kMapHalfWidth, u"\uFF73\uFF9E\uFF8A\uFF9F\uFF70"},
      {u"\uFF73\uFF9E\uFF8A\uFF9F\uFF70", kMapFullWidth, u"\u30F4\u30D1\u30FC"},
      {u"\uFF71\uFF9E", kMapFullWidth, u"\u30A2\u3099"},  // no voiced A: the mark stays a mark
      {u"\u30F8\u2019", kMapHalfWidth, u"\u30F0\uFF9E'"},
      {u"\u0131\u01C5\u00B5", kMapUpperCase, u"\u0131\u01C5\u00B5"},  // no one-to-one pair
      {u"\u0130\u212A", kMapLowerCase, u"\u0130\u212A"},
      {u"\u3001\u3002\u300C\u300D\u30FB", kMapHalfWidth, u"\uFF64\uFF61\uFF62\uFF63\uFF65"},
      {u"\u3131\uFFE5", kMapHalfWidth, u"\uFFA1\u00A5"},
      {u"\u3094", kMapKatakana, u"\u30F4"},
      {u"\u309D\u30FE", kMapKatakana | kMapFullWidth, u"\u30FD\u30FE"},
  };
  for (const auto& c : cases) {
    const auto mapped = MapTextLikeWindows(c.text, c.flags);
    ASSERT_TRUE(mapped.has_value());
    EXPECT_EQ(u8(*mapped), u8(c.expected)) << u8(c.text);
  }
}

#ifdef _WIN32

std::u16string systemMap(std::u16string_view text, DWORD flags) {
  wchar_t out[16] = {};
  const int n = LCMapStringW(LOCALE_SYSTEM_DEFAULT, flags, reinterpret_cast<const wchar_t*>(text.data()),
                             static_cast<int>(text.size()), out, 16);
  return std::u16string(reinterpret_cast<const char16_t*>(out), static_cast<size_t>(n > 0 ? n : 0));
}

bool isSurrogate(unsigned c) { return c >= 0xD800 && c <= 0xDFFF; }

// Compares one mapping for every BMP code unit; reports the first differences.
template <typename Ours>
void compareAll(const char* what, DWORD flags, Ours ours) {
  int differences = 0;
  for (unsigned c = 1; c < 0x10000; ++c) {
    if (isSurrogate(c)) continue;
    const std::u16string one(1, static_cast<char16_t>(c));
    const std::u16string expected = systemMap(one, flags);
    const std::u16string actual = ours(one);
    if (expected != actual && ++differences <= 20)
      ADD_FAILURE() << what << " U+" << std::hex << c << ": system " << u8(expected) << ", table " << u8(actual);
  }
  EXPECT_EQ(differences, 0) << what;
}

TEST(TextTablesWindowsTest, CaseTablesMatchCharUpperBuff) {
  int differences = 0;
  for (unsigned c = 1; c < 0x10000; ++c) {
    if (isSurrogate(c)) continue;
    wchar_t w = static_cast<wchar_t>(c);
    CharUpperBuffW(&w, 1);
    if (static_cast<char16_t>(w) != platform::upperCaseLetter(static_cast<char16_t>(c)) && ++differences <= 20)
      ADD_FAILURE() << "CharUpperBuffW U+" << std::hex << c << ": system " << std::hex << static_cast<unsigned>(w)
                    << ", table " << static_cast<unsigned>(platform::upperCaseLetter(static_cast<char16_t>(c)));
  }
  EXPECT_EQ(differences, 0);
}

TEST(TextTablesWindowsTest, MappingsMatchLCMapString) {
  const struct {
    const char* what;
    uint32_t flags;
  } mappings[] = {
      {"upper", kMapUpperCase}, {"lower", kMapLowerCase},     {"hiragana", kMapHiragana},
      {"katakana", kMapKatakana}, {"half width", kMapHalfWidth}, {"full width", kMapFullWidth},
  };
  for (const auto& m : mappings)
    compareAll(m.what, m.flags, [&](const std::u16string& s) { return MapTextLikeWindows(s, m.flags).value(); });
}

TEST(TextTablesWindowsTest, VoicedKatakanaPairsMatchLCMapString) {
  for (char16_t base = 0xFF66; base <= 0xFF9D; ++base) {
    for (char16_t mark : {char16_t{0xFF9E}, char16_t{0xFF9F}}) {
      const std::u16string text{base, mark};
      EXPECT_EQ(u8(MapTextLikeWindows(text, kMapFullWidth).value()), u8(systemMap(text, LCMAP_FULLWIDTH)))
          << std::hex << static_cast<unsigned>(base);
    }
  }
}

#endif

}  // namespace
}  // namespace maqo::builtins
