#include <windows.h>

#include "platform/win32/win32_platform.h"

namespace maqo::platform {

namespace {

std::u16string decode(UINT codePage, std::string_view bytes) {
  if (bytes.empty()) return {};
  int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::u16string out(static_cast<size_t>(n), u'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()),
                      reinterpret_cast<wchar_t*>(out.data()), n);
  return out;
}

}  // namespace

unsigned Win32Locale::ansiCodePage() { return GetACP(); }
unsigned Win32Locale::oemCodePage() { return GetOEMCP(); }
uint16_t Win32Locale::systemLanguage() { return GetSystemDefaultLangID(); }

std::u16string Win32Locale::decodeAnsi(std::string_view bytes) { return decode(CP_ACP, bytes); }
std::u16string Win32Locale::decodeOem(std::string_view bytes) { return decode(CP_OEMCP, bytes); }

int Win32Locale::compareText(std::u16string_view a, std::u16string_view b) {
  const int r = CompareStringW(LOCALE_USER_DEFAULT, 0, reinterpret_cast<const wchar_t*>(a.data()), static_cast<int>(a.size()),
                               reinterpret_cast<const wchar_t*>(b.data()), static_cast<int>(b.size()));
  if (r == 0) {  // the call failed (e.g. texts beyond its limits): code unit order
    const int c = a.compare(b);
    return (c > 0) - (c < 0);
  }
  return r - CSTR_EQUAL;
}

std::string Win32Locale::encodeAnsi(std::u16string_view text, bool* lossy) {
  if (lossy) *lossy = false;
  if (text.empty()) return {};
  const auto* w = reinterpret_cast<const wchar_t*>(text.data());
  BOOL usedDefault = FALSE;
  int n = WideCharToMultiByte(CP_ACP, 0, w, static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, w, static_cast<int>(text.size()), out.data(), n, nullptr, &usedDefault);
  if (lossy) *lossy = usedDefault != FALSE;
  return out;
}

}  // namespace maqo::platform
