// Small text questions the builder asks of normalised program lines.
#pragma once
#include <string>
#include <string_view>

namespace maqo::engine {

inline bool startsWith(std::u16string_view text, std::u16string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}
inline bool endsWith(std::u16string_view text, std::u16string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

// The text up to the first space (the whole line when it has none).
std::u16string_view firstWordOf(std::u16string_view line);
// The text after the first space, trimmed; empty when there is no space.
std::u16string_view afterFirstWord(std::u16string_view line);

// Position of the keyword as a word of its own at top level (outside quotes,
// brackets and parentheses): a space-separated piece equal to it, or a piece
// that ends with it right after a closing ")", "]" or '"' (as in F(X)TO 5).
// npos when there is none.
size_t findKeyword(std::u16string_view text, std::u16string_view keyword);

// True when the text holds the word RESULT as a token between the separators
// " ,+-*/=<>()!?" outside double quotes (a RESULT inside a string does not count).
bool hasResultToken(std::u16string_view text);

// Names in declarations end at the first of the separators; what may follow
// the separator decides whether the name is valid: nothing at all. Returns the
// name before the separator, or nothing when text follows it.
bool splitDeclaredName(std::u16string_view text, std::u16string_view separators, std::u16string& name);

// Whether c occurs outside double quotes.
bool containsOutsideQuotes(std::u16string_view text, char16_t c);

}  // namespace maqo::engine
