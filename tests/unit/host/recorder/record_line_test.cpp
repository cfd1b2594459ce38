#include "host/recorder/record_line.h"

#include <gtest/gtest.h>

#include "host/recorder/key_names.h"
#include "host/recorder/script_line.h"

namespace maqo::host::recorder {
namespace {

TEST(RecorderRecordLine, ReadsEachKindWithItsFieldLayout) {
  const auto key = ParseEventRecord(u"K,65,256,0", true);
  ASSERT_TRUE(key);
  EXPECT_EQ(key->kind, RecordKind::Key);
  EXPECT_EQ(key->virtualKey, 65);
  EXPECT_EQ(key->message, 256);
  EXPECT_EQ(key->duration, u"0");

  const auto command = ParseEventRecord(u"C, 40001 ", false);
  ASSERT_TRUE(command);
  EXPECT_EQ(command->kind, RecordKind::MenuCommand);
  EXPECT_EQ(command->commandId, u"40001");

  const auto system = ParseEventRecord(u"S,61472,131234", false);
  ASSERT_TRUE(system);
  EXPECT_EQ(system->systemCode, 61472);
  EXPECT_EQ(system->window, 131234u);

  const auto mouse = ParseEventRecord(u"M,161,410,310,25", true);  // non-client left down
  ASSERT_TRUE(mouse);
  EXPECT_EQ(mouse->kind, RecordKind::Mouse);
  EXPECT_EQ(mouse->message, 513);
  EXPECT_EQ(mouse->x, 410);
  EXPECT_EQ(mouse->y, 310);
  EXPECT_EQ(mouse->duration, u"25");

  const auto levelOneMouse = ParseEventRecord(u"M,513,-5,7", false);
  ASSERT_TRUE(levelOneMouse);
  EXPECT_EQ(levelOneMouse->x, -5);
  EXPECT_TRUE(levelOneMouse->duration.empty());
}

TEST(RecorderRecordLine, RejectsMalformedRecords) {
  for (const char16_t* text : {u"", u"K,65", u"K,x,256,0", u"M,513,1", u"M,513,1,2", u"C", u"C,  ", u"S,61472"})
    EXPECT_FALSE(ParseEventRecord(text, true)) << std::u16string(text).size();
}

TEST(RecorderRecordLine, MapsNonClientMouseMessages) {
  const int cases[][2] = {{160, 512}, {161, 513}, {169, 521}, {170, 170}, {171, 523}, {173, 525}, {515, 515}};
  for (const auto& c : cases) EXPECT_EQ(ClientMouseMessage(c[0]), c[1]) << c[0];
}

TEST(RecorderKeyNames, WritesOneNamePerCode) {
  const struct {
    int code;
    const char16_t* name;
  } cases[] = {
      {65, u"VK_A"},       {48, u"VK_0"},        {13, u"VK_RETURN"}, {17, u"VK_CTRL"},  {18, u"VK_ALT"},
      {27, u"VK_ESC"},     {91, u"VK_WIN"},      {92, u"VK_RWIN"},   {160, u"VK_SHIFT"}, {161, u"VK_RSHIFT"},
      {162, u"VK_CTRL"},   {163, u"VK_RCTRL"},   {164, u"VK_ALT"},   {165, u"VK_RALT"}, {901, u"VK_RRETURN"},
      {112, u"VK_F1"},     {243, u"VK_OEM_AUTO"}, {7, u"7"},          {255, u"255"},
  };
  for (const auto& c : cases) EXPECT_EQ(KeyName(c.code), std::u16string(c.name)) << c.code;
}

TEST(RecorderKeyNames, EveryWrittenNameReadsBackAsItsCode) {
  for (int code = 1; code < 256; ++code) {
    const auto value = ArgumentValue(KeyName(code));
    ASSERT_TRUE(value) << code;
    // The left forms are written as the plain key on purpose.
    const int expected = code == 160 ? 16 : code == 162 ? 17 : code == 164 ? 18 : code;
    EXPECT_EQ(*value, expected) << code;
  }
}

TEST(RecorderScriptLine, SplitsArgumentsAtTopLevelCommasOnly) {
  const ScriptLine line = ParseScriptLine(u"ACW(GETID(\"a, b (x)\",\"C,1\"),10,20,300,200,0)");
  EXPECT_EQ(line.kind, u"ACW");
  ASSERT_EQ(line.arguments.size(), 6u);
  EXPECT_EQ(line.arguments[0], u"GETID(\"a, b (x)\",\"C,1\")");
  EXPECT_EQ(line.arguments[5], u"0");
  EXPECT_EQ(FormatScriptLine(line), u"ACW(GETID(\"a, b (x)\",\"C,1\"),10,20,300,200,0)");

  const ScriptLine unbalanced = ParseScriptLine(u"ACW(GETID(\"x)\"),1,2,3,4,5)");
  ASSERT_EQ(unbalanced.arguments.size(), 6u);
  EXPECT_EQ(unbalanced.arguments[0], u"GETID(\"x)\")");
}

TEST(RecorderScriptLine, EscapesQuotesTabsAndLineBreaks) {
  EXPECT_EQ(EscapeForScriptString(u"a\"b\tc\r\nd\re\nf"), u"a<#DBL>b<#TAB>c<#CR>d<#CR>e<#CR>f");
}

}  // namespace
}  // namespace maqo::host::recorder
