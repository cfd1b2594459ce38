// The program's texts are UTF-16 (char16_t); Windows takes the same code
// units as wchar_t.
#pragma once
#include <string>

namespace maqo::app {

inline const wchar_t* wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }
inline std::u16string fromWide(const wchar_t* text) {
  return text ? std::u16string(reinterpret_cast<const char16_t*>(text)) : std::u16string();
}

}  // namespace maqo::app
