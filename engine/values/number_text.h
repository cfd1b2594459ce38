// Number text: the one rule that decides whether a text is a number and what
// number it is, and the way numbers are written back as text. Every part of
// the engine that turns text into numbers or numbers into text goes through
// here, so tokenizer, comparisons, builtin arguments and PRINT agree.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace maqo::engine {

// Strict: an exponent letter must be followed by "+" or "-" (1E+5 is a number,
// 1E5 is not). Used by the tokenizer and by builtin argument checks.
// Loose: any text the floating-point conversion accepts.
enum class NumberTextMode { Loose, Strict };

// The value a failed number conversion yields.
inline constexpr double kNotANumberValue = -2.1e9;

// The number a text stands for, or nothing when it is no number.
// The rule: the text is trimmed of code units up to U+0020 at both ends (unless
// trim is false); more than 64 characters is never a number; 33 to 64 characters
// only with a "." among the first 32; "$" followed by hexadecimal digits is a
// 64-bit integer ("$FFFFFFFFFFFFFFFF" is -1, more than 64 bits is no number);
// otherwise only "+-.0-9Ee" may appear, "e", "E", "+", "-" and "." alone are
// not numbers, and the whole text must convert as a double (1e400 does not).
std::optional<double> parseNumberText(std::u16string_view text,
                                      NumberTextMode mode = NumberTextMode::Loose,
                                      bool trim = true);

// True when the text is a number under the rule above.
bool isNumberText(std::u16string_view text, NumberTextMode mode = NumberTextMode::Loose,
                  bool trim = true);

// The number, or kNotANumberValue when the text is no number.
double numberTextValue(std::u16string_view text, NumberTextMode mode = NumberTextMode::Loose,
                       bool trim = true);

// Integer conversion of a text: optional sign and decimal digits, or "$" and
// hexadecimal digits; no spaces, no fraction, no exponent. Nothing when the
// text is not of that form or does not fit 64 bits.
std::optional<int64_t> parseIntegerText(std::u16string_view text);

// Strips code units up to U+0020 from both ends.
std::u16string_view trimControlAndSpace(std::u16string_view text);

// A double as text: at most 15 significant digits, the shortest such text, no
// trailing zeros and no trailing "." ("0.333333333333333", "0.3", "100000").
// Exponent form is used where std::to_chars' general format uses it at 15
// digits of precision: when the decimal exponent is below -4 or at least 15
// ("1e+15", "1.5e-05"). Negative zero prints "0"; infinities "INF"/"-INF",
// not-a-number "NAN".
std::u16string formatDouble(double value);
// A single-precision value with at most 7 significant digits, same style.
std::u16string formatSingle(float value);
std::u16string formatInteger(int64_t value);
std::u16string formatUnsigned(uint64_t value);

}  // namespace maqo::engine
