#include "host/recorder/key_names.h"

#include <unordered_map>

#include "builtins/constants.h"
#include "host/recorder/script_line.h"
#include "platform/text_codec.h"

namespace maqo::host::recorder {
namespace {

// Codes with more than one constant name, and the left/right forms written as
// the plain key so that a recording replays on either side's key.
constexpr struct {
  int code;
  const char16_t* name;
} kChosenNames[] = {
    {13, u"VK_RETURN"}, {17, u"VK_CTRL"},   {18, u"VK_ALT"},    {27, u"VK_ESC"},
    {91, u"VK_WIN"},    {92, u"VK_RWIN"},   {160, u"VK_SHIFT"}, {162, u"VK_CTRL"},
    {163, u"VK_RCTRL"}, {164, u"VK_ALT"},   {165, u"VK_RALT"},  {901, u"VK_RRETURN"},
};

const std::unordered_map<int, std::u16string>& NameByCode() {
  static const std::unordered_map<int, std::u16string> table = [] {
    std::unordered_map<int, std::u16string> names;
    for (const auto& constant : builtins::BuiltinConstants()) {
      if (constant.name.substr(0, 3) != u"VK_") continue;
      names.emplace(static_cast<int>(constant.value), std::u16string(constant.name));  // first name wins
    }
    for (const auto& chosen : kChosenNames) names[chosen.code] = chosen.name;
    return names;
  }();
  return table;
}

}  // namespace

std::u16string KeyName(int virtualKey) {
  if ((virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z'))
    return std::u16string(u"VK_") + static_cast<char16_t>(virtualKey);
  const auto& names = NameByCode();
  const auto found = names.find(virtualKey);
  if (found != names.end()) return found->second;
  return FormatNumber(virtualKey);
}

std::optional<double> ArgumentValue(std::u16string_view argument) {
  const std::u16string text = Trim(argument);
  if (const auto number = ParseNumber(text)) return number;
  return builtins::FindBuiltinConstant(text);
}

}  // namespace maqo::host::recorder
