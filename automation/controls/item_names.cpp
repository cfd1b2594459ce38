#include "automation/controls/item_names.h"

#include "automation/windows/window_finder.h"
#include "platform/letter_case.h"

namespace maqo::automation::controls {

namespace {

// Trims the characters at or below the space, like the window titles.
std::u16string trimmed(std::u16string_view text) { return TrimControl(text); }

constexpr size_t kMaxPathParts = 33;

}  // namespace

std::u16string ItemUpper(std::u16string_view text) { return platform::upperCaseText(text); }

std::u16string NormaliseItemName(std::u16string_view text) {
  if (const size_t tab = text.find(u'\t'); tab != std::u16string_view::npos) text = text.substr(0, tab);
  std::u16string s = trimmed(text);
  if (s.size() <= 2) return s;
  while (!s.empty() && (s.back() == u':' || s.back() == u'.' || s.back() == u' ')) s.pop_back();
  const size_t n = s.size();
  if (n > 3 && s.back() == u')') {
    if (s[n - 3] == u'(')
      s.resize(n - 3);
    else if (s[n - 4] == u'(' && s[n - 3] == u'&')
      s.resize(n - 4);
  }
  std::u16string out;
  out.reserve(s.size());
  for (char16_t c : s)
    if (c != u'&') out.push_back(c);
  return trimmed(out);
}

std::u16string PrepareSearchedName(std::u16string_view name, bool partial) {
  std::u16string upper = ItemUpper(name);
  if (!partial) upper = trimmed(upper);
  return NormaliseItemName(upper);
}

namespace {

bool compare(const std::u16string& item, const std::u16string& name, bool partial) {
  if (item == name) return true;
  if (!partial) return trimmed(item) == name;
  return !name.empty() && item.find(name) != std::u16string::npos;
}

}  // namespace

bool ItemMatches(std::u16string_view itemText, const ItemQuery& query, const HalfWidthMapper& halfWidth) {
  std::u16string item = ItemUpper(itemText);
  if (query.normalise) item = NormaliseItemName(item);
  if (compare(item, query.name, query.partial)) return true;
  if (!halfWidth) return false;
  return compare(halfWidth(item), halfWidth(query.name), query.partial);
}

ItemPath SplitItemPath(std::u16string_view path) {
  ItemPath result;
  if (!path.empty() && path.front() == u'\\') {
    result.anchored = true;
    path.remove_prefix(1);
  }
  size_t start = 0;
  while (result.parts.size() < kMaxPathParts) {
    const size_t sep = path.find(u'\\', start);
    result.parts.push_back(trimmed(path.substr(start, sep == std::u16string_view::npos ? sep : sep - start)));
    if (sep == std::u16string_view::npos) break;
    start = sep + 1;
  }
  return result;
}

}  // namespace maqo::automation::controls
