// A scriptable automation object and server table for native tests of the
// COM member logic. Each member is a name with a DISPID and a handler that
// sees exactly what Invoke would (flags, arguments in Invoke's order, named
// DISPIDs); every call is recorded.
#pragma once
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/com_automation.h"

namespace maqo::platform::fake {

class FakeComObject final : public ComObject {
 public:
  using Handler = std::function<bool(uint16_t flags, std::span<ComArgument> arguments,
                                     std::span<const int32_t> namedIds, ComValue& result, ComFailure& failure)>;

  // One recorded Invoke; object arguments are recorded without their object.
  struct Call {
    int32_t dispatchId;
    uint16_t flags;
    std::vector<ComArgument> arguments;
    std::vector<int32_t> namedIds;
  };

  // A member; names compare without case. Named-argument names get DISPIDs
  // through addName.
  void addMember(std::u16string name, int32_t dispatchId, Handler handler);
  void addName(std::u16string name, int32_t dispatchId);
  // The items _NewEnum yields; enumerateFails makes it fail after them.
  std::vector<ComValue> items;
  bool enumerateFails = false;

  bool dispatchIds(std::span<const std::u16string> names, std::vector<int32_t>& ids, ComFailure& failure) override;
  bool invoke(int32_t dispatchId, uint16_t flags, std::span<ComArgument> arguments, std::span<const int32_t> namedIds,
              ComValue& result, ComFailure& failure) override;
  bool enumerate(std::vector<ComValue>& out, const std::function<bool()>& stopRequested, ComFailure& failure) override;

  std::vector<Call> calls;
  int nameLookups = 0;  // GetIDsOfNames calls

  // Events: a source interface with its events (names compare without case).
  // fire passes an event to every advised sink of the interface, in the order
  // they were advised, and returns the parameters as the last sink left them.
  void addEventInterface(std::u16string name, std::u16string interfaceId, std::map<std::u16string, int32_t> events);
  std::vector<ComValue> fire(std::u16string_view interfaceId, int32_t dispatchId, std::vector<ComValue> parameters);
  // Sinks advised now.
  size_t sinkCount() const;
  bool typeInfoFails = false;  // findEvent fails as a broken type library would

  bool findEvent(std::u16string_view interfaceName, std::u16string_view eventName, std::u16string& interfaceId,
                 int32_t& dispatchId, bool& found, ComFailure& failure) override;
  std::unique_ptr<ComEventConnection> connectEvents(std::u16string_view interfaceId, ComEventHandler handler,
                                                    ComFailure& failure) override;

 private:
  struct EventInterface {
    std::u16string id;
    std::map<std::u16string, int32_t> events;
  };
  struct Sink {
    std::u16string interfaceId;
    ComEventHandler handler;
  };
  class Connection;

  std::map<std::u16string, int32_t> ids_;
  std::map<int32_t, Handler> handlers_;
  std::map<std::u16string, EventInterface> eventInterfaces_;
  std::shared_ptr<std::map<int, Sink>> sinks_ = std::make_shared<std::map<int, Sink>>();
  int nextCookie_ = 1;
};

class FakeComAutomation final : public ComAutomation {
 public:
  bool available() override { return true; }
  std::shared_ptr<ComObject> create(std::u16string_view progId, ComFailure& failure) override;
  std::shared_ptr<ComObject> active(std::u16string_view progId, ComFailure& failure) override;

  // What create gives for a ProgID (any case); active gives the running ones.
  std::map<std::u16string, std::shared_ptr<FakeComObject>> servers, running;
  // Servers that start a new object for every create (keys upper case);
  // asked before servers.
  std::map<std::u16string, std::function<std::shared_ptr<FakeComObject>()>> factories;
};

// A value of the given kind.
ComValue ComInt(int64_t value, uint16_t type = vt::kI4);
ComValue ComText(std::u16string text);

}  // namespace maqo::platform::fake
