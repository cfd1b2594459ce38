#include "engine/eval/evaluator.h"

#include <cmath>

#include "engine/eval/expression_tree.h"
#include "engine/eval/numeric_ops.h"
#include "engine/eval/text_helpers.h"
#include "engine/values/name_fold.h"
#include "engine/values/number_text.h"

namespace maqo::engine {

ScriptError ExpressionError(bool checkMode) {
  if (checkMode) return ScriptError(u"expression is wrong. or a type isn't correct.", u"式がおかしい or 型が合っていない");
  return ScriptError(u"a type isn't correct. or overflow.", u"型が合っていない or オーバーフロー");
}

std::u16string ExpandSpecialCharacters(std::u16string_view text, bool specialCharOption) {
  if (text.find(u"<#") == std::u16string_view::npos) return std::u16string(text);
  struct Mark {
    std::u16string_view written, meant;
    bool always;
  };
  static constexpr Mark kMarks[] = {
      {u"<#_DBL>", u"\"", true}, {u"<#_CR>", u"\r\n", true}, {u"<#_TAB>", u"\t", true},
      {u"<#DBL>", u"\"", false}, {u"<#CR>", u"\r\n", false}, {u"<#TAB>", u"\t", false},
  };
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    bool replaced = false;
    if (text[i] == u'<') {
      for (const Mark& m : kMarks) {
        if ((m.always || !specialCharOption) && text.substr(i, m.written.size()) == m.written) {
          out += m.meant;
          i += m.written.size();
          replaced = true;
          break;
        }
      }
    }
    if (!replaced) out += text[i++];
  }
  return out;
}

namespace {

bool isMarker(std::u16string_view text) {
  return !text.empty() && text[0] == u'\u0001' &&
         (text == kEmptyMarker || text == kNullMarker || text == kNothingMarker);
}

// The number test of an operand: numbers and booleans, and strings that read as numbers.
bool passesNumberTest(const ScriptValue& v) {
  return v.isNumeric() || v.isBoolean() || (v.isString() && v.tryToDouble().has_value());
}

int sign(int x) { return (x > 0) - (x < 0); }

int ordinalCompare(std::u16string_view a, std::u16string_view b) { return sign(a.compare(b)); }

bool comparisonHolds(BinaryOp op, int cmp) {
  switch (op) {
    case BinaryOp::Greater: return cmp > 0;
    case BinaryOp::Less: return cmp < 0;
    case BinaryOp::Equal: return cmp == 0;
    case BinaryOp::GreaterEqual: return cmp >= 0;
    case BinaryOp::LessEqual: return cmp <= 0;
    default: return cmp != 0;
  }
}

class Evaluation {
 public:
  Evaluation(EvalHost& host, EvalContext& context, bool deferFailure = false)
      : host_(host), context_(context), options_(host.options()), check_(host.checkMode()),
        deferFailure_(deferFailure && !check_) {}

  // The evaluator's own failure was deferred (see TryEvaluateExpression).
  bool failed() const { return failed_; }

  std::u16string appendedText(const Expression& e) {
    const ExpressionNode& n = *e.root();
    const ScriptValue textSide = ScriptValue::string(u"");
    std::u16string out;
    for (size_t i = 1; i < n.operands.size(); ++i) out += text(addOperand(eval(*n.operands[i]), textSide));
    return out;
  }

  ScriptValue run(const Expression& e, bool shortCircuit) {
    if (failed_) return ScriptValue();
    if (e.failure() == CompileFailure::TooDeep)
      throw ScriptError(u"The expression is nested too deeply.", u"式の入れ子が深すぎます");
    if (e.failure() != CompileFailure::None) throw ExpressionError(check_);
    if (!e.root()) return ScriptValue();
    const ExpressionNode& root = *e.root();
    ScriptValue v;
    // Only the top level of a condition may stop early: its OR / XOR chain, or
    // the AND chain that is the whole condition. Parentheses keep their contents whole.
    const bool logicChain = root.kind == NodeKind::Chain && root.ops[0] <= BinaryOp::And;
    if (shortCircuit && options_.shortCircuit && logicChain) {
      v = shortCircuitLogic(root);
    } else {
      v = eval(root);
    }
    return postProcess(std::move(v));
  }

 private:
  // The evaluator's own failure. Thrown, unless the caller asked to have it
  // deferred: then it is noted and every later step of this evaluation
  // returns at once (no name is read and nothing is called after it), so the
  // caller can raise the error without the cost of unwinding.
  void fail() {
    if (!deferFailure_) throw ExpressionError(check_);
    failed_ = true;
  }

  // The check pass reads every name and call as 1, so only literals keep their
  // values there; a literal that fails arithmetic ("1E+308" * 10) is left to
  // run time, where a TRY around it can catch the failure.
  double number(const ScriptValue& v) {
    const auto d = v.tryToDouble();
    if (!d) {
      if (check_) return 1.0;
      fail();
      return 0.0;
    }
    return *d;
  }
  std::u16string text(const ScriptValue& v) {
    auto t = v.tryToText();
    if (!t) {
      fail();
      return {};
    }
    return std::move(*t);
  }
  // An arithmetic result; an infinite one is an overflow.
  ScriptValue numeric(double d) {
    if (!std::isfinite(d)) {
      if (check_) return ScriptValue::number(1.0);
      fail();
      return ScriptValue();
    }
    return ScriptValue::number(plainZero(d));
  }

  // An index or argument expression, evaluated as a whole expression of its own.
  ScriptValue sub(const ExpressionPtr& e) { return run(*e, false); }

  ScriptValue eval(const ExpressionNode& n) {
    if (failed_) return ScriptValue();
    switch (n.kind) {
      case NodeKind::Literal:
        // NULL and NOTHING are names the check pass reads as 1, like any other.
        if (check_ && (n.value.isNull() || n.value.isNothing())) return ScriptValue::number(1.0);
        return n.value;
      case NodeKind::Name: return readName(*n.name);
      case NodeKind::Call: return host_.callFunction(*n.call, context_);
      case NodeKind::Group: return eval(*n.operands[0]);
      case NodeKind::Negate: return numeric(-number(eval(*n.operands[0])));
      case NodeKind::Not: {
        const ScriptValue v = eval(*n.operands[0]);
        return ScriptValue::keywordBool(v.isEmpty() || number(v) == 0.0);
      }
      case NodeKind::Index: return element(eval(*n.operands[0]), n.indexes);
      case NodeKind::Chain: break;
    }
    ScriptValue acc = eval(*n.operands[0]);
    bool leftIsEmptyWord = n.operands[0]->emptyKeyword;
    for (size_t i = 0; i < n.ops.size(); ++i) {
      const ExpressionNode& right = *n.operands[i + 1];
      if (n.ops[i] == BinaryOp::Add && acc.isNativeString()) {
        appendText(acc, eval(right), i + 1 < n.ops.size());
      } else {
        acc = apply(n.ops[i], acc, leftIsEmptyWord, eval(right), right.emptyKeyword);
      }
      if (failed_) return ScriptValue();
      leftIsEmptyWord = false;
    }
    return acc;
  }

  // A text followed by "+" always joins (see add): the chain's running text
  // grows in place, so "S + a + b + c" copies S once instead of once per "+".
  void appendText(ScriptValue& acc, const ScriptValue& right, bool moreFollow) {
    const std::u16string tail = text(addOperand(right, acc));
    const std::u16string& head = acc.stringRef();
    if (!acc.ownsStringAlone() || head.capacity() < head.size() + tail.size()) {
      // Shared (it is still a variable's value or a literal) or full: one new
      // text, with room for the rest of the chain when more follows.
      std::u16string joined;
      joined.reserve(head.size() + tail.size() + (moreFollow ? 64 : 0));
      joined.append(head).append(tail);
      acc = ScriptValue::string(std::move(joined));
      return;
    }
    acc.mutableString().append(tail);
  }

  // A condition under OPTION SHORTCIRCUIT, at the top level only (parentheses
  // keep their contents whole). An AND chain that is the whole condition stops
  // at a zero left side. In an OR / XOR chain an OR stops at a non-zero left
  // side, unless an XOR follows that could still flip the result, or an AND
  // has been met: a condition that mixes AND and OR is evaluated whole from its
  // first AND on ("A AND B OR F()" always calls F, "A OR B AND F()" may not).
  ScriptValue shortCircuitLogic(const ExpressionNode& root) {
    if (root.ops[0] == BinaryOp::And) return shortCircuitAnd(root);
    size_t lastXor = std::u16string::npos;
    for (size_t i = 0; i < root.ops.size(); ++i)
      if (root.ops[i] == BinaryOp::Xor) lastXor = i;
    bool andMet = false;
    auto operand = [&](const ExpressionNode& n) {
      if (n.kind == NodeKind::Chain && n.ops[0] == BinaryOp::And) andMet = true;
      return eval(n);
    };
    ScriptValue acc = operand(*root.operands[0]);
    for (size_t i = 0; i < root.ops.size(); ++i) {
      const bool noXorAfter = lastXor == std::u16string::npos || lastXor < i;
      if (root.ops[i] == BinaryOp::Or && !andMet && noXorAfter && truncateToInt64(number(acc)) != 0)
        return ScriptValue::keywordBool(true);
      acc = bitwise(root.ops[i], acc, operand(*root.operands[i + 1]));
    }
    return acc;
  }

  // AND chain that is the whole condition: a zero left side decides it.
  ScriptValue shortCircuitAnd(const ExpressionNode& n) {
    ScriptValue acc = eval(*n.operands[0]);
    for (size_t i = 0; i < n.ops.size(); ++i) {
      if (truncateToInt64(number(acc)) == 0) return ScriptValue::keywordBool(false);
      acc = bitwise(BinaryOp::And, acc, eval(*n.operands[i + 1]));
    }
    return acc;
  }

  ScriptValue readName(const NameRef& ref) {
    if (ref.dotted && !host_.isModuleMember(ref.name)) return host_.comMember(ref);
    std::vector<ScriptValue> indexes;
    indexes.reserve(ref.indexes.size());
    for (const auto& e : ref.indexes) indexes.push_back(sub(e));
    if (failed_) return ScriptValue();
    return host_.getValue(ref, indexes);
  }

  // F(X)[i][j]: an element of the array value F returned.
  ScriptValue element(const ScriptValue& v, const std::vector<ExpressionPtr>& indexExpressions) {
    std::vector<int64_t> indexes;
    for (const auto& e : indexExpressions) indexes.push_back(truncateToInt64(number(sub(e))));
    if (check_) return v;  // calls give 1 during the check pass: only the indexes are checked
    if (failed_ || !v.isArray()) {
      fail();
      return ScriptValue();
    }
    const ArrayValue& array = v.arrayRef();
    const auto flat = array.flatIndex(indexes);
    if (!flat) {
      fail();
      return ScriptValue();
    }
    return array.at(*flat);
  }

  ScriptValue apply(BinaryOp op, const ScriptValue& a, bool aEmptyWord, const ScriptValue& b, bool bEmptyWord) {
    switch (op) {
      case BinaryOp::Or:
      case BinaryOp::Xor:
      case BinaryOp::And: return bitwise(op, a, b);
      case BinaryOp::Add: return add(a, b);
      case BinaryOp::Subtract: return numeric(number(a) - number(b));
      case BinaryOp::Multiply: return numeric(number(a) * number(b));
      case BinaryOp::Divide: {
        const double x = number(a), y = number(b);
        return y == 0.0 ? ScriptValue::number(0.0) : numeric(x / y);
      }
      case BinaryOp::Mod: return mod(a, b);
      default: return ScriptValue::keywordBool(comparisonHolds(op, compare(a, aEmptyWord, b, bEmptyWord)));
    }
  }

  ScriptValue bitwise(BinaryOp op, const ScriptValue& a, const ScriptValue& b) {
    const int64_t x = truncateToInt64(number(a)), y = truncateToInt64(number(b));
    const int64_t r = op == BinaryOp::And ? (x & y) : op == BinaryOp::Or ? (x | y) : (x ^ y);
    return ScriptValue::number(static_cast<double>(r));
  }

  ScriptValue mod(const ScriptValue& a, const ScriptValue& b) {
    const double x = number(a);
    const double y = check_ ? 1.0 : number(b);  // the check pass knows no values to divide by
    const auto dividend = roundHalfEvenToInt64(x), divisor = roundHalfEvenToInt64(y);
    if (!dividend || !divisor) {
      fail();
      return ScriptValue();
    }
    const auto r = remainderOf(*dividend, *divisor);
    if (!r) {
      fail();
      return ScriptValue();
    }
    return ScriptValue::number(static_cast<double>(*r));
  }

  // "+" joins texts and adds numbers; see the rules per pair of kinds below.
  ScriptValue add(const ScriptValue& a, const ScriptValue& b) {
    if (a.isNativeString() && b.isNativeString()) return ScriptValue::string(a.stringRef() + b.stringRef());
    if (a.isDouble() && b.isDouble()) return numeric(a.doublePayload() + b.doublePayload());
    if (a.isByteString() && b.isByteString()) {
      // Byte strings made by COPYB / CHRB are data, not numbers.
      if (!context_.byteStringProduced && passesNumberTest(a) && passesNumberTest(b))
        return numeric(number(a) + number(b));
      return ScriptValue::byteString(a.bytes() + b.bytes());
    }
    const ScriptValue x = addOperand(a, b), y = addOperand(b, a);
    if (x.isString() || y.isString()) return ScriptValue::string(text(x) + text(y));
    const auto dx = x.tryToDouble(), dy = y.tryToDouble();
    if (dx && dy) return numeric(*dx + *dy);
    return ScriptValue::string(text(x) + text(y));
  }

  static ScriptValue addOperand(const ScriptValue& v, const ScriptValue& other) {
    switch (v.type()) {
      case VarType::Empty:
        if (other.isString()) return ScriptValue::string(u"");
        return passesNumberTest(other) ? ScriptValue::number(0.0) : ScriptValue::string(u"");
      case VarType::Null: return ScriptValue::string(u"");
      case VarType::Error: return ScriptValue::string(u"ERROR");
      case VarType::ByteString:
        if (!other.isString() && passesNumberTest(v)) return ScriptValue::number(*v.tryToDouble());
        return v;
      default: return v;
    }
  }

  // Each side of a comparison as it is compared: Empty, Null and NOTHING as
  // their markers (or Empty as 0 or "" next to a number or a text), objects by
  // identity, error codes as "ERROR", numeric byte strings as numbers.
  static ScriptValue compareOperand(const ScriptValue& v, bool emptyWord, const ScriptValue& other) {
    switch (v.type()) {
      case VarType::Empty:
        if (emptyWord || other.isEmpty()) return ScriptValue::string(kEmptyMarker);
        return passesNumberTest(other) ? ScriptValue::number(0.0) : ScriptValue::string(u"");
      case VarType::Object:
        return v.isNothing() ? ScriptValue::string(kNothingMarker)
                             : ScriptValue::number(static_cast<double>(v.objectId()));
      case VarType::Null: return ScriptValue::string(kNullMarker);
      case VarType::Error: return ScriptValue::string(u"ERROR");
      case VarType::ByteString:
        if (!other.isString() && passesNumberTest(v)) return ScriptValue::number(*v.tryToDouble());
        return v;
      default: return v;
    }
  }

  int compare(const ScriptValue& a, bool aEmptyWord, const ScriptValue& b, bool bEmptyWord) {
    const ScriptValue x = compareOperand(a, aEmptyWord, b), y = compareOperand(b, bEmptyWord, a);
    if (x.isString() || y.isString()) {
      std::u16string tx = text(x), ty = text(y);
      // Markers are compared code unit by code unit: a collation could call them
      // equal to texts that merely look alike.
      const bool markers = isMarker(tx) || isMarker(ty);
      for (std::u16string* t : {&tx, &ty}) {
        if (t->find(u"<#") != std::u16string::npos) *t = ExpandSpecialCharacters(*t, options_.specialChar);
        if (!options_.sameStr)
          for (char16_t& c : *t) c = UpperCase(c);
      }
      if (markers || tx.empty() || ty.empty()) return ordinalCompare(tx, ty);
      return sign(host_.compareText(tx, ty));
    }
    if (x.isBoolean() && y.isBoolean()) {
      // TRUE (1) and a builtin's true (-1) are the same truth.
      return static_cast<int>(x.booleanPayload() != 0) - static_cast<int>(y.booleanPayload() != 0);
    }
    // Numbers compare by the value their text shows, as texts do: 0.1 + 0.2 = 0.3.
    const double dx = settled(number(x)), dy = settled(number(y));
    return dx < dy ? -1 : dx > dy ? 1 : 0;
  }

  // Unless OPTION ROUNDVALUE, a number with a fraction is taken as what its
  // 15-digit text says, so binary noise does not show: 0.1 + 0.2 is 0.3.
  double settled(double d) const {
    if (options_.roundValue || d == std::trunc(d)) return d;
    const auto r = parseNumberText(formatDouble(d));
    return r ? *r : d;
  }

  ScriptValue postProcess(ScriptValue v) const {
    if (v.isDouble()) return ScriptValue::number(settled(v.doublePayload()));
    if (v.isNativeString() && v.stringRef().find(u"<#") != std::u16string::npos)
      return ScriptValue::string(ExpandSpecialCharacters(v.stringRef(), options_.specialChar), v.type());
    return v;
  }

  EvalHost& host_;
  EvalContext& context_;
  const EvalOptions options_;
  const bool check_;
  const bool deferFailure_;
  bool failed_ = false;
};

}  // namespace

ScriptValue EvaluateExpression(const Expression& expression, EvalHost& host, EvalContext& context, bool shortCircuit) {
  return Evaluation(host, context).run(expression, shortCircuit);
}

bool TryEvaluateExpression(const Expression& expression, EvalHost& host, ScriptValue& result) {
  EvalContext context;
  Evaluation evaluation(host, context, true);
  ScriptValue value = evaluation.run(expression, false);
  if (evaluation.failed()) return false;
  result = std::move(value);
  return true;
}

namespace {

// Whether evaluating the node could call out or read the name (or any dotted name).
bool callsOrReads(const ExpressionNode& n, std::u16string_view name);

bool callsOrReads(const ExpressionPtr& e, std::u16string_view name) {
  return e != nullptr && e->root() != nullptr && callsOrReads(*e->root(), name);
}

bool callsOrReads(const ExpressionNode& n, std::u16string_view name) {
  switch (n.kind) {
    case NodeKind::Call: return true;
    case NodeKind::Name:
      if (n.name->dotted || NameEqual{}(n.name->name, name)) return true;
      for (const auto& index : n.name->indexes)
        if (callsOrReads(index, name)) return true;
      return false;
    default: break;
  }
  for (const auto& operand : n.operands)
    if (callsOrReads(*operand, name)) return true;
  for (const auto& index : n.indexes)
    if (callsOrReads(index, name)) return true;
  return false;
}

}  // namespace

bool AppendsToName(const Expression& expression, std::u16string_view target) {
  if (expression.failure() != CompileFailure::None || expression.root() == nullptr) return false;
  const ExpressionNode& root = *expression.root();
  if (root.kind != NodeKind::Chain || root.ops.empty()) return false;
  for (const BinaryOp op : root.ops)
    if (op != BinaryOp::Add) return false;
  const ExpressionNode& first = *root.operands[0];
  if (first.kind != NodeKind::Name || first.name->dotted || !first.name->indexes.empty() ||
      !NameEqual{}(first.name->name, target))
    return false;
  for (size_t i = 1; i < root.operands.size(); ++i)
    if (callsOrReads(*root.operands[i], target)) return false;
  return true;
}

std::u16string EvaluateAppendedText(const Expression& expression, EvalHost& host) {
  EvalContext context;
  return Evaluation(host, context).appendedText(expression);
}

void ExpandSpecialCharactersAfterJoin(std::u16string& text, size_t oldSize, bool specialCharOption) {
  constexpr size_t kLongestSequence = 7;  // "<#_DBL>"
  const size_t from = oldSize >= kLongestSequence - 1 ? oldSize - (kLongestSequence - 1) : 0;
  if (text.find(u"<#", from) == std::u16string::npos) return;
  const std::u16string expanded = ExpandSpecialCharacters(std::u16string_view(text).substr(from), specialCharOption);
  text.replace(from, std::u16string::npos, expanded);
}

ScriptValue EvaluateExpression(const Expression& expression, EvalHost& host, bool shortCircuit) {
  EvalContext context;
  return EvaluateExpression(expression, host, context, shortCircuit);
}

ExpressionPtr CompileCache::get(std::u16string_view text) {
  {
    std::lock_guard<std::mutex> guard(lock_);
    if (auto it = entries_.find(text); it != entries_.end()) return it->second;
  }
  ExpressionPtr compiled = CompileExpression(text);
  std::lock_guard<std::mutex> guard(lock_);
  if (entries_.size() >= kMaxEntries) entries_.clear();
  return entries_.try_emplace(std::u16string(text), std::move(compiled)).first->second;
}

void CompileCache::clear() {
  std::lock_guard<std::mutex> guard(lock_);
  entries_.clear();
}

size_t CompileCache::size() {
  std::lock_guard<std::mutex> guard(lock_);
  return entries_.size();
}

ScriptValue EvalExpression(std::u16string_view text, EvalHost& host, CompileCache& cache, bool shortCircuit) {
  return EvaluateExpression(*cache.get(text), host, shortCircuit);
}

}  // namespace maqo::engine
