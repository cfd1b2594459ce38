#include "automation/accessibility/accessible_text.h"

#include <algorithm>

#include "automation/accessibility/accessible_roles.h"

namespace maqo::automation::accessibility {

bool IsClickable(int r, uint32_t s) {
  using namespace role;
  switch (r) {
    case kMenuItem: case kLink: case kListItem: case kOutlineItem: case kPageTab: case kPushButton:
    case kSlider: case kSpinButton: case kButtonDropDown: case kButtonMenu: case kButtonDropDownGrid:
    case kSplitButton: case kRadioButton: case kCheckButton:
      return true;
    case kGraphic: case kText:
      return (s & state::kLinked) != 0;
    case kClient:
      return (s & (state::kFocusable | state::kSelectable)) != 0 && (s & state::kReadOnly) == 0;
    default:
      return false;
  }
}

bool IsOn(int r, uint32_t s) {
  if (r == role::kCheckButton) return (s & state::kChecked) != 0;
  return (s & (state::kSelected | state::kPressed | state::kChecked)) != 0;
}

std::u16string ElementText(TextSource source, int r, const std::u16string& name,
                           const std::optional<std::u16string>& value, bool editKind) {
  if (source == TextSource::NameOnly) return name;
  if (source == TextSource::ValueOnly) return value.value_or(u"");
  if (!value) return name;
  using namespace role;
  const bool valueRole = r == kCell || r == kComboBox || r == kList || r == kStaticText || r == kText ||
                         r == kSpinButton;
  if (!name.empty() && !valueRole) return name;
  if (r == kText && !name.empty() && !editKind) return name;
  if (r == kStaticText && value->empty()) return name;
  return *value;
}

namespace {
bool IsBlank(char16_t ch) { return ch == u' ' || ch == u'\t' || ch == u'\r' || ch == u'\n'; }
std::u16string Trim(std::u16string_view t) {
  size_t b = 0, e = t.size();
  while (b < e && IsBlank(t[b])) ++b;
  while (e > b && IsBlank(t[e - 1])) --e;
  return std::u16string(t.substr(b, e - b));
}
}  // namespace

std::u16string CleanElementText(std::u16string_view text) {
  std::u16string t(text);
  std::replace(t.begin(), t.end(), u'\u4383', u' ');
  t = Trim(t);
  for (char16_t filler : {u',', u'\uFF65', u'-', u'|', u'\u3000', u'\u30FB', u'\uFF0D', u'\uFF5C'})
    if (!t.empty() && std::all_of(t.begin(), t.end(), [&](char16_t ch) { return ch == filler; })) return {};
  return t;
}

bool AccNameMatches(std::u16string_view elementText, const controls::ItemQuery& query,
                    const controls::HalfWidthMapper& halfWidth) {
  std::u16string text = controls::ItemUpper(controls::NormaliseItemName(elementText));
  const controls::ItemQuery prepared{query.name, query.partial, false};
  if (controls::ItemMatches(text, prepared, halfWidth)) return true;
  if (text.find(u'\uF8F0') == std::u16string::npos) return false;
  std::replace(text.begin(), text.end(), u'\uF8F0', u' ');
  return controls::ItemMatches(text, prepared, halfWidth);
}

}  // namespace maqo::automation::accessibility
