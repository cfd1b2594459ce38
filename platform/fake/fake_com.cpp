#include "platform/fake/fake_com.h"

namespace maqo::platform::fake {

namespace {

std::u16string upper(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  return out;
}

}  // namespace

void FakeComObject::addMember(std::u16string name, int32_t dispatchId, Handler handler) {
  ids_[upper(name)] = dispatchId;
  handlers_[dispatchId] = std::move(handler);
}

void FakeComObject::addName(std::u16string name, int32_t dispatchId) { ids_[upper(name)] = dispatchId; }

bool FakeComObject::dispatchIds(std::span<const std::u16string> names, std::vector<int32_t>& ids,
                                ComFailure& failure) {
  ++nameLookups;
  ids.clear();
  for (const std::u16string& name : names) {
    auto found = ids_.find(upper(name));
    if (found == ids_.end()) {
      failure.code = kDispUnknownName;
      failure.systemText = u"Unknown name.";
      return false;
    }
    ids.push_back(found->second);
  }
  return true;
}

bool FakeComObject::invoke(int32_t dispatchId, uint16_t flags, std::span<ComArgument> arguments,
                           std::span<const int32_t> namedIds, ComValue& result, ComFailure& failure) {
  Call call{dispatchId, flags, {arguments.begin(), arguments.end()}, {namedIds.begin(), namedIds.end()}};
  // The record keeps no object alive: an object passed to its own member
  // (o.Echo(o)) would otherwise hold itself through its call list and leak.
  for (ComArgument& argument : call.arguments) argument.value.object.reset();
  calls.push_back(std::move(call));
  auto found = handlers_.find(dispatchId);
  if (found == handlers_.end()) {
    failure.code = static_cast<int32_t>(0x80020003);  // DISP_E_MEMBERNOTFOUND
    failure.systemText = u"Member not found.";
    return false;
  }
  return found->second(flags, arguments, namedIds, result, failure);
}

bool FakeComObject::enumerate(std::vector<ComValue>& out, const std::function<bool()>& stopRequested,
                              ComFailure& failure) {
  for (const ComValue& item : items) {
    if (stopRequested()) return true;
    out.push_back(item);
  }
  if (!enumerateFails) return true;
  failure.code = static_cast<int32_t>(0x80004005);
  failure.systemText = u"Unspecified error";
  return false;
}

std::shared_ptr<ComObject> FakeComAutomation::create(std::u16string_view progId, ComFailure& failure) {
  if (auto factory = factories.find(upper(progId)); factory != factories.end()) return factory->second();
  if (auto found = servers.find(upper(progId)); found != servers.end()) return found->second;
  failure.code = static_cast<int32_t>(0x800401F3);  // CO_E_CLASSSTRING
  failure.systemText = u"Invalid class string";
  return nullptr;
}

std::shared_ptr<ComObject> FakeComAutomation::active(std::u16string_view progId, ComFailure& failure) {
  if (auto found = running.find(upper(progId)); found != running.end()) return found->second;
  failure.code = static_cast<int32_t>(0x800401E3);  // MK_E_UNAVAILABLE
  return nullptr;
}

ComValue ComInt(int64_t value, uint16_t type) {
  ComValue v;
  v.type = type;
  v.integer = value;
  return v;
}

ComValue ComText(std::u16string text) {
  ComValue v;
  v.type = vt::kBstr;
  v.text = std::move(text);
  return v;
}

// Unadvises on destruction; the sink list outlives the object when a
// connection is kept longer than its server.
class FakeComObject::Connection final : public ComEventConnection {
 public:
  Connection(std::weak_ptr<std::map<int, Sink>> sinks, int cookie) : sinks_(std::move(sinks)), cookie_(cookie) {}
  ~Connection() override {
    if (auto sinks = sinks_.lock()) sinks->erase(cookie_);
  }

 private:
  std::weak_ptr<std::map<int, Sink>> sinks_;
  int cookie_;
};

void FakeComObject::addEventInterface(std::u16string name, std::u16string interfaceId,
                                      std::map<std::u16string, int32_t> events) {
  std::map<std::u16string, int32_t> upperEvents;
  for (auto& [event, id] : events) upperEvents[upper(event)] = id;
  eventInterfaces_[upper(name)] = EventInterface{std::move(interfaceId), std::move(upperEvents)};
}

std::vector<ComValue> FakeComObject::fire(std::u16string_view interfaceId, int32_t dispatchId,
                                          std::vector<ComValue> parameters) {
  // A handler may advise or unadvise while it runs: walk a copy of the cookies.
  std::vector<int> cookies;
  for (const auto& [cookie, sink] : *sinks_)
    if (sink.interfaceId == interfaceId) cookies.push_back(cookie);
  for (int cookie : cookies) {
    auto sink = sinks_->find(cookie);
    if (sink == sinks_->end()) continue;
    ComEventHandler handler = sink->second.handler;
    handler(dispatchId, parameters);
  }
  return parameters;
}

size_t FakeComObject::sinkCount() const { return sinks_->size(); }

bool FakeComObject::findEvent(std::u16string_view interfaceName, std::u16string_view eventName,
                              std::u16string& interfaceId, int32_t& dispatchId, bool& found, ComFailure& failure) {
  found = false;
  if (typeInfoFails) {
    failure.code = static_cast<int32_t>(0x80028019);  // TYPE_E_LIBNOTREGISTERED
    failure.systemText = u"Library not registered.";
    return false;
  }
  auto source = eventInterfaces_.find(upper(interfaceName));
  if (source == eventInterfaces_.end()) return true;
  auto event = source->second.events.find(upper(eventName));
  if (event == source->second.events.end()) return true;
  interfaceId = source->second.id;
  dispatchId = event->second;
  found = true;
  return true;
}

std::unique_ptr<ComEventConnection> FakeComObject::connectEvents(std::u16string_view interfaceId,
                                                                 ComEventHandler handler, ComFailure& failure) {
  bool known = false;
  for (const auto& [name, source] : eventInterfaces_) known = known || source.id == interfaceId;
  if (!known) {
    failure.code = static_cast<int32_t>(0x80040200);  // CONNECT_E_NOCONNECTION
    failure.systemText = u"No connection point.";
    return nullptr;
  }
  const int cookie = nextCookie_++;
  (*sinks_)[cookie] = Sink{std::u16string(interfaceId), std::move(handler)};
  return std::make_unique<Connection>(sinks_, cookie);
}

}  // namespace maqo::platform::fake
