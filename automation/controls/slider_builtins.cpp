// GETSLIDER and SETSLIDER: track bars, scroll-bar controls and windows' own
// scroll bars, counted in reading order with the own scroll bars last.
#include "automation/controls/control_actions.h"
#include "automation/controls/control_arguments.h"
#include "automation/controls/control_builtins.h"
#include "automation/controls/control_enumeration.h"
#include "automation/controls/control_kinds.h"
#include "automation/windows/window_activation.h"
#include "automation/windows/window_waits.h"

namespace maqo::automation::controls {

namespace kb = kind_bits;
using platform::SliderKind;
using platform::WindowHandle;

namespace {

constexpr int kErrValue = -999999;
constexpr int kGetSlider = -10000000;
enum SliderItem { kPos = 0, kMin, kMax, kPage, kBar, kX, kY, kX2, kY2 };

SliderKind kindOf(const ControlEntry& e) {
  if (e.scrollBar == OwnScrollBar::Vertical) return SliderKind::WindowVertical;
  if (e.scrollBar == OwnScrollBar::Horizontal) return SliderKind::WindowHorizontal;
  return e.upperClass.find(u"TRACKBAR") != std::u16string::npos ? SliderKind::TrackBar : SliderKind::ScrollBar;
}

struct FoundSlider {
  ControlEntry entry;
  SliderKind kind;
};

std::optional<FoundSlider> findSlider(ControlContext& c, int number) {
  messagePause(c.automation, 8);
  const auto all = EnumerateControls(c, c.window, kb::kSlider, false);
  const ControlEntry* e = NthControl(all, number);
  if (!e) return std::nullopt;
  return FoundSlider{*e, kindOf(*e)};
}

}  // namespace

ScriptValue Getslider(builtins::BuiltinCall& call, builtins::BuiltinHost& host) {
  AutomationContext a = desktopContext(call, host);
  platform::Controls& controls = ControlsOf(call);
  const WindowHandle h = a.session.ids.handleOf(call.integer(0), false, a.desktop);
  if (h == 0 || !a.desktop.isWindow(h)) return ScriptValue::int32(kErrValue);
  ControlContext c(a, controls, h);
  const auto slider = findSlider(c, IntArgument(call, 1, 1));
  if (!slider) return ScriptValue::int32(kErrValue);
  const int item = IntArgument(call, 2, kPos);
  if (item >= kX && item <= kY2) {
    const auto origin = a.desktop.clientOrigin(h).value_or(std::pair<int, int>{0, 0});
    const platform::WindowRect& r = slider->entry.rect;
    const int values[] = {r.left - origin.first, r.top - origin.second, r.right - origin.first, r.bottom - origin.second};
    return ScriptValue::int32(values[item - kX]);
  }
  const auto state = controls.sliderState(slider->entry.handle, slider->kind);
  if (!state) return ScriptValue::int32(kErrValue);
  switch (item) {
    case kMin: return ScriptValue::int32(state->minimum);
    case kMax: return ScriptValue::int32(state->maximum);
    case kPage: return ScriptValue::int32(state->page);
    case kBar: return ScriptValue::int32(state->vertical ? 1 : 0);
    default: return ScriptValue::int32(state->position);
  }
}

ScriptValue Setslider(builtins::BuiltinCall& call, builtins::BuiltinHost& host) {
  AutomationContext a = desktopContext(call, host);
  platform::Controls& controls = ControlsOf(call);
  const WindowHandle h = a.session.ids.handleOf(call.integer(0), false, a.desktop);
  if (h == 0 || !a.desktop.isWindow(h)) return ScriptValue::builtinBool(false);
  const int value = IntArgument(call, 1, 0);
  const bool back = IntArgument(call, 3, 1) == 0;
  ControlContext c(a, controls, h);
  const auto slider = findSlider(c, IntArgument(call, 2, 1));
  if (!slider) return value == kGetSlider ? ScriptValue::int32(kErrValue) : ScriptValue::builtinBool(false);
  const WindowHandle s = slider->entry.handle;
  auto state = controls.sliderState(s, slider->kind);
  if (!state) return value == kGetSlider ? ScriptValue::int32(kErrValue) : ScriptValue::builtinBool(false);
  if (value == kGetSlider) return ScriptValue::int32(state->position);
  if (!back) activateWindow(a, h, false);

  if (slider->kind == SliderKind::WindowHorizontal || slider->kind == SliderKind::WindowVertical) {
    const bool vertical = slider->kind == SliderKind::WindowVertical;
    const int target = std::clamp(value, state->minimum, state->maximum);
    const int64_t limit = static_cast<int64_t>(state->maximum) - state->minimum + 1;
    for (int64_t i = 0; i < limit && state->position != target && !a.stopRequested(); ++i) {
      controls.scrollWindowLine(s, vertical, target > state->position);
      messagePause(a, 2);
      state = controls.sliderState(s, slider->kind);
      if (!state) return ScriptValue::builtinBool(false);
    }
    return ScriptValue::builtinBool(true);
  }

  controls.setSliderPosition(s, slider->kind, value);
  if (state->position <= state->minimum)
    NudgeControl(c, s, keys::kRight, keys::kLeft, back);
  else
    NudgeControl(c, s, keys::kLeft, keys::kRight, back);
  messagePause(a, 4);
  if (!back) controls.focus(s);
  state = controls.sliderState(s, slider->kind);
  if (!state) return ScriptValue::builtinBool(false);
  const int increase = state->vertical ? keys::kDown : keys::kRight;
  const int decrease = state->vertical ? keys::kUp : keys::kLeft;
  const int64_t steps = std::llabs(static_cast<int64_t>(value) - state->position);
  for (int64_t i = 0; i < steps && state && state->position != value && !a.stopRequested(); ++i) {
    controls.pressKey(s, state->position < value ? increase : decrease);
    state = controls.sliderState(s, slider->kind);
  }
  return ScriptValue::builtinBool(true);
}

}  // namespace maqo::automation::controls
