// Reading and writing the recorder's script lines, "KIND(arg,arg,...)".
// Arguments are split at top-level commas only: commas inside double quotes
// or inside nested parentheses stay in their argument, so a window title
// "a, b" or "x)" inside ACW(GETID("..."),...) survives every clean-up pass.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/eval/text_helpers.h"

namespace maqo::host::recorder {

// Spaces and tabs removed from both ends, as the language trims.
using engine::Trim;

struct ScriptLine {
  std::u16string kind;                   // the text before the opening parenthesis
  std::vector<std::u16string> arguments; // top-level arguments, untrimmed
  bool hasParentheses = false;
};

ScriptLine ParseScriptLine(std::u16string_view line);
// KIND(arg,arg,...) again; the inverse of ParseScriptLine for lines it made.
std::u16string FormatScriptLine(const ScriptLine& line);
// The kind alone, without splitting the arguments (cheap test in the passes).
std::u16string_view LineKind(std::u16string_view line);

// A decimal number (optional sign, digits, optional fraction) after trimming; nothing otherwise.
std::optional<double> ParseNumber(std::u16string_view text);
// A number written the way lines carry it, as the language prints numbers:
// integers without a fraction.
std::u16string FormatNumber(double value);

inline bool BeginsWith(std::u16string_view text, std::u16string_view prefix) { return text.starts_with(prefix); }
inline bool ContainsText(std::u16string_view text, std::u16string_view part) {
  return text.find(part) != std::u16string_view::npos;
}

// A window title or class made safe inside a double-quoted script string:
// the double quote becomes <#DBL>, TAB <#TAB>, and CR LF, CR or LF <#CR>.
std::u16string EscapeForScriptString(std::u16string_view text);

}  // namespace maqo::host::recorder
