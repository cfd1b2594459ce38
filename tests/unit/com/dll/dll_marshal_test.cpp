// Pass 1 with values (the call image and its pointers), the return value
// conversions and pass 2 (write-back), against a recorded fake callee.
#include <gtest/gtest.h>

#include <functional>

#include "com/dll/dll_marshal.h"
#include "com/dll/dll_values.h"
#include "com/dll/dll_variant.h"
#include "tests/unit/com/dll/dll_test_support.h"

namespace maqo::com::dll::test {
namespace {

// A declaration, laid out and built with the arguments, pointers resolved
// through the fake's addresses.
struct Built {
  DllSignature signature;
  DllLayout layout;
  DllCallImage image;
};

Built build(const char16_t* declaration, FakeArguments& arguments, FakeNative& native) {
  Built b;
  b.signature = ParseDllSignature(u"F", declaration);
  std::vector<size_t> parameterOf;
  for (size_t i = 0; i < b.signature.parameters.size(); ++i)
    if (b.signature.parameters[i].type < kStructBegin) parameterOf.push_back(i);
  b.layout = LayOutArguments(b.signature, [&](size_t a) {
    return InlineTextBytes(b.signature.parameters[parameterOf[a]].type, arguments.value(a), TestLocale());
  });
  b.image = BuildCallImage(b.signature, b.layout, arguments, TestLocale());
  b.image.resolvePointers([&](const void* p) { return native.addressOf(p); });
  return b;
}

TEST(DllMarshal, MessageBoxPassesFourWordsTwoOfThemWideCopies) {
  FakeNative native;
  FakeArguments arguments({{u"NULL", ScriptValue::null()},
                           {u"\"text\"", ScriptValue::string(u"text")},
                           {u"NULL", ScriptValue::null()},
                           {u"0", ScriptValue::int32(0)}});
  Built b = build(u"(HWND, WSTRING, WSTRING, UINT): INT: user32.dll", arguments, native);
  const std::vector<uint8_t>& image = b.image.buffers[0];
  ASSERT_EQ(image.size(), 16u);
  EXPECT_EQ(ImageWord(image, 0), 0u) << "NULL is a null handle";
  EXPECT_EQ(ImageWord(image, 12), 0u);
  EXPECT_EQ(ImageWord(image, 8), 0u) << "NULL passes a null pointer";
  const uint32_t text = ImageWord(image, 4);
  ASSERT_NE(native.at(text), nullptr);
  EXPECT_EQ(native.wideTextAt(text), u"text");
}

TEST(DllMarshal, AnsiTextIsTerminatedAndEmptyTextIsNoNullPointer) {
  FakeNative native;
  FakeArguments arguments({{u"\"abc\"", ScriptValue::string(u"abc")}, {u"\"\"", ScriptValue::string(u"")}});
  Built b = build(u"(STRING, PCHAR):INT:x.dll", arguments, native);
  EXPECT_EQ(native.ansiTextAt(ImageWord(b.image.buffers[0], 0)), "abc");
  const uint32_t empty = ImageWord(b.image.buffers[0], 4);
  ASSERT_NE(empty, 0u);
  EXPECT_EQ(native.ansiTextAt(empty), "");
}

TEST(DllMarshal, StructureMembersAreFilledAndWrittenBack) {
  // GetCursorPos({LONG, LONG}) with the variables X and Y.
  FakeNative native;
  FakeArguments arguments({{u"X", ScriptValue::int32(0)}, {u"Y", ScriptValue::int32(0)}});
  Built b = build(u"({LONG,LONG}):BOOL:user32", arguments, native);
  uint8_t* point = native.at(ImageWord(b.image.buffers[0], 0));
  ASSERT_NE(point, nullptr);
  Store32(point, 123);
  Store32(point + 4, 45);
  WriteBack(b.signature, b.layout, b.image, arguments, native, TestLocale());
  ASSERT_EQ(arguments.stored.size(), 2u);
  EXPECT_EQ(u8(arguments.stored[0][0].toDisplayText()), "123");
  EXPECT_EQ(u8(arguments.stored[1][0].toDisplayText()), "45");
}

TEST(DllMarshal, PackedStructureHasItsIntAtOffsetOne) {
  FakeNative native;
  FakeArguments arguments({{u"B", ScriptValue::int32(7)}, {u"I", ScriptValue::int32(0x01020304)}});
  Built b = build(u"({BYTE,INT}):INT:x.dll PACK", arguments, native);
  EXPECT_EQ(b.image.buffers[1], (std::vector<uint8_t>{7, 4, 3, 2, 1}));
  Built aligned = build(u"({BYTE,INT}):INT:x.dll", arguments, native);
  EXPECT_EQ(aligned.image.buffers[1], (std::vector<uint8_t>{7, 0, 0, 0, 4, 3, 2, 1}));
}

TEST(DllMarshal, TextMembersAreCopiedIntoTheBlock) {
  FakeNative native;
  FakeArguments arguments({{u"H", ScriptValue::int32(12)}, {u"FACE", ScriptValue::string(std::u16string(u"Arial\0\0\0", 8))}});
  Built b = build(u"({INT, STRING}):INT:x.dll", arguments, native);
  const std::vector<uint8_t>& block = b.image.buffers[1];
  ASSERT_EQ(block.size(), 12u);
  EXPECT_EQ(std::string(block.begin() + 4, block.begin() + 9), "Arial");
  std::memcpy(native.at(ImageWord(b.image.buffers[0], 0)) + 4, "Tahoma\0", 7);
  WriteBack(b.signature, b.layout, b.image, arguments, native, TestLocale());
  EXPECT_EQ(u8(arguments.stored[1][0].toDisplayText()), "Tahoma");
}

TEST(DllMarshal, ReferencesAndArraysAreCopiedAndComeBack) {
  FakeNative native;
  FakeArguments arguments({
      {u"N", {}, {ScriptValue::int32(5)}},
      {u"A[1]", {}, {ScriptValue::int32(1), ScriptValue::int32(2), ScriptValue::int32(3)}},
      {u"D", {}, {ScriptValue::number(0.5)}},
      {u"NULL", {}, {ScriptValue::int32(9)}},
      {u"S", {}, {ScriptValue::string(u"    ")}},
      {u"W", {}, {ScriptValue::string(u"..")}},
  });
  Built b = build(u"(VAR INT, INT[], VAR DOUBLE, VAR INT, VAR STRING, VAR WSTRING):VOID:x.dll", arguments, native);
  const std::vector<uint8_t>& image = b.image.buffers[0];
  EXPECT_EQ(ImageWord(image, 12), 0u) << "NULL gives a null pointer";
  Store32(native.at(ImageWord(image, 0)), 42);
  uint8_t* array = native.at(ImageWord(image, 4));
  for (int i = 0; i < 3; ++i) Store32(array + 4 * i, Load32(array + 4 * i) + 1);
  std::memcpy(native.at(ImageWord(image, 16)), "ABCD", 4);
  std::memcpy(native.at(ImageWord(image, 20)), u"Z", 4);  // "Z" and its terminator
  WriteBack(b.signature, b.layout, b.image, arguments, native, TestLocale());
  auto shown = [&](size_t a) {
    std::string text;
    for (const ScriptValue& v : arguments.stored[a]) text += (text.empty() ? "" : ",") + u8(v.toDisplayText());
    return text;
  };
  EXPECT_EQ(shown(0), "42");
  EXPECT_EQ(shown(1), "2,3,4");
  EXPECT_EQ(shown(2), "0.5");
  EXPECT_EQ(arguments.stored.count(3), 0u);
  EXPECT_EQ(shown(4), "ABCD");
  EXPECT_EQ(shown(5), "Z");
}

TEST(DllMarshal, ValueOfTheWrongKindEndsTheCallBeforeIt) {
  FakeNative native;
  FakeArguments arguments({{u"\"abc\"", ScriptValue::string(u"abc")}});
  try {
    build(u"(INT):INT:x.dll", arguments, native);
    FAIL();
  } catch (const engine::ScriptError& e) {
    EXPECT_EQ(u8(e.message().english), "DLL:Does not fit the type of the argument");
    EXPECT_EQ(u8(e.message().japanese), "DLL:引数の型が合いません");
  }
}

TEST(DllMarshal, VariantArgumentsCarryTheirValues) {
  FakeNative native;
  FakeArguments arguments({{u"\"hi\"", ScriptValue::string(u"hi")}, {u"2.5", ScriptValue::number(2.5)}});
  Built b = build(u"(VARIANT, VARIANT):INT:x.dll", arguments, native);
  const uint8_t* text = native.at(ImageWord(b.image.buffers[0], 0));
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(u8(ReadVariant(text, native).toDisplayText()), "hi");
  EXPECT_EQ(u8(ReadVariant(native.at(ImageWord(b.image.buffers[0], 4)), native).toDisplayText()), "2.5");
}

TEST(DllMarshal, SafeArrayArgumentIsADescriptorOfVariants) {
  FakeNative native;
  FakeArguments arguments({{u"A", {}, {ScriptValue::int32(4), ScriptValue::string(u"x")}}});
  Built b = build(u"(SAFEARRAY):INT:x.dll", arguments, native);
  // Read it back the way a variant holding it would be.
  uint8_t variant[16] = {};
  Store32(variant, kVtArray | kVtVariant);
  Store32(variant + 8, ImageWord(b.image.buffers[0], 0));
  const ScriptValue back = ReadVariant(variant, native);
  ASSERT_TRUE(back.isArray());
  ASSERT_EQ(back.arrayRef().size(), 2u);
  EXPECT_EQ(u8(back.arrayRef().at(0).toDisplayText()), "4");
  EXPECT_EQ(u8(back.arrayRef().at(1).toDisplayText()), "x");
}

// A 2×3 array with bounds 1..2 and 0..2 whose elements name their indexes.
ScriptValue TwoByThree() {
  engine::ArrayValue array({engine::ArrayBound{1, 2}, engine::ArrayBound{0, 2}});
  for (size_t i = 0; i < array.size(); ++i)
    array.at(i) = ScriptValue::string(u"r" + std::u16string(1, u'1' + i / 3) + u"c" + std::u16string(1, u'0' + i % 3));
  return ScriptValue::array(std::move(array));
}

TEST(DllMarshal, MultiDimensionalArraysKeepTheirShapeThroughAVariant) {
  FakeNative native;
  FakeArguments arguments({{u"A", TwoByThree()}});
  Built b = build(u"(VARIANT):INT:x.dll", arguments, native);
  const uint8_t* variant = native.at(ImageWord(b.image.buffers[0], 0));
  ASSERT_NE(variant, nullptr);
  // The descriptor lists the last dimension first, and the data varies the
  // first index fastest: element (2,0) comes right after (1,0).
  const uint8_t* descriptor = native.at(Load32(variant + 8));
  ASSERT_NE(descriptor, nullptr);
  EXPECT_EQ(LoadAs<uint16_t>(descriptor), 2);
  EXPECT_EQ(Load32(descriptor + 16), 3u);
  EXPECT_EQ(Load32(descriptor + 24), 2u);
  EXPECT_EQ(static_cast<int32_t>(Load32(descriptor + 28)), 1);
  const uint8_t* data = native.at(Load32(descriptor + 12));
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(u8(ReadVariant(data + 16, native).toDisplayText()), "r2c0");

  const ScriptValue back = ReadVariant(variant, native);
  ASSERT_TRUE(back.isArray());
  EXPECT_EQ(back.arrayRef(), TwoByThree().arrayRef());
}

TEST(DllMarshal, ReferencedSafeArrayIsWrittenBack) {
  struct Case {
    const char* name;
    // What the function does with the SAFEARRAY* it got; returns the
    // variable's expected contents ("" = nothing stored).
    std::function<void(FakeNative&, uint8_t* pointer)> callee;
    const char* stored;
    int destroyed;
  };
  const std::vector<Case> cases = {
      {"elements changed in place",
       [](FakeNative& native, uint8_t* pointer) {
         const uint8_t* descriptor = native.at(Load32(pointer));
         uint8_t* data = native.at(Load32(descriptor + 12));
         StoreAs<uint16_t>(data + 16, 3);
         Store32(data + 24, 99);
       },
       "4,99", 0},
      {"replaced by the function's own two-dimensional array",
       [](FakeNative& native, uint8_t* pointer) {
         std::vector<uint8_t> descriptor(16 + 16, 0);
         StoreAs<uint16_t>(descriptor.data(), 2);
         StoreAs<uint16_t>(descriptor.data() + 2, 0x0800);
         Store32(descriptor.data() + 4, 16);
         Store32(descriptor.data() + 16, 1);  // last dimension: 1 element
         Store32(descriptor.data() + 24, 2);  // first dimension: 2 elements
         std::vector<uint8_t> data(32, 0);
         StoreAs<uint16_t>(data.data(), 3);
         Store32(data.data() + 8, 7);
         StoreAs<uint16_t>(data.data() + 16, 3);
         Store32(data.data() + 24, 8);
         Store32(descriptor.data() + 12, native.put(std::move(data)));
         Store32(pointer, native.put(std::move(descriptor)));
       },
       "2x1:7,8", 1},
      {"cleared to a null pointer", [](FakeNative&, uint8_t* pointer) { Store32(pointer, 0); }, "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeNative native;
    FakeArguments arguments({{u"A", {}, {ScriptValue::int32(4), ScriptValue::string(u"x")}}});
    Built b = build(u"(VAR SAFEARRAY):INT:x.dll", arguments, native);
    c.callee(native, native.at(ImageWord(b.image.buffers[0], 0)));
    WriteBack(b.signature, b.layout, b.image, arguments, native, TestLocale());
    std::string stored;
    if (arguments.stored.count(0)) {
      const std::vector<ScriptValue>& values = arguments.stored[0];
      if (values.size() == 1 && values[0].isArray()) {
        const engine::ArrayValue& array = values[0].arrayRef();
        stored = std::to_string(array.bound(0).length()) + "x" + std::to_string(array.bound(1).length()) + ":";
        for (size_t i = 0; i < array.size(); ++i) stored += (i ? "," : "") + u8(array.at(i).toDisplayText());
      } else {
        for (size_t i = 0; i < values.size(); ++i) stored += (i ? "," : "") + u8(values[i].toDisplayText());
      }
    }
    EXPECT_EQ(stored, c.stored);
    EXPECT_EQ(native.clearedVariants, c.destroyed) << "only an array the function made is destroyed";
  }
}

struct ReturnCase {
  const char* name;
  const char16_t* returnType;
  uint32_t eax;
  uint32_t edx;
  double st0;
  const char* shown;  // "<Empty>" for Empty
};

class DllReturns : public ::testing::TestWithParam<ReturnCase> {};

TEST_P(DllReturns, ConvertTheRegisters) {
  const ReturnCase& c = GetParam();
  FakeNative native;
  const uint32_t text = native.put({'h', 'i', 0});
  const uint32_t wide = native.put({'w', 0, 0x42, 0x30, 0, 0});
  platform::NativeCallResult registers;
  registers.eax = c.eax == 1 ? text : c.eax == 2 ? wide : c.eax;
  registers.edx = c.edx;
  DoubleToExtended(c.st0, registers.st0);
  DllCallImage image;
  const DllSignature signature = ParseDllSignature(u"F", u"():" + std::u16string(c.returnType) + u":x.dll");
  const ScriptValue value = ConvertReturn(signature, registers, image, native, TestLocale());
  EXPECT_EQ(value.isEmpty() ? std::string("<Empty>") : u8(value.toDisplayText()), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Types, DllReturns,
    ::testing::Values(ReturnCase{"Int", u"INT", 0xFFFFFFFF, 0, 0, "-1"},
                      ReturnCase{"Dword", u"DWORD", 0xFFFFFFFF, 0, 0, "4294967295"},
                      ReturnCase{"Word", u"WORD", 0x12345678, 0, 0, "22136"},
                      ReturnCase{"Byte", u"BYTE", 0x123456FF, 0, 0, "255"},
                      ReturnCase{"Char", u"CHAR", 0x41, 0, 0, "A"},
                      ReturnCase{"WideChar", u"WCHAR", 0x3042, 0, 0, "\xE3\x81\x82"},
                      ReturnCase{"LongLong", u"LONGLONG", 0x7E11D600, 3, 0, "15000000000"},
                      ReturnCase{"Double", u"DOUBLE", 0, 0, 0.25, "0.25"},
                      ReturnCase{"Extended", u"EXTENDED", 0, 0, -1e300, "-1e+300"},
                      ReturnCase{"Float", u"FLOAT", 0, 0, 0.5, "0.5"},
                      ReturnCase{"AnsiText", u"STRING", 1, 0, 0, "hi"},
                      ReturnCase{"WideText", u"PWCHAR", 2, 0, 0, "w\xE3\x81\x82"},
                      ReturnCase{"NullAnsiTextIsEmpty", u"PCHAR", 0, 0, 0, "<Empty>"},
                      ReturnCase{"NullWideTextIsEmpty", u"WSTRING", 0, 0, 0, "<Empty>"},
                      ReturnCase{"Void", u"VOID", 77, 0, 0, "0"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DllReturns, VariantResultIsReadFromTheHiddenFirstArgumentAndCleared) {
  FakeNative native;
  FakeArguments arguments({{u"5", ScriptValue::int32(5)}});
  Built b = build(u"(INT):VARIANT:x.dll", arguments, native);
  uint8_t* result = native.at(ImageWord(b.image.buffers[0], 0));
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(ImageWord(b.image.buffers[0], 4), 5u);
  result[0] = 5;  // VT_R8
  const double value = 6.5;
  std::memcpy(result + 8, &value, 8);
  EXPECT_EQ(u8(ConvertReturn(b.signature, {}, b.image, native, TestLocale()).toDisplayText()), "6.5");
  EXPECT_EQ(native.clearedVariants, 1);
}

}  // namespace
}  // namespace maqo::com::dll::test
