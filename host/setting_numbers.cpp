#include "host/setting_numbers.h"

#include <climits>

#include "engine/values/number_text.h"

namespace maqo::host {

std::optional<int> SettingInteger(std::u16string_view field) {
  const std::optional<int64_t> value = engine::parseIntegerText(engine::trimControlAndSpace(field));
  if (!value || *value < INT_MIN || *value > INT_MAX) return std::nullopt;
  return static_cast<int>(*value);
}

std::u16string DecimalText(long long value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace maqo::host
