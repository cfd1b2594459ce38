#include "engine/values/script_object.h"

namespace maqo::engine {

ScriptObject::~ScriptObject() {
  const uint64_t id = id_.load(std::memory_order_acquire);
  if (id != 0) ObjectRegistry::instance().forget(id);
}

ObjectRegistry& ObjectRegistry::instance() {
  // Never destroyed: objects held by static values may outlive any static.
  static ObjectRegistry* registry = new ObjectRegistry;
  return *registry;
}

uint64_t ObjectRegistry::enroll(const std::shared_ptr<ScriptObject>& object) {
  if (!object) return 0;
  std::lock_guard guard(lock_);
  uint64_t id = object->id_.load(std::memory_order_acquire);
  if (id != 0) return id;
  id = next_++;
  objects_.emplace(id, object);
  object->id_.store(id, std::memory_order_release);
  return id;
}

std::shared_ptr<ScriptObject> ObjectRegistry::find(uint64_t id) const {
  std::lock_guard guard(lock_);
  const auto it = objects_.find(id);
  return it == objects_.end() ? nullptr : it->second.lock();
}

size_t ObjectRegistry::size() const {
  std::lock_guard guard(lock_);
  return objects_.size();
}

void ObjectRegistry::forget(uint64_t id) {
  std::lock_guard guard(lock_);
  objects_.erase(id);
}

}  // namespace maqo::engine
