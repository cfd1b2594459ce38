// A compiled expression: the text of a script expression turned once into a
// tree with literals converted, operators resolved and names split into the
// name and its index expressions. A tree is immutable, so it is compiled once
// per program line (or once per distinct text through CompileCache) and then
// evaluated any number of times, by any thread.
#pragma once
#include <atomic>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/values/slot_hint.h"

namespace maqo::engine {

class Expression;
struct ExpressionNode;
struct BuiltinEntry;
using ExpressionPtr = std::shared_ptr<const Expression>;

// A name read by an expression: a variable, constant, special name, module
// member (M.X) or, for dotted names that are no module member, a COM member.
struct NameRef {
  std::u16string text;                      // as written: A, A[1][I+1], M.X, OBJ.PROP
  std::u16string name;                      // text before the index list: A, M.X
  std::vector<std::u16string> indexTexts;   // the index expressions as written, trimmed
  std::vector<ExpressionPtr> indexes;       // the same, compiled
  bool dotted = false;                      // name holds a ".": module member or COM member
  SlotHints hints;                          // where the name was last found
};

// The builtin a call site was last resolved to, so the next call of a builtin
// skips hashing its name. Only a guess: the builtin library takes it when the
// entry is one of its own (entries never move). Compiled trees may be shared
// by threads, so it is a relaxed atomic.
struct BuiltinHint {
  BuiltinHint() = default;
  BuiltinHint(const BuiltinHint& other) : entry(other.entry.load(std::memory_order_relaxed)) {}
  BuiltinHint& operator=(const BuiltinHint& other) {
    entry.store(other.entry.load(std::memory_order_relaxed), std::memory_order_relaxed);
    return *this;
  }
  mutable std::atomic<const BuiltinEntry*> entry{nullptr};
};

// A function call: NAME(arguments), possibly followed by a member chain on the
// result (OBJ.ITEM(1).NAME) that the host resolves.
struct CallSite {
  std::u16string text;                      // the whole call as written
  std::u16string name;                      // text before "(", trimmed: F, M.F, OBJ.METHOD
  std::u16string argumentText;              // what stands between the parentheses
  std::vector<std::u16string> argumentTexts;  // split at top-level commas, trimmed; F() has none
  std::vector<ExpressionPtr> arguments;     // the same, compiled (each evaluated only when asked)
  std::u16string tail;                      // ".NAME..." chained after the closing ")", else empty
  BuiltinHint builtin;                      // the builtin NAME was last found to be
};

// Why an expression could not be compiled; the error is raised when it is evaluated.
enum class CompileFailure {
  None,
  Syntax,    // bad token, missing ")", leftover text, unclosed string ...
  TooDeep,   // nested beyond kMaxExpressionNesting
};

// Parentheses, calls, indexes and prefix operators nested deeper than this are
// refused with a clean error instead of exhausting the stack.
inline constexpr int kMaxExpressionNesting = 256;

class Expression {
 public:
  Expression(std::u16string text, std::unique_ptr<ExpressionNode> root, CompileFailure failure);
  ~Expression();
  Expression(const Expression&) = delete;
  Expression& operator=(const Expression&) = delete;

  const std::u16string& text() const { return text_; }
  // A blank text: evaluates to Empty.
  bool isBlank() const { return root_ == nullptr && failure_ == CompileFailure::None; }
  CompileFailure failure() const { return failure_; }
  const ExpressionNode* root() const { return root_.get(); }

 private:
  std::u16string text_;
  std::unique_ptr<ExpressionNode> root_;
  CompileFailure failure_;
};

// Compiles the text of an expression. Never throws for any text: a text that is
// no valid expression compiles to one whose evaluation raises the error.
ExpressionPtr CompileExpression(std::u16string_view text);

}  // namespace maqo::engine
