#include "engine/reader/reader_text.h"

#include "platform/text_codec.h"

namespace maqo::engine::reader_text {

namespace {

bool isWideSpace(char16_t c) { return c == u' ' || c == kFullWidthSpace || c == u'\t'; }

bool isMemberChar(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'$' ||
         c == u'_' || c == u'@';
}

}  // namespace

std::u16string StripComment(std::u16string_view line) {
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == u'"') {
      quoted = !quoted;
    } else if (!quoted && line[i] == u'/' && i + 1 < line.size() && line[i + 1] == u'/') {
      return std::u16string(line.substr(0, i));
    }
  }
  return std::u16string(line);
}

std::u16string_view TrimScriptView(std::u16string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && isWideSpace(text[b])) ++b;
  while (e > b && isWideSpace(text[e - 1])) --e;
  while (b < e && text[b] <= u' ') ++b;
  while (e > b && text[e - 1] <= u' ') --e;
  return text.substr(b, e - b);
}

std::u16string TrimScript(std::u16string_view text) { return std::u16string(TrimScriptView(text)); }

bool HasWideSpaceOutsideQuotes(std::u16string_view text) {
  bool quoted = false;
  for (char16_t c : text) {
    if (c == u'"') quoted = !quoted;
    else if (!quoted && (c == kFullWidthSpace || c == u'\t')) return true;
  }
  return false;
}

std::u16string WideSpacesToSpaces(std::u16string_view text) {
  std::u16string out(text);
  bool quoted = false;
  for (auto& c : out) {
    if (c == u'"') quoted = !quoted;
    else if (!quoted && (c == kFullWidthSpace || c == u'\t')) c = u' ';
  }
  return out;
}

std::u16string UpperOutsideQuotes(std::u16string_view text, bool keepMemberCase) {
  std::u16string out(text);
  bool quoted = false;
  bool member = false;  // inside an identifier that follows a "."
  for (auto& c : out) {
    if (c == u'"') {
      quoted = !quoted;
      member = false;
      continue;
    }
    if (quoted) continue;
    if (member && isMemberChar(c)) continue;
    member = keepMemberCase && c == u'.';
    c = asciiUpper(c);
  }
  return out;
}

size_t FindOutsideQuotes(std::u16string_view text, std::u16string_view needle, size_t from) {
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (i >= from && !quoted && text.substr(i, needle.size()) == needle) return i;
    if (text[i] == u'"') quoted = !quoted;
  }
  return std::u16string_view::npos;
}

std::u16string Word(std::u16string_view line, size_t n) {
  size_t i = 0;
  for (;;) {
    while (i < line.size() && (line[i] == u';' || line[i] == u' ')) ++i;
    if (i >= line.size()) return {};
    size_t j = i;
    while (j < line.size() && line[j] != u';' && line[j] != u' ') ++j;
    if (n == 0) return asciiUpper(TrimScript(line.substr(i, j - i)));
    --n;
    i = j;
  }
}

bool StartsWithUpper(std::u16string_view text, std::u16string_view upperPrefix) {
  if (text.size() < upperPrefix.size()) return false;
  for (size_t i = 0; i < upperPrefix.size(); ++i)
    if (asciiUpper(text[i]) != upperPrefix[i]) return false;
  return true;
}

std::u16string ReplaceAllText(std::u16string text, std::u16string_view what, std::u16string_view with) {
  if (what.empty()) return text;
  size_t pos = 0;
  while ((pos = text.find(what, pos)) != std::u16string::npos) {
    text.replace(pos, what.size(), with);
    pos += with.size();
  }
  return text;
}

}  // namespace maqo::engine::reader_text
