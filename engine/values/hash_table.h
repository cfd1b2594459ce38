// TUZHash: the dictionary behind a HASHTBL variable. Key text to ScriptValue,
// with the keys also listed in order for positional reads (H[i, HASH_KEY]).
//
// A plain table lists its keys in insertion order. A sorted table keeps its key
// list in ascending order at all times: a new key is inserted at its place by
// binary search, so positional reads never re-sort. Keys are compared by their
// UTF-16 code units (ordinal order); the locale-aware collation arrives with the
// string builtins. Without the case-care flag keys are stored and looked up
// upper-cased.
#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/values/name_fold.h"
#include "engine/values/script_value.h"

namespace maqo::engine {

// Option values a script uses with hash tables.
inline constexpr int kHashCaseCare = 4096;  // HASH_CASECARE
inline constexpr int kHashSort = 8192;      // HASH_SORT
inline constexpr int kHashKey = -101;       // HASH_KEY
inline constexpr int kHashVal = -102;       // HASH_VAL
inline constexpr int kHashExists = -103;    // HASH_EXISTS
inline constexpr int kHashRemove = -104;    // HASH_REMOVE
inline constexpr int kHashRemoveAll = -109; // HASH_REMOVEALL

class TUZHash {
 public:
  explicit TUZHash(bool caseSensitive = false, bool keepSorted = false);
  // From the HASHTBL flag bits (kHashCaseCare, kHashSort).
  static TUZHash withFlags(int flags) { return TUZHash((flags & kHashCaseCare) != 0, (flags & kHashSort) != 0); }
  TUZHash(const TUZHash& other);
  TUZHash& operator=(const TUZHash& other);
  TUZHash(TUZHash&&) noexcept;
  TUZHash& operator=(TUZHash&&) noexcept;
  ~TUZHash();

  bool caseSensitive() const { return caseSensitive_; }
  bool keepSorted() const { return keepSorted_; }
  int flags() const { return (caseSensitive_ ? kHashCaseCare : 0) | (keepSorted_ ? kHashSort : 0); }
  size_t count() const { return map_.size(); }

  // The value under a key, null when absent.
  const ScriptValue* find(std::u16string_view key) const;
  // The value under a key, Empty when absent.
  ScriptValue get(std::u16string_view key) const;
  bool exists(std::u16string_view key) const { return find(key) != nullptr; }
  // Stores the value, adding the key when new. The value it replaces is moved
  // to displaced when given (so the caller decides where it is destroyed).
  void put(std::u16string_view key, ScriptValue value, ScriptValue* displaced = nullptr);
  // True when the key was there; its value is moved to removed when given.
  bool remove(std::u16string_view key, ScriptValue* removed = nullptr);
  void clear();

  // Key and value at a position of the key list (0 <= position < count()).
  const std::u16string& keyAt(size_t position) const;
  const ScriptValue& valueAt(size_t position) const;

 private:
  struct Entry {
    ScriptValue value;
    size_t listIndex = 0;  // position in order_ (plain tables, may be stale by removals)
  };
  using Map = std::unordered_map<std::u16string, Entry, NameHash, NameEqual>;
  using Node = Map::value_type;

  void compact() const;
  void copyFrom(const TUZHash& other);
  size_t sortedPosition(std::u16string_view key) const;

  bool caseSensitive_;
  bool keepSorted_;
  Map map_;
  // Pointers into map_'s nodes, which stay put while the map changes. A plain
  // table marks removed keys with null and compacts before a positional read.
  mutable std::vector<Node*> order_;
  mutable size_t removed_ = 0;
};

}  // namespace maqo::engine
