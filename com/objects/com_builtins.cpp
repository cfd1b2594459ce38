#include "com/objects/com_builtins.h"

#include "com/objects/com_errors.h"
#include "com/objects/com_member_calls.h"
#include "com/objects/com_messages.h"
#include "com/objects/com_object.h"
#include "com/objects/com_session.h"
#include "engine/eval/text_helpers.h"

namespace maqo::com::objects {

using engine::ScriptValue;

namespace {

platform::ComAutomation& automationFor(std::u16string_view builtin) {
  platform::ComAutomation& automation = CurrentComAutomation();
  if (!automation.available()) throw messages::needsWindows(builtin);
  return automation;
}

}  // namespace

ScriptValue CreateOleObj(engine::BuiltinCall& call, engine::BuiltinHost& host) {
  platform::ComAutomation& automation = automationFor(u"CREATEOLEOBJ");
  if (host.checkMode()) return ScriptValue::nothing();
  platform::ComFailure failure;
  std::shared_ptr<platform::ComObject> object = automation.create(engine::TrimView(call.text(0)), failure);
  if (!object) throw messages::createFailed(ComErrorText(failure), call.text(0));
  return ObjectValue(std::move(object));
}

ScriptValue GetActiveOleObj(engine::BuiltinCall& call, engine::BuiltinHost& host) {
  platform::ComAutomation& automation = automationFor(u"GETACTIVEOLEOBJ");
  if (host.checkMode()) return ScriptValue::nothing();
  platform::ComFailure failure;
  // Nothing running under the ProgID is an answer, not an error.
  return ObjectValue(automation.active(engine::TrimView(call.text(0)), failure));
}

ScriptValue GetOleItem(engine::BuiltinCall& call, engine::BuiltinHost& host) {
  automationFor(u"GETOLEITEM");
  engine::THensuFmt& frame = host.frame();
  host.globals().ResultArray(frame, u"ALL_OLE_ITEM");
  if (host.checkMode()) return ScriptValue::int32(0);
  const ScriptValue collection = host.evaluateText(call.text(0));
  const std::vector<ScriptValue> items = CollectionItems(collection, call.text(0), host);
  for (const ScriptValue& item : items) host.globals().ResultArray(frame, u"ALL_OLE_ITEM", item);
  return ScriptValue::int32(static_cast<int32_t>(items.size()));
}

}  // namespace maqo::com::objects
