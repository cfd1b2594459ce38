// A COM object as scripts hold it: a script object (so values carry its
// registry ID, never a pointer) around the platform's dispatch object, with
// the DISPIDs of its members cached by name for as long as it lives.
#pragma once
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "engine/values/script_value.h"
#include "platform/com_automation.h"

namespace maqo::com::objects {

class ComScriptObject final : public engine::ScriptObject {
 public:
  explicit ComScriptObject(std::shared_ptr<platform::ComObject> object) : object_(std::move(object)) {}
  std::u16string typeName() const override { return u"IDispatch"; }

  platform::ComObject& com() const { return *object_; }
  const std::shared_ptr<platform::ComObject>& shared() const { return object_; }

  // The DISPID of a member (names compare without case, as IDispatch does);
  // asked of the object the first time only. False with failure filled when
  // the object does not know the name.
  bool memberId(std::u16string_view name, int32_t& id, platform::ComFailure& failure);

 private:
  std::shared_ptr<platform::ComObject> object_;
  std::mutex lock_;  // script threads share objects through globals
  std::unordered_map<std::u16string, int32_t> ids_;
};

// The COM object a script value holds, or null (NOTHING, other kinds, other
// script objects).
ComScriptObject* ComObjectOf(const engine::ScriptValue& value);

// A script value holding the platform object (NOTHING for null).
engine::ScriptValue ObjectValue(std::shared_ptr<platform::ComObject> object);

}  // namespace maqo::com::objects
