// Cell references in A1 notation, shared by both spreadsheet applications:
// column letters in bijective base 26 (A = 1, Z = 26, AA = 27, AAA = 703)
// followed by the row number.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/library/builtin_call.h"

namespace maqo::com::spreadsheet {

struct CellPosition {
  int64_t row = 0;
  int64_t column = 0;
  bool operator==(const CellPosition&) const = default;
};

// More letters than this would pass the 32-bit column range; no spreadsheet
// has such columns, so a longer run of letters is refused, not wrapped.
inline constexpr size_t kMaxColumnLetters = 6;
// Rows beyond nine digits are refused the same way.
inline constexpr size_t kMaxRowDigits = 9;

// The column number of letters (any case); nothing for an empty, over-long
// or non-letter text.
std::optional<int64_t> ColumnNumber(std::u16string_view letters);
// The letters of a column number (1 gives "A"); empty for 0 or less.
std::u16string ColumnLetters(int64_t column);
// Column letters followed by the row: CellAddress(2, 3) is "C2".
std::u16string CellAddress(int64_t row, int64_t column);

// Reads one cell reference: "$" signs are skipped, the letters before the
// first digit give the column, the number from the first digit on the row
// (0 when there are no digits). Nothing when the letters or digits are too
// many for a real sheet.
std::optional<CellPosition> ParseCellReference(std::u16string_view reference);

// The address a builtin's address argument stands for: when it and the
// argument after it are both positive numbers they are the row and the
// column; otherwise the argument's text as written.
std::u16string AddressArgument(const engine::BuiltinArgument& address, const engine::BuiltinArgument& next);

// Widens a single-cell address to the block an array of rows x columns
// fills from it ("B2" with 2 x 3 gives "B2:D3"). The address is upper-cased;
// one that already names a range (has ":") is kept. Nothing when the start
// cell cannot be read.
std::optional<std::u16string> ExtendRange(std::u16string_view address, int64_t rows, int64_t columns);

}  // namespace maqo::com::spreadsheet
