#include "com/spreadsheet/cell_reference.h"

namespace maqo::com::spreadsheet {

namespace {

char16_t upperLetter(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

}  // namespace

std::optional<int64_t> ColumnNumber(std::u16string_view letters) {
  if (letters.empty() || letters.size() > kMaxColumnLetters) return std::nullopt;
  int64_t column = 0;
  for (char16_t c : letters) {
    c = upperLetter(c);
    if (c < u'A' || c > u'Z') return std::nullopt;
    column = column * 26 + (c - u'A' + 1);
  }
  return column;
}

std::u16string ColumnLetters(int64_t column) {
  std::u16string letters;
  while (column > 0) {
    const int64_t digit = (column - 1) % 26;
    letters.insert(letters.begin(), static_cast<char16_t>(u'A' + digit));
    column = (column - 1) / 26;
  }
  return letters;
}

std::u16string CellAddress(int64_t row, int64_t column) {
  std::u16string address = ColumnLetters(column);
  for (char c : std::to_string(row)) address += static_cast<char16_t>(c);
  return address;
}

std::optional<CellPosition> ParseCellReference(std::u16string_view reference) {
  std::u16string letters;
  size_t i = 0;
  for (; i < reference.size() && !(reference[i] >= u'0' && reference[i] <= u'9'); ++i) {
    if (reference[i] == u'$' || reference[i] == u' ') continue;
    letters += reference[i];
  }
  CellPosition position;
  if (!letters.empty()) {
    const std::optional<int64_t> column = ColumnNumber(letters);
    if (!column) return std::nullopt;
    position.column = *column;
  }
  size_t digits = 0;
  for (; i < reference.size() && reference[i] >= u'0' && reference[i] <= u'9'; ++i) {
    if (++digits > kMaxRowDigits) return std::nullopt;
    position.row = position.row * 10 + (reference[i] - u'0');
  }
  return position;
}

std::u16string AddressArgument(const engine::BuiltinArgument& address, const engine::BuiltinArgument& next) {
  if (address.isNumber && next.isNumber && address.integer > 0 && next.integer > 0)
    return CellAddress(address.integer, next.integer);
  return address.text;
}

std::optional<std::u16string> ExtendRange(std::u16string_view address, int64_t rows, int64_t columns) {
  std::u16string upper;
  for (char16_t c : address) upper += upperLetter(c);
  if (upper.find(u':') != std::u16string::npos) return upper;
  const std::optional<CellPosition> start = ParseCellReference(upper);
  if (!start || start->row <= 0 || start->column <= 0) return std::nullopt;
  return upper + u":" + CellAddress(start->row + rows - 1, start->column + columns - 1);
}

}  // namespace maqo::com::spreadsheet
