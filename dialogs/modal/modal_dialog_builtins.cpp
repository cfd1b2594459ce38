#include "dialogs/modal/modal_dialog_builtins.h"

#include <span>

#include "automation/automation_session.h"
#include "automation/builtin_support.h"
#include "automation/windows/drop_file.h"
#include "dialogs/application_title.h"
#include "dialogs/modal/dialog_placement.h"
#include "dialogs/modal/message_box_model.h"
#include "dialogs/modal/popup_menu_model.h"
#include "dialogs/modal/select_box_model.h"
#include "engine/values/number_text.h"
#include "platform/dialog_windows.h"
#include "platform/text_codec.h"

namespace maqo::dialogs {

namespace {

using automation::IntArgument;
using builtins::BuiltinCall;
using builtins::BuiltinHost;
using engine::ScriptValue;

constexpr int kEscapeResult = 2;  // BTN_CANCEL

// An empty or omitted coordinate means "no position".
int CoordinateArgument(const BuiltinCall& call, int index) {
  return call.text(index).empty() ? -1 : IntArgument(call, index, -1);
}

std::optional<platform::DialogPosition> ExplicitPosition(int x, int y) {
  if (x == -1 && y == -1) return std::nullopt;
  return platform::DialogPosition{x, y};
}

platform::DialogStopCheck StopCheck(BuiltinHost& host) {
  return [&host] { return host.stopRequested(); };
}

ScreenRect RectOf(const platform::WindowRect& r) { return {r.left, r.top, r.right, r.bottom}; }

// Places a form of the given size: at the asked-for position pulled onto the
// desktop, else centred on the primary monitor (this build has no main window).
platform::DialogPlacer PlacerFor(std::optional<platform::DialogPosition> requested) {
  return [requested](int width, int height) {
    PlacementRequest placement;
    if (requested) placement.requested = DialogPoint{requested->x, requested->y};
    placement.width = width;
    placement.height = height;
    for (const platform::MonitorInfo& m : automation::currentSession().desktop().monitors()) {
      placement.monitors.push_back(RectOf(m.bounds));
      if (m.primary) placement.homeMonitor = RectOf(m.bounds);
    }
    if (placement.homeMonitor.width() <= 0 && !placement.monitors.empty()) {
      placement.homeMonitor = placement.monitors.front();
    }
    const DialogPoint at = PlaceDialog(placement);
    return platform::DialogPosition{at.x, at.y};
  };
}

// What every form takes from the run: the title, the font, the stop check,
// and the placement; the input lock is released so the user can answer.
void PrepareForm(platform::DialogCommon& form, BuiltinHost& host, std::optional<platform::DialogPosition> position) {
  const BuiltinHost::DialogOptions options = host.dialogOptions();
  form.caption = options.title.value_or(kApplicationTitle);
  if (options.font) {
    form.fontName = options.font->name;
    form.fontSize = options.font->size;
  }
  form.stopRequested = StopCheck(host);
  form.place = PlacerFor(position);
  host.releaseInputForDialog();
}

bool TruthArgument(const BuiltinCall& call, int index) {
  if (call.at(index).isNumber) return call.integer(index) != 0;
  return maqo::asciiUpper(call.text(index)) == u"TRUE";
}

// MSGBOX(message, buttons, x, y, focus, link)
ScriptValue MessageBox(BuiltinCall& call, BuiltinHost& host) {
  if (host.checkMode()) return {};
  platform::MessageDialogForm form;
  form.message = CutLongMessage(call.text(0));
  for (const MessageButton& b : ShownButtons(call.count() >= 2 ? call.integer(1) : 1)) {
    form.buttons.push_back({b.value, b.caption});
  }
  const int focus = IntArgument(call, 4);
  for (const auto& b : form.buttons) {
    if (b.value == focus) form.focusValue = focus;
  }
  if (TruthArgument(call, 5)) {
    for (MessageLink& link : FindMessageLinks(form.message)) form.links.push_back(std::move(link.target));
    form.message = NormaliseLineEnds(CutLongMessage(call.text(0)));
  }
  form.position = ExplicitPosition(CoordinateArgument(call, 2), CoordinateArgument(call, 3));
  form.layOutButtons = [](int clientWidth, int buttonCount) {
    const ButtonRow row = LayOutButtonRow(clientWidth, buttonCount);
    return platform::DialogButtonRow{row.clientWidth, row.firstLeft};
  };
  PrepareForm(form, host, form.position);
  return ScriptValue::int32(platform::dialogWindows().askMessage(form, kEscapeResult));
}

// INPUT(message, default, password, x, y)
ScriptValue Input(BuiltinCall& call, BuiltinHost& host) {
  if (host.checkMode()) return {};
  platform::InputDialogForm form;
  form.message = call.text(0);
  form.text = call.text(1);
  form.password = call.count() >= 3 && (call.integer(2) != 0 || TruthArgument(call, 2));
  if (call.count() >= 5) form.position = platform::DialogPosition{IntArgument(call, 3), IntArgument(call, 4)};
  PrepareForm(form, host, form.position);
  const std::optional<std::u16string> answer = platform::dialogWindows().askInput(form);
  if (!answer) return ScriptValue::empty();
  // A number comes back in the 8-bit string form, other text as a wide string.
  if (engine::isNumberText(*answer, engine::NumberTextMode::Loose, false)) {
    return ScriptValue::byteString(maqo::utf16ToUtf8(*answer));
  }
  return ScriptValue::string(*answer);
}

platform::SelectControls ControlsFor(SelectKind kind) {
  switch (kind) {
    case SelectKind::CheckBoxes: return platform::SelectControls::CheckBoxes;
    case SelectKind::RadioButtons: return platform::SelectControls::RadioButtons;
    case SelectKind::DropDownList: return platform::SelectControls::DropDownList;
    case SelectKind::ListBox: return platform::SelectControls::ListBox;
    case SelectKind::Buttons: break;
  }
  return platform::SelectControls::Buttons;
}

ScriptValue SelectValue(const SelectResult& result) {
  if (const int64_t* number = std::get_if<int64_t>(&result)) return ScriptValue::int32(static_cast<int32_t>(*number));
  return ScriptValue::string(std::get<std::u16string>(result));
}

// SLCTBOX(type, timeout, [x, y,] message, item, ...)
ScriptValue SelectBox(BuiltinCall& call, BuiltinHost& host) {
  if (host.checkMode()) return {};
  if (host.stopRequested()) return SelectValue(SelectCancelledResult());
  const int64_t type = call.integer(0);
  std::vector<SelectArgument> arguments;
  for (int i = 2; i < call.count(); ++i) {
    const std::u16string raw = call.text(i);
    SelectArgument argument;
    argument.values = automation::ExpandToList(host, std::span<const std::u16string>(&raw, 1), true);
    argument.isContainer = argument.values.size() != 1;
    arguments.push_back(std::move(argument));
  }
  const SelectContent content = DecodeSelectArguments(type, arguments);
  platform::SelectDialogForm form;
  form.message = content.message;
  form.items = content.items;
  form.controls = ControlsFor(SelectKindOf(type));
  form.timeoutSeconds = std::max(0, IntArgument(call, 1));
  if (content.position) form.position = platform::DialogPosition{content.position->x, content.position->y};
  PrepareForm(form, host, form.position);
  const platform::SelectDialogAnswer answer = platform::dialogWindows().askSelect(form);
  switch (answer.outcome) {
    case platform::SelectDialogAnswer::Outcome::Cancelled: return SelectValue(SelectCancelledResult());
    case platform::SelectDialogAnswer::Outcome::TimedOut: return SelectValue(SelectTimedOutResult(type));
    case platform::SelectDialogAnswer::Outcome::Chosen: break;
  }
  return SelectValue(SelectResultFor(type, answer.chosen, content.items));
}

// POPUPMENU(items, x, y)
ScriptValue PopupMenu(BuiltinCall& call, BuiltinHost& host) {
  if (host.checkMode()) return {};
  const std::u16string raw = call.text(0);
  const std::vector<std::u16string> items =
      automation::ExpandToList(host, std::span<const std::u16string>(&raw, 1), false);
  if (items.empty()) return ScriptValue::int32(-1);
  const int x = call.count() >= 3 ? IntArgument(call, 1) : -1;
  const int y = call.count() >= 3 ? IntArgument(call, 2) : -1;
  std::optional<platform::DialogPosition> at;
  if (x != -1) at = platform::DialogPosition{x, y};
  host.releaseInputForDialog();
  return ScriptValue::int32(platform::dialogWindows().askPopupMenu(BuildPopupMenu(items), at, StopCheck(host)));
}

}  // namespace

void RegisterModalDialogBuiltins(engine::BuiltinLibrary& library) {
  library.implement(u"MSGBOX", &MessageBox);
  library.implement(u"INPUT", &Input);
  library.implement(u"SLCTBOX", &SelectBox);
  library.implement(u"POPUPMENU", &PopupMenu);
}

}  // namespace maqo::dialogs
