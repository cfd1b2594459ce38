#include "engine/values/name_table.h"

namespace maqo::engine {

TUHashedStrList::TUHashedStrList(bool caseSensitive)
    : hash_{!caseSensitive}, equal_{!caseSensitive}, index_(0, hash_, equal_) {}

std::u16string TUHashedStrList::stored(std::u16string_view name) const {
  return hash_.fold ? foldText(name) : std::u16string(name);
}

int TUHashedStrList::add(std::u16string_view name) {
  const int existing = indexOf(name);
  if (existing >= 0) return existing;
  const int position = count();
  std::u16string key = stored(name);
  index_.emplace(key, position);
  names_.push_back(std::move(key));
  values_.push_back(position);
  return position;
}

int TUHashedStrList::addWithValue(std::u16string_view name, int value) {
  const int position = add(name);
  values_[static_cast<size_t>(position)] = value;
  return position;
}

int TUHashedStrList::find(std::u16string_view name) const {
  const int position = indexOf(name);
  return position < 0 ? -1 : values_[static_cast<size_t>(position)];
}

int TUHashedStrList::indexOf(std::u16string_view name) const {
  const auto it = index_.find(name);
  return it == index_.end() ? -1 : it->second;
}

void TUHashedStrList::clear() {
  names_.clear();
  values_.clear();
  index_.clear();
}

}  // namespace maqo::engine
