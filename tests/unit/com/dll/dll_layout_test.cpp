// Pass 1 without values: where each argument of a declaration goes, the
// structure blocks with alignment, padding and PACK, and the call limits.
#include <gtest/gtest.h>

#include "com/dll/dll_layout.h"
#include "tests/unit/com/dll/dll_test_support.h"

namespace maqo::com::dll::test {
namespace {

struct LayoutCase {
  const char* name;
  const char16_t* declaration;
  std::string slots;   // "block:offset+size" per argument
  std::string blocks;  // sizes, the stack image first
};

std::string describe(const DllLayout& layout) {
  std::string text;
  for (const DllSlot& s : layout.slots)
    text += (text.empty() ? "" : " ") + std::to_string(s.block) + ":" + std::to_string(s.offset) + "+" + std::to_string(s.size);
  return text;
}
std::string sizes(const DllLayout& layout) {
  std::string text;
  for (const DllBlock& b : layout.blocks) text += (text.empty() ? "" : " ") + std::to_string(b.size);
  return text;
}

class DllLayoutCases : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(DllLayoutCases, PlacesEveryArgument) {
  const DllSignature signature = ParseDllSignature(u"F", GetParam().declaration);
  const DllLayout layout = LayOutArguments(signature, nullptr);
  EXPECT_EQ(describe(layout), GetParam().slots);
  EXPECT_EQ(sizes(layout), GetParam().blocks);
}

INSTANTIATE_TEST_SUITE_P(
    Declarations, DllLayoutCases,
    ::testing::Values(
        LayoutCase{"FourByteSlots", u"(INT, DOUBLE, BYTE, WORD, LONGLONG):INT:x.dll", "0:0+4 0:4+8 0:12+1 0:16+2 0:20+8", "28"},
        LayoutCase{"ExtendedTakesTwelveInTheImage", u"(EXTENDED, INT):VOID:x.dll", "0:0+10 0:12+4", "16"},
        LayoutCase{"PointersForTextsAndReferences", u"(HWND, WSTRING, STRING, VAR DOUBLE, INT[], VARIANT)", "0:0+4 0:4+4 0:8+4 0:12+4 0:16+4 0:20+4", "24"},
        LayoutCase{"ByteThenIntIsAligned", u"({BYTE, INT}):BOOL:x.dll", "1:0+1 1:4+4", "4 8"},
        LayoutCase{"PackRemovesAlignment", u"({BYTE, INT}):BOOL:x.dll PACK", "1:0+1 1:1+4", "4 5"},
        LayoutCase{"ColonPackToo", u"({BYTE, INT}):BOOL:x.dll:PACK", "1:0+1 1:1+4", "4 5"},
        LayoutCase{"TrailingPaddingToStrictestMember", u"({INT, BYTE})", "1:0+4 1:4+1", "4 8"},
        LayoutCase{"DoubleAlignsToEight", u"({BYTE, DOUBLE, WORD})", "1:0+1 1:8+8 1:16+2", "4 24"},
        LayoutCase{"ExtendedMember", u"({EXTENDED, BYTE})", "1:0+10 1:10+1", "4 16"},
        LayoutCase{"NestedStructures", u"(INT, {BYTE, {WORD, BYTE}, INT}, INT)", "0:0+4 1:0+1 2:0+2 2:2+1 1:8+4 0:8+4",
                   "12 12 4"},
        LayoutCase{"VariantResultComesFirst", u"(INT):VARIANT:x.dll", "0:4+4", "8"},
        LayoutCase{"NoParameters", u"():DWORD:kernel32", "", "0"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DllLayout, NestedBlocksArePointedToFromTheirParents) {
  const DllLayout layout = LayOutArguments(ParseDllSignature(u"F", u"(INT, {BYTE, {WORD}})"), nullptr);
  ASSERT_EQ(layout.blocks.size(), 3u);
  EXPECT_EQ(layout.blocks[1].parent, 0u);
  EXPECT_EQ(layout.blocks[1].parentOffset, 4u);
  EXPECT_EQ(layout.blocks[2].parent, 1u);
  EXPECT_EQ(layout.blocks[2].parentOffset, 4u);
}

TEST(DllLayout, TextMembersTakeTheirTextsBytes) {
  const DllSignature signature = ParseDllSignature(u"F", u"({INT, STRING, WSTRING, STRING})");
  ASSERT_TRUE(HasTextMembers(signature));
  const uint32_t bytes[] = {0, 5, 6, 0};  // "Arial", three wide characters, an empty text
  const DllLayout layout = LayOutArguments(signature, [&](size_t argument) { return bytes[argument]; });
  EXPECT_EQ(describe(layout), "1:0+4 1:4+5 1:10+6 1:16+4");
  EXPECT_TRUE(layout.slots[1].inlineText);
  EXPECT_FALSE(layout.slots[3].inlineText);
  EXPECT_EQ(sizes(layout), "4 20");
}

std::u16string items(const char16_t* item, int count) {
  std::u16string list;
  for (int i = 0; i < count; ++i) list += (i ? u"," : u"") + std::u16string(item);
  return list;
}
std::u16string repeated(const char16_t* item, int count) { return u"(" + items(item, count) + u")"; }

struct LimitCase {
  const char* name;
  std::u16string declaration;
  const char* message;  // empty: within the limit
};

class DllLayoutLimits : public ::testing::TestWithParam<LimitCase> {};

TEST_P(DllLayoutLimits, AreReportedNeverOverflowed) {
  const DllSignature signature = ParseDllSignature(u"F", GetParam().declaration);
  std::string message;
  try {
    LayOutArguments(signature, [](size_t) { return 3000u; });
  } catch (const engine::ScriptError& e) {
    message = u8(e.message().english);
  }
  EXPECT_EQ(message, GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, DllLayoutLimits,
    ::testing::Values(LimitCase{"FortyArguments", repeated(u"INT", 40), ""},
                      LimitCase{"FortyOneArguments", repeated(u"INT", 41), "DLL:Too many arguments (at most 40)"},
                      LimitCase{"EightStructures", repeated(u"{INT}", 8), ""},
                      LimitCase{"NineStructures", repeated(u"{INT}", 9), "DLL:Too many structures (at most 8)"},
                      LimitCase{"TwentyReferences", repeated(u"VAR INT", 20), ""},
                      LimitCase{"TwentyOneReferences", repeated(u"VAR INT", 21),
                                "DLL:Too many VAR or array arguments of one type (at most 20)"},
                      LimitCase{"TwentyOfTwoKinds", u"(" + items(u"VAR INT", 20) + u"," + items(u"DOUBLE[]", 20) + u")", ""},
                      LimitCase{"TextMemberOver2048", u"({INT, STRING})", "size of structure is up to 2048byte"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace maqo::com::dll::test
