#include "engine/eval/formula.h"

#include <charconv>
#include <cmath>
#include <string>
#include <memory>
#include <span>
#include <vector>

#include "engine/eval/numeric_ops.h"
#include "engine/eval/text_helpers.h"
#include "platform/text_codec.h"

namespace maqo::engine {

namespace {

constexpr int kMaxNesting = 200;

// The first failure ends the computation; its text is what gets reported.
struct FormulaFailure {
  std::u16string reason;
};

const std::u16string kContradiction = u"計算式に矛盾あり";
const std::u16string kParenthesesWrong = u"()の括りに矛盾あり";
const std::u16string kArgumentListWrong = u"kukonidat関数内に矛盾あり";
const std::u16string kFunctionFailed = u"UUM->FEnzanKisan->kansuu：";
const std::u16string kTermFailed = u"UUM->FEnzanKisan->term：";

// Slot: a name whose value the caller of a prepared formula supplies.
enum class TokenKind { Number, Name, Symbol, Slot, End };

struct Token {
  TokenKind kind;
  std::u16string text;
  int slot = -1;
};

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool isLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || c == u'_'; }

std::vector<Token> tokenize(std::u16string_view s) {
  std::vector<Token> tokens;
  tokens.reserve(s.size() / 2 + 2);  // one allocation for most formulas, none while growing
  size_t i = 0;
  while (i < s.size()) {
    const char16_t c = s[i];
    if (c == u' ' || c == u'\t' || c == u'\u3000') {
      ++i;
      continue;
    }
    size_t j = i + 1;
    TokenKind kind = TokenKind::Symbol;
    if (isDigit(c)) {
      kind = TokenKind::Number;
      // A "." belongs to the number only between digits: 1.5, 1.2.3 (malformed), not "1.".
      while (j < s.size() && (isDigit(s[j]) || (s[j] == u'.' && isDigit(s[j - 1]) && j + 1 < s.size() && isDigit(s[j + 1]))))
        ++j;
    } else if (isLetter(c)) {
      kind = TokenKind::Name;
      while (j < s.size() && isLetter(s[j])) ++j;
    } else if ((c == u'>' || c == u'<') && j < s.size() && (s[j] == u'=' || (c == u'<' && s[j] == u'>'))) {
      ++j;
    }
    tokens.push_back({kind, std::u16string(s.substr(i, j - i))});
    i = j;
  }
  tokens.push_back({TokenKind::End, {}});
  return tokens;
}

std::u16string failureText(double x) {
  return std::isnan(x) ? u"Invalid floating point operation" : u"Floating point overflow";
}

class FormulaParser {
 public:
  // slotValues: the values of the Slot tokens, by their slot index.
  explicit FormulaParser(const std::vector<Token>& tokens, std::span<const double> slotValues = {})
      : tokens_(tokens), slotValues_(slotValues) {}

  double parseWhole() {
    const double v = parseOr();
    if (peek().kind != TokenKind::End) fail(kContradiction);
    return v;
  }

 private:
  [[noreturn]] static void fail(const std::u16string& reason) { throw FormulaFailure{reason}; }

  const Token& peek() const { return tokens_[pos_]; }
  bool isSymbol(std::u16string_view s) const {
    return (peek().kind == TokenKind::Symbol || peek().kind == TokenKind::Name) && peek().text == s;
  }
  bool accept(std::u16string_view s) {
    if (!isSymbol(s)) return false;
    ++pos_;
    return true;
  }

  // The result of an operator; a value that is not finite means the step failed.
  static double term(double r) {
    if (!std::isfinite(r)) fail(kTermFailed + failureText(r));
    return plainZero(r);
  }

  double parseOr() {
    double v = parseAnd();
    while (accept(u"|") || accept(u"OR")) {
      const double r = parseAnd();
      v = static_cast<double>(truncateToInt64(v) | truncateToInt64(r));
    }
    return v;
  }

  double parseAnd() {
    double v = parseComparison();
    while (accept(u"&") || accept(u"AND")) {
      const double r = parseComparison();
      v = static_cast<double>(truncateToInt64(v) & truncateToInt64(r));
    }
    return v;
  }

  double parseComparison() {
    double v = parseSum();
    for (;;) {
      const std::u16string op = peek().kind == TokenKind::Symbol ? peek().text : std::u16string();
      if (op != u">" && op != u"<" && op != u"=" && op != u">=" && op != u"<=" && op != u"<>") return v;
      ++pos_;
      const double r = parseSum();
      bool holds = op == u">" ? v > r : op == u"<" ? v < r : op == u"=" ? v == r : op == u">=" ? v >= r
                 : op == u"<=" ? v <= r : v != r;
      v = holds ? 1.0 : 0.0;
    }
  }

  double parseSum() {
    double v = parseProduct();
    for (;;) {
      if (accept(u"+")) v = term(v + parseProduct());
      else if (accept(u"-")) v = term(v - parseProduct());
      else return v;
    }
  }

  double parseProduct() {
    double v = parseUnary();
    for (;;) {
      if (accept(u"*")) {
        v = term(v * parseUnary());
      } else if (accept(u"/")) {
        const double r = parseUnary();
        v = r == 0.0 ? 0.0 : term(v / r);
      } else if (accept(u"MOD")) {
        const double r = parseUnary();
        const auto a = roundHalfEvenToInt64(v), b = roundHalfEvenToInt64(r);
        if (!a || !b) fail(kTermFailed + u"Invalid floating point operation");
        const auto m = remainderOf(*a, *b);
        if (!m) fail(kTermFailed + u"Division by zero");
        v = static_cast<double>(*m);
      } else {
        return v;
      }
    }
  }

  struct Nest {
    explicit Nest(int& depth) : depth_(depth) {
      if (depth_ >= kMaxNesting) fail(kContradiction);
      ++depth_;
    }
    Nest(const Nest&) = delete;
    Nest& operator=(const Nest&) = delete;
    ~Nest() { --depth_; }
    int& depth_;
  };

  double parseUnary() {
    Nest nest(depth_);
    if (accept(u"!")) return parseUnary() == 0.0 ? 1.0 : 0.0;
    if (accept(u"-")) return plainZero(-parseUnary());
    if (accept(u"+")) return parseUnary();
    return parsePrimary();
  }

  double parsePrimary() {
    const Token& t = peek();
    if (t.kind == TokenKind::Number) {
      ++pos_;
      double v = 0;
      const std::string ascii(t.text.begin(), t.text.end());
      const auto [end, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), v);
      if (ec != std::errc() || end != ascii.data() + ascii.size()) fail(kContradiction);
      return v;
    }
    if (t.kind == TokenKind::Name) return parseFunction();
    if (t.kind == TokenKind::Slot) {
      ++pos_;
      return static_cast<size_t>(t.slot) < slotValues_.size() ? slotValues_[t.slot] : 0.0;
    }
    if (accept(u"(")) {
      const double v = parseOr();
      if (!accept(u")")) fail(kParenthesesWrong);
      return v;
    }
    fail(kContradiction);
  }

  double parseFunction() {
    const std::u16string name = peek().text;
    const int arity = arityOf(name);
    if (arity < 0) fail(kContradiction);
    ++pos_;
    if (!accept(u"(")) fail(kArgumentListWrong);
    std::vector<double> args;
    if (!accept(u")")) {
      for (;;) {
        args.push_back(parseOr());
        if (accept(u")")) break;
        if (!accept(u",")) fail(kArgumentListWrong);
      }
    }
    if (static_cast<int>(args.size()) != arity) fail(name + u"引数エラー");
    const double r = apply(name, args);
    if (!std::isfinite(r)) fail(kFunctionFailed + failureText(r));
    return plainZero(r);
  }

  static int arityOf(const std::u16string& name) {
    if (name == u"IIF") return 3;
    if (name == u"POWER" || name == u"LOGN") return 2;
    for (const char16_t* one : {u"ABS", u"ZCUT", u"INT", u"ROUND", u"SQRT", u"SIN", u"COS", u"TAN", u"EXP", u"LN"})
      if (name == one) return 1;
    return -1;
  }

  static double apply(const std::u16string& name, const std::vector<double>& a) {
    if (name == u"IIF") return a[0] != 0.0 ? a[1] : a[2];
    if (name == u"ABS") return std::fabs(a[0]);
    if (name == u"ZCUT") return a[0] >= 0.0 ? a[0] : 0.0;
    if (name == u"INT") return std::trunc(a[0]);
    if (name == u"ROUND") {
      const auto r = roundHalfEvenToInt64(a[0]);
      return r ? static_cast<double>(*r) : std::nearbyint(a[0]);
    }
    if (name == u"SQRT") return a[0] < 0.0 ? std::nan("") : std::sqrt(a[0]);
    if (name == u"POWER") return std::pow(a[0], a[1]);
    if (name == u"SIN") return std::sin(a[0]);
    if (name == u"COS") return std::cos(a[0]);
    if (name == u"TAN") return std::tan(a[0]);
    if (name == u"EXP") return std::exp(a[0]);
    if (name == u"LN") return a[0] < 0.0 ? std::nan("") : std::log(a[0]);
    // LOGN(base, x)
    if (a[0] <= 0.0 || a[0] == 1.0 || a[1] < 0.0) return std::nan("");
    return std::log(a[1]) / std::log(a[0]);
  }

  const std::vector<Token>& tokens_;
  std::span<const double> slotValues_;
  size_t pos_ = 0;
  int depth_ = 0;
};

}  // namespace

FormulaOutcome ComputeFormula(std::u16string_view formula) {
  const std::u16string text = asciiUpper(TrimView(formula));
  if (text.empty()) return {};
  try {
    return {FormulaParser(tokenize(text)).parseWhole(), {}};
  } catch (const FormulaFailure& failure) {
    return {kFormulaError, failure.reason};
  }
}

struct PreparedFormula::Tokens {
  std::vector<Token> list;
};

PreparedFormula::PreparedFormula(std::u16string_view formula, const std::vector<std::u16string>& names) {
  const std::u16string text = asciiUpper(TrimView(formula));
  empty_ = text.empty();
  auto tokens = std::make_shared<Tokens>(Tokens{tokenize(text)});
  for (Token& token : tokens->list) {
    if (token.kind != TokenKind::Name) continue;
    for (size_t i = 0; i < names.size(); ++i) {
      if (token.text != names[i]) continue;
      token.kind = TokenKind::Slot;
      token.slot = static_cast<int>(i);
      break;
    }
  }
  tokens_ = std::move(tokens);
}

FormulaOutcome PreparedFormula::compute(std::span<const double> values) const {
  if (empty_) return {};
  try {
    return {FormulaParser(tokens_->list, values).parseWhole(), {}};
  } catch (const FormulaFailure& failure) {
    return {kFormulaError, failure.reason};
  }
}

double FEnzanKisan(std::u16string_view formula, bool quiet, platform::UiSink& ui, SystemErrorLog& log) {
  const FormulaOutcome outcome = ComputeFormula(formula);
  if (outcome.ok()) return outcome.value;
  const std::u16string line = u"構文解析処理: " + outcome.failure + u" :" + std::u16string(TrimView(formula));
  log.append(line);
  if (!quiet) ui.messageBox(line, u"maqo");
  return kFormulaError;
}

}  // namespace maqo::engine
