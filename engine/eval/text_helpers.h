// Text helpers that split, search and replace statement text while respecting
// the structure of script text: double-quoted strings, [index] brackets and
// (argument) parentheses. Used throughout the engine and the builtins.
//
// "Top level" means outside double quotes and, where asked, outside [] and ().
// The brackets of a group count as part of the level they open from: in
// F(A)OR(B) the ")" and "(" around OR are at top level, the A is not. So a
// delimiter ")" ends a word at the ")" that closes its argument list.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace maqo::engine {

struct SplitRules {
  bool skipEmpty = false;  // empty pieces are passed over
  bool quotes = true;      // delimiters inside "..." do not split
  bool brackets = true;    // nor inside [...]
  bool parens = true;      // nor inside (...)
};

// Takes the piece before the first top-level delimiter (any character of
// delimiters) off the front of text; text keeps what follows that delimiter.
// Without a delimiter the piece is the whole text and text becomes empty.
std::u16string SplitOff(std::u16string& text, std::u16string_view delimiters, SplitRules rules = {});

struct SplitPiece {
  std::u16string text;
  std::u16string delimiter;  // the character that ended the piece; empty at the end of the text
};
// As SplitOff, and tells which delimiter ended the piece.
SplitPiece SplitOffWithDelimiter(std::u16string& text, std::u16string_view delimiters, SplitRules rules = {});

// As SplitOff without skipping empty pieces, on a view: returns the piece
// before the first top-level delimiter and moves text past that delimiter
// (to its end when there is none). Copies nothing.
std::u16string_view SplitOffView(std::u16string_view& text, std::u16string_view delimiters, SplitRules rules = {});

// Every piece of text split at top-level delimiters, untrimmed. An empty text
// gives no pieces; a delimiter at the end gives a last empty piece ("A," is "A" and "").
std::vector<std::u16string> SplitAll(std::u16string_view text, std::u16string_view delimiters, SplitRules rules = {});

// 1-based position of the n-th occurrence of search in text outside quotes (and
// outside () when parens, outside [] when brackets); 0 when there is none.
// n below 1 counts as 1.
size_t FindOutside(std::u16string_view search, std::u16string_view text, bool parens, int n = 1, bool brackets = false);

// Number of times c occurs at top level.
int CountOutside(char16_t c, std::u16string_view text, bool brackets = false, bool parens = false);

// text with every occurrence of oldText replaced by newText, scanning left to
// right without re-examining replaced text. Any code unit, U+0000 included, is
// ordinary text. With ignoreCase, letters match regardless of case (UpperCase).
std::u16string ReplaceAll(std::u16string_view text, std::u16string_view oldText, std::u16string_view newText,
                          bool ignoreCase = false);

// Upper case as the Windows system maps it for the scripts' letters: ASCII,
// Latin-1, Latin Extended-A, Greek, Cyrillic and full-width Latin. Every code
// unit maps to exactly one, so positions in the result match the input.
char16_t UpperCase(char16_t c);
std::u16string UpperCase(std::u16string_view text);

// Removes leading and trailing spaces, tabs and full-width spaces.
std::u16string_view TrimView(std::u16string_view text);
inline std::u16string Trim(std::u16string_view text) { return std::u16string(TrimView(text)); }

// An argument written "VAR NAME" (passed by reference): NAME, trimmed; nothing
// for any other argument.
std::optional<std::u16string_view> AfterVarKeyword(std::u16string_view argument);

}  // namespace maqo::engine
