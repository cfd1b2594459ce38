#include "engine/run/global_snapshot.h"

namespace maqo::engine {

void GlobalSnapshot::take(GlobalStore& store) {
  store.withGlobals([&](THensuFmt& globals) {
    State state;
    state.variables = globals.locals;
    state.hashTables = globals.hashTables;
    for (int t = 0; t < state.hashTables.count(); ++t) state.hashTables.table(t).clear();
    state_ = std::move(state);
  });
}

void GlobalSnapshot::restore(GlobalStore& store) const {
  if (!state_) return;
  // The values a repetition leaves are released after the lock (an object's
  // release may take long).
  State previous;
  store.withGlobals([&](THensuFmt& globals) {
    previous.variables = std::move(globals.locals);
    previous.hashTables = std::move(globals.hashTables);
    globals.locals = state_->variables;
    globals.hashTables = state_->hashTables;
  });
}

}  // namespace maqo::engine
