// State that a builtin family keeps per engine (or per frame), held by the
// engine without knowing its type. Each family asks for its own type with
// get<T>(); the first call makes a T, later calls return the same one. The
// engine, the frames and the tests each own a store, so two engines never
// share a family's state.
//
// Reading an existing slot takes no lock (one atomic load), so families may
// ask on every call; making a slot takes the store's lock.
#pragma once
#include <array>
#include <atomic>
#include <cstddef>
#include <memory>
#include <mutex>
#include <stdexcept>

namespace maqo::engine {

class FamilyStateStore {
 public:
  // How many family types one program may keep state for.
  static constexpr size_t kMaxFamilies = 32;

  FamilyStateStore() = default;
  FamilyStateStore(const FamilyStateStore&) = delete;
  FamilyStateStore& operator=(const FamilyStateStore&) = delete;
  ~FamilyStateStore() { clear(); }

  // The family's state of type T (default-constructible), made on first use.
  template <typename T>
  T& get() {
    const size_t index = indexOf<T>();
    if (void* existing = slots_[index].object.load(std::memory_order_acquire)) return *static_cast<T*>(existing);
    std::lock_guard guard(lock_);
    if (void* existing = slots_[index].object.load(std::memory_order_relaxed)) return *static_cast<T*>(existing);
    T* made = new T();
    slots_[index].destroy = [](void* object) { delete static_cast<T*>(object); };
    slots_[index].object.store(made, std::memory_order_release);
    return *made;
  }

  // The family's state when it was made, else null.
  template <typename T>
  T* find() {
    return static_cast<T*>(slots_[indexOf<T>()].object.load(std::memory_order_acquire));
  }

  // Drops every family's state (the next get makes it afresh). Only while no
  // other thread uses the store.
  void clear() {
    std::lock_guard guard(lock_);
    for (Slot& slot : slots_)
      if (void* object = slot.object.exchange(nullptr)) slot.destroy(object);
  }

 private:
  struct Slot {
    std::atomic<void*> object{nullptr};
    void (*destroy)(void*) = nullptr;
  };

  static size_t nextIndex() {
    static std::atomic<size_t> next{0};
    const size_t index = next.fetch_add(1);
    if (index >= kMaxFamilies) throw std::length_error("FamilyStateStore: too many family types");
    return index;
  }
  // One index per type, the same in every store.
  template <typename T>
  static size_t indexOf() {
    static const size_t index = nextIndex();
    return index;
  }

  std::mutex lock_;
  std::array<Slot, kMaxFamilies> slots_;
};

}  // namespace maqo::engine
