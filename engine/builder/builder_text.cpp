#include "engine/builder/builder_text.h"

#include "engine/eval/text_helpers.h"

namespace maqo::engine {

std::u16string_view firstWordOf(std::u16string_view line) {
  const size_t space = line.find(u' ');
  return space == std::u16string_view::npos ? line : line.substr(0, space);
}

std::u16string_view afterFirstWord(std::u16string_view line) {
  const size_t space = line.find(u' ');
  return space == std::u16string_view::npos ? std::u16string_view{} : TrimView(line.substr(space + 1));
}

size_t findKeyword(std::u16string_view text, std::u16string_view keyword) {
  size_t offset = 0;
  for (const auto& piece : SplitAll(text, u" ")) {
    if (piece == keyword) return offset;
    if (piece.size() > keyword.size() && endsWith(piece, keyword)) {
      const char16_t before = piece[piece.size() - keyword.size() - 1];
      if (before == u')' || before == u']' || before == u'"') return offset + piece.size() - keyword.size();
    }
    offset += piece.size() + 1;
  }
  return std::u16string_view::npos;
}

bool hasResultToken(std::u16string_view text) {
  static constexpr std::u16string_view kSeparators = u" ,+-*/=<>()!?";
  size_t start = 0;
  bool inQuote = false;
  auto isResult = [&](size_t end) { return end - start == 6 && text.substr(start, 6) == u"RESULT"; };
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'"') {
      // A string is a token of its own that never counts.
      if (!inQuote && isResult(i)) return true;
      inQuote = !inQuote;
      start = i + 1;
      continue;
    }
    if (inQuote) continue;
    if (kSeparators.find(c) != std::u16string_view::npos) {
      if (isResult(i)) return true;
      start = i + 1;
    }
  }
  return !inQuote && isResult(text.size());
}

bool splitDeclaredName(std::u16string_view text, std::u16string_view separators, std::u16string& name) {
  const size_t at = text.find_first_of(separators);
  if (at == std::u16string_view::npos) {
    name = std::u16string(text);
    return true;
  }
  if (at + 1 < text.size()) return false;
  name = std::u16string(text.substr(0, at));
  return true;
}

bool containsOutsideQuotes(std::u16string_view text, char16_t c) { return CountOutside(c, text) > 0; }

}  // namespace maqo::engine
