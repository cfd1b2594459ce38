// Where accessibility trees come from: the element tree a window publishes
// for its client area, the element at a screen point, and the system's texts
// for role and state numbers. The win32 build asks Oleacc; the native build
// has none and says so through available().
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "platform/accessible_element.h"
#include "platform/desktop.h"

namespace maqo::platform {

class Accessibility {
 public:
  virtual ~Accessibility() = default;
  // False when the system offers no accessibility trees (the native build,
  // or the library could not be loaded).
  virtual bool available() = 0;
  // The root element of the window's client area; null when the window
  // publishes none.
  virtual std::unique_ptr<AccessibleElement> fromWindow(WindowHandle window) = 0;
  // The element at a screen point (it may be a simple child of its object);
  // null when there is none.
  virtual std::unique_ptr<AccessibleElement> fromPoint(int x, int y) = 0;
  // The system's localised text of a role number, of one state bit.
  virtual std::u16string roleText(int role) = 0;
  virtual std::u16string stateText(uint32_t stateBit) = 0;
};

// The build's accessibility.
Accessibility& systemAccessibility();

}  // namespace maqo::platform
