// Case folding and hashing of names and keys for the engine's dictionaries.
// Lookups fold on the fly, so looking up a name never allocates.
//
// Folding is the language's one upper case (platform/letter_case.h), so a name
// or key found case-insensitively here is found wherever texts are compared
// case-insensitively ("ä" = "Ä" and a key "ä" found as "Ä" agree). Names reach
// the engine with their ASCII letters upper-cased by the source reader already.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/letter_case.h"

namespace maqo::engine {

inline char16_t foldCase(char16_t c) {
  if (c < 0x80) return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c;  // most names: no table
  return platform::upperCaseLetter(c);
}

inline std::u16string foldText(std::u16string_view text) { return platform::upperCaseText(text); }

// Hash and equality over text, folding case unless the table is case-sensitive.
// Transparent, so std::u16string_view looks up std::u16string keys.
struct NameHash {
  using is_transparent = void;
  bool fold = true;
  size_t operator()(std::u16string_view text) const noexcept {
    uint64_t h = 1469598103934665603ull;  // FNV-1a
    for (char16_t c : text) {
      h ^= static_cast<uint16_t>(fold ? foldCase(c) : c);
      h *= 1099511628211ull;
    }
    return static_cast<size_t>(h ^ (h >> 32));
  }
};

struct NameEqual {
  using is_transparent = void;
  bool fold = true;
  bool operator()(std::u16string_view a, std::u16string_view b) const noexcept {
    if (a.size() != b.size()) return false;
    if (!fold) return a == b;
    for (size_t i = 0; i < a.size(); ++i)
      if (foldCase(a[i]) != foldCase(b[i])) return false;
    return true;
  }
};

}  // namespace maqo::engine
