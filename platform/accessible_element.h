// One element of the accessibility tree a window publishes: its facts
// (role, state, texts, location), its children reached by navigation and by
// index, and the actions on it. Each call is one question to the serving
// program; any of them may fail, which the answers show as empty values.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace maqo::platform {

struct AccessibleRect {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const AccessibleRect&) const = default;
};

class AccessibleElement {
 public:
  virtual ~AccessibleElement() = default;
  // The role number; nothing when the server gives no integer role.
  virtual std::optional<int> role() = 0;
  virtual uint32_t state() = 0;
  virtual std::u16string name() = 0;
  // Nothing when reading the value fails.
  virtual std::optional<std::u16string> value() = 0;
  virtual std::u16string description() = 0;
  virtual std::u16string help() = 0;
  virtual std::u16string defaultAction() = 0;
  virtual std::optional<AccessibleRect> location() = 0;
  // 0 when the count cannot be read.
  virtual int childCount() = 0;
  // Navigation: the first child and the next sibling, null when navigation fails.
  virtual std::unique_ptr<AccessibleElement> firstChild() = 0;
  virtual std::unique_ptr<AccessibleElement> nextSibling() = 0;
  // The index-th child (1-based), null when it cannot be had.
  virtual std::unique_ptr<AccessibleElement> child(int index) = 0;
  // Identifies the element among its siblings (the child id), so a
  // navigation that comes round again can be recognised.
  virtual int64_t siblingId() = 0;
  virtual bool doDefaultAction() = 0;
  virtual bool takeFocus() = 0;
  virtual bool putValue(const std::u16string& text) = 0;
};

}  // namespace maqo::platform
