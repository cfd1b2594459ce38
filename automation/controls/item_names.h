// Item texts as the control builtins compare them: the normalisation that
// drops shortcut texts, access-key marks and trailing dots or colons, the
// match of an item against a searched name, and item paths ("File\Exit").
#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace maqo::automation::controls {

// Cut at the first TAB; trim; texts of 2 characters or fewer stop there.
// Otherwise trailing ':', '.' and ' ' go, a trailing "(X)" or "(&X)" goes
// (texts longer than 3 characters), every '&' goes, and the rest is trimmed.
std::u16string NormaliseItemName(std::u16string_view text);

// The half-width form of a text (LCMapStringW LCMAP_HALFWIDTH on the desktop).
using HalfWidthMapper = std::function<std::u16string(const std::u16string&)>;

// A searched name prepared once: upper-cased, and normalised when asked.
struct ItemQuery {
  std::u16string name;
  bool partial = false;  // CLK_SHORT
  bool normalise = true;
};

// Prepares CLKITEM's name: upper-cased, trimmed unless partial, then normalised.
std::u16string PrepareSearchedName(std::u16string_view name, bool partial);

// Whether an item text matches the prepared query: equal; or, for a full
// match, equal once trimmed; or, partially, the name occurs in it; or the
// same in the half-width forms of both.
bool ItemMatches(std::u16string_view itemText, const ItemQuery& query, const HalfWidthMapper& halfWidth);

// A path "a\b\c" split at '\', parts trimmed, at most 33 parts (the rest is
// dropped). anchored: the path began with '\' (tree views: from the root).
struct ItemPath {
  std::vector<std::u16string> parts;
  bool anchored = false;
};
ItemPath SplitItemPath(std::u16string_view path);

// Upper case as the item comparisons use it: the system's case table.
std::u16string ItemUpper(std::u16string_view text);

}  // namespace maqo::automation::controls
