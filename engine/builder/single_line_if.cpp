#include "engine/builder/single_line_if.h"

#include "engine/builder/build_messages.h"
#include "engine/builder/builder_text.h"
#include "engine/eval/text_helpers.h"

namespace maqo::engine {

namespace {

// Where a keyword that ends the text before it starts: " KEY " or ")KEY "
// outside quotes, whichever comes first. Returns the index of the character
// before the keyword (the space or the ")"), npos when there is none.
size_t findSeparatedKeyword(std::u16string_view text, std::u16string_view spaced, std::u16string_view closed) {
  const size_t a = FindOutside(spaced, text, false);
  const size_t b = FindOutside(closed, text, false);
  if (a == 0 && b == 0) return std::u16string_view::npos;
  if (a == 0) return b - 1;
  if (b == 0) return a - 1;
  return (a < b ? a : b) - 1;
}

// The text before a keyword found by findSeparatedKeyword: a ")" stays with it.
std::u16string_view before(std::u16string_view text, size_t at) {
  return text.substr(0, text[at] == u')' ? at + 1 : at);
}

}  // namespace

SingleLineIf ParseSingleLineIf(std::u16string_view line) {
  SingleLineIf result;
  std::u16string_view rest = afterFirstWord(line);
  if (FindOutside(u" IF ", rest, false) || FindOutside(u" IFB ", rest, false) ||
      FindOutside(u" ELSEIF ", rest, false)) {
    result.error = build_messages::syntaxError(85);
    return result;
  }
  if (const size_t semicolon = FindOutside(u";", rest, false)) {
    if (semicolon != rest.size()) {
      result.error = build_messages::ifLineWithSemicolon();
      return result;
    }
    rest = TrimView(rest.substr(0, rest.size() - 1));
  }

  const size_t then = findSeparatedKeyword(rest, u" THEN ", u")THEN ");
  if (then == std::u16string_view::npos) {
    if (findSeparatedKeyword(rest, u" ELSE ", u")ELSE ") != std::u16string_view::npos) {
      result.error = build_messages::thenMissing();
      return result;
    }
    result.condition = Trim(rest);
    return result;
  }
  result.condition = Trim(before(rest, then));
  result.hasParts = true;
  const std::u16string_view parts = rest.substr(then + 6);  // past " THEN " or ")THEN "
  if (startsWith(parts, u"ELSE ")) {
    result.elsePart = Trim(parts.substr(5));
    return result;
  }
  const size_t elseAt = findSeparatedKeyword(parts, u" ELSE ", u")ELSE ");
  if (elseAt == std::u16string_view::npos) {
    result.thenPart = Trim(parts);
    return result;
  }
  result.thenPart = Trim(before(parts, elseAt));
  result.elsePart = Trim(parts.substr(elseAt + 6));
  return result;
}

}  // namespace maqo::engine
