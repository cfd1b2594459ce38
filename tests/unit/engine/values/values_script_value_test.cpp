#include "engine/values/script_value.h"

#include <gtest/gtest.h>

#include "engine/errors/script_error.h"
#include "platform/text_codec.h"

namespace maqo::engine {
namespace {

class TestObject : public ScriptObject {
 public:
  std::u16string typeName() const override { return u"TestObject"; }
};

struct TextFormCase {
  const char* label;
  ScriptValue value;
  std::optional<std::u16string> general;  // nothing: no general text
  std::u16string display;
  std::u16string argument;
};

TEST(ValuesScriptValue, ThreeTextForms) {
  const TextFormCase cases[] = {
      {"1/3", ScriptValue::number(1.0 / 3.0), u"0.333333333333333", u"0.333333333333333", u"0.333333333333333"},
      {"0.1+0.2", ScriptValue::number(0.1 + 0.2), u"0.3", u"0.3", u"0.3"},
      {"keyword TRUE", ScriptValue::keywordBool(true), u"True", u"True", u"1"},
      {"builtin true", ScriptValue::builtinBool(true), u"True", u"True", u"-1"},
      {"FALSE", ScriptValue::keywordBool(false), u"False", u"False", u"0"},
      {"odd payload", ScriptValue::boolean(5), u"True", u"True", u"5"},
      {"Empty", ScriptValue(), u"", u"", u""},
      {"Null", ScriptValue::null(), u"", u"NULL", u""},
      {"NOTHING", ScriptValue::nothing(), std::nullopt, u"NOTHING", u"0"},
      {"error", ScriptValue::error(-2147352567), u"ERROR", u"ERROR", u"ERROR"},
      {"string", ScriptValue::string(u"abc"), u"abc", u"abc", u"abc"},
      {"int16 wraps", ScriptValue::integer(VarType::Int16, 70000), u"4464", u"4464", u"4464"},
      {"uint16", ScriptValue::integer(VarType::UInt16, 65535), u"65535", u"65535", u"65535"},
      {"uint64", ScriptValue::integer(VarType::UInt64, -1), u"18446744073709551615", u"18446744073709551615",
       u"18446744073709551615"},
      {"single", ScriptValue::single(0.1f), u"0.1", u"0.1", u"0.1"},
      {"currency", ScriptValue::currency(12345), u"1.2345", u"1.2345", u"1.2345"},
      {"negative currency", ScriptValue::currency(-5), u"-0.0005", u"-0.0005", u"-0.0005"},
      {"date", ScriptValue::date(45000), u"2023/03/15", u"2023/03/15", u"2023/03/15"},
      {"date and time", ScriptValue::date(45000.75), u"2023/03/15 18:00:00", u"2023/03/15 18:00:00",
       u"2023/03/15 18:00:00"},
      {"array", ScriptValue::array(ArrayValue::fromList({ScriptValue::number(1)})), std::nullopt, u"", u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(c.value.tryToText(), c.general);
    if (c.value.isArray()) {
      EXPECT_THROW(c.value.toDisplayText(), ScriptError);
      EXPECT_THROW(c.value.toArgumentText(), ScriptError);
      continue;
    }
    EXPECT_EQ(c.value.toDisplayText(), c.display);
    EXPECT_EQ(c.value.toArgumentText(), c.argument);
  }
}

TEST(ValuesScriptValue, BooleansConvertByTheirPayload) {
  EXPECT_EQ(ScriptValue::keywordBool(true).toDouble() + 0, 1);
  EXPECT_EQ(ScriptValue::builtinBool(true).toDouble() + 0, -1);
  EXPECT_EQ(ScriptValue::keywordBool(true).typeCode(), 11);
  EXPECT_TRUE(ScriptValue::boolean(2).isTrue());
  EXPECT_FALSE(ScriptValue::boolean(0).isTrue());
}

TEST(ValuesScriptValue, ListingFormCutsAndMarksBreaks) {
  EXPECT_EQ(ScriptValue::string(u"a\r\nb\tc").toListingText(), u"a<#CR>b<#TAB>c");
  EXPECT_EQ(ScriptValue::string(u"a\nb\rc").toListingText(), u"a\nb\rc");  // only CR LF pairs
  const std::u16string longText(1030, u'x');
  EXPECT_EQ(ScriptValue::string(longText).toListingText(), std::u16string(1024, u'x') + u"...");
  EXPECT_EQ(ScriptValue::string(std::u16string(1024, u'y')).toListingText(), std::u16string(1024, u'y'));
  // The cut comes first: a tab past character 1024 is gone, not marked.
  EXPECT_EQ(ScriptValue::string(std::u16string(1024, u'z') + u"\t").toListingText(),
            std::u16string(1024, u'z') + u"...");
  EXPECT_EQ(ScriptValue::null().toListingText(), u"NULL");
  EXPECT_EQ(ScriptValue::nothing().toListingText(), u"NOTHING");
  EXPECT_EQ(ScriptValue().toListingText(), u"");
  EXPECT_EQ(ScriptValue::error(1).toListingText(), u"ERROR");
}

TEST(ValuesScriptValue, NumbersFromValues) {
  EXPECT_EQ(ScriptValue().tryToDouble(), 0.0);
  EXPECT_EQ(ScriptValue::string(u" 12 ").tryToDouble(), 12.0);
  EXPECT_EQ(ScriptValue::string(u"1E5").tryToDouble(), 100000.0);  // loose
  EXPECT_EQ(ScriptValue::string(u"abc").tryToDouble(), std::nullopt);
  EXPECT_EQ(ScriptValue::null().tryToDouble(), std::nullopt);
  EXPECT_EQ(ScriptValue::integer(VarType::UInt64, -1).tryToDouble(), 18446744073709551615.0);
  EXPECT_EQ(ScriptValue::currency(25000).tryToDouble(), 2.5);
  try {
    ScriptValue::string(u"x").toDouble();
    FAIL() << "no error";
  } catch (const ScriptError& e) {
    EXPECT_EQ(e.message().english, u"a type isn't correct. or overflow.");
    EXPECT_EQ(e.message().japanese, u"型が合っていない or オーバーフロー");
  }
}

TEST(ValuesScriptValue, TruthIsNotEqualToZero) {
  struct Case {
    const char* label;
    ScriptValue value;
    bool truth;
  };
  const Case cases[] = {
      {"Empty", ScriptValue(), false},
      {"Null", ScriptValue::null(), false},
      {"0", ScriptValue::number(0), false},
      {"0.5", ScriptValue::number(0.5), true},
      {"-1", ScriptValue::int32(-1), true},
      {"\"0\"", ScriptValue::string(u"0"), false},
      {"\"00\" (compared as text)", ScriptValue::string(u"00"), true},
      {"\"\"", ScriptValue::string(u""), true},
      {"NOTHING", ScriptValue::nothing(), false},
      {"object", ScriptValue::object(std::make_shared<TestObject>()), true},
  };
  for (const auto& c : cases) EXPECT_EQ(c.value.isTrue(), c.truth) << c.label;
}

TEST(ValuesScriptValue, MarkersAndTypeCodes) {
  EXPECT_EQ(kEmptyMarker, std::u16string_view(u"\u0001__EMPTY__"));
  EXPECT_EQ(kNullMarker, std::u16string_view(u"\u0001__NULL__"));
  EXPECT_EQ(kNothingMarker, std::u16string_view(u"\u0001__NOTHING__"));
  EXPECT_EQ(ScriptValue::string(u"a").typeCode(), 258);
  EXPECT_EQ(ScriptValue::byteString("ab").typeCode(), 256);
  EXPECT_EQ(ScriptValue::string(u"a", VarType::OleString).typeCode(), 8);
  EXPECT_EQ(ScriptValue::array(ArrayValue()).typeCode(), 8204);
  EXPECT_EQ(ScriptValue::nothing().typeCode(), 9);
  EXPECT_TRUE(ScriptValue::nothing().isNothing());
  EXPECT_EQ(ScriptValue::byteString("ab").bytes(), "ab");
  EXPECT_EQ(ScriptValue::byteString("12").tryToDouble(), 12.0);
}

// ---- copy-on-write ----

TEST(ValuesScriptValue, ChangingACopiedStringLeavesTheOriginal) {
  const ScriptValue original = ScriptValue::string(u"abc");
  ScriptValue copy = original;
  copy.mutableString() += u"d";
  EXPECT_EQ(original.stringRef(), u"abc");
  EXPECT_EQ(copy.stringRef(), u"abcd");
  // An unshared string changes in place.
  const char16_t* before = copy.stringRef().data();
  copy.mutableString()[0] = u'X';
  EXPECT_EQ(copy.stringRef().data(), before);
}

TEST(ValuesScriptValue, ChangingACopiedArrayLeavesTheOriginal) {
  const ScriptValue original = ScriptValue::array(
      ArrayValue::fromList({ScriptValue::number(1), ScriptValue::string(u"b")}));
  ScriptValue copy = original;
  copy.mutableArray().at(0) = ScriptValue::number(9);
  copy.mutableArray().append(ScriptValue::number(3));
  EXPECT_EQ(original.arrayRef().size(), 2u);
  EXPECT_EQ(original.arrayRef().at(0).toText(), u"1");
  EXPECT_EQ(copy.arrayRef().at(0).toText(), u"9");
  EXPECT_EQ(copy.arrayRef().bound(0).upper, 2);
}

TEST(ValuesScriptValue, ChangingAnArrayInsideACopiedArrayLeavesTheOriginal) {
  const ScriptValue inner = ScriptValue::array(ArrayValue::fromList({ScriptValue::number(1)}));
  const ScriptValue outer = ScriptValue::array(ArrayValue::fromList({inner}));
  ScriptValue copy = outer;
  copy.mutableArray().at(0).mutableArray().at(0) = ScriptValue::number(5);
  EXPECT_EQ(outer.arrayRef().at(0).arrayRef().at(0).toText(), u"1");
  EXPECT_EQ(inner.arrayRef().at(0).toText(), u"1");
  EXPECT_EQ(copy.arrayRef().at(0).arrayRef().at(0).toText(), u"5");
}

TEST(ValuesScriptValue, SameTypeAndValue) {
  EXPECT_TRUE(ScriptValue::number(1).sameTypeAndValue(ScriptValue::number(1)));
  EXPECT_FALSE(ScriptValue::number(1).sameTypeAndValue(ScriptValue::int32(1)));
  EXPECT_FALSE(ScriptValue::string(u"a").sameTypeAndValue(ScriptValue::string(u"A")));
  const auto list = [](double a, double b) {
    return ScriptValue::array(ArrayValue::fromList({ScriptValue::number(a), ScriptValue::number(b)}));
  };
  EXPECT_TRUE(list(1, 2).sameTypeAndValue(list(1, 2)));
  EXPECT_FALSE(list(1, 2).sameTypeAndValue(list(1, 3)));
}

// ---- arrays ----

TEST(ValuesScriptValue, ArrayShapeAndLimits) {
  ArrayValue grid({{0, 2}, {1, 3}});
  EXPECT_EQ(grid.size(), 9u);
  const int64_t at[] = {1, 2};
  EXPECT_EQ(grid.flatIndex(at), 4u);  // row-major: 1 * 3 + (2 - 1)
  const int64_t outside[] = {1, 0};
  EXPECT_EQ(grid.flatIndex(outside), std::nullopt);
  EXPECT_EQ(ArrayValue({{0, -1}}).size(), 0u);
  EXPECT_THROW(ArrayValue({{0, -2}}), ScriptError);
  EXPECT_THROW(ArrayValue({{0, int64_t{1} << 20}, {0, int64_t{1} << 20}}), ScriptError);
  EXPECT_THROW(ArrayValue({{INT64_MIN, INT64_MAX}}), ScriptError);
  EXPECT_THROW(ArrayValue(std::vector<ArrayBound>(17, ArrayBound{0, 0})), ScriptError);
}

// ---- objects ----

TEST(ValuesScriptValue, ObjectsHaveAStableIdentityUntilReleased) {
  auto object = std::make_shared<TestObject>();
  std::weak_ptr<TestObject> watch = object;
  uint64_t id = 0;
  {
    const ScriptValue a = ScriptValue::object(object);
    const ScriptValue b = a;
    const ScriptValue c = ScriptValue::object(object);
    id = a.objectId();
    EXPECT_NE(id, 0u);
    EXPECT_EQ(c.objectId(), id);
    EXPECT_EQ(b.toDisplayText(), utf8ToUtf16(std::to_string(id)));
    EXPECT_EQ(ObjectRegistry::instance().find(id).get(), object.get());
    object.reset();
    EXPECT_FALSE(watch.expired());  // the values keep it alive
  }
  EXPECT_TRUE(watch.expired());
  EXPECT_EQ(ObjectRegistry::instance().find(id), nullptr);
  EXPECT_TRUE(ScriptValue::object(nullptr).isNothing());
}

}  // namespace
}  // namespace maqo::engine
