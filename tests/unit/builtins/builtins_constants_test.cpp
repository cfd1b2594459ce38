// The builtin constants against the reference lists of the language (written
// out below as they stand), the numbered series, the special names computed on
// reading and the reserved words they make.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "builtins/builtin_table.h"
#include "builtins/constants.h"
#include "builtins/special_names.h"
#include "engine/values/number_text.h"
#include "tests/unit/builtins/builtins_fake_host.h"

namespace maqo::builtins {
namespace {

using testing::errorOf;
using testing::FakeBuiltinHost;
using testing::u8;

// Each family's constants: NAME VALUE, comma-separated.
const std::u16string_view kFamilies[] = {
    u"CLICK 0, DOWN 1, UP 2, LEFT 0, RIGHT 1, MIDDLE 2, WHEEL 9.",
    u"ACTIVATE 1, CLOSE 2, CLOSE2 3, HIDE 4, SHOW 5, MIN 6, MAX 7, NORMAL 8, TOPMOST 9, NOTOPMOST 10, TOPNOACTV 11.",
    u"F_READ 2, F_WRITE 4, F_WRITE1 8, F_WRITE8 16, F_WRITE8B 32, F_WRITE16 64, F_NOCR 128, F_TAB 256, F_EXISTS 1, F_EXCLUSIVE 512, F_LINECOUNT -1, F_ALLTEXT -2, F_INSERT -1.",
    u"P_FORCE 8, P_POWEROFF 16, P_SHUTDOWN 32, P_REBOOT 64, P_LOGOFF 128, P_SUSPEND 256, P_SUSPEND2 512, P_MONIPOWER 1024, P_MONIPOWER2 2048, P_MONIPOWER3 4096, P_SCREENSAVE 8192, P_MAQO_REEXEC 16384.",
    u"ST_X 1, ST_Y 2, ST_WIDTH 3, ST_HEIGHT 4, ST_CLX 5, ST_CLY 6, ST_CLWIDTH 7, ST_CLHEIGHT 8, ST_TITLE 9, ST_ICON 10, ST_MAXIMIZED 11, ST_VISIBLE 12, ST_ACTIVE 13, ST_CLASS 14, ST_BUSY 15, ST_PARENT 16, ST_PATH 17, ST_PROCESS 18, ST_WIN64 19, ST_MONITOR 20, ST_ISID 21.",
    u"SC_LOWERCASE 256, SC_UPPERCASE 512, SC_HIRAGANA 1048576, SC_KATAKANA 2097152, SC_HALFWIDTH 4194304, SC_FULLWIDTH 8388608.",
    u"OS_MAJOR 2, OS_MINOR 3, OS_BUILDNUMBER 4, OS_PLATFORM 5, OS_WIN64 1.",
    u"XL_NEW 1, XL_BOOK 2, XL_OOOC 3.",
    u"BTN_OK 1, BTN_CANCEL 2, BTN_YES 4, BTN_NO 8, BTN_ABORT 16, BTN_RETRY 32, BTN_IGNORE 64.",
    u"MOD_ALT 1, MOD_CONTROL 2, MOD_SHIFT 4, MOD_WIN 8.",
    u"CLK_BTN 1, CLK_LIST 2, CLK_MENU 4, CLK_TAB 8, CLK_LSTVEW 32, CLK_LISTVEW 32, CLK_LISTVIEW 32, CLK_TREEVEW 16, CLK_TREEVIEW 16, CLK_TOOLBAR 64, CLK_SHORT 256, CLK_BACK 512, CLK_MUSMOVE 1024, CLK_MOUSEMOVE 1024, CLK_LEFTCLK 2048, CLK_RIGHTCLK 4096, CLK_DBLCLK 8192, CLK_OFTHIS 16384, CLK_ACC 32768, CLK_ACC2 268468224, CLK_ACCN 536903680, CLK_ACCV 1073774592, CLK_FROMLAST 65536, CLK_CONTINUE 33554432.",
    u"CHK_BTN 134217729, CHK_MENU 134217732, CHK_LSTVEW 134217760, CHK_LISTVEW 134217760, CHK_LISTVIEW 134217760, CHK_TREEVEW 134217744, CHK_TREEVIEW 134217744.",
    u"STR_EDIT 0, STR_STATIC 1, STR_STATUS 2, STR_ACC_EDIT 3, STR_ACC_STATIC 4, STR_ACC_CELL 5.",
    u"ITM_BTN 1, ITM_LIST 2, ITM_MENU 4, ITM_TAB 8, ITM_LSTVEW 32, ITM_LISTVEW 32, ITM_LISTVIEW 32, ITM_TREEVEW 16, ITM_TREEVIEW 16, ITM_EDIT 131072, ITM_STATIC 262144, ITM_STATUSBAR 524288, ITM_TOOLBAR 64, ITM_BACK 512, ITM_FROMLAST 65536, ITM_ACCCLK 4194304, ITM_ACCTXT 8388608, ITM_ACCEDIT 16777216, ITM_ACCCLK2 272629760, ITM_ACCCLKN 541065216, ITM_ACCCLKV 1077936128, ITM_ACCTXT2 276824064, ITM_ACCTXTN 545259520, ITM_ACCTXTV 1082130432.",
    u"TGL_NUMLOCK 10000, TGL_CAPSLOCK 10001, TGL_SCROLLLOCK 10002, TGL_KANALOCK 10003, TGL_IME 10004.",
    u"FOM_NOICON 1, FOM_NOHIDE 2, FOM_NOSUBMIT 4, FOM_NORESIZE 8, FOM_TOPMOST 16, FOM_NOTOP 32, FOM_NOLUNA 64, FOM_BROWSER 128, FOM_MINIMIZE 256, FOM_MAXIMIZE 512, FOM_NOCAPTION 1024, FOM_NOFLOATEXCEPT 2048, FOM_FORMHIDE 4096, FOM_FORM2 8192, FOM_NOTASKBAR 16384, FOM_NOCHECK 16777216, FOM_GETVALUE -59999999.",
    u"ACC_ACCAPI 0, ACC_ACC 1, ACC_API 2, ACC_NAME 3, ACC_VALUE 4, ACC_ROLE 5, ACC_STATE 6, ACC_DESCRIPTION 7, ACC_LOCATION 8, ACC_HELP 9, ACC_BACK 512.",
    u"CUR_APPSTARTING 1, CUR_ARROW 2, CUR_CROSS 3, CUR_HAND 4, CUR_HELP 5, CUR_IBEAM 6, CUR_ICON 7, CUR_NO 8, CUR_SIZE 9, CUR_SIZEALL 10, CUR_SIZENESW 11, CUR_SIZENS 12, CUR_SIZENWSE 13, CUR_SIZEWE 14, CUR_UPARROW 15, CUR_WAIT 16.",
    u"IMG_MSK_BGR1 65793, IMG_MSK_BGR2 197379, IMG_MSK_BGR3 460551, IMG_MSK_BGR4 986895, IMG_MSK_BGR5 2039583, IMG_MSK_BGR6 4144959, IMG_MSK_B1 65536, IMG_MSK_B2 196608, IMG_MSK_B3 458752, IMG_MSK_B4 983040, IMG_MSK_B5 2031616, IMG_MSK_B6 4128768, IMG_MSK_B7 8323072, IMG_MSK_B8 16711680, IMG_MSK_G1 256, IMG_MSK_G2 768, IMG_MSK_G3 1792, IMG_MSK_G4 3840, IMG_MSK_G5 7936, IMG_MSK_G6 16128, IMG_MSK_G7 32512, IMG_MSK_G8 65280, IMG_MSK_R1 1, IMG_MSK_R2 3, IMG_MSK_R3 7, IMG_MSK_R4 15, IMG_MSK_R5 31, IMG_MSK_R6 63, IMG_MSK_R7 127, IMG_MSK_R8 255, IMG_FORE 1, IMG_BACK 2.",
    u"SLD_POS 0, SLD_MIN 1, SLD_MAX 2, SLD_PAGE 3, SLD_BAR 4, SLD_X 5, SLD_Y 6, SLD_X2 7, SLD_Y2 8.",
    u"VAR_EMPTY 0, VAR_NULL 1, VAR_SMALLINT 2, VAR_INTEGER 3, VAR_SINGLE 4, VAR_DOUBLE 5, VAR_CURRENCY 6, VAR_DATE 7, VAR_OLESTR 8, VAR_DISPATCH 9, VAR_ERROR 10, VAR_BOOLEAN 11, VAR_VARIANT 12, VAR_UNKNOWN 13, VAR_SBYTE 16, VAR_BYTE 17, VAR_WORD 18, VAR_DWORD 19, VAR_INT64 20, VAR_ASTR 256, VAR_USTR 258, VAR_ARRAY 8192.",
    u"GET_SLIDER -10000000, GET_MAQO_VER 5.11 (currency), ERR_VALUE -999999.",
    u"MON_X 0, MON_Y 1, MON_WIDTH 2, MON_HEIGHT 3, MON_PRIMARY 4, MON_NAME 5.",
    u"COL_RGB 3, COL_R 4, COL_G 5, COL_B 6.",
    u"TRD_SUSPEND 1, TRD_RESUME 3, TRD_QUIT 2, TRD_IDLE 10, TRD_LOWEST 11, TRD_LOWER 12, TRD_NORMAL 13, TRD_HIGHER 14, TRD_HIGHEST 15.",
    u"CODE_ANSI 1, CODE_URL 2, CODE_UTF8 3, CODE_HTML 4, CODE_BYTEARRAY 5, CODE_BYTEARRAYW 6.",
    u"HASH_KEY -101, HASH_VAL -102, HASH_EXISTS -103, HASH_REMOVE -104, HASH_REMOVEALL -109, HASH_CASECARE 4096, HASH_SORT 8192.",
    u"CALC_ADD 1, CALC_MIN 2, CALC_MAX 3, CALC_AVR 4.",
    u"MORG_CLIENT 1, MORG_DIRECT 2, MORG_FORE 1, MORG_BACK 2.",
    u"LOCK_KEYBOARD 1, LOCK_MOUSE 2.",
    u"QSRT_A 0, QSRT_D 1, QSRT_UNICODEA 2, QSRT_UNICODED 3, QSRT_NATURALA 4, QSRT_NATURALD 5.",
    u"SNSR_BIOMETRIC_HUMANPRESENSE 1, SNSR_BIOMETRIC_HUMANPROXIMITY 2, SNSR_ELECTRICAL_CAPACITANCE 5, SNSR_ELECTRICAL_RESISTANCE 6, SNSR_ELECTRICAL_INDUCTANCE 7, SNSR_ELECTRICAL_CURRENT 8, SNSR_ELECTRICAL_VOLTAGE 9, SNSR_ELECTRICAL_POWER 10, SNSR_ENVIRONMENTAL_TEMPERATURE 15, SNSR_ENVIRONMENTAL_PRESSURE 16, SNSR_ENVIRONMENTAL_HUMIDITY 17, SNSR_ENVIRONMENTAL_WINDDIRECTION 18, SNSR_ENVIRONMENTAL_WINDSPEED 19, SNSR_LIGHT_LUX 20, SNSR_LIGHT_TEMPERATURE 21, SNSR_LIGHT_CHROMACITY 22, SNSR_MECHANICAL_FORCE 25, SNSR_MECHANICAL_ABSPRESSURE 26, SNSR_MECHANICAL_GAUGEPRESSURE 27, SNSR_MECHANICAL_WEIGHT 28, SNSR_MOTION_ACCELERATIONX 30, SNSR_MOTION_ACCELERATIONY 31, SNSR_MOTION_ACCELERATIONZ 32, SNSR_MOTION_ANGLEACCELX 33, SNSR_MOTION_ANGLEACCELY 34, SNSR_MOTION_ANGLEACCELZ 35, SNSR_MOTION_SPEED 36, SNSR_SCANNER_RFIDTAG 40, SNSR_SCANNER_BARCODEDATA 41, SNSR_ORIENTATION_TILTX 45, SNSR_ORIENTATION_TILTY 46, SNSR_ORIENTATION_TILTZ 47, SNSR_ORIENTATION_DISTANCEX 48, SNSR_ORIENTATION_DISTANCEY 49, SNSR_ORIENTATION_DISTANCEZ 50, SNSR_ORIENTATION_MAGHEADING 51, SNSR_ORIENTATION_TRUEHEADING 52, SNSR_ORIENTATION_COMPMAGHEADING 53, SNSR_ORIENTATION_COMPTRUEHEADING 54, SNSR_LOCATION_ALTITUDE 60, SNSR_LOCATION_LATITUDE 61, SNSR_LOCATION_LONGITUDE 62, SNSR_LOCATION_SPEED 63, SNSR_LOCATION_ADDRESS1 64, SNSR_LOCATION_ADDRESS2 65, SNSR_LOCATION_CITY 66, SNSR_LOCATION_COUNTRYREGION 67.",
    u"SLCT_BTN 1, SLCT_CHK 2, SLCT_RDO 4, SLCT_CMB 8, SLCT_LST 16, SLCT_STR 64, SLCT_NUM 128",
    u"VK_LBUTTON 1, VK_RBUTTON 2, VK_MBUTTON 4, VK_START 92, VK_WIN 91, VK_RWIN 92, VK_ALT 18, VK_RALT 165, VK_CTRL 17, VK_LCTRL 162, VK_RCTRL 163, VK_ESC 27, VK_BACK 8, VK_TAB 9, VK_CLEAR 12, VK_RETURN 13, VK_ENTER 13, VK_RRETURN 901, VK_RENTER 901, VK_SHIFT 16, VK_LSHIFT 160, VK_RSHIFT 161, VK_CONTROL 17, VK_RCONTROL 163, VK_MENU 18, VK_LMENU 164, VK_RMENU 165, VK_PAUSE 19, VK_CAPITAL 20, VK_KANA 21, VK_FINAL 24, VK_KANJI 25, VK_CONVERT 28, VK_NONCONVERT 29, VK_ACCEPT 30, VK_MODECHANGE 31, VK_ESCAPE 27, VK_SPACE 32, VK_PRIOR 33, VK_NEXT 34, VK_END 35, VK_HOME 36, VK_LEFT 37, VK_UP 38, VK_RIGHT 39, VK_DOWN 40, VK_SELECT 41, VK_PRINT 42, VK_EXECUTE 43, VK_SNAPSHOT 44, VK_INSERT 45, VK_DELETE 46, VK_HELP 47, VK_APPS 93, VK_NUMPAD0 96, VK_NUMPAD1 97, VK_NUMPAD2 98, VK_NUMPAD3 99, VK_NUMPAD4 100, VK_NUMPAD5 101, VK_NUMPAD6 102, VK_NUMPAD7 103, VK_NUMPAD8 104, VK_NUMPAD9 105, VK_MULTIPLY 106, VK_ADD 107, VK_SEPARATOR 108, VK_SUBTRACT 109, VK_DECIMAL 110, VK_DIVIDE 111, VK_F1 112, VK_F2 113, VK_F3 114, VK_F4 115, VK_F5 116, VK_F6 117, VK_F7 118, VK_F8 119, VK_F9 120, VK_F10 121, VK_F11 122, VK_F12 123, VK_NUMLOCK 144, VK_SCROLL 145, VK_PROCESSKEY 229, VK_ATTN 246, VK_CRSEL 247, VK_EXSEL 248, VK_EREOF 249, VK_PLAY 250, VK_ZOOM 251, VK_PA1 253, VK_OEM_CLEAR 254, VK_SLEEP 95, VK_BROWSER_BACK 166, VK_BROWSER_FORWARD 167, VK_BROWSER_REFRESH 168, VK_BROWSER_STOP 169, VK_BROWSER_SEARCH 170, VK_BROWSER_FAVORITES 171, VK_BROWSER_HOME 172, VK_VOLUME_MUTE 173, VK_VOLUME_DOWN 174, VK_VOLUME_UP 175, VK_MEDIA_NEXT_TRACK 176, VK_MEDIA_PREV_TRACK 177, VK_MEDIA_STOP 178, VK_MEDIA_PLAY_PAUSE 179, VK_LAUNCH_MAIL 180, VK_LAUNCH_MEDIA_SELECT 181, VK_LAUNCH_APP1 182, VK_LAUNCH_APP2 183, VK_OEM_1 186, VK_OEM_PLUS 187, VK_OEM_COMMA 188, VK_OEM_MINUS 189, VK_OEM_PERIOD 190, VK_OEM_2 191, VK_OEM_3 192, VK_OEM_4 219, VK_OEM_5 220, VK_OEM_6 221, VK_OEM_7 222, VK_OEM_8 223, VK_OEM_AX 225, VK_OEM_102 226, VK_ICO_HELP 227, VK_ICO_00 228, VK_ICO_CLEAR 230, VK_PACKET 231, VK_OEM_RESET 233, VK_OEM_JUMP 234, VK_OEM_PA1 235, VK_OEM_PA2 236, VK_OEM_PA3 237, VK_OEM_WSCTRL 238, VK_OEM_CUSEL 239, VK_OEM_ATTN 240, VK_OEM_FINISH 241, VK_OEM_COPY 242, VK_OEM_AUTO 243, VK_OEM_ENLW 244, VK_OEM_BACKTAB 245",
};

std::vector<std::pair<std::u16string, double>> parseFamily(std::u16string_view list) {
  std::vector<std::pair<std::u16string, double>> out;
  std::u16string text(list);
  if (!text.empty() && text.back() == u'.') text.pop_back();
  size_t from = 0;
  while (from < text.size()) {
    size_t end = text.find(u", ", from);
    if (end == std::u16string::npos) end = text.size();
    std::u16string item = text.substr(from, end - from);
    const size_t note = item.find(u" (");
    if (note != std::u16string::npos) item = item.substr(0, note);
    const size_t space = item.find(u' ');
    out.emplace_back(item.substr(0, space), *engine::parseNumberText(item.substr(space + 1)));
    from = end + 2;
  }
  return out;
}

TEST(BuiltinConstants, EveryListedConstantHasItsValue) {
  std::set<std::u16string> names;
  for (std::u16string_view family : kFamilies)
    for (const auto& [name, value] : parseFamily(family)) {
      const std::optional<double> found = FindBuiltinConstant(name);
      ASSERT_TRUE(found.has_value()) << u8(name);
      EXPECT_EQ(*found, value) << u8(name);
      names.insert(name);
    }
  EXPECT_EQ(names.size(), 510u);
  EXPECT_EQ(BuiltinConstants().size(), 577u);
  std::set<std::u16string_view> all;
  for (const BuiltinConstant& c : BuiltinConstants()) EXPECT_TRUE(all.insert(c.name).second) << u8(c.name);
}

TEST(BuiltinConstants, NumberedSeries) {
  for (int n = 1; n <= 31; ++n)
    EXPECT_EQ(FindBuiltinConstant(utf8ToUtf16("SLCT_" + std::to_string(n))), std::ldexp(1.0, n - 1)) << n;
  for (char c = '0'; c <= '9'; ++c) EXPECT_EQ(FindBuiltinConstant(utf8ToUtf16(std::string("VK_") + c)), c);
  for (char c = 'A'; c <= 'Z'; ++c) EXPECT_EQ(FindBuiltinConstant(utf8ToUtf16(std::string("VK_") + c)), c);
  EXPECT_FALSE(FindBuiltinConstant(u"SLCT_0"));
  EXPECT_FALSE(FindBuiltinConstant(u"SLCT_32"));
}

TEST(BuiltinConstants, LookupIgnoresCaseAndReportsMissingNames) {
  EXPECT_EQ(FindBuiltinConstant(u"f_read"), 2);
  EXPECT_EQ(FindBuiltinConstant(u"Vk_Return"), 13);
  EXPECT_EQ(BuiltinConstantValue(u"NO_SUCH_CONSTANT"), -888888);
  EXPECT_EQ(BuiltinConstantValue(u"HASH_REMOVEALL"), -109);
}

TEST(BuiltinConstants, ReadInExpressionsAsNumbers) {
  FakeBuiltinHost host;
  const struct {
    std::u16string_view expression;
    double value;
  } cases[] = {
      {u"F_READ + F_WRITE", 6},        {u"HASH_REMOVEALL", -109},  {u"GET_SLIDER", -10000000},
      {u"FOM_GETVALUE", -59999999},    {u"VK_A", 65},              {u"VK_Z", 90},
      {u"VK_5", 53},                   {u"VK_RRETURN", 901},       {u"VK_RENTER", 901},
      {u"SLCT_3", 4},                  {u"SLCT_31", 1073741824},   {u"GET_MAQO_VER", 5.11},
      {u"f_read", 2},                  {u"CLK_ACCV", 1073774592},
  };
  for (const auto& c : cases) {
    const engine::ScriptValue v = host.run(c.expression);
    EXPECT_TRUE(v.isDouble()) << u8(c.expression);
    EXPECT_EQ(v.toDouble(), c.value) << u8(c.expression);
  }
}

TEST(BuiltinSpecialNames, MachineFiguresComeFromTheSystem) {
  FakeBuiltinHost host;
  host.info.cursor = platform::ScreenPoint{12, 34};
  host.info.screen = platform::ScreenSize{3840, 1080};
  host.info.depth = 32;
  EXPECT_EQ(host.run(u"G_MOUSE_X").toDouble(), 12);
  EXPECT_EQ(host.run(u"G_MOUSE_Y").toDouble(), 34);
  EXPECT_EQ(host.run(u"G_SCREEN_W").toDouble(), 3840);
  EXPECT_EQ(host.run(u"G_SCREEN_H").toDouble(), 1080);
  EXPECT_EQ(host.run(u"G_SCREEN_C").toDouble(), 32);
}

TEST(BuiltinSpecialNames, WithoutADesktopTheFiguresAreACatchableError) {
  FakeBuiltinHost host;
  for (std::u16string_view name : {u"G_MOUSE_X", u"G_MOUSE_Y", u"G_SCREEN_W", u"G_SCREEN_H", u"G_SCREEN_C"}) {
    const auto e = errorOf([&] { host.run(name); });
    EXPECT_EQ(u8(e.english), u8(name) + " needs Windows");
    EXPECT_TRUE(e.catchable);
  }
}

TEST(BuiltinSpecialNames, TextNames) {
  FakeBuiltinHost host;
  const struct {
    std::u16string_view name, text;
  } markers[] = {
      {u"GET_ACTIVE_WIN", u"__GET_ACTIVE_WIN__"},     {u"GET_FROMPOINT_WIN", u"__GET_FROMPOINT_WIN__"},
      {u"GET_FROMPOINT_OBJ", u"__GET_FROMPOINT_OBJ__"}, {u"GET_LOGPRINT_WIN", u"__GET_LOGPRINT_WIN__"},
      {u"GET_STOPFORM_WIN", u"__GET_STOPFORM_WIN__"}, {u"GET_THISMAQO_WIN", u"__GET_THISMAQO_WIN__"},
      {u"GET_FUKIDASI_WIN", u"__GET_FUKIDASI_WIN__"}, {u"GET_BALLOON_WIN", u"__GET_FUKIDASI_WIN__"},
      {u"GET_FORM_WIN", u"__GET_FORM_WIN__"},         {u"GET_FORM_WIN2", u"__GET_FORM_WIN2__"},
      {u"GET_SCHEDULE_WIN", u"__GET_SCHEDULE_WIN__"}, {u"GET_MENU_HND", u"__GET_MENU_HND__"},
      {u"GET_SYSMENU_HND", u"__GET_SYSMENU_HND__"},   {u"EMPTYPARAM", u"__EMPTYPARAM__"},
  };
  for (const auto& m : markers) {
    EXPECT_EQ(u8(host.run(m.name).toText()), u8(m.text));
    EXPECT_EQ(u8(host.names.textValue(m.name)), u8(m.text));
  }
  EXPECT_EQ(host.run(u"GET_CUR_DIR").toText(), host.platform().files.currentDirectory());
  EXPECT_EQ(host.run(u"GET_MAQO_DIR").toText(), host.platform().files.executableDirectory());
  EXPECT_EQ(host.names.textValue(u"F_READ"), u"");
  EXPECT_EQ(host.names.numericValue(u"GET_CUR_DIR"), kConstantNotFound);
  EXPECT_EQ(host.names.numericValue(u"vk_return"), 13);
}

TEST(BuiltinSpecialNames, HostCaptionAndComErrorFlagComeFromTheirHooks) {
  FakeBuiltinHost host;
  EXPECT_EQ(u8(errorOf([&] { host.run(u"GET_MAQO_NAME"); }).english), "GET_MAQO_NAME is not available yet");
  host.names.hostCaption = [] { return std::u16string(u"TEST.MQS"); };
  EXPECT_EQ(host.run(u"GET_MAQO_NAME").toText(), u"TEST.MQS");
  host.names.embeddedScript = [] { return true; };
  EXPECT_EQ(host.run(u"GET_MAQO_NAME").toText(), u"TEST.MQS.EXE");

  EXPECT_EQ(host.run(u"COM_ERR_FLG").toArgumentText(), u"0");
  host.names.comErrorFlag = [](engine::THensuFmt&) { return true; };
  EXPECT_EQ(host.run(u"COM_ERR_FLG").toArgumentText(), u"1");
}

TEST(BuiltinSpecialNames, AreReservedWords) {
  FakeBuiltinHost host;
  for (std::u16string_view name : {u"F_READ", u"f_read", u"VK_A", u"SLCT_31", u"GET_MAQO_VER", u"G_MOUSE_X",
                                   u"G_SCREEN_C", u"GET_CUR_DIR", u"GET_WIN_DIR", u"GET_MAQO_NAME", u"GET_FORM_WIN2",
                                   u"EMPTYPARAM", u"COM_ERR_FLG"}) {
    const auto error = host.store.ReservedWordError(name);
    ASSERT_TRUE(error.has_value()) << u8(name);
    EXPECT_EQ(u8(error->english), "Is a reserved word: " + u8(name));
    EXPECT_EQ(u8(error->japanese), u8(name) + " は予約語です");
  }
  for (std::u16string_view name : {u"MYVAR", u"F_READX", u"VK_", u"G_MOUSE", u"GET_"})
    EXPECT_FALSE(host.store.ReservedWordError(name).has_value()) << u8(name);

  const auto declared = host.store.DeclareGlobals(u"GET_CUR_DIR", false, false);
  ASSERT_TRUE(declared.has_value());
  EXPECT_EQ(u8(declared->english), "Is a reserved word: GET_CUR_DIR");
  EXPECT_TRUE(host.store.DeclareGlobals(u"F_READ = 3", false, false).has_value());
}

}  // namespace
}  // namespace maqo::builtins
