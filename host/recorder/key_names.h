// Virtual-key codes as the recorder writes them: VK_0..VK_9 and VK_A..VK_Z,
// otherwise the name of the builtin VK_ constant for the code, otherwise the
// decimal number. Built from the builtin constant table, so the two never
// disagree about a name.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace maqo::host::recorder {

std::u16string KeyName(int virtualKey);

// The value a line argument stands for: a decimal number, or a builtin
// constant (VK_A, LEFT, DOWN, CLICK ...); nothing for any other text.
std::optional<double> ArgumentValue(std::u16string_view argument);

}  // namespace maqo::host::recorder
