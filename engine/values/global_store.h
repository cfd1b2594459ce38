// GlobalStore: the engine-wide variable store that the engine object holds.
// It owns the global frame and the build-time name tables (constants, text
// blocks, modules, DEF_DLL names, private flags), resolves every name a script
// reads or writes (GetValue, PutValue) and creates names (the Declare*
// operations).
//
// Concurrency: the global frame's variables and hash tables are shared by the
// main part and the script threads; every access to them holds the store's
// lock, and only inside these operations: the lock is never held while an
// expression is evaluated, a hook runs or a builtin or user function runs.
// Constants, text blocks and the other name tables are written only while no
// script runs. Any other frame belongs to one thread and is not locked.
//
// Errors: runtime failures throw ScriptError with the message in both
// languages; the statement executor reports them. A quiet read throws nothing:
// it sets the frame's read-failed flag and returns the failure value.
// Declarations return their message (the program builder turns it into a
// build error), or nothing on success.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/errors/script_error.h"
#include "engine/values/frame.h"
#include "engine/values/reference_text.h"
#include "engine/values/name_table.h"
#include "engine/values/script_value.h"

namespace maqo::engine {

// What ResolveGlobal looks for.
enum class GlobalKind { Variable = 0, Const = 1, DllFunction = 2, TextBlock = 3, HashTable = 4 };

// The builtin constants and the special names computed on reading (cursor and
// screen figures, directories, COM_ERR_FLG ...), supplied by the builtin
// library. Until one is connected no such name exists.
class BuiltinNameSource {
 public:
  virtual ~BuiltinNameSource() = default;
  // The value of a builtin constant or special name, or nothing when the name
  // is none of them. Called without the store's lock.
  virtual std::optional<ScriptValue> value(std::u16string_view name, THensuFmt& frame) = 0;
  // True when the name may not be declared because the builtin library owns it
  // (builtin constants, G_MOUSE_X/Y, G_SCREEN_W/H/C, GET_* names with a
  // non-empty text).
  virtual bool isReserved(std::u16string_view name) = 0;
  // For the check pass: true for a builtin constant, and for a name whose
  // value is computed when read (G_MOUSE_X ... EMPTYPARAM); name in upper case.
  virtual bool isConstant(std::u16string_view name) { return false; }
  virtual bool isSpecialName(std::u16string_view name) { return false; }
};

// Evaluates an expression text in a frame; throws ScriptError on failure.
using ExpressionEvaluator = std::function<ScriptValue(std::u16string_view expression, THensuFmt& frame)>;

struct PutFlags {
  // The first index is a flat element position (array initialisers).
  bool byPosition = false;
  // An undeclared name is an error instead of becoming a new local.
  bool noDeclare = false;
  // The reference as written, for messages; empty: made from name and indexes.
  std::u16string_view referenceText;
  // Where the name was last found (see SlotHints); null: look it up.
  const SlotHints* hints = nullptr;
};

// A declared array (or block of one) named by a builtin's argument.
struct ArrayArgument {
  int slot = -1;        // -1: not an array argument
  bool global = false;  // a slot of GlobalScope.locals (access it inside withGlobals)
  size_t first = 0;     // first element position of the block
  size_t count = 0;     // number of elements of the block
};

class GlobalStore {
 public:
  GlobalStore() = default;
  GlobalStore(const GlobalStore&) = delete;
  GlobalStore& operator=(const GlobalStore&) = delete;

  // ---- the engine-wide tables ----
  // The global frame: PUBLIC and module-level DIM variables, global HASHTBLs.
  THensuFmt GlobalScope;
  TUHashedStrList ConstNames;
  std::vector<ScriptValue> ConstValues;
  TUHashedStrList TextBlockNames;
  std::vector<std::u16string> TextBlockTexts;
  TUHashedStrList ModuleNames;
  TUHashedStrList DllNames;  // declarations themselves live with the DLL caller
  // Per global variable slot / global hash table: declared private to its module.
  std::vector<bool> GlobalVariablePrivate;
  std::vector<bool> GlobalHashPrivate;

  // ---- hooks the engine connects ----
  BuiltinNameSource* builtinNames = nullptr;
  // Needed by the text-taking declarations and ResolveArrayArgument(text).
  ExpressionEvaluator evaluate;
  // The run's abort flag: while set, GetValue yields 0 and PutValue does nothing.
  const std::atomic<bool>* abortFlag = nullptr;

  // Empties what a new program rebuilds: global variables and hash tables,
  // constants, text blocks, module and DLL names and the private flags.
  void ResetProgram();

  // ---- reading and writing names ----
  // The value of name (with already evaluated indexes) as seen from frame.
  // Lookup order: the frame's locals; TRUE/FALSE; global variables; with
  // indexes the frame's then the global hash tables; builtin constants and
  // special names (the hook); NULL, NOTHING, EMPTY, EMPTYPARAM, TRY_ERRMSG,
  // TRY_ERRLINE, G_IMG_X/Y, G_TIME_*; TEXTBLOCK; CONST. Global names resolve
  // module-qualified first (see ResolveGlobal).
  // Clears frame.readFailed, and sets it when the read fails; then it throws
  // ScriptError, or when quiet returns the integer 0 (Empty for hash-table
  // range errors).
  ScriptValue GetValue(THensuFmt& frame, std::u16string_view name, std::span<const ScriptValue> indexes = {},
                       bool quiet = false, const SlotHints* hints = nullptr);
  // Changes the text of a scalar variable in place (for "S = S + ..."): when
  // name is a declared scalar, local or global, holding a text of the kind
  // String, edit runs on that text (under the store's lock for a global: edit
  // must only change the text) and the answer is true; otherwise nothing
  // happens and the answer is false. HoldsText asks the same without editing.
  bool EditText(THensuFmt& frame, std::u16string_view name, const SlotHints* hints,
                const std::function<void(std::u16string&)>& edit);
  bool HoldsText(THensuFmt& frame, std::u16string_view name, const SlotHints* hints) {
    return EditText(frame, name, hints, nullptr);
  }
  // A quiet read: nothing when it failed.
  std::optional<ScriptValue> TryGetValue(THensuFmt& frame, std::u16string_view name,
                                         std::span<const ScriptValue> indexes = {});

  // Stores a copy of value under name (with indexes) as seen from frame:
  // the frame's local, else a global variable, else (with one index) a key of
  // a hash table; HASH_REMOVEALL (the double -109) without indexes clears a hash
  // table; else a plain name becomes a new local scalar. Throws ScriptError on
  // failure (nothing is changed then).
  void PutValue(THensuFmt& frame, std::u16string_view name, std::span<const ScriptValue> indexes,
                const ScriptValue& value, PutFlags flags = {});

  // The slot of a global name of the kind, or -1. When the frame runs inside a
  // module or the name holds ".", the module-qualified form is tried first:
  // ".X" under WITH on module M is M.X, THIS.X is M.X for the frame's module M,
  // a dotted name as written, a plain X inside module M is M.X; then the name
  // itself.
  int ResolveGlobal(std::u16string_view name, const THensuFmt& frame, GlobalKind kind) const;

  // True when the reference (A.B, THIS.B, GLOBAL.B, .B) names a module member
  // rather than a COM member: at most one top-level "." and A a module, or
  // THIS/GLOBAL inside a module, or a leading "." under WITH on a module.
  bool IsModuleReference(std::u16string_view reference, const THensuFmt& frame) const;

  // The module named by the frame's WITH target, empty when the target is not
  // a module name.
  std::u16string_view WithTargetModule(const THensuFmt& frame) const;

  // Runs f(GlobalScope) under the store's lock. For short reads and writes of
  // global slots found by ResolveArrayArgument; f must not evaluate script code.
  template <typename F>
  decltype(auto) withGlobals(F&& f) {
    std::lock_guard guard(lock_);
    return f(GlobalScope);
  }

  // ---- declarations ----
  // Creates a local slot with the upper bounds (none: a scalar), or reshapes an
  // existing one keeping its first elements; no bounds leave an existing local
  // as it is. Returns the slot. Throws ScriptError for a bound below -1 or an
  // array beyond ArrayValue::kMaxElements elements.
  int DeclareLocal(THensuFmt& frame, std::u16string_view name, std::span<const int64_t> upperBounds);
  // The same from a reference text "NAME" or "NAME[u1][u2]..." whose bounds are
  // evaluated in the frame ("[]" counts as [0]). Throws ScriptError
  // "Index of the array is wrong:" + reference when a bound fails.
  int DeclareLocal(THensuFmt& frame, std::u16string_view reference);

  // The parts of one item of a DIM or PUBLIC list after its name: the initial
  // value texts that follow "=" (an array's run to the end of the list, a
  // scalar's is one expression; rest keeps what follows), and the upper bounds,
  // evaluated in frame ("NAME[]" is sized by its values). An error message when
  // a value is missing or a bound is not a valid index.
  static std::optional<Message> SplitInitialValues(std::u16string& rest, bool indexed,
                                                   std::vector<std::u16string>& valueTexts);
  std::optional<Message> DeclaredBounds(const ReferenceParts& parts, size_t valueCount, std::u16string_view item,
                                        THensuFmt& frame, std::vector<int64_t>& bounds);

  // A PUBLIC (or module-level DIM) declaration list: NAME, NAME[u]..., each
  // optionally followed by "=" and initial values (an array's values run to the
  // end of the text; "NAME[] = a, b, c" sizes the array by its values).
  std::optional<Message> DeclareGlobals(std::u16string_view declaration, bool moduleLevel, bool isPrivate,
                                        bool optionPublic = false);
  // NAME = expression, evaluated in GlobalScope.
  std::optional<Message> DeclareConst(std::u16string_view definition);
  // A constant with its already evaluated value.
  std::optional<Message> DeclareConst(std::u16string_view name, const ScriptValue& value);
  // Reserves a TEXTBLOCK name; its text (TextBlockTexts) is filled by the builder.
  std::optional<Message> DeclareTextBlockName(std::u16string_view name);
  // A HASHTBL list "NAME" or "NAME = flags", comma-separated, in the frame
  // (GlobalScope for global tables, which then get the private flag). Returns
  // the slot of the last table. Throws ScriptError expression + ": Specified is
  // wrong" for flags other than HASH_CASECARE and HASH_SORT (the tables before
  // it stay declared).
  int DeclareHashTables(std::u16string_view declaration, THensuFmt& frame, bool isPrivate);
  // One table with evaluated flags; an existing one is cleared (its flags stay).
  int DeclareHashTable(THensuFmt& frame, std::u16string_view name, int flags, bool isPrivate = false);
  // Nothing when the name may be declared, else "Is a reserved word: " + name.
  std::optional<Message> ReservedWordError(std::u16string_view name) const;

  // ---- result arrays and array arguments ----
  // Resets the one-dimensional result array of the frame to no elements
  // (declaring it as NAME[-1] when missing) and returns 0. While the frame is
  // collecting, NAME_TMP is used instead. Records the used name in the frame.
  int ResultArray(THensuFmt& frame, std::u16string_view name);
  // Appends one element and returns the new size.
  int ResultArray(THensuFmt& frame, std::u16string_view name, ScriptValue append);

  // Locates the declared array (or block of it) named by a builtin's argument
  // text "NAME" or "NAME[i]...": the frame's locals first, then the global
  // variables; index texts are evaluated in the frame. An undeclared name
  // throws the non-catchable ScriptError "It isn't defined: " + reference
  // (quiet: slot -1). A scalar, a reference to a single element, or a
  // one-element variable holding a multi-dimensional array value give slot -1.
  ArrayArgument ResolveArrayArgument(std::u16string_view reference, THensuFmt& frame, bool quiet = false);
  // The same with the name and its evaluated indexes.
  ArrayArgument ResolveArrayArgument(THensuFmt& frame, std::u16string_view name,
                                     std::span<const ScriptValue> indexes, bool quiet = false,
                                     std::u16string_view referenceText = {});
  // Copies of the elements of a block that ResolveArrayArgument found in
  // frame (under the store's lock for a global array). Another thread may
  // have resized a global array since it was resolved: only the part of the
  // block the array still holds is copied, never past its end.
  std::vector<ScriptValue> CopyArrayBlock(THensuFmt& frame, const ArrayArgument& block);

 private:
  bool aborted() const { return abortFlag != nullptr && abortFlag->load(std::memory_order_relaxed); }
  bool isGlobalFrame(const THensuFmt& frame) const { return &frame == &GlobalScope; }
  int lookupGlobal(std::u16string_view key, GlobalKind kind) const;
  int resolveUnlocked(std::u16string_view name, const THensuFmt& frame, GlobalKind kind) const;
  // A global variable's slot (resolveUnlocked), trying the hint first where
  // the name needs no module qualification.
  int resolveVariableUnlocked(std::u16string_view name, const THensuFmt& frame, const SlotHints* hints) const;
  ScriptValue readName(THensuFmt& frame, std::u16string_view name, std::span<const ScriptValue> indexes,
                       const SlotHints* hints);
  std::optional<ScriptValue> readFixedName(THensuFmt& frame, std::u16string_view name) const;
  std::optional<Message> constNameError(std::u16string_view name) const;
  // An upper bound from its expression text: false when it fails or is below -1.
  bool evaluateBound(std::u16string_view text, THensuFmt& frame, int64_t& bound);
  ScriptValue evaluateText(std::u16string_view expression, THensuFmt& frame);
  std::optional<Message> declareGlobalItem(std::u16string& rest, bool moduleLevel, bool isPrivate,
                                           bool optionPublic);

  mutable std::mutex lock_;
};

}  // namespace maqo::engine
