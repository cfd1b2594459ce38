#include "com/objects/com_events.h"

#include <algorithm>

#include "com/objects/com_errors.h"
#include "com/objects/com_messages.h"
#include "com/objects/com_object.h"
#include "com/objects/com_values.h"
#include "engine/library/builtin_call.h"
#include "engine/library/com_event_activity.h"
#include "engine/eval/text_helpers.h"

namespace maqo::com::objects {

using engine::ScriptValue;

// ---- the connections ----

bool ComEventSinks::handle(const std::shared_ptr<platform::ComObject>& object, const std::u16string& interfaceId,
                           int32_t dispatchId, ScriptEventHandler handler, platform::ComFailure& failure) {
  for (const std::shared_ptr<Connection>& connection : connections_) {
    if (connection->object->identity() != object->identity() || connection->interfaceId != interfaceId) continue;
    for (auto& [id, existing] : connection->handlers) {
      if (id == dispatchId) {
        existing = std::move(handler);
        return true;
      }
    }
    connection->handlers.emplace_back(dispatchId, std::move(handler));
    return true;
  }
  auto connection = std::make_shared<Connection>();
  connection->object = object;
  connection->interfaceId = interfaceId;
  connection->arrivalOrder = DeliversInArrivalOrder(object);
  connection->handlers.emplace_back(dispatchId, std::move(handler));
  std::weak_ptr<Connection> weak = connection;
  connection->sink = object->connectEvents(
      interfaceId, [weak](int32_t id, std::vector<platform::ComValue>& parameters) { deliver(weak, id, parameters); },
      failure);
  if (!connection->sink) return false;
  connections_.push_back(std::move(connection));
  return true;
}

void ComEventSinks::deliver(const std::weak_ptr<Connection>& weak, int32_t dispatchId,
                            std::vector<platform::ComValue>& parameters) {
  // A handler may call OLEEVENT and cut this very connection: hold it, and
  // take a copy of the handler, for the length of the call.
  const std::shared_ptr<Connection> connection = weak.lock();
  if (!connection) return;
  ScriptEventHandler handler;
  for (const auto& [id, registered] : connection->handlers)
    if (id == dispatchId) handler = registered;  // the last registration wins
  if (!handler) return;                          // an event nobody handles is acknowledged
  std::vector<ScriptValue> values;
  values.reserve(parameters.size());
  for (const platform::ComValue& parameter : parameters) values.push_back(FromComValue(parameter));
  if (connection->arrivalOrder) std::reverse(values.begin(), values.end());
  handler(dispatchId, values);
  if (connection->arrivalOrder) std::reverse(values.begin(), values.end());
  for (size_t i = 0; i < parameters.size() && i < values.size(); ++i) parameters[i] = ToComArgument(values[i]);
}

void ComEventSinks::disconnect(const platform::ComObject& object) {
  // Move the cut connections out first: destroying one unadvises, which may
  // call back into the server.
  std::vector<std::shared_ptr<Connection>> cut;
  std::erase_if(connections_, [&](std::shared_ptr<Connection>& connection) {
    if (connection->object->identity() != object.identity()) return false;
    cut.push_back(std::move(connection));
    return true;
  });
  for (const std::shared_ptr<Connection>& connection : cut) connection->sink.reset();
}

void ComEventSinks::disconnectAll() {
  std::vector<std::shared_ptr<Connection>> cut;
  cut.swap(connections_);
  for (const std::shared_ptr<Connection>& connection : cut) connection->sink.reset();
}

size_t ComEventSinks::connectionCount() const { return connections_.size(); }

// ---- the parameter order ----

namespace {

// A property read by name; false at any failure.
bool readProperty(platform::ComObject& object, std::u16string_view name, platform::ComValue& value) {
  const std::u16string names[1] = {std::u16string(name)};
  std::vector<int32_t> ids;
  platform::ComFailure failure;
  if (!object.dispatchIds(names, ids, failure) || ids.empty()) return false;
  return object.invoke(ids[0], platform::invoke_flags::kGet, {}, {}, value, failure);
}

}  // namespace

bool DeliversInArrivalOrder(const std::shared_ptr<platform::ComObject>& object) {
  std::shared_ptr<platform::ComObject> current = object;
  for (int step = 0; step < kParentWalkLimit && current; ++step) {
    platform::ComValue parent;
    if (!readProperty(*current, u"Parent", parent) || !parent.object) return false;
    if (parent.object->identity() == current->identity()) {
      platform::ComValue name;
      if (!readProperty(*current, u"name", name) || name.type != platform::vt::kBstr) return false;
      const std::u16string upper = engine::UpperCase(name.text);
      return upper.find(u" EXCEL") != std::u16string::npos || upper.find(u" WORD") != std::u16string::npos;
    }
    current = std::move(parent.object);
  }
  return false;
}

// ---- OLEEVENT ----

namespace {

engine::ScriptError threadRefused() {
  return {u"OleEvent: Can not be used from the thread", u"OleEvent: スレッドからの使用はできません"};
}
engine::ScriptError noSuchProcedure(std::u16string_view name) {
  return engine::ScriptError(engine::cat(name, u":No specified function"), engine::cat(u"指定関数がありません:", name),
                             false);
}
engine::ScriptError eventNotFound() {
  return engine::ScriptError(u"Event was not able to be acquired", u"イベントの取得が出来ませんでした", false);
}

// Names compare without case; the arguments arrive evaluated.
std::u16string nameArgument(engine::BuiltinCall& call, int index) {
  return engine::UpperCase(engine::TrimView(call.text(index)));
}

}  // namespace

namespace {

// Keeps the run's count of connections, which waits read, up to date.
class ActivityUpdate {
 public:
  ActivityUpdate(engine::FamilyStateStore& state, const ComEventSinks& sinks)
      : activity_(state.get<engine::ComEventActivity>()), sinks_(sinks) {}
  ~ActivityUpdate() { activity_.connections.store(sinks_.connectionCount()); }
  ActivityUpdate(const ActivityUpdate&) = delete;
  ActivityUpdate& operator=(const ActivityUpdate&) = delete;

 private:
  engine::ComEventActivity& activity_;
  const ComEventSinks& sinks_;
};

}  // namespace

ScriptValue OleEvent(engine::BuiltinCall& call, engine::BuiltinHost& host) {
  if (host.checkMode()) return ScriptValue::nothing();
  if (!host.onMainThread()) throw threadRefused();
  ComScriptObject* object = ComObjectOf(call.first);
  if (!object) throw messages::comError(messages::notAnObject(call.text(0)));
  ComEventSinks& sinks = host.familyState().get<ComEventSinks>();
  const ActivityUpdate update(host.familyState(), sinks);

  const std::u16string interfaceName = nameArgument(call, 1);
  if (interfaceName.empty()) {
    sinks.disconnect(object->com());
    return ScriptValue::nothing();
  }
  const std::u16string eventName = nameArgument(call, 2);
  const std::u16string procedure = nameArgument(call, 3);
  ScriptEventHandler handler = host.eventHandler(procedure);
  if (!handler) throw noSuchProcedure(procedure);

  std::u16string interfaceId;
  int32_t dispatchId = 0;
  bool found = false;
  platform::ComFailure failure;
  if (!object->com().findEvent(interfaceName, eventName, interfaceId, dispatchId, found, failure))
    throw messages::comError(ComErrorText(failure));
  // DISPID 0 is a valid event: only a missing name counts as not found.
  if (!found) throw eventNotFound();
  if (!sinks.handle(object->shared(), interfaceId, dispatchId, std::move(handler), failure))
    throw messages::comError(ComErrorText(failure));
  return ScriptValue::nothing();
}

void RegisterComEvents(engine::BuiltinLibrary& library) {
  library.implement(u"OLEEVENT", OleEvent);
  // Every sink is unadvised at the end of a run, also one ended by an error.
  library.addRunHooks({}, [](engine::RunHookContext& run) {
    if (ComEventSinks* sinks = run.state.find<ComEventSinks>()) sinks->disconnectAll();
    if (engine::ComEventActivity* activity = run.state.find<engine::ComEventActivity>()) activity->connections.store(0);
  });
}

}  // namespace maqo::com::objects
