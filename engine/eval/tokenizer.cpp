#include "engine/eval/tokenizer.h"

#include "engine/values/number_text.h"
#include "platform/text_codec.h"

namespace maqo::engine {

namespace {

constexpr size_t npos = std::u16string_view::npos;

bool isSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\u3000' || c == u'\r' || c == u'\n'; }
bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool isHexOrDollar(char16_t c) {
  return isDigit(c) || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f') || c == u'$';
}

bool endsWord(char16_t c) {
  switch (c) {
    case u'(': case u')': case u',': case u'+': case u'-': case u'*': case u'/':
    case u'=': case u'<': case u'>': case u'!':
      return true;
    default:
      return isSpace(c);
  }
}

// End of the word starting at i: the first top-level word delimiter (outside
// quotes and brackets). With parensCounted, "(" is no delimiter and a ")" ends
// the word only when it closes nothing inside it. npos when a quote is left open.
size_t wordEnd(std::u16string_view s, size_t i, bool parensCounted) {
  bool inQuote = false;
  size_t brackets = 0, parens = 0;
  for (size_t j = i; j < s.size(); ++j) {
    const char16_t c = s[j];
    if (inQuote) {
      if (c == u'"') inQuote = false;
      continue;
    }
    if (c == u'"') {
      inQuote = true;
    } else if (c == u'[') {
      ++brackets;
    } else if (c == u']') {
      if (brackets > 0) --brackets;
    } else if (brackets > 0) {
      continue;
    } else if (parensCounted && c == u'(') {
      ++parens;
    } else if (parensCounted && c == u')' && parens > 0) {
      --parens;
    } else if (parens == 0 && endsWord(c)) {
      return j;
    }
  }
  return inQuote ? npos : s.size();
}

// Position of the ")" that closes the "(" at open, quotes respected; npos when none.
size_t matchingParen(std::u16string_view s, size_t open) {
  bool inQuote = false;
  size_t depth = 0;
  for (size_t j = open; j < s.size(); ++j) {
    const char16_t c = s[j];
    if (inQuote) {
      if (c == u'"') inQuote = false;
    } else if (c == u'"') {
      inQuote = true;
    } else if (c == u'(') {
      ++depth;
    } else if (c == u')' && --depth == 0) {
      return j;
    }
  }
  return npos;
}

// End of the number starting at i: hexadecimal digits and "$", a "." next to a
// digit, and a sign right after the exponent letter of a digit when a digit follows.
size_t numberEnd(std::u16string_view s, size_t i) {
  size_t j = i + 1;
  for (; j < s.size(); ++j) {
    const char16_t c = s[j], prev = s[j - 1];
    const bool digitNext = j + 1 < s.size() && isDigit(s[j + 1]);
    if (isHexOrDollar(c)) continue;
    if (c == u'.' && (isDigit(prev) || digitNext)) continue;
    if ((c == u'+' || c == u'-') && (prev == u'E' || prev == u'e') && j >= i + 2 && isDigit(s[j - 2]) && digitNext)
      continue;
    break;
  }
  return j;
}

bool operatorAt(std::u16string_view s, size_t i, Token& t) {
  const char16_t c = s[i];
  const char16_t next = i + 1 < s.size() ? s[i + 1] : u'\0';
  switch (c) {
    case u'+': t.kind = TokenKind::Plus; break;
    case u'-': t.kind = TokenKind::Minus; break;
    case u'*': t.kind = TokenKind::Times; break;
    case u'/': t.kind = TokenKind::Divide; break;
    case u'=': t.kind = TokenKind::Equal; break;
    case u'!': t.kind = TokenKind::Not; break;
    case u'>':
      t.kind = next == u'=' ? TokenKind::GreaterEqual : TokenKind::Greater;
      break;
    case u'<':
      t.kind = next == u'=' ? TokenKind::LessEqual : next == u'>' ? TokenKind::NotEqual : TokenKind::Less;
      break;
    default:
      return false;  // "," or a lone ")" handled elsewhere
  }
  const bool twoChars = t.kind == TokenKind::GreaterEqual || t.kind == TokenKind::LessEqual || t.kind == TokenKind::NotEqual;
  t.text = std::u16string(s.substr(i, twoChars ? 2 : 1));
  return true;
}

}  // namespace

bool TokenizeExpression(std::u16string_view s, std::vector<Token>& tokens) {
  tokens.clear();
  size_t i = 0;
  for (;;) {
    while (i < s.size() && isSpace(s[i])) ++i;
    if (i >= s.size()) return true;
    const char16_t c = s[i];
    Token t{TokenKind::Name, {}};

    if (c == u'"') {
      // The literal runs to the next quote; quotes right after the closing one
      // belong to the literal, one each.
      const size_t close = s.find(u'"', i + 1);
      if (close == npos) return false;
      t.kind = TokenKind::String;
      t.text = std::u16string(s.substr(i + 1, close - i - 1));
      i = close + 1;
      while (i < s.size() && s[i] == u'"') {
        t.text += u'"';
        ++i;
      }
    } else if (c == u'(' || c == u')') {
      t.kind = TokenKind::Paren;
      t.text = std::u16string(1, c);
      ++i;
    } else if (isDigit(c) || c == u'$') {
      const size_t end = numberEnd(s, i);
      t.kind = TokenKind::Number;
      t.text = std::u16string(s.substr(i, end - i));
      const auto value = parseNumberText(t.text, NumberTextMode::Strict, false);
      if (!value) return false;
      t.number = *value;
      i = end;
    } else {
      const size_t end = wordEnd(s, i, false);
      if (end == npos) return false;
      if (end == i) {
        if (!operatorAt(s, i, t)) return false;
        i += t.text.size();
      } else {
        const std::u16string_view word = s.substr(i, end - i);
        const std::u16string upper = asciiUpper(word);
        if (upper == u"AND") t.kind = TokenKind::And;
        else if (upper == u"OR") t.kind = TokenKind::Or;
        else if (upper == u"XOR") t.kind = TokenKind::Xor;
        else if (upper == u"MOD") t.kind = TokenKind::Mod;
        else if (end < s.size() && s[end] == u'(') t.kind = TokenKind::Call;
        else if (word[0] == u'[') t.kind = TokenKind::IndexSuffix;
        else t.kind = TokenKind::Name;

        size_t next = end;
        if (t.kind == TokenKind::Call) {
          // The call takes its argument list to the matching ")", and a member
          // chain written right after it (F(1).NAME, OBJ.ITEM(1).VALUE).
          const size_t close = matchingParen(s, end);
          if (close == npos) return false;
          next = close + 1;
          if (next < s.size() && s[next] == u'.') {
            next = wordEnd(s, next, true);
            if (next == npos) return false;
          }
          t.open = end - i;
          t.close = close - i;
        }
        t.text = std::u16string(s.substr(i, next - i));
        i = next;
      }
    }
    tokens.push_back(std::move(t));
  }
}

}  // namespace maqo::engine
