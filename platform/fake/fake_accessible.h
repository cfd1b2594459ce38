// An accessibility tree described by a table, for the engine's tests. Each
// row is one element; an element is reachable by navigation, by index or
// both, as servers publish them. Actions are logged in order.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/accessibility.h"
#include "platform/accessible_element.h"

namespace maqo::platform::fake {

struct FakeAccessibleRow {
  int id = 0;      // unique, 0 is the root
  int parent = -1;
  int role = 0;
  uint32_t state = 0;
  std::u16string name;
  std::u16string value;
  std::u16string description;
  std::u16string help;
  AccessibleRect rect;
  bool byNavigation = true;
  bool byIndex = true;
  bool valueFails = false;
  bool actionFails = false;
  bool valueWriteFails = false;
};

// A row with its place in the tree, role, name, state and location.
inline FakeAccessibleRow MakeFakeRow(int id, int parent, int role, std::u16string name, uint32_t state,
                                     AccessibleRect rect) {
  FakeAccessibleRow row;
  row.id = id;
  row.parent = parent;
  row.role = role;
  row.state = state;
  row.name = std::move(name);
  row.rect = rect;
  return row;
}

class FakeAccessibleTree {
 public:
  explicit FakeAccessibleTree(std::vector<FakeAccessibleRow> rows) : rows_(std::move(rows)) {}
  std::unique_ptr<AccessibleElement> root();
  std::unique_ptr<AccessibleElement> element(int id);

  FakeAccessibleRow& row(int id);
  bool has(int id) const;
  int lastId() const;
  std::vector<const FakeAccessibleRow*> childrenOf(int id, bool byNavigation) const;
  // "action NAME", "focus NAME", "value NAME=TEXT"
  std::vector<std::u16string> log;
  // Navigation from the last child leads back to the first (a faulty server).
  bool navigationWraps = false;

 private:
  std::vector<FakeAccessibleRow> rows_;
};

// The accessibility seam over fake trees: each window handle may publish one
// tree; the element at a point is the last row whose rectangle holds it.
class FakeAccessibility final : public Accessibility {
 public:
  bool available() override { return true; }
  std::unique_ptr<AccessibleElement> fromWindow(WindowHandle window) override;
  std::unique_ptr<AccessibleElement> fromPoint(int x, int y) override;
  std::u16string roleText(int role) override;
  std::u16string stateText(uint32_t bit) override;

  void publish(WindowHandle window, FakeAccessibleTree& tree) { trees_.emplace_back(window, &tree); }

 private:
  std::vector<std::pair<WindowHandle, FakeAccessibleTree*>> trees_;
};

}  // namespace maqo::platform::fake
