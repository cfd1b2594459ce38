// The builtin constants: the option codes scripts pass to builtins by name
// (CLOSE, F_READ, VK_RETURN, HASH_SORT ...). 577 names, case-insensitive,
// filled once and never changed; every constant reads as a double.
#pragma once
#include <optional>
#include <span>
#include <string_view>

namespace maqo::builtins {

struct BuiltinConstant {
  std::u16string_view name;
  double value;
};

// What the numeric lookup gives for a name that is no constant.
inline constexpr double kConstantNotFound = -888888;

// All constants in table order: the listed families, then SLCT_1 to SLCT_31,
// VK_0 to VK_9 and VK_A to VK_Z.
std::span<const BuiltinConstant> BuiltinConstants();

// The value of a constant (any case), or nothing.
std::optional<double> FindBuiltinConstant(std::u16string_view name);

// The numeric lookup: the value, or kConstantNotFound.
double BuiltinConstantValue(std::u16string_view name);

}  // namespace maqo::builtins
