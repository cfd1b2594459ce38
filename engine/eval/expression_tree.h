// The nodes of a compiled expression (internal to the evaluator). Binary
// operators of one precedence level form one flat chain node, so a long sum
// is a loop, not a deep recursion.
#pragma once
#include <memory>
#include <vector>

#include "engine/eval/expression.h"
#include "engine/values/script_value.h"

namespace maqo::engine {

enum class BinaryOp {
  Or, Xor,                                                  // level 1
  And,                                                      // level 2
  Greater, Less, Equal, GreaterEqual, LessEqual, NotEqual,  // level 3
  Add, Subtract,                                            // level 4
  Multiply, Divide, Mod,                                    // level 5
};

enum class NodeKind {
  Literal,  // value (a number, a string, or the words TRUE FALSE EMPTY NULL NOTHING)
  Name,     // name
  Call,     // call
  Group,    // ( operands[0] )
  Negate,   // - operands[0]
  Not,      // ! operands[0]
  Chain,    // operands[0] ops[0] operands[1] ops[1] ... all of one level, left to right
  Index,    // operands[0] [indexes]: an element of the array value
};

struct ExpressionNode {
  explicit ExpressionNode(NodeKind k) : kind(k) {}

  NodeKind kind;
  ScriptValue value;
  bool emptyKeyword = false;  // the literal is the word EMPTY (comparisons treat it apart)
  std::unique_ptr<NameRef> name;
  std::unique_ptr<CallSite> call;
  std::vector<std::unique_ptr<ExpressionNode>> operands;
  std::vector<BinaryOp> ops;
  std::vector<ExpressionPtr> indexes;
};

using NodePtr = std::unique_ptr<ExpressionNode>;

}  // namespace maqo::engine
