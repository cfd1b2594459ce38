#include "platform/win32/win32_fonts.h"

namespace maqo::platform {

HFONT createPointFont(const std::u16string& face, int points, bool antialiased) {
  HDC screen = GetDC(nullptr);
  const int height = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  const std::u16string name = face.empty() ? u"Tahoma" : face;
  return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, antialiased ? DEFAULT_QUALITY : NONANTIALIASED_QUALITY, DEFAULT_PITCH,
                     reinterpret_cast<const wchar_t*>(name.c_str()));
}

}  // namespace maqo::platform
