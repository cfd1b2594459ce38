// Compiles expression text into a tree by recursive descent. Precedence, lowest
// first: OR XOR | AND | > < = >= <= <> | + - | * / MOD | prefix ! and signs |
// calls, parentheses, names and literals with an optional [index] suffix.
#include "engine/eval/expression.h"
#include "engine/eval/expression_tree.h"
#include "engine/eval/text_helpers.h"
#include "engine/eval/tokenizer.h"
#include "platform/text_codec.h"

namespace maqo::engine {

Expression::Expression(std::u16string text, std::unique_ptr<ExpressionNode> root, CompileFailure failure)
    : text_(std::move(text)), root_(std::move(root)), failure_(failure) {}

Expression::~Expression() = default;

namespace {

struct CompileStop {
  CompileFailure failure;
};

[[noreturn]] void syntaxError() { throw CompileStop{CompileFailure::Syntax}; }
[[noreturn]] void tooDeep() { throw CompileStop{CompileFailure::TooDeep}; }

ExpressionPtr compileAt(std::u16string_view text, int depth);

// A part of an expression that is an expression of its own (an argument or an
// index). A syntax error stays inside it, to be raised if it is ever
// evaluated; nesting too deep ends the whole compilation.
ExpressionPtr compileNested(std::u16string_view text, int depth) {
  ExpressionPtr e = compileAt(text, depth);
  if (e->failure() == CompileFailure::TooDeep) tooDeep();
  return e;
}

// The index lists of "[a][b, c]": each bracket group split at top-level commas
// (an empty group is one empty index). False when text is not such a sequence.
bool splitIndexGroups(std::u16string_view text, std::vector<std::u16string>& indexes) {
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] != u'[') return false;
    bool inQuote = false;
    size_t depth = 0, close = std::u16string_view::npos;
    for (size_t j = i; j < text.size() && close == std::u16string_view::npos; ++j) {
      const char16_t c = text[j];
      if (inQuote) {
        if (c == u'"') inQuote = false;
      } else if (c == u'"') {
        inQuote = true;
      } else if (c == u'[') {
        ++depth;
      } else if (c == u']' && --depth == 0) {
        close = j;
      }
    }
    if (close == std::u16string_view::npos) return false;
    const std::u16string_view inside = text.substr(i + 1, close - i - 1);
    if (TrimView(inside).empty()) {
      indexes.emplace_back();
    } else {
      for (const auto& piece : SplitAll(inside, u","))
        indexes.push_back(Trim(piece));
    }
    i = close + 1;
  }
  return !indexes.empty();
}

std::vector<ExpressionPtr> compileAll(const std::vector<std::u16string>& texts, int depth) {
  std::vector<ExpressionPtr> out;
  out.reserve(texts.size());
  for (const auto& t : texts) out.push_back(compileNested(t, depth));
  return out;
}

BinaryOp binaryOp(TokenKind k) {
  switch (k) {
    case TokenKind::Or: return BinaryOp::Or;
    case TokenKind::Xor: return BinaryOp::Xor;
    case TokenKind::And: return BinaryOp::And;
    case TokenKind::Greater: return BinaryOp::Greater;
    case TokenKind::Less: return BinaryOp::Less;
    case TokenKind::Equal: return BinaryOp::Equal;
    case TokenKind::GreaterEqual: return BinaryOp::GreaterEqual;
    case TokenKind::LessEqual: return BinaryOp::LessEqual;
    case TokenKind::NotEqual: return BinaryOp::NotEqual;
    case TokenKind::Plus: return BinaryOp::Add;
    case TokenKind::Minus: return BinaryOp::Subtract;
    case TokenKind::Times: return BinaryOp::Multiply;
    case TokenKind::Divide: return BinaryOp::Divide;
    default: return BinaryOp::Mod;
  }
}

// Binary precedence level of a token, 0 (OR XOR) to 4 (* / MOD); -1 for others.
int levelOf(TokenKind k) {
  switch (k) {
    case TokenKind::Or:
    case TokenKind::Xor: return 0;
    case TokenKind::And: return 1;
    case TokenKind::Greater:
    case TokenKind::Less:
    case TokenKind::Equal:
    case TokenKind::GreaterEqual:
    case TokenKind::LessEqual:
    case TokenKind::NotEqual: return 2;
    case TokenKind::Plus:
    case TokenKind::Minus: return 3;
    case TokenKind::Times:
    case TokenKind::Divide:
    case TokenKind::Mod: return 4;
    default: return -1;
  }
}
constexpr int kLastBinaryLevel = 4;

class Parser {
 public:
  Parser(std::vector<Token> tokens, int depth) : tokens_(std::move(tokens)), depth_(depth) {}

  NodePtr parseWhole() {
    NodePtr root = parseLevel(0);
    if (pos_ != tokens_.size()) syntaxError();
    return root;
  }

 private:
  // Counts one level of nesting while it lives.
  class Nest {
   public:
    explicit Nest(int& depth) : depth_(depth) {
      if (depth_ >= kMaxExpressionNesting) tooDeep();
      ++depth_;
    }
    ~Nest() { --depth_; }
    Nest(const Nest&) = delete;
    Nest& operator=(const Nest&) = delete;

   private:
    int& depth_;
  };

  const Token* peek() const { return pos_ < tokens_.size() ? &tokens_[pos_] : nullptr; }
  bool peekIs(TokenKind k) const { return pos_ < tokens_.size() && tokens_[pos_].kind == k; }
  bool peekParen(char16_t c) const { return peekIs(TokenKind::Paren) && tokens_[pos_].text[0] == c; }

  NodePtr parseLevel(int level) {
    if (level > kLastBinaryLevel) return parseUnary();
    NodePtr first = parseLevel(level + 1);
    if (!peek() || levelOf(peek()->kind) != level) return first;
    auto chain = std::make_unique<ExpressionNode>(NodeKind::Chain);
    chain->operands.push_back(std::move(first));
    while (peek() && levelOf(peek()->kind) == level) {
      chain->ops.push_back(binaryOp(tokens_[pos_++].kind));
      chain->operands.push_back(parseLevel(level + 1));
    }
    return chain;
  }

  NodePtr parseUnary() {
    Nest nest(depth_);
    if (peekIs(TokenKind::Not) || peekIs(TokenKind::Minus)) {
      auto node = std::make_unique<ExpressionNode>(peekIs(TokenKind::Not) ? NodeKind::Not : NodeKind::Negate);
      ++pos_;
      node->operands.push_back(parseUnary());
      return node;
    }
    if (peekIs(TokenKind::Plus)) {
      ++pos_;
      return parseUnary();
    }
    NodePtr primary = parsePrimary();
    if (peekIs(TokenKind::IndexSuffix)) {
      auto node = std::make_unique<ExpressionNode>(NodeKind::Index);
      std::vector<std::u16string> texts;
      if (!splitIndexGroups(tokens_[pos_].text, texts) || texts.size() > 3) syntaxError();
      ++pos_;
      node->operands.push_back(std::move(primary));
      node->indexes = compileAll(texts, depth_);
      return node;
    }
    return primary;
  }

  NodePtr parsePrimary() {
    const Token* t = peek();
    if (!t) syntaxError();
    switch (t->kind) {
      case TokenKind::String: {
        auto node = std::make_unique<ExpressionNode>(NodeKind::Literal);
        node->value = ScriptValue::string(t->text);
        ++pos_;
        return node;
      }
      case TokenKind::Number: {
        auto node = std::make_unique<ExpressionNode>(NodeKind::Literal);
        node->value = ScriptValue::number(t->number);
        ++pos_;
        return node;
      }
      case TokenKind::Paren: {
        if (!peekParen(u'(')) syntaxError();
        ++pos_;
        auto node = std::make_unique<ExpressionNode>(NodeKind::Group);
        node->operands.push_back(parseLevel(0));
        if (!peekParen(u')')) syntaxError();
        ++pos_;
        return node;
      }
      case TokenKind::Call: {
        Nest nest(depth_);
        auto node = std::make_unique<ExpressionNode>(NodeKind::Call);
        node->call = makeCall(*t);
        ++pos_;
        return node;
      }
      case TokenKind::Name: {
        NodePtr node = keyword(t->text);
        if (!node) {
          Nest nest(depth_);
          node = std::make_unique<ExpressionNode>(NodeKind::Name);
          node->name = makeName(t->text);
        }
        ++pos_;
        return node;
      }
      default:
        syntaxError();
    }
  }

  static NodePtr keyword(const std::u16string& word) {
    const std::u16string upper = asciiUpper(word);
    auto node = std::make_unique<ExpressionNode>(NodeKind::Literal);
    if (upper == u"TRUE") node->value = ScriptValue::keywordBool(true);
    else if (upper == u"FALSE") node->value = ScriptValue::keywordBool(false);
    else if (upper == u"NULL") node->value = ScriptValue::null();
    else if (upper == u"NOTHING") node->value = ScriptValue::nothing();
    else if (upper == u"EMPTY") node->emptyKeyword = true;
    else return nullptr;
    return node;
  }

  std::unique_ptr<CallSite> makeCall(const Token& t) {
    auto call = std::make_unique<CallSite>();
    call->text = t.text;
    call->name = Trim(std::u16string_view(t.text).substr(0, t.open));
    call->argumentText = t.text.substr(t.open + 1, t.close - t.open - 1);
    call->tail = t.text.substr(t.close + 1);
    if (!TrimView(call->argumentText).empty()) {
      for (const auto& piece : SplitAll(call->argumentText, u","))
        call->argumentTexts.push_back(Trim(piece));
    }
    call->arguments = compileAll(call->argumentTexts, depth_);
    return call;
  }

  std::unique_ptr<NameRef> makeName(const std::u16string& text) {
    auto ref = std::make_unique<NameRef>();
    ref->text = text;
    ref->name = text;
    const size_t bracket = text.find(u'[');
    if (bracket != std::u16string::npos && bracket > 0 && text.back() == u']') {
      std::vector<std::u16string> indexTexts;
      const bool ok = splitIndexGroups(std::u16string_view(text).substr(bracket), indexTexts) &&
                      indexTexts.size() <= ArrayValue::kMaxDimensions;
      if (ok) {
        ref->name = text.substr(0, bracket);
        ref->indexTexts = std::move(indexTexts);
        ref->indexes = compileAll(ref->indexTexts, depth_);
      } else if (ref->name.find(u'.') == std::u16string::npos) {
        syntaxError();  // a dotted text goes to the COM member as written
      }
    }
    ref->dotted = ref->name.find(u'.') != std::u16string::npos;
    return ref;
  }

  std::vector<Token> tokens_;
  size_t pos_ = 0;
  int depth_;
};

ExpressionPtr compileAt(std::u16string_view text, int depth) {
  std::u16string owned(text);
  if (TrimView(text).empty()) return std::make_shared<const Expression>(std::move(owned), nullptr, CompileFailure::None);
  std::vector<Token> tokens;
  if (!TokenizeExpression(text, tokens))
    return std::make_shared<const Expression>(std::move(owned), nullptr, CompileFailure::Syntax);
  try {
    NodePtr root = Parser(std::move(tokens), depth).parseWhole();
    return std::make_shared<const Expression>(std::move(owned), std::move(root), CompileFailure::None);
  } catch (const CompileStop& stop) {
    return std::make_shared<const Expression>(std::move(owned), nullptr, stop.failure);
  }
}

}  // namespace

ExpressionPtr CompileExpression(std::u16string_view text) { return compileAt(text, 0); }

}  // namespace maqo::engine
