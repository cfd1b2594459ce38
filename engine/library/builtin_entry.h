// One builtin as the engine knows it: its name, the family that implements
// it, the argument shape the pre-run check and the argument collection read
// (minimum count, raw-text positions, what each position accepts when its
// text is not a number) and the functions that run it. The builtin library
// (engine/library/builtin_library.h) owns the entries; a pointer to one stays
// valid for the library's life, so call sites may keep it.
#pragma once
#include <cstdint>
#include <string_view>

#include "engine/eval/expression.h"
#include "engine/values/script_value.h"

namespace maqo::engine {

class BuiltinHost;
struct BuiltinCall;
struct MathArguments;
struct BuiltinEntry;
class BuiltinLibrary;

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

// A builtin of the argument path: gets the argument record.
using BuiltinFunction = ScriptValue (*)(BuiltinCall& call, BuiltinHost& host);
// A builtin of the math path: gets up to three doubles.
using MathFunction = ScriptValue (*)(const BuiltinEntry& entry, const MathArguments& args, BuiltinHost& host);
// Runs one call of a builtin: collects its arguments the way the entry says
// and calls its function (or reports that it cannot run here).
using BuiltinDispatcher = ScriptValue (*)(const BuiltinEntry& entry, const CallSite& call, BuiltinHost& host);

// Position rules are kept for arguments 1, 2 and 3 and one rule for
// arguments 4 and later: in raw and rules, 'r' marks a raw-text position ('.'
// an evaluated one), and 'n', 't', 'e' stand for NumberOnly, AnyText and
// EmptyText.
struct BuiltinEntry {
  std::u16string_view name;
  BuiltinFamily family;
  uint8_t minArguments;
  bool mathPath;      // the sixteen math builtins: up to three doubles instead of the record
  const char* raw;    // 4 characters
  const char* rules;  // 4 characters

  // Filled when a library registers the entry: how a call runs, and the
  // family's function (null while the family is not linked into this program).
  BuiltinDispatcher dispatch = nullptr;
  const BuiltinLibrary* library = nullptr;  // the library that holds this entry
  BuiltinFunction function = nullptr;
  MathFunction math = nullptr;

  bool implemented() const { return function != nullptr || math != nullptr; }
};

// position is 1-based. True when that argument is passed as written, not evaluated.
bool IsRawPosition(const BuiltinEntry& entry, int position);
// What that argument accepts when its text is not a number.
TextRule TextRuleAt(const BuiltinEntry& entry, int position);
// True when an argument of exactly one character X at that position is read as
// the virtual-key constant VK_X (SCKEY from its second argument on).
bool ReadsOneCharacterAsVirtualKey(const BuiltinEntry& entry, int position);

// name without a leading "GLOBAL." (any case).
std::u16string_view StripGlobalPrefix(std::u16string_view name);

}  // namespace maqo::engine
