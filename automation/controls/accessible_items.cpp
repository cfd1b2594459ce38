#include "automation/controls/accessible_items.h"

#include <atomic>

namespace maqo::automation::controls {

namespace {
std::atomic<AccessibleItems*> installedEngine{nullptr};
}

AccessibleItems* InstalledAccessibleItems() { return installedEngine.load(); }
void InstallAccessibleItems(AccessibleItems* engine) { installedEngine.store(engine); }

AccessibleItems& RequireAccessibleItems(std::u16string_view builtin) {
  if (AccessibleItems* engine = installedEngine.load()) return *engine;
  throw control_messages::accessibilityUnavailable(builtin);
}

}  // namespace maqo::automation::controls
