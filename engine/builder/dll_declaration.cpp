#include "engine/builder/dll_declaration.h"

#include <array>
#include <utility>

#include "engine/builder/build_messages.h"
#include "engine/builder/builder_text.h"
#include "engine/eval/text_helpers.h"
#include "platform/text_codec.h"

namespace maqo::engine {

namespace {

constexpr int kChar = 9, kWChar = 10, kVoid = 16;

int baseTypeCode(std::u16string_view word) {
  static constexpr std::array<std::pair<std::u16string_view, int>, 26> kTypes{{
      {u"INT", 1},       {u"BOOL", 1},      {u"LONG", 1},      {u"FLOAT", 2},     {u"DOUBLE", 3},
      {u"STRING", 4},    {u"PCHAR", 5},     {u"PBYTE", 5},     {u"WORD", 6},      {u"DWORD", 7},
      {u"UINT", 7},      {u"HWND", 7},      {u"HMENU", 7},     {u"BYTE", 8},      {u"BOOLEAN", 8},
      {u"CHAR", kChar},  {u"WCHAR", kWChar}, {u"LONGLONG", 11}, {u"EXTENDED", 12}, {u"WSTRING", 13},
      {u"PWCHAR", 14},   {u"VOID", kVoid},  {u"VARIANT", 17},  {u"SAFEARRAY", 18}, {u"{", kDllStructBegin},
      {u"}", kDllStructEnd},
  }};
  for (const auto& [name, code] : kTypes)
    if (name == word) return code;
  return 0;
}

}  // namespace

int DllTypeCode(std::u16string_view typeWord) {
  std::u16string_view word = TrimView(typeWord);
  bool byReference = false;
  if (startsWith(word, u"VAR ")) {
    byReference = true;
    word = TrimView(word.substr(4));
  }
  if (endsWith(word, u"[]")) {
    byReference = true;
    word = TrimView(word.substr(0, word.size() - 2));
  }
  const int code = baseTypeCode(word);
  if (code == 0) return 0;
  if (startsWith(TrimView(typeWord), u"VAR ") && (code == kChar || code == kWChar || code == kVoid)) return 0;
  return byReference ? code | kDllByReference : code;
}

bool DllTypeAllowsArray(int code) {
  switch (code & ~kDllByReference) {
    case 4: case 5: case 13: case 14: case kChar: case kWChar: case kVoid: case 17: case 18:
      return false;
    default:
      return true;
  }
}

DllDeclarationText SplitDllDeclaration(std::u16string_view text) {
  text = TrimView(text);
  const size_t end = text.find_first_of(u"( :;");
  DllDeclarationText result;
  result.name = std::u16string(text.substr(0, end));
  if (end != std::u16string_view::npos)
    result.declaration = Trim(ReplaceAll(text.substr(end), u"[ ]", u"[]"));
  return result;
}

std::optional<Message> CheckDllParameters(std::u16string_view declaration) {
  std::u16string token;
  // Checks one token; true when the list ends here.
  auto check = [](std::u16string_view raw, std::optional<Message>& error) {
    const std::u16string_view word = TrimView(raw);
    if (word.empty()) return false;
    if (word.find_first_of(u":;.") != std::u16string_view::npos) return true;
    const int code = DllTypeCode(asciiUpper(word));
    if (code == 0) {
      error = build_messages::dllSyntax(word);
      return true;
    }
    if (endsWith(word, u"[]") && !DllTypeAllowsArray(code)) {
      error = build_messages::dllArray(word);
      return true;
    }
    return false;
  };
  std::optional<Message> error;
  for (const char16_t c : declaration) {
    if (c != u',' && c != u'(' && c != u')' && c != u'{' && c != u'}') {
      token.push_back(c);
      continue;
    }
    if (check(token, error)) return error;
    token.clear();
    if ((c == u'{' || c == u'}') && check(std::u16string(1, c), error)) return error;
  }
  check(token, error);
  return error;
}

}  // namespace maqo::engine
