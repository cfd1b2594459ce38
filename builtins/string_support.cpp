#include "builtins/string_support.h"

#include "engine/eval/text_helpers.h"
#include "builtins/engine_interface.h"

namespace maqo::builtins::string_support {

namespace {
bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
}  // namespace

size_t CodePointCount(std::u16string_view text) {
  size_t count = 0;
  for (size_t i = 0; i < text.size(); ++i, ++count)
    if (isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) ++i;
  return count;
}

size_t OffsetOfCharacter(std::u16string_view text, size_t character) {
  size_t i = 0;
  for (size_t k = 0; k < character && i < text.size(); ++k)
    i += isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1]) ? 2 : 1;
  return i;
}

std::u16string YenAsBackslash(BuiltinHost& host, std::u16string_view text) {
  std::u16string out(text);
  if (host.platform().locale.japanese())
    for (auto& c : out)
      if (c == 0xA5) c = u'\\';
  return out;
}

std::u16string SearchForm(BuiltinHost& host, std::u16string_view text) {
  std::u16string out = YenAsBackslash(host, text);
  if (!SameStrOption(host)) out = engine::UpperCase(out);
  return out;
}

std::string ByteStringOf(BuiltinHost& host, const engine::ScriptValue& value, std::u16string_view text) {
  if (value.isByteString()) return value.bytes();
  return host.platform().locale.encodeAnsi(text, nullptr);
}

}  // namespace maqo::builtins::string_support
