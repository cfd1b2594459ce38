// OLEEVENT: script procedures as handlers of the events COM objects fire.
// One connection per (object, event interface) pair, shared by every event
// of it that has a handler; OLEEVENT(obj, "") and the end of the run cut them.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/library/builtin_host.h"
#include "engine/library/builtin_library.h"
#include "platform/com_automation.h"

namespace maqo::com::objects {

using ScriptEventHandler = std::function<void(int eventId, std::vector<engine::ScriptValue>& parameters)>;

// The connections of one run. Used only on the main script's thread (OLEEVENT
// refuses others, and events are delivered there), so it needs no lock.
class ComEventSinks {
 public:
  ~ComEventSinks() { disconnectAll(); }

  // Makes handler the handler of the event dispatchId of the interface,
  // connecting a sink when the pair has none yet. False with failure filled
  // when the object refuses the connection.
  bool handle(const std::shared_ptr<platform::ComObject>& object, const std::u16string& interfaceId,
              int32_t dispatchId, ScriptEventHandler handler, platform::ComFailure& failure);
  // Cuts every connection of the object (by server identity).
  void disconnect(const platform::ComObject& object);
  void disconnectAll();
  size_t connectionCount() const;

 private:
  struct Connection {
    std::shared_ptr<platform::ComObject> object;
    std::u16string interfaceId;
    // The handlers see the parameters as they arrive (last first) instead of
    // in declaration order: see DeliversInArrivalOrder.
    bool arrivalOrder = false;
    std::vector<std::pair<int32_t, ScriptEventHandler>> handlers;
    std::unique_ptr<platform::ComEventConnection> sink;
  };
  static void deliver(const std::weak_ptr<Connection>& connection, int32_t dispatchId,
                      std::vector<platform::ComValue>& parameters);

  std::vector<std::shared_ptr<Connection>> connections_;
};

// True for an object of a spreadsheet or word-processor application (the
// "name" of its application object contains " EXCEL" or " WORD"), whose
// event parameters reach handlers in the order they arrive. The application
// object is the first one reached through "Parent" that is its own parent,
// compared by server identity; the walk gives up (false) after
// kParentWalkLimit steps or at any failure.
inline constexpr int kParentWalkLimit = 64;
bool DeliversInArrivalOrder(const std::shared_ptr<platform::ComObject>& object);

engine::ScriptValue OleEvent(engine::BuiltinCall& call, engine::BuiltinHost& host);

// Gives the library OLEEVENT and the run-end disconnect.
void RegisterComEvents(engine::BuiltinLibrary& library);

}  // namespace maqo::com::objects
