// The builtin constants and the special names computed when they are read,
// as the variable store sees them (engine::BuiltinNameSource): the numeric
// names G_MOUSE_X/Y, G_SCREEN_W/H/C, the text names GET_* and EMPTYPARAM, and
// COM_ERR_FLG. All of them are reserved words.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "engine/values/global_store.h"
#include "platform/platform.h"
#include "platform/system_info.h"

namespace maqo::builtins {

class BuiltinNames final : public engine::BuiltinNameSource {
 public:
  BuiltinNames(platform::Platform& platform, platform::SystemInfo& system) : platform_(platform), system_(system) {}

  // The caption of the host's main window (GET_MAQO_NAME). Until the host
  // connects it, reading GET_MAQO_NAME reports that it is not available.
  std::function<std::u16string()> hostCaption;
  // True while the engine runs a script embedded in the executable: ".EXE" is
  // appended to GET_MAQO_NAME.
  std::function<bool()> embeddedScript;
  // The COM error flag of the frame's thread (COM_ERR_FLG); unset: FALSE.
  std::function<bool(engine::THensuFmt&)> comErrorFlag;

  // A constant or numeric special name as a double, a text special name as a
  // string, COM_ERR_FLG as a boolean; nothing for any other name. A name this
  // system cannot answer (G_SCREEN_W without a desktop, GET_WIN_DIR off
  // Windows) throws a catchable ScriptError naming it.
  std::optional<engine::ScriptValue> value(std::u16string_view name, engine::THensuFmt& frame) override;
  // Constants, G_MOUSE_X/Y, G_SCREEN_W/H/C, the GET_* names and EMPTYPARAM.
  bool isReserved(std::u16string_view name) override;
  bool isConstant(std::u16string_view name) override;
  bool isSpecialName(std::u16string_view name) override;

  // The numeric lookup: a constant or a G_ name, else kConstantNotFound.
  double numericValue(std::u16string_view name);
  // The text lookup: a GET_* name or EMPTYPARAM, else the empty text.
  std::u16string textValue(std::u16string_view name);

 private:
  std::optional<double> numeric(std::u16string_view upperName);
  std::optional<std::u16string> text(std::u16string_view upperName);

  platform::Platform& platform_;
  platform::SystemInfo& system_;
};

// True for the names whose value is computed when read (G_MOUSE_X ...
// GET_SYSMENU_HND, EMPTYPARAM); upperName in upper case.
bool IsSpecialName(std::u16string_view upperName);

}  // namespace maqo::builtins
