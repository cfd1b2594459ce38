// Where the control builtins hand over to the accessibility engine: the
// CLK_ACC search of CLKITEM, CHKBTN's accessibility modes, GETITEM's
// accessibility kinds and the STR_ACC text modes of GETSTR and SENDSTR. The
// engine installs an implementation; until one is installed those modes
// report a clear catchable error, and searches that merely include the
// accessibility kind among others skip it.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "automation/controls/click_item.h"
#include "automation/controls/control_context.h"
#include "engine/errors/script_error.h"

namespace maqo::automation::controls {

class AccessibleItems {
 public:
  virtual ~AccessibleItems() = default;
  // CLKITEM's accessibility search (the kinds carry CLK_ACC and its variants).
  virtual bool click(ControlContext& c, const ClickRequest& request) = 0;
  // CHKBTN with a non-zero mode: the state of the number-th button so named, -1 when none.
  virtual int checkState(ControlContext& c, const std::u16string& name, int number) = 0;
  // GETITEM's accessibility kinds: the texts found (at most number when it
  // is above 0), appended to out; includeUnavailable: also elements that are
  // unavailable.
  virtual void collect(ControlContext& c, uint32_t kinds, int number, bool includeUnavailable,
                       std::vector<std::u16string>& out) = 0;
  // GETSTR's STR_ACC_EDIT, STR_ACC_STATIC, STR_ACC_CELL; nothing when not
  // found. mouse: the pointer goes onto the element found.
  virtual std::optional<std::u16string> readText(ControlContext& c, int number, int mode, bool mouse) = 0;
  // SENDSTR's accessibility kinds (element kinds 0x20000, 0x20200, 0x200000);
  // append: add to the current text instead of replacing it.
  virtual bool setText(ControlContext& c, const std::u16string& text, int number, uint32_t elementKinds,
                       bool append) = 0;
};

// The installed engine, or nullptr.
AccessibleItems* InstalledAccessibleItems();
// Installs (or, with nullptr, removes) the engine; the caller keeps it alive.
void InstallAccessibleItems(AccessibleItems* engine);

// The installed engine; the catchable error naming the builtin when none is.
AccessibleItems& RequireAccessibleItems(std::u16string_view builtin);

namespace control_messages {
inline engine::ScriptError accessibilityUnavailable(std::u16string_view builtin) {
  return {engine::cat(builtin, u": the accessibility search is not available in this build"),
          engine::cat(builtin, u": このビルドではアクセシビリティ検索を使えません")};
}
// A platform failure inside CLKITEM.
inline engine::ScriptError clickFailed(std::u16string_view what) {
  return {engine::cat(u"FucCLKITEM:", what), engine::cat(u"FucCLKITEM:", what)};
}
}  // namespace control_messages

}  // namespace maqo::automation::controls
