// The variables of one scope frame: a name table, one slot per name, and the
// frame's hash tables.
#pragma once
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/values/hash_table.h"
#include "engine/values/name_table.h"
#include "engine/values/script_value.h"
#include "engine/values/slot_hint.h"

namespace maqo::engine {

// A declared variable: its elements stored flat in row-major order (the last
// index varies fastest) and one inclusive upper bound per dimension. A scalar
// has one element and no dimensions; an upper bound of -1 gives a dimension
// without elements.
struct VariableSlot {
  static constexpr size_t kMaxDimensions = 16;

  std::vector<ScriptValue> values = std::vector<ScriptValue>(1);
  std::vector<int64_t> upperBounds;

  size_t dimensions() const { return upperBounds.size(); }
  bool isScalar() const { return upperBounds.empty(); }

  // Reshapes to the given upper bounds, keeping the first elements in flat
  // order (new ones Empty). Empty bounds make a scalar. Throws ScriptError
  // naming the reference when a bound is below -1 ("Index of the array is
  // wrong:"), there are more than 16 dimensions, or the element count passes
  // ArrayValue::kMaxElements or the memory ("Array is too large: ").
  void reshape(std::span<const int64_t> newUpperBounds, std::u16string_view reference);
};

// Variable slots addressed by name (without regard to case: names arrive with
// their ASCII letters upper-cased, and other letters fold here) or by slot
// number. A slot keeps its number for the life of the table, so callers may
// cache it.
class VariableTable {
 public:
  VariableTable() : names_(false) {}

  int find(std::u16string_view name) const { return names_.indexOf(name); }
  // find, trying the hinted slot first; the hint learns where the name is.
  int find(std::u16string_view name, std::atomic<int>& hint) const {
    const int guess = hint.load(std::memory_order_relaxed);
    if (guess >= 0 && guess < names_.count() && names_.nameAt(guess) == name) return guess;
    const int found = names_.indexOf(name);
    if (found >= 0) hint.store(found, std::memory_order_relaxed);
    return found;
  }
  // Creates a slot (Empty elements), or reshapes an existing one to the bounds;
  // with no bounds an existing slot is left as it is. Returns the slot number.
  // Throws ScriptError for bad bounds (see VariableSlot::reshape).
  int declare(std::u16string_view name, std::span<const int64_t> upperBounds = {},
              std::u16string_view reference = {});

  VariableSlot& slot(int number) { return slots_[static_cast<size_t>(number)]; }
  const VariableSlot& slot(int number) const { return slots_[static_cast<size_t>(number)]; }
  const std::u16string& nameAt(int number) const { return names_.nameAt(number); }
  int count() const { return names_.count(); }
  void clear();

 private:
  TUHashedStrList names_;
  std::vector<VariableSlot> slots_;
};

// The HASHTBL tables of a frame, by name. Copying copies every table key by
// key with its flags.
class HashTableList {
 public:
  HashTableList() : names_(false) {}
  HashTableList(const HashTableList& other);
  HashTableList& operator=(const HashTableList& other);
  HashTableList(HashTableList&&) noexcept = default;
  HashTableList& operator=(HashTableList&&) noexcept = default;

  int find(std::u16string_view name) const { return names_.indexOf(name); }
  // A new table with the flags, or an existing one cleared (its flags stay).
  int declare(std::u16string_view name, int flags);
  TUZHash& table(int number) { return *tables_[static_cast<size_t>(number)]; }
  const TUZHash& table(int number) const { return *tables_[static_cast<size_t>(number)]; }
  const std::u16string& nameAt(int number) const { return names_.nameAt(number); }
  int count() const { return names_.count(); }
  void clear();

 private:
  TUHashedStrList names_;
  std::vector<std::unique_ptr<TUZHash>> tables_;
};

}  // namespace maqo::engine
