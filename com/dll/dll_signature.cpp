#include "com/dll/dll_signature.h"

#include "com/dll/dll_messages.h"
#include "engine/builder/dll_declaration.h"
#include "engine/eval/text_helpers.h"
#include "platform/text_codec.h"

namespace maqo::com::dll {

namespace {

bool validReturnType(int code) {
  if (code <= 0 || code >= engine::kDllByReference) return false;
  return code != kStructBegin && code != kStructEnd && code != 15 && code != 19;
}

// "C:\dir\x.dll": a drive letter is no return type.
bool startsWithDrive(std::u16string_view text) {
  return text.size() >= 3 && text[1] == u':' && (text[2] == u'\\' || text[2] == u'/');
}

std::u16string withoutQuotes(std::u16string_view text) {
  text = engine::TrimView(text);
  if (text.size() >= 2 && text.front() == u'"' && text.back() == u'"') text = text.substr(1, text.size() - 2);
  return std::u16string(engine::TrimView(text));
}

void addParameter(DllSignature& signature, std::u16string_view word) {
  word = engine::TrimView(word);
  if (word.empty()) return;
  const int code = engine::DllTypeCode(word);
  if (code == 0) throw engine::ScriptError(messages::unknownType());
  DllParameter parameter;
  parameter.type = code & ~engine::kDllByReference;
  parameter.byReference = (code & engine::kDllByReference) != 0;
  if (parameter.type != kStructBegin && parameter.type != kStructEnd) ++signature.argumentCount;
  signature.parameters.push_back(parameter);
}

}  // namespace

DllSignature ParseDllSignature(std::u16string_view qualifiedName, std::u16string_view declaration) {
  DllSignature signature;
  const size_t dot = qualifiedName.rfind(u'.');
  signature.procedureName = utf16ToUtf8(dot == std::u16string_view::npos ? qualifiedName : qualifiedName.substr(dot + 1));

  // "[ ]" is accepted as "[]" (the builder registers it so; texts from
  // elsewhere may not be).
  const std::u16string normalised = engine::ReplaceAll(engine::TrimView(declaration), u"[ ]", u"[]");
  declaration = normalised;
  const std::u16string upper = asciiUpper(declaration);
  std::u16string_view rest = upper;
  // The parameter list: the types between "(" and ")", split at "," with "{"
  // and "}" as tokens of their own.
  if (!rest.empty() && rest.front() == u'(') {
    const size_t close = rest.find(u')');
    const std::u16string_view list = rest.substr(1, close == std::u16string_view::npos ? std::u16string_view::npos : close - 1);
    rest = close == std::u16string_view::npos ? std::u16string_view() : rest.substr(close + 1);
    size_t start = 0;
    int depth = 0;
    for (size_t i = 0; i <= list.size(); ++i) {
      const char16_t c = i < list.size() ? list[i] : u',';
      if (c != u',' && c != u'{' && c != u'}') continue;
      addParameter(signature, list.substr(start, i - start));
      start = i + 1;
      if (c == u'{') {
        addParameter(signature, u"{");
        ++depth;
      } else if (c == u'}') {
        if (depth == 0) throw engine::ScriptError(messages::unknownType());
        addParameter(signature, u"}");
        --depth;
      }
    }
    if (depth != 0) throw engine::ScriptError(messages::unclosedStructure());
  }

  // ": return type : dll [PACK]"
  std::u16string_view tail = engine::TrimView(rest);
  while (!tail.empty() && tail.front() == u':') tail = engine::TrimView(tail.substr(1));
  for (std::u16string_view marker : {std::u16string_view(u":PACK"), std::u16string_view(u" PACK")}) {
    if (tail.size() >= marker.size() && tail.substr(tail.size() - marker.size()) == marker) {
      signature.packed = true;
      tail = engine::TrimView(tail.substr(0, tail.size() - marker.size()));
      break;
    }
  }
  const size_t colon = tail.find(u':');
  if (colon != std::u16string_view::npos && !startsWithDrive(tail)) {
    const int code = engine::DllTypeCode(tail.substr(0, colon));
    signature.returnType = code & ~engine::kDllByReference;
    signature.returnTypeValid = validReturnType(code);
    tail = tail.substr(colon + 1);
  }
  signature.library = withoutQuotes(tail);
  // Keep the file name's own case for the messages that name it.
  if (!signature.library.empty()) {
    const std::u16string_view original = declaration;
    const size_t at = upper.rfind(signature.library);
    if (at != std::u16string::npos && at + signature.library.size() <= original.size())
      signature.library = std::u16string(original.substr(at, signature.library.size()));
  }
  return signature;
}

}  // namespace maqo::com::dll
