#include "host/recorder/script_line.h"

#include "engine/values/number_text.h"

namespace maqo::host::recorder {

std::u16string_view LineKind(std::u16string_view line) {
  const size_t open = line.find(u'(');
  return open == std::u16string_view::npos ? line : line.substr(0, open);
}

ScriptLine ParseScriptLine(std::u16string_view line) {
  ScriptLine parsed;
  const size_t open = line.find(u'(');
  if (open == std::u16string_view::npos) {
    parsed.kind = std::u16string(line);
    return parsed;
  }
  parsed.kind = std::u16string(line.substr(0, open));
  parsed.hasParentheses = true;
  // The closing parenthesis of the call is the last one; text after it is not an argument.
  size_t close = line.rfind(u')');
  if (close == std::u16string_view::npos || close < open) close = line.size();
  const std::u16string_view inside = line.substr(open + 1, close - open - 1);
  // Top-level commas only: quotes and nested parentheses keep theirs.
  parsed.arguments = engine::SplitAll(inside, u",", engine::SplitRules{false, true, false, true});
  return parsed;
}

std::u16string FormatScriptLine(const ScriptLine& line) {
  if (!line.hasParentheses) return line.kind;
  std::u16string text = line.kind + u"(";
  for (size_t i = 0; i < line.arguments.size(); ++i) {
    if (i) text += u',';
    text += line.arguments[i];
  }
  return text + u")";
}

std::optional<double> ParseNumber(std::u16string_view raw) {
  const std::u16string text = Trim(raw);
  if (text.empty() || text.size() > 40) return std::nullopt;
  size_t i = 0;
  if (text[0] == u'-' || text[0] == u'+') ++i;
  bool digits = false, point = false;
  for (size_t j = i; j < text.size(); ++j) {
    if (text[j] >= u'0' && text[j] <= u'9') digits = true;
    else if (text[j] == u'.' && !point) point = true;
    else return std::nullopt;
  }
  if (!digits) return std::nullopt;
  return engine::parseNumberText(text, engine::NumberTextMode::Strict);
}

std::u16string FormatNumber(double value) { return engine::formatDouble(value); }

std::u16string EscapeForScriptString(std::u16string_view text) {
  std::u16string escaped;
  escaped.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'"') escaped += u"<#DBL>";
    else if (c == u'\t') escaped += u"<#TAB>";
    else if (c == u'\r') {
      escaped += u"<#CR>";
      if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    } else if (c == u'\n') escaped += u"<#CR>";
    else escaped += c;
  }
  return escaped;
}

}  // namespace maqo::host::recorder
