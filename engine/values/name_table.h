// TUHashedStrList: a name table. Names in insertion order with a hash index
// from name to an integer value; upper-cased unless created case-sensitive.
// Builtin names, user-function names, module names and every variable-name
// table are of this kind.
#pragma once
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/values/name_fold.h"

namespace maqo::engine {

class TUHashedStrList {
 public:
  explicit TUHashedStrList(bool caseSensitive = false);

  bool caseSensitive() const { return !hash_.fold; }

  // Adds a name whose value is its position and returns that position. A name
  // already present is not added twice: its position is returned.
  int add(std::u16string_view name);
  // Adds a name with a given value (or gives an existing name that value) and
  // returns its position.
  int addWithValue(std::u16string_view name, int value);
  // The value of a name, -1 when absent.
  int find(std::u16string_view name) const;
  // The position of a name, -1 when absent.
  int indexOf(std::u16string_view name) const;
  bool contains(std::u16string_view name) const { return indexOf(name) >= 0; }

  // The stored (upper-cased unless case-sensitive) name at a position.
  const std::u16string& nameAt(int position) const { return names_[static_cast<size_t>(position)]; }
  int valueAt(int position) const { return values_[static_cast<size_t>(position)]; }
  void setValueAt(int position, int value) { values_[static_cast<size_t>(position)] = value; }
  int count() const { return static_cast<int>(names_.size()); }

  void clear();
  // Becomes a copy of other (its case rule included).
  void assign(const TUHashedStrList& other) { *this = other; }

 private:
  std::u16string stored(std::u16string_view name) const;

  NameHash hash_;
  NameEqual equal_;
  std::vector<std::u16string> names_;
  std::vector<int> values_;
  std::unordered_map<std::u16string, int, NameHash, NameEqual> index_;  // name -> position
};

}  // namespace maqo::engine
