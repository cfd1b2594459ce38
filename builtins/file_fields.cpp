#include "builtins/file_fields.h"

#include "engine/eval/text_helpers.h"
#include "engine/values/number_text.h"

namespace maqo::builtins {

namespace {

bool isTrimmed(char16_t c) { return c <= u' ' && c != u'\t'; }

engine::SplitRules rulesFor(QuoteMode mode) {
  engine::SplitRules rules;
  rules.quotes = mode != QuoteMode::Ignore;
  rules.brackets = false;
  rules.parens = false;
  return rules;
}

std::u16string enclose(std::u16string_view text) {
  std::u16string out = u"\"";
  for (char16_t c : text) {
    out += c;
    if (c == u'"') out += u'"';
  }
  out += u'"';
  return out;
}

}  // namespace

QuoteMode QuoteModeOf(int64_t value) {
  switch (value) {
    case 0: return QuoteMode::StripSimple;
    case 2: return QuoteMode::Doubled;
    case 3: return QuoteMode::Ignore;
    default: return QuoteMode::Keep;
  }
}

std::u16string_view TrimFieldView(std::u16string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && isTrimmed(text[b])) ++b;
  while (e > b && isTrimmed(text[e - 1])) --e;
  return text.substr(b, e - b);
}


std::u16string SplitOffField(std::u16string& rest, char16_t delimiter, QuoteMode mode) {
  return engine::SplitOff(rest, std::u16string_view(&delimiter, 1), rulesFor(mode));
}

std::u16string_view SplitOffFieldView(std::u16string_view& rest, char16_t delimiter, QuoteMode mode) {
  return engine::SplitOffView(rest, std::u16string_view(&delimiter, 1), rulesFor(mode));
}

FieldText UnquoteField(std::u16string_view t, QuoteMode mode) {
  FieldText out{std::u16string(t), false};
  if (t.size() < 2 || t.front() != u'"') return out;
  if (mode == QuoteMode::StripSimple) {
    if (t.back() == u'"' && t.substr(1, t.size() - 2).find(u'"') == std::u16string_view::npos) {
      out.text = std::u16string(t.substr(1, t.size() - 2));
      out.quotedText = true;
    }
  } else if (mode == QuoteMode::Doubled) {
    std::u16string_view inner = t.back() == u'"' ? t.substr(1, t.size() - 2) : t;
    out.text = engine::ReplaceAll(inner, u"\"\"", u"\"");
  }
  return out;
}

std::u16string QuoteFieldForWrite(std::u16string_view text, char16_t delimiter, QuoteMode mode) {
  if (mode == QuoteMode::Ignore) return std::u16string(text);
  if (mode == QuoteMode::Doubled && text.find(u'"') != std::u16string_view::npos) return enclose(text);
  // The field must end where the text ends: a delimiter outside quotes, or an
  // unbalanced quote that would run on into the next fields, needs enclosing.
  const std::u16string_view d(&delimiter, 1);
  std::u16string probe = std::u16string(text) + delimiter;
  const engine::SplitPiece piece = engine::SplitOffWithDelimiter(probe, d, rulesFor(mode));
  const bool oneField = piece.text == text && !piece.delimiter.empty() && probe.empty();
  return oneField ? std::u16string(text) : enclose(text);
}

std::u16string ReplaceField(std::u16string line, int64_t k, std::u16string_view field, char16_t delimiter,
                            QuoteMode mode) {
  std::u16string joined;
  for (int64_t i = 1; i < k; ++i) {
    if (i > 1) joined += delimiter;
    joined += SplitOffField(line, delimiter, mode);
  }
  SplitOffField(line, delimiter, mode);  // the old field k
  std::u16string out = joined;
  if (k >= 2) out += delimiter;
  out += field;
  if (!TrimFieldView(line).empty()) {
    out += delimiter;
    out += line;
  }
  return out;
}

engine::ScriptValue TextOrNumberResult(const std::u16string& text, bool keepAsText) {
  if (!keepAsText && engine::isNumberText(text, engine::NumberTextMode::Loose, false)) {
    std::string bytes(text.size(), '\0');
    for (size_t i = 0; i < text.size(); ++i) bytes[i] = static_cast<char>(text[i]);  // number texts are ASCII
    return engine::ScriptValue::byteString(bytes);
  }
  return engine::ScriptValue::string(text);
}

}  // namespace maqo::builtins
