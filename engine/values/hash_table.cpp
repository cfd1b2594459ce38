#include "engine/values/hash_table.h"

#include <algorithm>

namespace maqo::engine {

TUZHash::TUZHash(bool caseSensitive, bool keepSorted)
    : caseSensitive_(caseSensitive),
      keepSorted_(keepSorted),
      map_(0, NameHash{!caseSensitive}, NameEqual{!caseSensitive}) {}

TUZHash::TUZHash(const TUZHash& other) : TUZHash(other.caseSensitive_, other.keepSorted_) { copyFrom(other); }

TUZHash& TUZHash::operator=(const TUZHash& other) {
  if (this != &other) {
    TUZHash copy(other);
    *this = std::move(copy);
  }
  return *this;
}

TUZHash::TUZHash(TUZHash&&) noexcept = default;
TUZHash& TUZHash::operator=(TUZHash&&) noexcept = default;
TUZHash::~TUZHash() = default;

void TUZHash::copyFrom(const TUZHash& other) {
  other.compact();
  map_.reserve(other.map_.size());
  order_.reserve(other.order_.size());
  for (const Node* node : other.order_) {
    auto [it, added] = map_.emplace(node->first, Entry{node->second.value, order_.size()});
    order_.push_back(&*it);
  }
}

const ScriptValue* TUZHash::find(std::u16string_view key) const {
  const auto it = map_.find(key);
  return it == map_.end() ? nullptr : &it->second.value;
}

ScriptValue TUZHash::get(std::u16string_view key) const {
  const ScriptValue* value = find(key);
  return value ? *value : ScriptValue();
}

size_t TUZHash::sortedPosition(std::u16string_view key) const {
  const auto it = std::lower_bound(order_.begin(), order_.end(), key,
                                   [](const Node* node, std::u16string_view k) { return node->first < k; });
  return static_cast<size_t>(it - order_.begin());
}

void TUZHash::put(std::u16string_view key, ScriptValue value, ScriptValue* displaced) {
  const auto it = map_.find(key);
  if (it != map_.end()) {
    if (displaced != nullptr) *displaced = std::move(it->second.value);
    it->second.value = std::move(value);
    return;
  }
  std::u16string stored = caseSensitive_ ? std::u16string(key) : foldText(key);
  if (keepSorted_) {
    const size_t position = sortedPosition(stored);
    auto [node, added] = map_.emplace(std::move(stored), Entry{std::move(value), 0});
    order_.insert(order_.begin() + static_cast<std::ptrdiff_t>(position), &*node);
  } else {
    auto [node, added] = map_.emplace(std::move(stored), Entry{std::move(value), order_.size()});
    order_.push_back(&*node);
  }
}

bool TUZHash::remove(std::u16string_view key, ScriptValue* removed) {
  const auto it = map_.find(key);
  if (it == map_.end()) return false;
  if (removed != nullptr) *removed = std::move(it->second.value);
  if (keepSorted_) {
    const size_t position = sortedPosition(it->first);
    order_.erase(order_.begin() + static_cast<std::ptrdiff_t>(position));
  } else {
    order_[it->second.listIndex] = nullptr;
    ++removed_;
  }
  map_.erase(it);
  return true;
}

void TUZHash::clear() {
  map_.clear();
  order_.clear();
  removed_ = 0;
}

void TUZHash::compact() const {
  if (removed_ == 0) return;
  size_t out = 0;
  for (Node* node : order_) {
    if (node == nullptr) continue;
    node->second.listIndex = out;
    order_[out++] = node;
  }
  order_.resize(out);
  removed_ = 0;
}

const std::u16string& TUZHash::keyAt(size_t position) const {
  compact();
  return order_[position]->first;
}

const ScriptValue& TUZHash::valueAt(size_t position) const {
  compact();
  return order_[position]->second.value;
}

}  // namespace maqo::engine
