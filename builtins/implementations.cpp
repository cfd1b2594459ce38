#include "builtins/implementations.h"

#include <array>
#include <utility>
#include <vector>

#include "automation/input/input_builtins.h"
#include "automation/windows/window_builtins.h"
#include "builtins/array_builtins.h"
#include "builtins/file_builtins.h"
#include "builtins/math_builtins.h"
#include "builtins/string_builtins.h"
#include "builtins/system_builtins.h"
#include "builtins/time_builtins.h"
#include "engine/threads/ctrltrd.h"

namespace maqo::builtins {

namespace {

struct Entry {
  std::u16string_view name;
  BuiltinImplementation implementation;
};

// Every builtin that has its implementation: the math, time and system
// builtins listed here, and the families that keep their own tables (added in
// byNumber below).
const Entry kEntries[] = {
    // Math path
    {u"INT", {nullptr, &MathBuiltin}},
    {u"ABS", {nullptr, &MathBuiltin}},
    {u"ZCUT", {nullptr, &MathBuiltin}},
    {u"ROUND", {nullptr, &MathBuiltin}},
    {u"SQRT", {nullptr, &MathBuiltin}},
    {u"POWER", {nullptr, &MathBuiltin}},
    {u"SIN", {nullptr, &MathBuiltin}},
    {u"COS", {nullptr, &MathBuiltin}},
    {u"TAN", {nullptr, &MathBuiltin}},
    {u"EXP", {nullptr, &MathBuiltin}},
    {u"LN", {nullptr, &MathBuiltin}},
    {u"LOGN", {nullptr, &MathBuiltin}},
    {u"CEIL", {nullptr, &MathBuiltin}},
    {u"ARCSIN", {nullptr, &MathBuiltin}},
    {u"ARCCOS", {nullptr, &MathBuiltin}},
    {u"ARCTAN", {nullptr, &MathBuiltin}},
    // Math with the argument record
    {u"RANDOM", {&RandomBuiltin, nullptr}},
    {u"SET8087CW", {&Set8087CwBuiltin, nullptr}},
    // Time, processes, system
    {u"SLEEP", {&SleepBuiltin, nullptr}},
    {u"GETTIME", {&GetTimeBuiltin, nullptr}},
    {u"EVAL", {&EvalBuiltin, nullptr}},
    {u"KINDOFOS", {&KindOfOsBuiltin, nullptr}},
    {u"CPUUSERATE", {&CpuUseRateBuiltin, nullptr}},
    {u"SENSOR", {&SensorBuiltin, nullptr}},
    {u"POFF", {&PoffBuiltin, nullptr}},
    {u"SOUND", {&SoundBuiltin, nullptr}},
    {u"DOSCMD", {&DosCmdBuiltin, nullptr}},
    {u"POWERSHELL", {&PowerShellBuiltin, nullptr}},
    {u"CTRLTRD", {&engine::CtrlTrdBuiltin, nullptr}},
};

const std::array<const BuiltinImplementation*, kBuiltinCount>& byNumber() {
  static const std::array<const BuiltinImplementation*, kBuiltinCount> table = [] {
    std::array<const BuiltinImplementation*, kBuiltinCount> t{};
    for (const Entry& e : kEntries)
      if (const BuiltinSpec* spec = FindBuiltin(e.name)) t[static_cast<size_t>(BuiltinNumber(*spec))] = &e.implementation;
    static std::vector<BuiltinImplementation> familyEntries;
    std::vector<std::pair<int, BuiltinFunction>> family;
    // The window family lives in automation/ (it needs the desktop); this list is
    // the one place where every family meets the builtin table.
    for (auto table : {StringBuiltins(), ArrayBuiltins(), FileBuiltins(), automation::WindowBuiltins(),
                       automation::InputBuiltins()})
      for (const NamedBuiltin& b : table)
        if (const BuiltinSpec* spec = FindBuiltin(b.name)) family.emplace_back(BuiltinNumber(*spec), b.function);
    familyEntries.reserve(family.size());
    for (const auto& [number, function] : family) {
      familyEntries.push_back({function, nullptr});
      t[static_cast<size_t>(number)] = &familyEntries.back();
    }
    return t;
  }();
  return table;
}

}  // namespace

const BuiltinImplementation* ImplementationOf(int number) {
  if (number < 0 || number >= kBuiltinCount) return nullptr;
  return byNumber()[static_cast<size_t>(number)];
}

}  // namespace maqo::builtins
