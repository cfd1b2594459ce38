// Declarations taken apart at call time, and the 80-bit and scalar
// conversions of argument values.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "com/dll/dll_signature.h"
#include "com/dll/dll_values.h"
#include "tests/unit/com/dll/dll_test_support.h"

namespace maqo::com::dll::test {
namespace {

struct SignatureCase {
  const char* name;
  const char16_t* registeredName;
  const char16_t* declaration;
  const char* procedure;
  int returnType;
  bool returnValid;
  const char* library;
  bool packed;
  size_t arguments;
};

class DllSignatureCases : public ::testing::TestWithParam<SignatureCase> {};

TEST_P(DllSignatureCases, TakesTheDeclarationApart) {
  const SignatureCase& c = GetParam();
  const DllSignature s = ParseDllSignature(c.registeredName, c.declaration);
  EXPECT_EQ(s.procedureName, c.procedure);
  EXPECT_EQ(s.returnType, c.returnType);
  EXPECT_EQ(s.returnTypeValid, c.returnValid);
  EXPECT_EQ(u8(s.library), c.library);
  EXPECT_EQ(s.packed, c.packed);
  EXPECT_EQ(s.argumentCount, c.arguments);
}

INSTANTIATE_TEST_SUITE_P(
    Declarations, DllSignatureCases,
    ::testing::Values(
        SignatureCase{"MessageBox", u"MessageBoxW", u"(hwnd, wstring, wstring, uint): int: user32.dll", "MessageBoxW", kInt, true, "user32.dll", false, 4},
        SignatureCase{"ModulePrefixDropped", u"M.GetTickCount", u"():DWORD:kernel32", "GetTickCount", kDWord, true, "kernel32", false, 0},
        SignatureCase{"OnlyTheDllMeansVoid", u"MessageBeep", u"(UINT):user32", "MessageBeep", kVoid, true, "user32", false, 1},
        SignatureCase{"DriveLetterIsNoReturnType", u"F", u"(INT):C:\\dir\\test.dll", "F", kVoid, true, "C:\\dir\\test.dll", false, 1},
        SignatureCase{"ReturnTypeAndFullPath", u"F", u"(INT):DOUBLE:C:\\dir\\test.dll PACK", "F", kDouble, true, "C:\\dir\\test.dll", true, 1},
        SignatureCase{"UnknownReturnType", u"F", u"(INT):FOO:x.dll", "F", 0, false, "x.dll", false, 1},
        SignatureCase{"ReferenceReturnType", u"F", u"(INT):VAR INT:x.dll", "F", kInt, false, "x.dll", false, 1},
        SignatureCase{"NoDll", u"F", u"(INT)", "F", kVoid, true, "", false, 1},
        SignatureCase{"QuotedDll", u"F", u"(INT):INT:\"my lib.dll\"", "F", kInt, true, "my lib.dll", false, 1},
        SignatureCase{"StructuresCountTheirMembers", u"GetCursorPos", u"({LONG,LONG}):BOOL:user32", "GetCursorPos", kInt, true, "user32", false, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DllSignature, ParametersKeepReferenceAndBrackets) {
  const DllSignature s = ParseDllSignature(u"F", u"(var long, double[ ], {byte}):x.dll");
  ASSERT_EQ(s.parameters.size(), 5u);
  EXPECT_EQ(s.parameters[0].type, kInt);
  EXPECT_TRUE(s.parameters[0].byReference);
  EXPECT_EQ(s.parameters[1].type, kDouble);
  EXPECT_TRUE(s.parameters[1].byReference);
  EXPECT_EQ(s.parameters[2].type, kStructBegin);
  EXPECT_EQ(s.parameters[3].type, kByte);
  EXPECT_FALSE(s.parameters[3].byReference);
  EXPECT_EQ(s.parameters[4].type, kStructEnd);
}

TEST(DllSignature, CallTimeDeclarationErrors) {
  const std::pair<const char16_t*, const char*> cases[] = {
      {u"(INT, FOO):x.dll", "Error"},
      {u"(VAR CHAR):x.dll", "Error"},
      {u"(INT})", "Error"},
      {u"({INT, {BYTE}):x.dll", "SyntaxError-60"},
  };
  for (const auto& [declaration, message] : cases) {
    try {
      ParseDllSignature(u"F", declaration);
      ADD_FAILURE() << u8(declaration);
    } catch (const engine::ScriptError& e) {
      EXPECT_EQ(u8(e.message().english), message) << u8(declaration);
    }
  }
}

TEST(DllExtended, ConvertsEveryDoubleExactlyAndBack) {
  const double values[] = {0.0, 1.0, -2.5, 0.1, 15000000000.0, 1e300, -1e-300, 4.9406564584124654e-324,
                           std::numeric_limits<double>::max(), std::numeric_limits<double>::infinity()};
  for (double value : values) {
    uint8_t bytes[10];
    DoubleToExtended(value, bytes);
    EXPECT_EQ(ExtendedToDouble(bytes), value) << value;
  }
  uint8_t nan[10];
  DoubleToExtended(std::numeric_limits<double>::quiet_NaN(), nan);
  EXPECT_TRUE(std::isnan(ExtendedToDouble(nan)));
}

TEST(DllExtended, HasTheX87BitPattern) {
  uint8_t bytes[10];
  DoubleToExtended(1.0, bytes);
  const uint8_t one[10] = {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F};
  EXPECT_EQ(std::memcmp(bytes, one, 10), 0);
  DoubleToExtended(-3.0, bytes);
  const uint8_t minusThree[10] = {0, 0, 0, 0, 0, 0, 0, 0xC0, 0x00, 0xC0};
  EXPECT_EQ(std::memcmp(bytes, minusThree, 10), 0);
  // 1 + 2^-60 is no double: the way back rounds to the nearest, 1.
  const uint8_t nearOne[10] = {0x08, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F};
  EXPECT_EQ(ExtendedToDouble(nearOne), 1.0);
}

struct ScalarCase {
  const char* name;
  int type;
  ScriptValue value;
  std::vector<uint8_t> bytes;
  const char* readBack;  // the value read from the bytes, as displayed
};

class DllScalars : public ::testing::TestWithParam<ScalarCase> {};

TEST_P(DllScalars, WriteAndReadTheirBytes) {
  const ScalarCase& c = GetParam();
  std::vector<uint8_t> bytes(c.bytes.size(), 0xEE);
  PutScalar(c.type, c.value, bytes.data(), TestLocale());
  EXPECT_EQ(bytes, c.bytes);
  EXPECT_EQ(u8(ReadScalar(c.type, bytes.data(), TestLocale()).toDisplayText()), c.readBack);
}

INSTANTIATE_TEST_SUITE_P(
    Types, DllScalars,
    ::testing::Values(
        ScalarCase{"IntRoundsToNearest", kInt, ScriptValue::number(-2.6), {0xFD, 0xFF, 0xFF, 0xFF}, "-3"},
        ScalarCase{"IntFromNumericText", kInt, ScriptValue::string(u"258"), {2, 1, 0, 0}, "258"},
        ScalarCase{"DwordTakesFullRange", kDWord, ScriptValue::number(4294967295.0), {0xFF, 0xFF, 0xFF, 0xFF}, "4294967295"},
        ScalarCase{"DwordKeepsLowBits", kDWord, ScriptValue::number(4294967297.0), {1, 0, 0, 0}, "1"},
        ScalarCase{"WordIsUnsigned", kWord, ScriptValue::int32(-1), {0xFF, 0xFF}, "65535"},
        ScalarCase{"ByteIsUnsigned", kByte, ScriptValue::int32(300), {44}, "44"},
        ScalarCase{"LongLong", kLongLong, ScriptValue::number(15000000000.0), {0x00, 0xD6, 0x11, 0x7E, 0x03, 0, 0, 0}, "15000000000"},
        ScalarCase{"Float", kFloat, ScriptValue::number(1.5), {0, 0, 0xC0, 0x3F}, "1.5"},
        ScalarCase{"Double", kDouble, ScriptValue::number(-2.0), {0, 0, 0, 0, 0, 0, 0, 0xC0}, "-2"},
        ScalarCase{"CharIsTheFirstCharacter", kChar, ScriptValue::string(u"ABC"), {'A'}, "A"},
        ScalarCase{"CharOfEmptyTextIsZero", kChar, ScriptValue::string(u""), {0}, ""},
        ScalarCase{"WideChar", kWChar, ScriptValue::string(u"\u3042x"), {0x42, 0x30}, "\xE3\x81\x82"},
        ScalarCase{"TrueIsMinusOne", kInt, ScriptValue::builtinBool(true), {0xFF, 0xFF, 0xFF, 0xFF}, "-1"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DllScalars, ValuesThatAreNoNumberAreRefused) {
  const ScriptValue values[] = {ScriptValue::string(u"abc"), ScriptValue::null()};
  for (const ScriptValue& value : values) {
    uint8_t bytes[8];
    try {
      PutScalar(kInt, value, bytes, TestLocale());
      ADD_FAILURE() << u8(value.toDisplayText());
    } catch (const engine::ScriptError& e) {
      EXPECT_EQ(u8(e.message().english), "DLL:Does not fit the type of the argument");
    }
  }
}

}  // namespace
}  // namespace maqo::com::dll::test
