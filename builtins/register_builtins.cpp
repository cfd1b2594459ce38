#include "builtins/register_builtins.h"

#include "builtins/array_builtins.h"
#include "builtins/builtin_state.h"
#include "builtins/builtin_table.h"
#include "builtins/dispatch.h"
#include "builtins/file_builtins.h"
#include "builtins/file_slots.h"
#include "builtins/math_builtins.h"
#include "builtins/special_names.h"
#include "builtins/string_builtins.h"
#include "builtins/system_builtins.h"
#include "builtins/thread_builtins.h"
#include "builtins/time_builtins.h"
#include "platform/system_services.h"

namespace maqo::builtins {

namespace {

// The math path.
constexpr std::u16string_view kMathBuiltins[] = {u"INT", u"ABS", u"ZCUT", u"ROUND",  u"SQRT",   u"POWER",
                                                 u"SIN", u"COS", u"TAN",  u"EXP",    u"LN",     u"LOGN",
                                                 u"CEIL", u"ARCSIN", u"ARCCOS", u"ARCTAN"};

// The builtins of the argument path that keep no family table of their own.
const NamedBuiltin kSingleBuiltins[] = {
    // Math with the argument record
    {u"RANDOM", &RandomBuiltin},
    {u"SET8087CW", &Set8087CwBuiltin},
    // Time, processes, system
    {u"SLEEP", &SleepBuiltin},
    {u"GETTIME", &GetTimeBuiltin},
    {u"EVAL", &EvalBuiltin},
    {u"KINDOFOS", &KindOfOsBuiltin},
    {u"CPUUSERATE", &CpuUseRateBuiltin},
    {u"SENSOR", &SensorBuiltin},
    {u"POFF", &PoffBuiltin},
    {u"SOUND", &SoundBuiltin},
    {u"DOSCMD", &DosCmdBuiltin},
    {u"POWERSHELL", &PowerShellBuiltin},
    // Threads
    {u"CTRLTRD", &CtrlTrdBuiltin},
};

}  // namespace

void RegisterCoreBuiltins(BuiltinLibrary& library) {
  library.addBuiltins(BuiltinTable(), &DispatchBuiltin);
  for (std::u16string_view name : kMathBuiltins) library.implementMath(name, &MathBuiltin);
  for (const NamedBuiltin& b : kSingleBuiltins) library.implement(b.name, b.function);
  for (auto table : {StringBuiltins(), ArrayBuiltins(), FileBuiltins()})
    for (const NamedBuiltin& b : table) library.implement(b.name, b.function);

  library.setNameSource([](const engine::NameSourceContext& context) {
    auto names = std::make_unique<BuiltinNames>(context.platform, platform::systemServices().info);
    names->embeddedScript = context.embeddedScript;
    names->comErrorFlag = context.comErrorFlag;
    return names;
  });
  // A run starts with the start-up control word; at its end the CPU query
  // closes and files left open are released so they are not locked after it.
  library.addRunHooks([](engine::RunHookContext& run) { run.state.get<BuiltinState>().BeginRun(); },
                      [](engine::RunHookContext& run) {
                        run.state.get<BuiltinState>().EndRun();
                        CloseAllFileSlots();
                      });
}

}  // namespace maqo::builtins
