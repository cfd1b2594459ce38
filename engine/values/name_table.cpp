#include "engine/values/name_table.h"

namespace maqo::engine {

namespace {

// Up to this many names a table is searched in order and keeps no hash index:
// most tables are a function call's few locals, made and dropped per call,
// where building the index costs more than it saves.
constexpr size_t kLinearSearchLimit = 8;

}  // namespace

TUHashedStrList::TUHashedStrList(bool caseSensitive)
    : hash_{!caseSensitive}, equal_{!caseSensitive}, index_(0, hash_, equal_) {}

std::u16string TUHashedStrList::stored(std::u16string_view name) const {
  return hash_.fold ? foldText(name) : std::u16string(name);
}

int TUHashedStrList::add(std::u16string_view name) {
  const int existing = indexOf(name);
  if (existing >= 0) return existing;
  const int position = count();
  names_.push_back(stored(name));
  values_.push_back(position);
  if (names_.size() > kLinearSearchLimit) {
    if (index_.empty()) {
      for (size_t i = 0; i < names_.size(); ++i) index_.emplace(names_[i], static_cast<int>(i));
    } else {
      index_.emplace(names_.back(), position);
    }
  }
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
  if (names_.size() <= kLinearSearchLimit) {
    for (size_t i = 0; i < names_.size(); ++i)
      if (equal_(names_[i], name)) return static_cast<int>(i);
    return -1;
  }
  const auto it = index_.find(name);
  return it == index_.end() ? -1 : it->second;
}

void TUHashedStrList::clear() {
  names_.clear();
  values_.clear();
  index_.clear();
}

}  // namespace maqo::engine
