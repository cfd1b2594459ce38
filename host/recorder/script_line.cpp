#include "host/recorder/script_line.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/text_codec.h"

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
  std::u16string current;
  int depth = 0;
  bool quoted = false;
  for (char16_t c : inside) {
    if (c == u'"') quoted = !quoted;
    else if (!quoted && c == u'(') ++depth;
    else if (!quoted && c == u')' && depth > 0) --depth;
    else if (!quoted && depth == 0 && c == u',') {
      parsed.arguments.push_back(std::move(current));
      current.clear();
      continue;
    }
    current += c;
  }
  if (!inside.empty() || !parsed.arguments.empty()) parsed.arguments.push_back(std::move(current));
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

std::u16string Trim(std::u16string_view text) {
  size_t begin = 0, end = text.size();
  while (begin < end && (text[begin] == u' ' || text[begin] == u'\t')) ++begin;
  while (end > begin && (text[end - 1] == u' ' || text[end - 1] == u'\t')) --end;
  return std::u16string(text.substr(begin, end - begin));
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
  return std::strtod(utf16ToUtf8(text).c_str(), nullptr);
}

std::u16string FormatNumber(double value) {
  char buffer[64];
  if (value == std::floor(value) && std::fabs(value) < 1e15) std::snprintf(buffer, sizeof buffer, "%.0f", value);
  else std::snprintf(buffer, sizeof buffer, "%g", value);
  return u16(buffer);
}

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
