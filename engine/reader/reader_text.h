// Text helpers of the source reader: quote-aware scanning, trimming and case
// folding of one script line. A double quote toggles between inside and
// outside a string; there is no escape for a quote inside a string.
#pragma once
#include <string>
#include <string_view>

namespace maqo::engine::reader_text {

constexpr char16_t kFullWidthSpace = u'\u3000';

// Removes the text from the first "//" outside quotes to the end of the line.
std::u16string StripComment(std::u16string_view line);

// Trims spaces, full-width spaces and tabs from both ends, then any remaining
// characters up to U+0020.
std::u16string TrimScript(std::u16string_view text);
std::u16string_view TrimScriptView(std::u16string_view text);

// True when a full-width space or a tab stands outside quotes.
bool HasWideSpaceOutsideQuotes(std::u16string_view text);
// Every full-width space and tab outside quotes becomes one space.
std::u16string WideSpacesToSpaces(std::u16string_view text);

// Upper-cases the ASCII letters outside quotes. With keepMemberCase an
// identifier directly after a "." (letters, digits, "$", "_", "@") keeps its case.
std::u16string UpperOutsideQuotes(std::u16string_view text, bool keepMemberCase);

// Position of needle outside quotes at or after from, or npos.
size_t FindOutsideQuotes(std::u16string_view text, std::u16string_view needle, size_t from = 0);

// The n-th word (0-based) of a line: words are separated by ";" and spaces,
// empty parts are skipped; the word is trimmed and upper-cased.
std::u16string Word(std::u16string_view line, size_t n);
inline std::u16string FirstWord(std::u16string_view line) { return Word(line, 0); }

// True when text begins with prefix, comparing ASCII letters in upper case.
bool StartsWithUpper(std::u16string_view text, std::u16string_view upperPrefix);

// Replaces every occurrence of what by with.
std::u16string ReplaceAllText(std::u16string text, std::u16string_view what, std::u16string_view with);

}  // namespace maqo::engine::reader_text
