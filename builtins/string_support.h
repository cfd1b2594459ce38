// Helpers shared by the string builtins: counting in code points, the case
// and yen-sign conventions of searches, and the byte string of an argument.
#pragma once
#include <string>
#include <string_view>

#include "builtins/engine_interface.h"

namespace maqo::builtins::string_support {

// Number of characters, a surrogate pair counting one.
size_t CodePointCount(std::u16string_view text);
// The code-unit offset where the character with that 0-based number starts
// (text.size() when the text has fewer characters).
size_t OffsetOfCharacter(std::u16string_view text, size_t character);

// The text as searches see it: the yen sign as a backslash on a Japanese
// system, and upper case unless OPTION SAMESTR is set. Code-unit positions
// stay those of the text.
std::u16string SearchForm(BuiltinHost& host, std::u16string_view text);
// The yen sign as a backslash on a Japanese system.
std::u16string YenAsBackslash(BuiltinHost& host, std::u16string_view text);

// The ANSI byte string of an argument whose whole value is value and whose
// text is text: a byte string's own bytes, else the text in the code page.
std::string ByteStringOf(BuiltinHost& host, const engine::ScriptValue& value, std::u16string_view text);

// 1-based position of the n-th occurrence of search in text (n below 0
// counting from the end, 0 as 1), occurrences may overlap; 0 when absent or
// when search is empty. Works on any string type.
template <typename String>
size_t NthOccurrence(const String& text, const String& search, int64_t n) {
  if (search.empty() || search.size() > text.size()) return 0;
  if (n == 0) n = 1;
  size_t at = String::npos;
  if (n > 0) {
    size_t from = 0;
    for (int64_t k = 0; k < n; ++k) {
      at = text.find(search, from);
      if (at == String::npos) return 0;
      from = at + 1;
    }
  } else {
    // Counted unsigned: -n overflows for the smallest int64_t.
    const uint64_t count = 0 - static_cast<uint64_t>(n);
    size_t from = String::npos;
    for (uint64_t k = 0; k < count; ++k) {
      at = text.rfind(search, from);
      if (at == String::npos) return 0;
      if (at == 0 && k + 1 < count) return 0;
      from = at - 1;
    }
  }
  return at + 1;
}

}  // namespace maqo::builtins::string_support
