// The texts the accessibility search compares: which of name and value an
// element shows, the cleaning of filler texts, and the name match.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "automation/controls/item_names.h"

namespace maqo::automation::accessibility {

enum class TextSource { Default, NameOnly, ValueOnly };

// The element's text from its name and value (nothing when the value could
// not be read). editKind: the search looks for editable texts, which show
// their value even when they have a name.
std::u16string ElementText(TextSource source, int role, const std::u16string& name,
                           const std::optional<std::u16string>& value, bool editKind);

// Blanks for the placeholder mark, trimmed; a text made only of one filler
// character (",", "-", "|" and their wide forms, middle dots, wide spaces)
// becomes empty.
std::u16string CleanElementText(std::u16string_view text);

// The element text against a prepared searched name, also with the private
// use blank U+F8F0 read as a space.
bool AccNameMatches(std::u16string_view elementText, const controls::ItemQuery& query,
                    const controls::HalfWidthMapper& halfWidth);

}  // namespace maqo::automation::accessibility
