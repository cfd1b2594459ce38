#include "com/objects/com_object.h"

#include "engine/eval/text_helpers.h"

namespace maqo::com::objects {

bool ComScriptObject::memberId(std::u16string_view name, int32_t& id, platform::ComFailure& failure) {
  std::u16string key = engine::UpperCase(name);
  {
    std::lock_guard guard(lock_);
    if (auto found = ids_.find(key); found != ids_.end()) {
      id = found->second;
      return true;
    }
  }
  std::u16string names[1] = {std::u16string(name)};
  std::vector<int32_t> ids;
  if (!object_->dispatchIds(names, ids, failure) || ids.empty()) return false;
  id = ids[0];
  std::lock_guard guard(lock_);
  ids_.emplace(std::move(key), id);
  return true;
}

ComScriptObject* ComObjectOf(const engine::ScriptValue& value) {
  return dynamic_cast<ComScriptObject*>(value.objectPointer());
}

engine::ScriptValue ObjectValue(std::shared_ptr<platform::ComObject> object) {
  if (!object) return engine::ScriptValue::nothing();
  return engine::ScriptValue::object(std::make_shared<ComScriptObject>(std::move(object)));
}

}  // namespace maqo::com::objects
