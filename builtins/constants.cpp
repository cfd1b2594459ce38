#include "builtins/constants.h"

#include <string>
#include <unordered_map>
#include <vector>

#include "engine/eval/text_helpers.h"

namespace maqo::builtins {

namespace {

// The constants listed by family; the numbered series are added below.
constexpr BuiltinConstant kListed[] = {
    // Mouse buttons and actions
    {u"CLICK", 0}, {u"DOWN", 1}, {u"UP", 2}, {u"LEFT", 0}, {u"RIGHT", 1}, {u"MIDDLE", 2}, {u"WHEEL", 9},
    // Window commands
    {u"ACTIVATE", 1}, {u"CLOSE", 2}, {u"CLOSE2", 3}, {u"HIDE", 4}, {u"SHOW", 5}, {u"MIN", 6}, {u"MAX", 7},
    {u"NORMAL", 8}, {u"TOPMOST", 9}, {u"NOTOPMOST", 10}, {u"TOPNOACTV", 11},
    // File modes and special positions
    {u"F_READ", 2}, {u"F_WRITE", 4}, {u"F_WRITE1", 8}, {u"F_WRITE8", 16}, {u"F_WRITE8B", 32},
    {u"F_WRITE16", 64}, {u"F_NOCR", 128}, {u"F_TAB", 256}, {u"F_EXISTS", 1}, {u"F_EXCLUSIVE", 512},
    {u"F_LINECOUNT", -1}, {u"F_ALLTEXT", -2}, {u"F_INSERT", -1},
    // Power and session actions
    {u"P_FORCE", 8}, {u"P_POWEROFF", 16}, {u"P_SHUTDOWN", 32}, {u"P_REBOOT", 64}, {u"P_LOGOFF", 128},
    {u"P_SUSPEND", 256}, {u"P_SUSPEND2", 512}, {u"P_MONIPOWER", 1024}, {u"P_MONIPOWER2", 2048},
    {u"P_MONIPOWER3", 4096}, {u"P_SCREENSAVE", 8192}, {u"P_MAQO_REEXEC", 16384},
    // Window status items
    {u"ST_X", 1}, {u"ST_Y", 2}, {u"ST_WIDTH", 3}, {u"ST_HEIGHT", 4}, {u"ST_CLX", 5}, {u"ST_CLY", 6},
    {u"ST_CLWIDTH", 7}, {u"ST_CLHEIGHT", 8}, {u"ST_TITLE", 9}, {u"ST_ICON", 10}, {u"ST_MAXIMIZED", 11},
    {u"ST_VISIBLE", 12}, {u"ST_ACTIVE", 13}, {u"ST_CLASS", 14}, {u"ST_BUSY", 15}, {u"ST_PARENT", 16},
    {u"ST_PATH", 17}, {u"ST_PROCESS", 18}, {u"ST_WIN64", 19}, {u"ST_MONITOR", 20}, {u"ST_ISID", 21},
    // String conversions
    {u"SC_LOWERCASE", 256}, {u"SC_UPPERCASE", 512}, {u"SC_HIRAGANA", 1048576}, {u"SC_KATAKANA", 2097152},
    {u"SC_HALFWIDTH", 4194304}, {u"SC_FULLWIDTH", 8388608},
    // Operating-system items
    {u"OS_MAJOR", 2}, {u"OS_MINOR", 3}, {u"OS_BUILDNUMBER", 4}, {u"OS_PLATFORM", 5}, {u"OS_WIN64", 1},
    // Spreadsheet open modes
    {u"XL_NEW", 1}, {u"XL_BOOK", 2}, {u"XL_OOOC", 3},
    // Message-box buttons
    {u"BTN_OK", 1}, {u"BTN_CANCEL", 2}, {u"BTN_YES", 4}, {u"BTN_NO", 8}, {u"BTN_ABORT", 16}, {u"BTN_RETRY", 32},
    {u"BTN_IGNORE", 64},
    // Hot-key modifiers
    {u"MOD_ALT", 1}, {u"MOD_CONTROL", 2}, {u"MOD_SHIFT", 4}, {u"MOD_WIN", 8},
    // Item click options
    {u"CLK_BTN", 1}, {u"CLK_LIST", 2}, {u"CLK_MENU", 4}, {u"CLK_TAB", 8}, {u"CLK_LSTVEW", 32},
    {u"CLK_LISTVEW", 32}, {u"CLK_LISTVIEW", 32}, {u"CLK_TREEVEW", 16}, {u"CLK_TREEVIEW", 16},
    {u"CLK_TOOLBAR", 64}, {u"CLK_SHORT", 256}, {u"CLK_BACK", 512}, {u"CLK_MUSMOVE", 1024},
    {u"CLK_MOUSEMOVE", 1024}, {u"CLK_LEFTCLK", 2048}, {u"CLK_RIGHTCLK", 4096}, {u"CLK_DBLCLK", 8192},
    {u"CLK_OFTHIS", 16384}, {u"CLK_ACC", 32768}, {u"CLK_ACC2", 268468224}, {u"CLK_ACCN", 536903680},
    {u"CLK_ACCV", 1073774592}, {u"CLK_FROMLAST", 65536}, {u"CLK_CONTINUE", 33554432},
    // Check-state item kinds
    {u"CHK_BTN", 134217729}, {u"CHK_MENU", 134217732}, {u"CHK_LSTVEW", 134217760}, {u"CHK_LISTVEW", 134217760},
    {u"CHK_LISTVIEW", 134217760}, {u"CHK_TREEVEW", 134217744}, {u"CHK_TREEVIEW", 134217744},
    // Text source kinds
    {u"STR_EDIT", 0}, {u"STR_STATIC", 1}, {u"STR_STATUS", 2}, {u"STR_ACC_EDIT", 3}, {u"STR_ACC_STATIC", 4},
    {u"STR_ACC_CELL", 5},
    // Item list kinds
    {u"ITM_BTN", 1}, {u"ITM_LIST", 2}, {u"ITM_MENU", 4}, {u"ITM_TAB", 8}, {u"ITM_LSTVEW", 32},
    {u"ITM_LISTVEW", 32}, {u"ITM_LISTVIEW", 32}, {u"ITM_TREEVEW", 16}, {u"ITM_TREEVIEW", 16},
    {u"ITM_EDIT", 131072}, {u"ITM_STATIC", 262144}, {u"ITM_STATUSBAR", 524288}, {u"ITM_TOOLBAR", 64},
    {u"ITM_BACK", 512}, {u"ITM_FROMLAST", 65536}, {u"ITM_ACCCLK", 4194304}, {u"ITM_ACCTXT", 8388608},
    {u"ITM_ACCEDIT", 16777216}, {u"ITM_ACCCLK2", 272629760}, {u"ITM_ACCCLKN", 541065216},
    {u"ITM_ACCCLKV", 1077936128}, {u"ITM_ACCTXT2", 276824064}, {u"ITM_ACCTXTN", 545259520},
    {u"ITM_ACCTXTV", 1082130432},
    // Toggle-key states
    {u"TGL_NUMLOCK", 10000}, {u"TGL_CAPSLOCK", 10001}, {u"TGL_SCROLLLOCK", 10002}, {u"TGL_KANALOCK", 10003},
    {u"TGL_IME", 10004},
    // Html form options
    {u"FOM_NOICON", 1}, {u"FOM_NOHIDE", 2}, {u"FOM_NOSUBMIT", 4}, {u"FOM_NORESIZE", 8}, {u"FOM_TOPMOST", 16},
    {u"FOM_NOTOP", 32}, {u"FOM_NOLUNA", 64}, {u"FOM_BROWSER", 128}, {u"FOM_MINIMIZE", 256},
    {u"FOM_MAXIMIZE", 512}, {u"FOM_NOCAPTION", 1024}, {u"FOM_NOFLOATEXCEPT", 2048}, {u"FOM_FORMHIDE", 4096},
    {u"FOM_FORM2", 8192}, {u"FOM_NOTASKBAR", 16384}, {u"FOM_NOCHECK", 16777216}, {u"FOM_GETVALUE", -59999999},
    // Accessibility items
    {u"ACC_ACCAPI", 0}, {u"ACC_ACC", 1}, {u"ACC_API", 2}, {u"ACC_NAME", 3}, {u"ACC_VALUE", 4}, {u"ACC_ROLE", 5},
    {u"ACC_STATE", 6}, {u"ACC_DESCRIPTION", 7}, {u"ACC_LOCATION", 8}, {u"ACC_HELP", 9}, {u"ACC_BACK", 512},
    // Mouse cursor shapes
    {u"CUR_APPSTARTING", 1}, {u"CUR_ARROW", 2}, {u"CUR_CROSS", 3}, {u"CUR_HAND", 4}, {u"CUR_HELP", 5},
    {u"CUR_IBEAM", 6}, {u"CUR_ICON", 7}, {u"CUR_NO", 8}, {u"CUR_SIZE", 9}, {u"CUR_SIZEALL", 10},
    {u"CUR_SIZENESW", 11}, {u"CUR_SIZENS", 12}, {u"CUR_SIZENWSE", 13}, {u"CUR_SIZEWE", 14},
    {u"CUR_UPARROW", 15}, {u"CUR_WAIT", 16},
    // Image-search colour masks and capture modes
    {u"IMG_MSK_BGR1", 65793}, {u"IMG_MSK_BGR2", 197379}, {u"IMG_MSK_BGR3", 460551}, {u"IMG_MSK_BGR4", 986895},
    {u"IMG_MSK_BGR5", 2039583}, {u"IMG_MSK_BGR6", 4144959}, {u"IMG_MSK_B1", 65536}, {u"IMG_MSK_B2", 196608},
    {u"IMG_MSK_B3", 458752}, {u"IMG_MSK_B4", 983040}, {u"IMG_MSK_B5", 2031616}, {u"IMG_MSK_B6", 4128768},
    {u"IMG_MSK_B7", 8323072}, {u"IMG_MSK_B8", 16711680}, {u"IMG_MSK_G1", 256}, {u"IMG_MSK_G2", 768},
    {u"IMG_MSK_G3", 1792}, {u"IMG_MSK_G4", 3840}, {u"IMG_MSK_G5", 7936}, {u"IMG_MSK_G6", 16128},
    {u"IMG_MSK_G7", 32512}, {u"IMG_MSK_G8", 65280}, {u"IMG_MSK_R1", 1}, {u"IMG_MSK_R2", 3}, {u"IMG_MSK_R3", 7},
    {u"IMG_MSK_R4", 15}, {u"IMG_MSK_R5", 31}, {u"IMG_MSK_R6", 63}, {u"IMG_MSK_R7", 127}, {u"IMG_MSK_R8", 255},
    {u"IMG_FORE", 1}, {u"IMG_BACK", 2},
    // Slider items
    {u"SLD_POS", 0}, {u"SLD_MIN", 1}, {u"SLD_MAX", 2}, {u"SLD_PAGE", 3}, {u"SLD_BAR", 4}, {u"SLD_X", 5},
    {u"SLD_Y", 6}, {u"SLD_X2", 7}, {u"SLD_Y2", 8},
    // Value type codes
    {u"VAR_EMPTY", 0}, {u"VAR_NULL", 1}, {u"VAR_SMALLINT", 2}, {u"VAR_INTEGER", 3}, {u"VAR_SINGLE", 4},
    {u"VAR_DOUBLE", 5}, {u"VAR_CURRENCY", 6}, {u"VAR_DATE", 7}, {u"VAR_OLESTR", 8}, {u"VAR_DISPATCH", 9},
    {u"VAR_ERROR", 10}, {u"VAR_BOOLEAN", 11}, {u"VAR_VARIANT", 12}, {u"VAR_UNKNOWN", 13}, {u"VAR_SBYTE", 16},
    {u"VAR_BYTE", 17}, {u"VAR_WORD", 18}, {u"VAR_DWORD", 19}, {u"VAR_INT64", 20}, {u"VAR_ASTR", 256},
    {u"VAR_USTR", 258}, {u"VAR_ARRAY", 8192},
    // Single constants
    {u"GET_SLIDER", -10000000}, {u"GET_MAQO_VER", 5.11}, {u"ERR_VALUE", -999999},
    // Monitor items
    {u"MON_X", 0}, {u"MON_Y", 1}, {u"MON_WIDTH", 2}, {u"MON_HEIGHT", 3}, {u"MON_PRIMARY", 4}, {u"MON_NAME", 5},
    // Colour items
    {u"COL_RGB", 3}, {u"COL_R", 4}, {u"COL_G", 5}, {u"COL_B", 6},
    // Script-thread commands
    {u"TRD_SUSPEND", 1}, {u"TRD_RESUME", 3}, {u"TRD_QUIT", 2}, {u"TRD_IDLE", 10}, {u"TRD_LOWEST", 11},
    {u"TRD_LOWER", 12}, {u"TRD_NORMAL", 13}, {u"TRD_HIGHER", 14}, {u"TRD_HIGHEST", 15},
    // Encodings
    {u"CODE_ANSI", 1}, {u"CODE_URL", 2}, {u"CODE_UTF8", 3}, {u"CODE_HTML", 4}, {u"CODE_BYTEARRAY", 5},
    {u"CODE_BYTEARRAYW", 6},
    // Hash-table options and flags
    {u"HASH_KEY", -101}, {u"HASH_VAL", -102}, {u"HASH_EXISTS", -103}, {u"HASH_REMOVE", -104},
    {u"HASH_REMOVEALL", -109}, {u"HASH_CASECARE", 4096}, {u"HASH_SORT", 8192},
    // Array calculations
    {u"CALC_ADD", 1}, {u"CALC_MIN", 2}, {u"CALC_MAX", 3}, {u"CALC_AVR", 4},
    // Mouse origin modes
    {u"MORG_CLIENT", 1}, {u"MORG_DIRECT", 2}, {u"MORG_FORE", 1}, {u"MORG_BACK", 2},
    // Input lock kinds
    {u"LOCK_KEYBOARD", 1}, {u"LOCK_MOUSE", 2},
    // Sort orders
    {u"QSRT_A", 0}, {u"QSRT_D", 1}, {u"QSRT_UNICODEA", 2}, {u"QSRT_UNICODED", 3}, {u"QSRT_NATURALA", 4},
    {u"QSRT_NATURALD", 5},
    // Sensor items
    {u"SNSR_BIOMETRIC_HUMANPRESENSE", 1}, {u"SNSR_BIOMETRIC_HUMANPROXIMITY", 2},
    {u"SNSR_ELECTRICAL_CAPACITANCE", 5}, {u"SNSR_ELECTRICAL_RESISTANCE", 6}, {u"SNSR_ELECTRICAL_INDUCTANCE", 7},
    {u"SNSR_ELECTRICAL_CURRENT", 8}, {u"SNSR_ELECTRICAL_VOLTAGE", 9}, {u"SNSR_ELECTRICAL_POWER", 10},
    {u"SNSR_ENVIRONMENTAL_TEMPERATURE", 15}, {u"SNSR_ENVIRONMENTAL_PRESSURE", 16},
    {u"SNSR_ENVIRONMENTAL_HUMIDITY", 17}, {u"SNSR_ENVIRONMENTAL_WINDDIRECTION", 18},
    {u"SNSR_ENVIRONMENTAL_WINDSPEED", 19}, {u"SNSR_LIGHT_LUX", 20}, {u"SNSR_LIGHT_TEMPERATURE", 21},
    {u"SNSR_LIGHT_CHROMACITY", 22}, {u"SNSR_MECHANICAL_FORCE", 25}, {u"SNSR_MECHANICAL_ABSPRESSURE", 26},
    {u"SNSR_MECHANICAL_GAUGEPRESSURE", 27}, {u"SNSR_MECHANICAL_WEIGHT", 28}, {u"SNSR_MOTION_ACCELERATIONX", 30},
    {u"SNSR_MOTION_ACCELERATIONY", 31}, {u"SNSR_MOTION_ACCELERATIONZ", 32}, {u"SNSR_MOTION_ANGLEACCELX", 33},
    {u"SNSR_MOTION_ANGLEACCELY", 34}, {u"SNSR_MOTION_ANGLEACCELZ", 35}, {u"SNSR_MOTION_SPEED", 36},
    {u"SNSR_SCANNER_RFIDTAG", 40}, {u"SNSR_SCANNER_BARCODEDATA", 41}, {u"SNSR_ORIENTATION_TILTX", 45},
    {u"SNSR_ORIENTATION_TILTY", 46}, {u"SNSR_ORIENTATION_TILTZ", 47}, {u"SNSR_ORIENTATION_DISTANCEX", 48},
    {u"SNSR_ORIENTATION_DISTANCEY", 49}, {u"SNSR_ORIENTATION_DISTANCEZ", 50},
    {u"SNSR_ORIENTATION_MAGHEADING", 51}, {u"SNSR_ORIENTATION_TRUEHEADING", 52},
    {u"SNSR_ORIENTATION_COMPMAGHEADING", 53}, {u"SNSR_ORIENTATION_COMPTRUEHEADING", 54},
    {u"SNSR_LOCATION_ALTITUDE", 60}, {u"SNSR_LOCATION_LATITUDE", 61}, {u"SNSR_LOCATION_LONGITUDE", 62},
    {u"SNSR_LOCATION_SPEED", 63}, {u"SNSR_LOCATION_ADDRESS1", 64}, {u"SNSR_LOCATION_ADDRESS2", 65},
    {u"SNSR_LOCATION_CITY", 66}, {u"SNSR_LOCATION_COUNTRYREGION", 67},
    // Selection-box kinds and choice bits
    {u"SLCT_BTN", 1}, {u"SLCT_CHK", 2}, {u"SLCT_RDO", 4}, {u"SLCT_CMB", 8}, {u"SLCT_LST", 16},
    {u"SLCT_STR", 64}, {u"SLCT_NUM", 128},
    // Virtual keys
    {u"VK_LBUTTON", 1}, {u"VK_RBUTTON", 2}, {u"VK_MBUTTON", 4}, {u"VK_START", 92}, {u"VK_WIN", 91},
    {u"VK_RWIN", 92}, {u"VK_ALT", 18}, {u"VK_RALT", 165}, {u"VK_CTRL", 17}, {u"VK_LCTRL", 162},
    {u"VK_RCTRL", 163}, {u"VK_ESC", 27}, {u"VK_BACK", 8}, {u"VK_TAB", 9}, {u"VK_CLEAR", 12}, {u"VK_RETURN", 13},
    {u"VK_ENTER", 13}, {u"VK_RRETURN", 901}, {u"VK_RENTER", 901}, {u"VK_SHIFT", 16}, {u"VK_LSHIFT", 160},
    {u"VK_RSHIFT", 161}, {u"VK_CONTROL", 17}, {u"VK_RCONTROL", 163}, {u"VK_MENU", 18}, {u"VK_LMENU", 164},
    {u"VK_RMENU", 165}, {u"VK_PAUSE", 19}, {u"VK_CAPITAL", 20}, {u"VK_KANA", 21}, {u"VK_FINAL", 24},
    {u"VK_KANJI", 25}, {u"VK_CONVERT", 28}, {u"VK_NONCONVERT", 29}, {u"VK_ACCEPT", 30}, {u"VK_MODECHANGE", 31},
    {u"VK_ESCAPE", 27}, {u"VK_SPACE", 32}, {u"VK_PRIOR", 33}, {u"VK_NEXT", 34}, {u"VK_END", 35},
    {u"VK_HOME", 36}, {u"VK_LEFT", 37}, {u"VK_UP", 38}, {u"VK_RIGHT", 39}, {u"VK_DOWN", 40}, {u"VK_SELECT", 41},
    {u"VK_PRINT", 42}, {u"VK_EXECUTE", 43}, {u"VK_SNAPSHOT", 44}, {u"VK_INSERT", 45}, {u"VK_DELETE", 46},
    {u"VK_HELP", 47}, {u"VK_APPS", 93}, {u"VK_NUMPAD0", 96}, {u"VK_NUMPAD1", 97}, {u"VK_NUMPAD2", 98},
    {u"VK_NUMPAD3", 99}, {u"VK_NUMPAD4", 100}, {u"VK_NUMPAD5", 101}, {u"VK_NUMPAD6", 102}, {u"VK_NUMPAD7", 103},
    {u"VK_NUMPAD8", 104}, {u"VK_NUMPAD9", 105}, {u"VK_MULTIPLY", 106}, {u"VK_ADD", 107}, {u"VK_SEPARATOR", 108},
    {u"VK_SUBTRACT", 109}, {u"VK_DECIMAL", 110}, {u"VK_DIVIDE", 111}, {u"VK_F1", 112}, {u"VK_F2", 113},
    {u"VK_F3", 114}, {u"VK_F4", 115}, {u"VK_F5", 116}, {u"VK_F6", 117}, {u"VK_F7", 118}, {u"VK_F8", 119},
    {u"VK_F9", 120}, {u"VK_F10", 121}, {u"VK_F11", 122}, {u"VK_F12", 123}, {u"VK_NUMLOCK", 144},
    {u"VK_SCROLL", 145}, {u"VK_PROCESSKEY", 229}, {u"VK_ATTN", 246}, {u"VK_CRSEL", 247}, {u"VK_EXSEL", 248},
    {u"VK_EREOF", 249}, {u"VK_PLAY", 250}, {u"VK_ZOOM", 251}, {u"VK_PA1", 253}, {u"VK_OEM_CLEAR", 254},
    {u"VK_SLEEP", 95}, {u"VK_BROWSER_BACK", 166}, {u"VK_BROWSER_FORWARD", 167}, {u"VK_BROWSER_REFRESH", 168},
    {u"VK_BROWSER_STOP", 169}, {u"VK_BROWSER_SEARCH", 170}, {u"VK_BROWSER_FAVORITES", 171},
    {u"VK_BROWSER_HOME", 172}, {u"VK_VOLUME_MUTE", 173}, {u"VK_VOLUME_DOWN", 174}, {u"VK_VOLUME_UP", 175},
    {u"VK_MEDIA_NEXT_TRACK", 176}, {u"VK_MEDIA_PREV_TRACK", 177}, {u"VK_MEDIA_STOP", 178},
    {u"VK_MEDIA_PLAY_PAUSE", 179}, {u"VK_LAUNCH_MAIL", 180}, {u"VK_LAUNCH_MEDIA_SELECT", 181},
    {u"VK_LAUNCH_APP1", 182}, {u"VK_LAUNCH_APP2", 183}, {u"VK_OEM_1", 186}, {u"VK_OEM_PLUS", 187},
    {u"VK_OEM_COMMA", 188}, {u"VK_OEM_MINUS", 189}, {u"VK_OEM_PERIOD", 190}, {u"VK_OEM_2", 191},
    {u"VK_OEM_3", 192}, {u"VK_OEM_4", 219}, {u"VK_OEM_5", 220}, {u"VK_OEM_6", 221}, {u"VK_OEM_7", 222},
    {u"VK_OEM_8", 223}, {u"VK_OEM_AX", 225}, {u"VK_OEM_102", 226}, {u"VK_ICO_HELP", 227}, {u"VK_ICO_00", 228},
    {u"VK_ICO_CLEAR", 230}, {u"VK_PACKET", 231}, {u"VK_OEM_RESET", 233}, {u"VK_OEM_JUMP", 234},
    {u"VK_OEM_PA1", 235}, {u"VK_OEM_PA2", 236}, {u"VK_OEM_PA3", 237}, {u"VK_OEM_WSCTRL", 238},
    {u"VK_OEM_CUSEL", 239}, {u"VK_OEM_ATTN", 240}, {u"VK_OEM_FINISH", 241}, {u"VK_OEM_COPY", 242},
    {u"VK_OEM_AUTO", 243}, {u"VK_OEM_ENLW", 244}, {u"VK_OEM_BACKTAB", 245},
};

struct Table {
  std::vector<std::u16string> generatedNames;
  std::vector<BuiltinConstant> all;
  std::unordered_map<std::u16string_view, double> byName;
};

const Table& table() {
  static const Table t = [] {
    Table t;
    // SLCT_1..SLCT_31 (1 shifted left by n - 1), VK_0..VK_9 and VK_A..VK_Z (the
    // character codes). Names are made first so the views below stay valid.
    std::vector<double> values;
    for (int n = 1; n <= 31; ++n) {
      std::u16string name = u"SLCT_";
      for (char c : std::to_string(n)) name += static_cast<char16_t>(c);
      t.generatedNames.push_back(name);
      values.push_back(static_cast<double>(uint32_t{1} << (n - 1)));
    }
    for (char16_t c = u'0'; c <= u'9'; ++c) {
      t.generatedNames.push_back(std::u16string(u"VK_") + c);
      values.push_back(c);
    }
    for (char16_t c = u'A'; c <= u'Z'; ++c) {
      t.generatedNames.push_back(std::u16string(u"VK_") + c);
      values.push_back(c);
    }
    t.all.assign(std::begin(kListed), std::end(kListed));
    for (size_t i = 0; i < values.size(); ++i) t.all.push_back({t.generatedNames[i], values[i]});
    for (const auto& c : t.all) t.byName.emplace(c.name, c.value);
    return t;
  }();
  return t;
}

bool hasLowerCase(std::u16string_view name) {
  for (char16_t c : name)
    if (c >= u'a' && c <= u'z') return true;
  return false;
}

}  // namespace

std::span<const BuiltinConstant> BuiltinConstants() { return table().all; }

std::optional<double> FindBuiltinConstant(std::u16string_view name) {
  const auto& map = table().byName;
  auto it = hasLowerCase(name) ? map.find(engine::UpperCase(name)) : map.find(name);
  if (it == map.end()) return std::nullopt;
  return it->second;
}

double BuiltinConstantValue(std::u16string_view name) {
  return FindBuiltinConstant(name).value_or(kConstantNotFound);
}

}  // namespace maqo::builtins
