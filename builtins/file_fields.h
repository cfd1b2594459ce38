// The fields of a line in a file slot: comma- (or tab-) separated, with the
// quote modes of FGET and FPUT.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/values/script_value.h"

namespace maqo::builtins {

// FGET/FPUT quote modes.
enum class QuoteMode : int {
  StripSimple = 0,  // FGET removes one pair of enclosing quotes
  Keep = 1,         // fields keep their quotes
  Doubled = 2,      // enclosing quotes with "" inside for one quote
  Ignore = 3,       // quotes do not protect delimiters
};

QuoteMode QuoteModeOf(int64_t value);  // other values behave as 1 (quotes kept)

// Trims code units up to U+0020 at both ends, except TAB.
std::u16string_view TrimFieldView(std::u16string_view text);

// Takes the next field off the front of rest (rest keeps what follows the
// delimiter). Delimiters inside double quotes do not split unless the mode is Ignore.
std::u16string SplitOffField(std::u16string& rest, char16_t delimiter, QuoteMode mode);
// The same on a view into the line: copies nothing.
std::u16string_view SplitOffFieldView(std::u16string_view& rest, char16_t delimiter, QuoteMode mode);

// A field as FGET returns it after trimming: the quote handling of the mode.
// quotedText tells that quotes were removed in mode 0 (the field stays a text).
struct FieldText {
  std::u16string text;
  bool quotedText = false;
};
FieldText UnquoteField(std::u16string_view trimmed, QuoteMode mode);

// The text FPUT stores as a field: in mode 2 a text with a double quote or a
// delimiter is enclosed with its quotes doubled; in modes 0 and 1 a text that
// would not read back as one field (a delimiter outside quotes, an unbalanced
// quote) is enclosed the same way. Mode 3 writes the text as it is.
std::u16string QuoteFieldForWrite(std::u16string_view text, char16_t delimiter, QuoteMode mode);

// line with field k (1-based) replaced by field (already quoted for writing):
// the first k - 1 fields are kept, field k dropped, and the rest after it kept
// when it holds more than blanks.
std::u16string ReplaceField(std::u16string line, int64_t k, std::u16string_view field, char16_t delimiter,
                            QuoteMode mode);

// How FGET and READINI hand back a text: one that passes the loose number test
// (untrimmed) becomes an 8-bit string, so that "+" adds two of them as numbers;
// keepAsText (a value that was unquoted) keeps it a string.
engine::ScriptValue TextOrNumberResult(const std::u16string& text, bool keepAsText);

}  // namespace maqo::builtins
