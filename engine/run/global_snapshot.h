// The global variables as the build left them, for runs that repeat the main
// part: each repetition starts from this state, not from what the previous
// repetition left behind.
#pragma once
#include <optional>

#include "engine/values/global_store.h"

namespace maqo::engine {

class GlobalSnapshot {
 public:
  // Copies every global variable (names, values, dimensions) and the names of
  // the global hash tables.
  void take(GlobalStore& store);
  // Puts the copied variables back and empties every global hash table.
  // Nothing happens when no snapshot was taken.
  void restore(GlobalStore& store) const;
  void clear() { state_.reset(); }
  bool taken() const { return state_.has_value(); }

 private:
  struct State {
    VariableTable variables;
    HashTableList hashTables;
  };
  std::optional<State> state_;
};

}  // namespace maqo::engine
