// Objects that script values can hold (COM objects and the like), and the
// registry that gives every such object a stable number.
//
// A value holds a counted reference to its object, so the object lives as long
// as some value refers to it, and is released as soon as none does (as a
// variable set to NOTHING releases a COM object). The number the registry gives
// is the object's display identity: it is what PRINT shows for an object, and
// the only way back from that number to the object is the registry's own
// lookup, used by the engine. No script operation turns a number into an object
// value, so a script cannot forge a reference.
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace maqo::engine {

class ScriptObject {
 public:
  ScriptObject() = default;
  ScriptObject(const ScriptObject&) = delete;
  ScriptObject& operator=(const ScriptObject&) = delete;
  virtual ~ScriptObject();

  // A short name of the object's kind for messages, e.g. "Excel.Application".
  virtual std::u16string typeName() const = 0;

  // The display identity; 0 until the object is enrolled in the registry,
  // which happens when the first value holding it is made.
  uint64_t objectId() const { return id_.load(std::memory_order_acquire); }

 private:
  friend class ObjectRegistry;
  std::atomic<uint64_t> id_{0};
};

// Process-wide table of ID -> object. Thread-safe.
class ObjectRegistry {
 public:
  static ObjectRegistry& instance();

  // Gives the object its ID (once; later calls return the same ID).
  uint64_t enroll(const std::shared_ptr<ScriptObject>& object);
  // The live object with that ID, or null.
  std::shared_ptr<ScriptObject> find(uint64_t id) const;
  // Number of live enrolled objects.
  size_t size() const;

 private:
  friend class ScriptObject;
  void forget(uint64_t id);

  mutable std::mutex lock_;
  std::unordered_map<uint64_t, std::weak_ptr<ScriptObject>> objects_;
  uint64_t next_ = 1;
};

}  // namespace maqo::engine
