// COPY, LENGTHS, POS, BETWEENSTR, CHGMOJ/REPLACE, TRIM, CHKNUM, VAL, CHR, ASC,
// STRCONV and the family table. FORMAT, LENGTH and TOKEN are in
// string_format.cpp and string_variables.cpp, the byte-string builtins in
// string_bytes.cpp.
#include "builtins/string_builtins.h"

#include <algorithm>
#include <cmath>

#include "builtins/builtin_messages.h"
#include "builtins/constants.h"
#include "builtins/engine_interface.h"
#include "builtins/string_support.h"
#include "builtins/text_tables.h"
#include "engine/eval/text_helpers.h"
#include "engine/values/number_text.h"

namespace maqo::builtins {

using engine::ScriptValue;
using namespace string_support;

// Defined in the other string units.
ScriptValue FormatBuiltin(BuiltinCall& call, BuiltinHost& host);
ScriptValue LengthBuiltin(BuiltinCall& call, BuiltinHost& host);
ScriptValue TokenBuiltin(BuiltinCall& call, BuiltinHost& host);
ScriptValue LengthBBuiltin(BuiltinCall& call, BuiltinHost& host);
ScriptValue CopyBBuiltin(BuiltinCall& call, BuiltinHost& host);
ScriptValue PosBBuiltin(BuiltinCall& call, BuiltinHost& host);
ScriptValue AscBBuiltin(BuiltinCall& call, BuiltinHost& host);
ScriptValue ChrBBuiltin(BuiltinCall& call, BuiltinHost& host);
ScriptValue IsUnicodeBuiltin(BuiltinCall& call, BuiltinHost& host);
ScriptValue EncodeBuiltin(BuiltinCall& call, BuiltinHost& host);
ScriptValue DecodeBuiltin(BuiltinCall& call, BuiltinHost& host);

namespace {

ScriptValue count(size_t n) { return ScriptValue::number(static_cast<double>(n)); }

// COPY(text, start, [count]): counted in characters.
ScriptValue copyBuiltin(BuiltinCall& call, BuiltinHost&) {
  const std::u16string& text = call.text(0);
  int64_t start = call.integer(1);
  if (start < 1) start = 1;
  const size_t begin = OffsetOfCharacter(text, static_cast<size_t>(start - 1));
  if (begin >= text.size()) return ScriptValue::string(u"");
  if (call.count() < 3) return ScriptValue::string(text.substr(begin));
  int64_t n = call.integer(2);
  if (n <= 0) return ScriptValue::string(u"");
  if (n > static_cast<int64_t>(text.size())) n = static_cast<int64_t>(text.size());
  const std::u16string_view rest = std::u16string_view(text).substr(begin);
  return ScriptValue::string(std::u16string(rest.substr(0, OffsetOfCharacter(rest, static_cast<size_t>(n)))));
}

ScriptValue lengthSBuiltin(BuiltinCall& call, BuiltinHost&) { return count(call.text(0).size()); }

// POS(search, text, [n]).
ScriptValue posBuiltin(BuiltinCall& call, BuiltinHost& host) {
  const std::u16string search = SearchForm(host, call.text(0));
  const std::u16string text = SearchForm(host, call.text(1));
  const size_t at = NthOccurrence(text, search, call.count() >= 3 ? call.integer(2) : 1);
  if (at <= 1) return count(at);
  return count(CodePointCount(std::u16string_view(call.text(1)).substr(0, at - 1)) + 1);
}

// BETWEENSTR(text, [from], [to], [n], [overlap]).
ScriptValue betweenBuiltin(BuiltinCall& call, BuiltinHost& host) {
  std::u16string original = YenAsBackslash(host, call.text(0));
  std::u16string text = SearchForm(host, call.text(0));
  std::u16string from = SearchForm(host, call.text(1));
  std::u16string to = SearchForm(host, call.text(2));
  int64_t n = call.count() >= 4 ? call.integer(3) : 1;
  const bool overlap = call.count() >= 5 && call.integer(4) != 0;
  if (n == 0) n = 1;
  // An empty "from" stands for the start of the text, an empty "to" for its end.
  bool fromStart = from.empty(), toEnd = to.empty();
  const bool reversed = n < 0;
  // Counted unsigned: -n overflows for the smallest int64_t.
  const uint64_t rounds = reversed ? 0 - static_cast<uint64_t>(n) : static_cast<uint64_t>(n);
  if (reversed) {
    std::reverse(original.begin(), original.end());
    std::reverse(text.begin(), text.end());
    std::swap(from, to);
    std::swap(fromStart, toEnd);
    std::reverse(from.begin(), from.end());
    std::reverse(to.begin(), to.end());
  }
  size_t position = 0;
  for (uint64_t round = 1; round <= rounds; ++round) {
    size_t fromAt = position;
    if (!fromStart) {
      fromAt = text.find(from, position);
      if (fromAt == std::u16string::npos) return ScriptValue();
    }
    const size_t start = fromAt + from.size();
    // An empty "to" is a mark after the last character: found once, and
    // a pair that ends there leaves nothing behind it.
    const size_t toAt = toEnd ? (start <= text.size() ? text.size() : std::u16string::npos) : text.find(to, start);
    if (toAt == std::u16string::npos) return ScriptValue();
    const size_t next = overlap ? (fromStart ? start : fromAt + 1) : toAt + (toEnd ? 1 : to.size());
    // When the search stands still (an empty "from" or "to"), every later
    // round finds the same pair again: this round's text is the answer.
    if (round == rounds || next == position) {
      std::u16string result = original.substr(start, toAt - start);
      if (reversed) std::reverse(result.begin(), result.end());
      return ScriptValue::string(std::move(result));
    }
    position = next;
  }
  return ScriptValue();
}

// CHGMOJ and REPLACE(text, old, new).
ScriptValue replaceBuiltin(BuiltinCall& call, BuiltinHost& host) {
  const std::u16string text = YenAsBackslash(host, call.text(0));
  const std::u16string old = YenAsBackslash(host, call.text(1));
  // Nothing to look for: the text stays as it is.
  if (old.empty()) return ScriptValue::string(text);
  return ScriptValue::string(engine::ReplaceAll(text, old, call.text(2), !SameStrOption(host)));
}

bool isWideBlank(char16_t c) {
  return c <= 32 || c == 0xA0 || (c >= 0x2000 && c <= 0x200B) || (c >= 0x2029 && c <= 0x202F) || c == 0x205F ||
         c == 0x3000 || c == 0xFEFF;
}

std::u16string_view trimmed(std::u16string_view text, bool wide) {
  auto blank = [wide](char16_t c) { return wide ? isWideBlank(c) : c <= 32; };
  size_t b = 0, e = text.size();
  while (b < e && blank(text[b])) ++b;
  while (e > b && blank(text[e - 1])) --e;
  return text.substr(b, e - b);
}

ScriptValue trimBuiltin(BuiltinCall& call, BuiltinHost&) {
  return ScriptValue::string(std::u16string(trimmed(call.text(0), call.integer(1) != 0)));
}

ScriptValue chkNumBuiltin(BuiltinCall& call, BuiltinHost&) {
  return ScriptValue::builtinBool(engine::isNumberText(call.text(0), engine::NumberTextMode::Strict, false));
}

// VAL(text, [error value], [names]).
ScriptValue valBuiltin(BuiltinCall& call, BuiltinHost&) {
  constexpr double kUnresolved = -888888, kFailed = -999999;
  std::u16string text(trimmed(call.text(0), true));
  std::erase(text, u',');
  text = engine::UpperCase(text);
  if (auto number = engine::parseNumberText(text, engine::NumberTextMode::Loose)) return ScriptValue::number(*number);
  double result = kUnresolved;
  if (call.count() >= 3 && call.number(2) > 0) {
    if (text == u"TRUE")
      result = 1;
    else if (text == u"FALSE")
      result = 0;
    else if (auto constant = FindBuiltinConstant(text))
      result = *constant;
  }
  if (result != kUnresolved) return ScriptValue::number(result);
  if (auto converted = call.first.tryToDouble()) return ScriptValue::number(*converted);
  if (call.count() == 2 || (call.count() >= 3 && !call.text(1).empty())) return call.second;
  return ScriptValue::number(kFailed);
}

// CHR(code): one UTF-16 unit up to U+FFFF, a surrogate pair above.
ScriptValue chrBuiltin(BuiltinCall& call, BuiltinHost&) {
  const int64_t code = call.integer(0);
  if (code < 0 || code > 0x10FFFF)
    throw messages::callFailure(messages::cat(u"CHR: no character has the code ", call.text(0)),
                                messages::cat(u"CHR: この値の文字はありません: ", call.text(0)));
  std::u16string out;
  if (code <= 0xFFFF) {
    out += static_cast<char16_t>(code);
  } else {
    const auto v = static_cast<uint32_t>(code - 0x10000);
    out += static_cast<char16_t>(0xD800 + (v >> 10));
    out += static_cast<char16_t>(0xDC00 + (v & 0x3FF));
  }
  return ScriptValue::string(std::move(out));
}

// ASC(text): the code point of the first character; 0 for the empty text.
ScriptValue ascBuiltin(BuiltinCall& call, BuiltinHost&) {
  const std::u16string& text = call.text(0);
  if (text.empty()) return ScriptValue::number(0);
  const char16_t c = text[0];
  if (c >= 0xD800 && c <= 0xDBFF && text.size() > 1 && text[1] >= 0xDC00 && text[1] <= 0xDFFF)
    return ScriptValue::number(0x10000 + ((c - 0xD800) << 10) + (text[1] - 0xDC00));
  return ScriptValue::number(c);
}

// STRCONV(text, conversion): the text unchanged when the mapping is refused.
ScriptValue strConvBuiltin(BuiltinCall& call, BuiltinHost&) {
  const int64_t flags = call.integer(1);
  if (flags <= 0 || flags > 0xFFFFFFFF) return ScriptValue::string(call.text(0));
  auto mapped = MapTextLikeWindows(call.text(0), static_cast<uint32_t>(flags));
  return ScriptValue::string(mapped ? std::move(*mapped) : call.text(0));
}

const NamedBuiltin kStringBuiltins[] = {
    {u"COPY", copyBuiltin},         {u"LENGTH", LengthBuiltin},      {u"POS", posBuiltin},
    {u"CHKNUM", chkNumBuiltin},     {u"VAL", valBuiltin},            {u"FORMAT", FormatBuiltin},
    {u"CHGMOJ", replaceBuiltin},    {u"TRIM", trimBuiltin},          {u"CHR", chrBuiltin},
    {u"ASC", ascBuiltin},           {u"TOKEN", TokenBuiltin},        {u"LENGTHB", LengthBBuiltin},
    {u"COPYB", CopyBBuiltin},       {u"POSB", PosBBuiltin},          {u"ISUNICODE", IsUnicodeBuiltin},
    {u"STRCONV", strConvBuiltin},   {u"ENCODE", EncodeBuiltin},      {u"DECODE", DecodeBuiltin},
    {u"REPLACE", replaceBuiltin},   {u"ASCB", AscBBuiltin},          {u"BETWEENSTR", betweenBuiltin},
    {u"CHRB", ChrBBuiltin},         {u"LENGTHS", lengthSBuiltin},
};

}  // namespace

std::span<const NamedBuiltin> StringBuiltins() { return kStringBuiltins; }

BuiltinFunction FindNamedBuiltin(std::span<const NamedBuiltin> table, std::u16string_view name) {
  for (const auto& entry : table)
    if (entry.name == name) return entry.function;
  return nullptr;
}

}  // namespace maqo::builtins
