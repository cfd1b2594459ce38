// The table of the 134 builtins: names in their fixed order (the position is
// the builtin's number), the family that implements each, the minimum number
// of arguments the pre-run check demands, the raw-text positions and what each
// position accepts when its text is not a number. Kept as data in one place
// (builtin_table.cpp); the dispatcher and the pre-run check both read it.
#pragma once
#include <cstdint>
#include <span>
#include <string_view>

namespace maqo::builtins {

inline constexpr int kBuiltinCount = 134;
// A builtin takes at most this many arguments; more is a non-catchable error.
inline constexpr int kMaxBuiltinArguments = 36;

// The families, each implemented by its own unit.
enum class BuiltinFamily : uint8_t {
  Strings,
  Arrays,
  Files,
  Math,        // INT ... ARCTAN, RANDOM, SET8087CW
  TimeSystem,  // SLEEP, GETTIME, DOSCMD, POWERSHELL, POFF, KINDOFOS, CPUUSERATE, SOUND, EVAL, SENSOR
  Threads,
  WindowIds,
  WindowControl,
  Input,
  ControlItems,
  ScreenImage,
  PointText,
  Dialogs,
  LogWindow,  // balloon, stop form, log window, pop-up menu
  HtmlForm,
  Com,
  ComEvents,
  Browser,
  Spreadsheet,
  Speech,
};

// What an argument position accepts when its text fails the strict number test.
enum class TextRule : uint8_t {
  NumberOnly,  // any non-number is "Definition is wrong: "
  AnyText,     // any text
  EmptyText,   // only the empty text
};

// One builtin. Position rules are kept for arguments 1, 2 and 3 and one rule
// for arguments 4 and later: in raw and rules, 'r' marks a raw-text position
// ('.' an evaluated one), and 'n', 't', 'e' stand for NumberOnly, AnyText and
// EmptyText.
struct BuiltinSpec {
  std::u16string_view name;
  BuiltinFamily family;
  uint8_t minArguments;
  bool mathPath;  // the sixteen math builtins: up to three doubles instead of the record
  const char* raw;    // 4 characters
  const char* rules;  // 4 characters
};

// All builtins in table order: BuiltinTable()[i] has number i.
std::span<const BuiltinSpec> BuiltinTable();

// The builtin of that name (any case; a leading "GLOBAL." is ignored), or null.
const BuiltinSpec* FindBuiltin(std::u16string_view name);
// The number of a builtin (its table position).
int BuiltinNumber(const BuiltinSpec& spec);

// name without a leading "GLOBAL." (any case).
std::u16string_view StripGlobalPrefix(std::u16string_view name);

// position is 1-based. True when that argument is passed as written, not evaluated.
bool IsRawPosition(const BuiltinSpec& spec, int position);
// What that argument accepts when its text is not a number.
TextRule TextRuleAt(const BuiltinSpec& spec, int position);
// True when an argument of exactly one character X at that position is read as
// the virtual-key constant VK_X (SCKEY from its second argument on).
bool ReadsOneCharacterAsVirtualKey(const BuiltinSpec& spec, int position);

}  // namespace maqo::builtins
