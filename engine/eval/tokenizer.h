// Splits the text of an expression into tokens: string literals, parentheses,
// numbers, calls with their argument text, names with their index suffix,
// index suffixes that follow a call or a parenthesis, and operators.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace maqo::engine {

enum class TokenKind {
  String = 1,        // text: the literal without its quotes
  Paren = 2,         // text: "(" or ")"
  Number = 3,        // text as written; number: its value
  Call = 4,          // text: NAME(arguments) and any member chain after it
  Name = 5,          // text: A, A[1][2], M.X, OBJ.PROP ...
  IndexSuffix = 7,   // text: [1] or [1][2] after a call or a parenthesis
  Plus = 10, Minus = 11, Times = 12, Divide = 13,
  Not = 14,
  Greater = 20, Less = 21, Equal = 22, GreaterEqual = 23, LessEqual = 24, NotEqual = 25,
  And = 30, Or = 31, Xor = 32, Mod = 33,
};

struct Token {
  TokenKind kind;
  std::u16string text;
  double number = 0;
  // Call: offsets in text of the "(" after the name and of its matching ")".
  size_t open = 0, close = 0;
};

// Tokens of text. False when the text holds something that is no token: a
// string without closing quote, a number that fails the strict number test, a
// call without closing ")", a stray ",".
bool TokenizeExpression(std::u16string_view text, std::vector<Token>& tokens);

}  // namespace maqo::engine
