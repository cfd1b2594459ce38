#include "engine/eval/text_helpers.h"

#include "platform/letter_case.h"

namespace maqo::engine {

namespace {

// Follows quotes, brackets and parentheses one character at a time and tells
// whether each character stands at top level.
class LevelTracker {
 public:
  explicit LevelTracker(bool quotes, bool brackets, bool parens)
      : quotes_(quotes), brackets_(brackets), parens_(parens) {}

  bool step(char16_t c) {
    if (inQuote_) {
      if (c != u'"') return false;
      inQuote_ = false;
      return outside();
    }
    if (quotes_ && c == u'"') {
      inQuote_ = true;
      return outside();
    }
    // A closing bracket belongs to the level it returns to, an opening one to
    // the level it leaves; an unmatched closer is simply at top level.
    if (parens_ && c == u')') {
      if (paren_ > 0) --paren_;
      return outside();
    }
    if (brackets_ && c == u']') {
      if (bracket_ > 0) --bracket_;
      return outside();
    }
    const bool top = outside();
    if (parens_ && c == u'(') ++paren_;
    if (brackets_ && c == u'[') ++bracket_;
    return top;
  }

 private:
  bool outside() const { return paren_ == 0 && bracket_ == 0; }

  bool quotes_, brackets_, parens_;
  bool inQuote_ = false;
  size_t paren_ = 0, bracket_ = 0;
};

// Position of the first top-level delimiter, or npos.
size_t findDelimiter(std::u16string_view text, std::u16string_view delimiters, const SplitRules& rules) {
  LevelTracker level(rules.quotes, rules.brackets, rules.parens);
  for (size_t i = 0; i < text.size(); ++i) {
    const bool top = level.step(text[i]);
    if (top && delimiters.find(text[i]) != std::u16string_view::npos) return i;
  }
  return std::u16string_view::npos;
}

bool isBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\u3000'; }

}  // namespace

SplitPiece SplitOffWithDelimiter(std::u16string& text, std::u16string_view delimiters, SplitRules rules) {
  for (;;) {
    SplitPiece piece;
    const size_t at = findDelimiter(text, delimiters, rules);
    if (at == std::u16string::npos) {
      piece.text = std::move(text);
      text.clear();
    } else {
      piece.text = text.substr(0, at);
      piece.delimiter = std::u16string(1, text[at]);
      text.erase(0, at + 1);
    }
    if (!rules.skipEmpty || !piece.text.empty() || text.empty()) return piece;
  }
}

std::u16string_view SplitOffView(std::u16string_view& text, std::u16string_view delimiters, SplitRules rules) {
  const size_t at = findDelimiter(text, delimiters, rules);
  if (at == std::u16string_view::npos) {
    const std::u16string_view piece = text;
    text = {};
    return piece;
  }
  const std::u16string_view piece = text.substr(0, at);
  text.remove_prefix(at + 1);
  return piece;
}

std::u16string SplitOff(std::u16string& text, std::u16string_view delimiters, SplitRules rules) {
  return SplitOffWithDelimiter(text, delimiters, rules).text;
}

std::vector<std::u16string> SplitAll(std::u16string_view text, std::u16string_view delimiters, SplitRules rules) {
  std::vector<std::u16string> pieces;
  if (text.empty()) return pieces;
  LevelTracker level(rules.quotes, rules.brackets, rules.parens);
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (level.step(text[i]) && delimiters.find(text[i]) != std::u16string_view::npos) {
      if (!rules.skipEmpty || i > start) pieces.emplace_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  if (!rules.skipEmpty || start < text.size()) pieces.emplace_back(text.substr(start));
  return pieces;
}

size_t FindOutside(std::u16string_view search, std::u16string_view text, bool parens, int n, bool brackets) {
  if (search.empty()) return 0;
  if (n < 1) n = 1;
  LevelTracker level(true, brackets, parens);
  size_t skipUntil = 0;  // occurrences do not overlap
  for (size_t i = 0; i < text.size(); ++i) {
    const bool top = level.step(text[i]);
    if (i < skipUntil || !top || text.compare(i, search.size(), search) != 0) continue;
    if (--n == 0) return i + 1;
    skipUntil = i + search.size();
  }
  return 0;
}

int CountOutside(char16_t c, std::u16string_view text, bool brackets, bool parens) {
  LevelTracker level(true, brackets, parens);
  int count = 0;
  for (char16_t ch : text)
    if (level.step(ch) && ch == c) ++count;
  return count;
}

std::u16string ReplaceAll(std::u16string_view text, std::u16string_view oldText, std::u16string_view newText,
                          bool ignoreCase) {
  if (oldText.empty()) return std::u16string(text);
  std::u16string foldedText, foldedOld;
  std::u16string_view haystack = text, needle = oldText;
  if (ignoreCase) {
    // Case folding maps one code unit to one, so positions carry over to text.
    foldedText = UpperCase(text);
    foldedOld = UpperCase(oldText);
    haystack = foldedText;
    needle = foldedOld;
  }
  std::u16string out;
  out.reserve(text.size());
  size_t from = 0;
  for (;;) {
    const size_t at = haystack.find(needle, from);
    if (at == std::u16string_view::npos) break;
    out.append(text.substr(from, at - from));
    out.append(newText);
    from = at + needle.size();
  }
  out.append(text.substr(from));
  return out;
}

char16_t UpperCase(char16_t c) { return platform::upperCaseLetter(c); }

std::u16string UpperCase(std::u16string_view text) { return platform::upperCaseText(text); }

std::u16string_view TrimView(std::u16string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && isBlank(text[b])) ++b;
  while (e > b && isBlank(text[e - 1])) --e;
  return text.substr(b, e - b);
}

std::optional<std::u16string_view> AfterVarKeyword(std::u16string_view argument) {
  if (argument.size() < 5 || argument.substr(0, 3) != u"VAR" || (argument[3] != u' ' && argument[3] != u'\t'))
    return std::nullopt;
  return TrimView(argument.substr(4));
}

}  // namespace maqo::engine
