// DEF_DLL declarations as the builder registers and checks them: the name,
// the declaration text after it, and the parameter type words.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "engine/errors/script_error.h"

namespace maqo::engine {

// Type codes of DEF_DLL parameter and return types.
inline constexpr int kDllByReference = 256;  // "VAR " before the type, or "[]" after it
inline constexpr int kDllStructBegin = 20;   // "{"
inline constexpr int kDllStructEnd = 21;     // "}"

// The code of a type word in upper case (INT, VAR LONG, DOUBLE[], {, ...), or 0
// when it is not a type: unknown words, and VAR on CHAR, WCHAR or VOID.
int DllTypeCode(std::u16string_view typeWord);
// Whether a type (code without the by-reference bit) may be passed as an array.
bool DllTypeAllowsArray(int code);

struct DllDeclarationText {
  std::u16string name;         // up to the first "(", space, ":" or ";"
  std::u16string declaration;  // the rest, "[ ]" written as "[]", trimmed
};

// Splits the text after DEF_DLL (already qualified with its module).
DllDeclarationText SplitDllDeclaration(std::u16string_view text);

// Checks the parameter types of a declaration: every token between ",", "(",
// ")", "{" and "}" up to the first one holding ":", ";" or "." must be a type
// word, and "[]" only on types that may be arrays. Nothing when it is right.
std::optional<Message> CheckDllParameters(std::u16string_view declaration);

}  // namespace maqo::engine
