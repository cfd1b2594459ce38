// Whole numbers in the settings file and the restart state: read with the
// engine's integer rule (blanks around the field ignored) and written as
// plain decimal text.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace maqo::host {

// Nothing when the field is not a whole number or does not fit an int.
std::optional<int> SettingInteger(std::u16string_view field);

std::u16string DecimalText(long long value);

}  // namespace maqo::host
