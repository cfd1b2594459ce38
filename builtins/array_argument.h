// Access to the arrays and variables that builtins name by their raw argument
// text: a declared array or a block of it, an array value held in a variable
// (or one row of a two-dimensional one), or any expression that gives an
// array value. Used by the array builtins, LENGTH and TOKEN.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "builtins/engine_interface.h"
#include "engine/values/global_store.h"
#include "engine/values/script_value.h"

namespace maqo::builtins {

// A reference text split into its name and evaluated indexes.
struct EvaluatedReference {
  std::u16string name;
  std::vector<engine::ScriptValue> indexes;
  bool indexed = false;
};

// True when text is a plain reference: a name (letters, digits, "_", ".",
// and characters beyond ASCII) with optional [index] lists.
bool IsPlainReference(std::u16string_view text);
// Splits a plain reference and evaluates its indexes in the caller's frame.
EvaluatedReference EvaluateReference(BuiltinHost& host, std::u16string_view text);

// Reads a variable named by a raw argument (throws the store's errors).
engine::ScriptValue ReadVariable(BuiltinHost& host, std::u16string_view text);
// Writes a variable named by a raw argument.
void WriteVariable(BuiltinHost& host, std::u16string_view text, const engine::ScriptValue& value);

// The declared variable slot of a name as the caller sees it: its local slot,
// else a global one; nothing when the name is no declared variable.
struct DeclaredVariable {
  int slot = -1;
  bool global = false;
};
std::optional<DeclaredVariable> FindDeclaredVariable(BuiltinHost& host, std::u16string_view name);
// Runs f(VariableSlot&) on a declared slot, under the store's lock for globals.
template <typename F>
decltype(auto) WithSlot(BuiltinHost& host, int slot, bool global, F&& f) {
  if (global) return host.globals().withGlobals([&](engine::THensuFmt& g) -> decltype(auto) { return f(g.locals.slot(slot)); });
  return f(host.frame().locals.slot(slot));
}

// How a name that is no variable is treated.
enum class MissingName {
  Error,     // "It isn't defined: " (not catchable)
  Evaluate,  // the text is evaluated as an expression
};

// The elements an array builtin works on, read from and written back to
// where they live.
class ArrayArgumentAccess {
 public:
  static ArrayArgumentAccess Resolve(BuiltinHost& host, std::u16string_view text, MissingName missing);

  // A declared array (or block of one).
  bool isDeclared() const { return declared_.slot >= 0; }
  // A two-dimensional (or larger) array value named without a row index.
  bool isWholeMultiDimensional() const { return wholeMultiDimensional_; }
  // False when the argument gave no array at all (a scalar value).
  bool isArray() const { return isDeclared() || holder_.isArray(); }
  // Number of elements addressed.
  size_t size() const { return count_; }
  // The script's index of the first addressed element: 0 for a declared
  // array, the lower bound of the addressed dimension of an array value.
  int64_t firstIndex() const { return firstIndex_; }
  // The value read when it is no array (for messages and fallbacks).
  const engine::ScriptValue& value() const { return holder_; }

  // Copies of the addressed elements in storage order.
  std::vector<engine::ScriptValue> read() const;
  // Stores elements over the addressed ones (at most size(), from the first)
  // and writes an array value back into its variable.
  void write(std::vector<engine::ScriptValue> elements);
  // Throws the error for a multi-dimensional array value without a row index.
  void requireOneDimension(std::u16string_view builtin) const;

 private:
  explicit ArrayArgumentAccess(BuiltinHost& host) : host_(&host) {}

  BuiltinHost* host_;
  std::u16string text_;
  engine::ArrayArgument declared_;
  // An array value: the value read, where its block starts, and the variable
  // to write it back to (none for an expression).
  engine::ScriptValue holder_;
  size_t first_ = 0;
  size_t count_ = 0;
  int64_t firstIndex_ = 0;
  bool wholeMultiDimensional_ = false;
  bool writable_ = false;
  EvaluatedReference target_;
};

}  // namespace maqo::builtins
