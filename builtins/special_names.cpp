#include "builtins/special_names.h"

#include <array>

#include "builtins/builtin_messages.h"
#include "builtins/constants.h"
#include "engine/eval/text_helpers.h"
#include "platform/special_folders.h"

namespace maqo::builtins {

namespace {

constexpr std::array<std::u16string_view, 5> kNumericNames = {u"G_MOUSE_X", u"G_MOUSE_Y", u"G_SCREEN_W",
                                                              u"G_SCREEN_H", u"G_SCREEN_C"};

// The window and menu markers: names whose text is fixed.
struct Marker {
  std::u16string_view name;
  std::u16string_view text;
};
constexpr std::array<Marker, 14> kMarkers = {{
    {u"GET_ACTIVE_WIN", u"__GET_ACTIVE_WIN__"},
    {u"GET_FROMPOINT_WIN", u"__GET_FROMPOINT_WIN__"},
    {u"GET_FROMPOINT_OBJ", u"__GET_FROMPOINT_OBJ__"},
    {u"GET_LOGPRINT_WIN", u"__GET_LOGPRINT_WIN__"},
    {u"GET_STOPFORM_WIN", u"__GET_STOPFORM_WIN__"},
    {u"GET_THISMAQO_WIN", u"__GET_THISMAQO_WIN__"},
    {u"GET_FUKIDASI_WIN", u"__GET_FUKIDASI_WIN__"},
    {u"GET_BALLOON_WIN", u"__GET_FUKIDASI_WIN__"},
    {u"GET_FORM_WIN", u"__GET_FORM_WIN__"},
    {u"GET_FORM_WIN2", u"__GET_FORM_WIN2__"},
    {u"GET_SCHEDULE_WIN", u"__GET_SCHEDULE_WIN__"},
    {u"GET_MENU_HND", u"__GET_MENU_HND__"},
    {u"GET_SYSMENU_HND", u"__GET_SYSMENU_HND__"},
    {u"EMPTYPARAM", u"__EMPTYPARAM__"},
}};

// The text names computed from the system.
constexpr std::array<std::u16string_view, 6> kComputedTextNames = {
    u"GET_WIN_DIR", u"GET_SYS_DIR", u"GET_CUR_DIR", u"GET_MAQO_DIR", u"GET_APPDATA_DIR", u"GET_MAQO_NAME"};

template <size_t N>
bool contains(const std::array<std::u16string_view, N>& names, std::u16string_view name) {
  for (auto n : names)
    if (n == name) return true;
  return false;
}

std::u16string upper(std::u16string_view name) { return engine::UpperCase(engine::TrimView(name)); }

std::u16string folderOrFail(platform::SpecialFolder folder, std::u16string_view name) {
  std::u16string path = platform::specialFolderPath(folder);
  if (path.empty()) throw messages::needsWindows(name);
  return path;
}

}  // namespace

bool IsSpecialName(std::u16string_view upperName) {
  if (contains(kNumericNames, upperName) || contains(kComputedTextNames, upperName)) return true;
  for (const auto& m : kMarkers)
    if (m.name == upperName) return true;
  return false;
}

std::optional<double> BuiltinNames::numeric(std::u16string_view name) {
  if (auto constant = FindBuiltinConstant(name)) return constant;
  if (!name.starts_with(u"G_")) return std::nullopt;
  if (name == u"G_MOUSE_X" || name == u"G_MOUSE_Y") {
    const auto point = system_.cursorPosition();
    if (!point) throw messages::needsWindows(name);
    return name == u"G_MOUSE_X" ? point->x : point->y;
  }
  if (name == u"G_SCREEN_W" || name == u"G_SCREEN_H") {
    const auto size = system_.virtualScreenSize();
    if (!size) throw messages::needsWindows(name);
    return name == u"G_SCREEN_W" ? size->width : size->height;
  }
  if (name == u"G_SCREEN_C") {
    const auto depth = system_.colorDepth();
    if (!depth) throw messages::needsWindows(name);
    return *depth;
  }
  return std::nullopt;
}

std::optional<std::u16string> BuiltinNames::text(std::u16string_view name) {
  if (!name.starts_with(u"GET_") && name != u"EMPTYPARAM") return std::nullopt;
  for (const auto& m : kMarkers)
    if (m.name == name) return std::u16string(m.text);
  if (name == u"GET_WIN_DIR") return folderOrFail(platform::SpecialFolder::Windows, name);
  if (name == u"GET_SYS_DIR") return folderOrFail(platform::SpecialFolder::System, name);
  if (name == u"GET_APPDATA_DIR") return folderOrFail(platform::SpecialFolder::AppData, name);
  if (name == u"GET_CUR_DIR") return platform_.files.currentDirectory();
  if (name == u"GET_MAQO_DIR") return platform_.files.executableDirectory();
  if (name == u"GET_MAQO_NAME") {
    if (!hostCaption) throw messages::notAvailableYet(name);
    std::u16string caption = hostCaption();
    if (embeddedScript && embeddedScript()) caption += u".EXE";
    return caption;
  }
  return std::nullopt;
}

std::optional<engine::ScriptValue> BuiltinNames::value(std::u16string_view name, engine::THensuFmt& frame) {
  const std::u16string key = upper(name);
  if (auto number = numeric(key)) return engine::ScriptValue::number(*number);
  if (auto t = text(key)) return engine::ScriptValue::string(std::move(*t));
  if (key == u"COM_ERR_FLG") return engine::ScriptValue::keywordBool(comErrorFlag && comErrorFlag(frame));
  return std::nullopt;
}

bool BuiltinNames::isReserved(std::u16string_view name) {
  const std::u16string key = upper(name);
  return FindBuiltinConstant(key).has_value() || IsSpecialName(key);
}

double BuiltinNames::numericValue(std::u16string_view name) { return numeric(upper(name)).value_or(kConstantNotFound); }

std::u16string BuiltinNames::textValue(std::u16string_view name) { return text(upper(name)).value_or(u""); }

bool BuiltinNames::isConstant(std::u16string_view name) { return FindBuiltinConstant(name).has_value(); }

bool BuiltinNames::isSpecialName(std::u16string_view name) { return IsSpecialName(name); }

}  // namespace maqo::builtins
