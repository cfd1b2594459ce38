// The engine's one way to the builtins. Builtin families register with a
// library at start-up, called by the program that links them (mqsrun, the
// host, the tests); the engine then finds a builtin by name, reads its
// argument shape for the check pass, calls it, makes the name source of the
// builtin constants and special names, and runs the families' begin-of-run
// and end-of-run hooks. No engine file names a family.
//
// Registration happens before the first engine uses the library; after that
// the library is only read, so engines and script threads share it freely.
#pragma once
#include <deque>
#include <functional>
#include <memory>
#include <span>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/eval/expression.h"
#include "engine/library/builtin_entry.h"
#include "engine/library/family_state.h"
#include "engine/library/object_seam.h"
#include "engine/values/global_store.h"
#include "engine/values/script_value.h"
#include "platform/platform.h"

namespace maqo::engine {

class BuiltinHost;

// What the name source of one engine is made from.
struct NameSourceContext {
  platform::Platform& platform;
  // True while the engine runs a script embedded in the executable.
  std::function<bool()> embeddedScript;
  // The COM error flag of the frame's thread (COM_ERR_FLG).
  std::function<bool(THensuFmt&)> comErrorFlag;
};
using NameSourceFactory = std::function<std::unique_ptr<BuiltinNameSource>(const NameSourceContext&)>;

// A hook the engine runs at a point of a run: the engine's family state and
// the platform it runs on.
struct RunHookContext {
  FamilyStateStore& state;
  platform::Platform& platform;
};
using RunHook = std::function<void(RunHookContext& run)>;

class BuiltinLibrary {
 public:
  BuiltinLibrary() = default;
  BuiltinLibrary(const BuiltinLibrary&) = delete;
  BuiltinLibrary& operator=(const BuiltinLibrary&) = delete;

  // ---- registration ----
  // Adds the builtins of a table (names and argument shapes; the names must
  // outlive the library). dispatch runs every call of them. A name that is
  // already there is left as it is.
  void addBuiltins(std::span<const BuiltinEntry> table, BuiltinDispatcher dispatch);
  // Gives a registered builtin its function. False when no builtin has the name.
  bool implement(std::u16string_view name, BuiltinFunction function);
  bool implementMath(std::u16string_view name, MathFunction function);
  // Hooks run by every engine when a run starts (after the check pass, before
  // the main part) and when it ends, in the order they were added.
  void addRunHooks(RunHook beginRun, RunHook endRun);
  // Hooks run on the user-interface thread before an uncaught error is shown,
  // so that nothing a family holds (an input lock) keeps the user from
  // answering it.
  void addBeforeErrorShownHook(RunHook hook);
  // Hooks run on the main script's thread after each of its passes over
  // pending window messages (between statements and inside waits), so that a
  // family can note what happened meanwhile. They run about every 10 ms, so
  // they must be cheap.
  void addMessagePauseHook(std::function<void()> hook);
  // Makes the source of the builtin constants and special names for an engine.
  void setNameSource(NameSourceFactory factory) { nameSource_ = std::move(factory); }
  // The providers of script objects and of DEF_DLL calls (object_seam.h);
  // they outlive the library. Null: not available in this program.
  void setObjectProvider(ObjectProvider* provider) { objects_ = provider; }
  void setDllProvider(DllProvider* provider) { dll_ = provider; }

  // ---- use ----
  // The builtin of that name (any case; a leading "GLOBAL." and surrounding
  // blanks are ignored), or null. The pointer stays valid for the library's
  // life, so a compiled call site may keep it.
  const BuiltinEntry* find(std::u16string_view name) const;
  // The builtin a call of a function names, or null: find of call.name
  // without a leading "GLOBAL." (so "GLOBAL." may stand twice), through the
  // call site's hint when that holds one of this library's entries.
  const BuiltinEntry* find(const CallSite& call) const;
  // Runs a call of the builtin. Throws ScriptError (see the dispatcher).
  ScriptValue call(const BuiltinEntry& entry, const CallSite& call, BuiltinHost& host) const {
    return entry.dispatch(entry, call, host);
  }
  // find, then call; throws std::invalid_argument when the name is no builtin.
  ScriptValue call(const CallSite& call, BuiltinHost& host) const;
  // Every registered builtin, in the order the tables were added.
  const std::deque<BuiltinEntry>& entries() const { return entries_; }

  ObjectProvider* objects() const { return objects_; }
  DllProvider* dll() const { return dll_; }

  void beginRun(RunHookContext& run) const;
  void endRun(RunHookContext& run) const;
  void beforeErrorShown(RunHookContext& run) const;
  bool hasMessagePauseHooks() const { return !pauseHooks_.empty(); }
  void afterMessagePause() const;
  // The name source for one engine, or null when no family provides one.
  std::unique_ptr<BuiltinNameSource> makeNameSource(const NameSourceContext& context) const;

 private:
  BuiltinEntry* findMutable(std::u16string_view name) const;

  std::deque<BuiltinEntry> entries_;
  std::unordered_map<std::u16string_view, BuiltinEntry*> byName_;
  std::vector<RunHook> beginHooks_, endHooks_, errorShownHooks_;
  std::vector<std::function<void()>> pauseHooks_;
  NameSourceFactory nameSource_;
  ObjectProvider* objects_ = nullptr;
  DllProvider* dll_ = nullptr;
};

}  // namespace maqo::engine
