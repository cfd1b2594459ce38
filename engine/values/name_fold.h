// Case folding and hashing of names and keys for the engine's dictionaries.
// Lookups fold on the fly, so looking up a name never allocates.
//
// Folding upper-cases ASCII letters only. Names reach the engine upper-cased by
// the source reader already; the Windows-matching case table for other letters
// arrives with the string builtins and will replace foldCase in one place.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/text_codec.h"

namespace maqo::engine {

inline char16_t foldCase(char16_t c) { return asciiUpper(c); }

inline std::u16string foldText(std::u16string_view text) {
  std::u16string out(text);
  for (auto& c : out) c = foldCase(c);
  return out;
}

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
