// The accessibility search: walks an element tree for the n-th element of a
// kind (clickable by name, editable text, static text, editable cell), reads
// or operates it, or collects the texts of every element of a kind.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "automation/controls/item_names.h"
#include "platform/accessible_element.h"

namespace maqo::automation::accessibility {

namespace search_kind {
inline constexpr uint32_t kClick = 0x8000, kCheckQuery = 0x8000001, kEdit = 0x20000, kEditNoFocus = 0x20200,
                          kStatic = 0x40000, kCell = 0x200000, kCollectClickable = 0x400000,
                          kCollectText = 0x800000, kCollectEdit = 0x1000000, kCollecting = 0x1C00000;
inline constexpr uint32_t kMouseVariant = 0x10000000, kNameOnly = 0x20000000, kValueOnly = 0x40000000,
                          kFromLast = 0x10000, kContinue = 0x2000000, kShort = 0x100;
inline constexpr uint32_t kClickOptions = 0x800 | 0x1000 | 0x2000;
}  // namespace search_kind

struct AccessibleSearch {
  uint32_t kind = 0;
  int number = 1;
  // The prepared searched name (click kinds) or the text to write (edit kinds).
  std::u16string text;
  // Click: the desired check state; edit: 1 append, 2 replace, 0 read;
  // collecting: non-zero includes unavailable elements.
  int mode = 0;
  int maxCount = 0;  // collecting kinds; 0 = no limit
  // The target's client size: an element of role CLIENT that large is the
  // window's own client area, not a control drawn in it.
  std::optional<std::pair<int, int>> clientSize;
};

// What CLK_CONTINUE resumes from: the matches passed by the previous hit.
struct AccessibleResume {
  int matchesPassed = 0;
};

struct AccessibleOutcome {
  bool found = false;
  std::u16string text;                   // the element's text or state text
  std::vector<std::u16string> collected;  // collecting kinds
  std::optional<platform::AccessibleRect> location;  // the hit's
};

// A clickable hit as the click operation sees it. inDesiredState: its check
// state already is the one asked for, so it needs no click.
struct ClickTarget {
  int role = 0;
  uint32_t state = 0;
  bool byMouse = false;  // a text element taken as clickable by the mouse variant
  bool inDesiredState = false;
  platform::AccessibleRect rect;
};

struct AccessibleWalkEnv {
  std::function<bool()> stopping;
  std::function<void()> pause;  // lets the message loop run between objects
  controls::HalfWidthMapper halfWidth;
  // Operates a clickable hit after it has taken the focus; false when it
  // could not be operated (then it is no hit and the search goes on). When
  // absent, the default action is done unless the element is in the
  // desired state.
  std::function<bool(platform::AccessibleElement&, const ClickTarget&)> click = {};
  // Writes a text into the target another way when the element refuses its
  // new value; false when that is not possible either.
  std::function<bool(const std::u16string& text)> writeInstead = {};
};

// Walks root. resume: in, where CLK_CONTINUE starts; out, the new position
// after a hit (reset when the kind carries no CLK_CONTINUE).
AccessibleOutcome FindAccessible(platform::AccessibleElement& root, const AccessibleSearch& search,
                                 AccessibleResume& resume, const AccessibleWalkEnv& env);

}  // namespace maqo::automation::accessibility
