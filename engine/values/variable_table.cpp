#include "engine/values/variable_table.h"

#include <new>
#include <stdexcept>

#include "engine/values/value_messages.h"

namespace maqo::engine {

void VariableSlot::reshape(std::span<const int64_t> newUpperBounds, std::u16string_view reference) {
  namespace msg = value_messages;
  if (newUpperBounds.size() > kMaxDimensions) throw ScriptError(msg::wrongArrayIndex(reference));
  int64_t count = 1;
  for (const int64_t upper : newUpperBounds) {
    if (upper < -1) throw ScriptError(msg::wrongArrayIndex(reference));
    if (upper >= ArrayValue::kMaxElements) throw ScriptError(msg::arrayTooLarge(reference));
    const int64_t length = upper + 1;
    if (length != 0 && count > ArrayValue::kMaxElements / length) throw ScriptError(msg::arrayTooLarge(reference));
    count *= length;
  }
  try {
    values.resize(static_cast<size_t>(count));
  } catch (const std::bad_alloc&) {
    throw ScriptError(msg::arrayTooLarge(reference));
  } catch (const std::length_error&) {
    throw ScriptError(msg::arrayTooLarge(reference));
  }
  upperBounds.assign(newUpperBounds.begin(), newUpperBounds.end());
}

int VariableTable::declare(std::u16string_view name, std::span<const int64_t> upperBounds,
                           std::u16string_view reference) {
  int number = names_.indexOf(name);
  if (number >= 0 && upperBounds.empty()) return number;
  VariableSlot fresh;
  VariableSlot& target = number >= 0 ? slots_[static_cast<size_t>(number)] : fresh;
  target.reshape(upperBounds, reference.empty() ? name : reference);
  if (number < 0) {
    slots_.push_back(std::move(fresh));
    number = names_.add(name);
  }
  return number;
}

void VariableTable::clear() {
  names_.clear();
  slots_.clear();
}

HashTableList::HashTableList(const HashTableList& other) : names_(other.names_) {
  tables_.reserve(other.tables_.size());
  for (const auto& table : other.tables_) tables_.push_back(std::make_unique<TUZHash>(*table));
}

HashTableList& HashTableList::operator=(const HashTableList& other) {
  if (this != &other) {
    HashTableList copy(other);
    *this = std::move(copy);
  }
  return *this;
}

int HashTableList::declare(std::u16string_view name, int flags) {
  const int number = names_.indexOf(name);
  if (number >= 0) {
    tables_[static_cast<size_t>(number)]->clear();
    return number;
  }
  tables_.push_back(std::make_unique<TUZHash>(TUZHash::withFlags(flags)));
  return names_.add(name);
}

void HashTableList::clear() {
  names_.clear();
  tables_.clear();
}

}  // namespace maqo::engine
