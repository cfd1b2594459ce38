// What the system says about its language and code pages.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace maqo::platform {

class Locale {
 public:
  virtual ~Locale() = default;
  virtual unsigned ansiCodePage() = 0;     // 1252, 932, ...
  virtual unsigned oemCodePage() = 0;      // 437, 932, ...
  virtual uint16_t systemLanguage() = 0;   // a LANGID, e.g. 0x0411 for Japanese
  // Converts bytes of the ANSI code page to UTF-16 the way the system does.
  virtual std::u16string decodeAnsi(std::string_view bytes) = 0;
  // Converts to the ANSI code page; sets lossy when a character had no mapping.
  virtual std::string encodeAnsi(std::u16string_view text, bool* lossy = nullptr) = 0;
  virtual std::u16string decodeOem(std::string_view bytes) = 0;
  // Orders two texts the way the user's locale does, case-sensitive (the
  // system's CompareStringW with no flags): negative, zero or positive. The
  // build's locales override it; test doubles that do not get code unit order.
  virtual int compareText(std::u16string_view a, std::u16string_view b) {
    const int c = a.compare(b);
    return (c > 0) - (c < 0);
  }

  // Messages are shown in Japanese when the primary language is Japanese.
  bool japanese() { return (systemLanguage() & 0x3FF) == 0x11; }
};

}  // namespace maqo::platform
