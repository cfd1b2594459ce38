#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "platform/special_folders.h"

namespace maqo::platform {

namespace {

std::u16string fromBuffer(const wchar_t* s, size_t n) {
  return std::u16string(reinterpret_cast<const char16_t*>(s), n);
}

}  // namespace

std::u16string specialFolderPath(SpecialFolder which) {
  std::vector<wchar_t> buf(MAX_PATH + 1);
  UINT n = 0;
  switch (which) {
    case SpecialFolder::Windows:
      n = GetWindowsDirectoryW(buf.data(), static_cast<UINT>(buf.size()));
      break;
    case SpecialFolder::System:
      n = GetSystemDirectoryW(buf.data(), static_cast<UINT>(buf.size()));
      break;
    case SpecialFolder::AppData:
      if (!SHGetSpecialFolderPathW(nullptr, buf.data(), CSIDL_APPDATA, FALSE)) return {};
      n = static_cast<UINT>(wcslen(buf.data()));
      break;
  }
  if (n == 0 || n >= buf.size()) return {};
  return fromBuffer(buf.data(), n);
}

}  // namespace maqo::platform
