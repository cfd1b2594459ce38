// Fonts of our own windows, sized in points for the screen's resolution.
#pragma once
#include <windows.h>

#include <string>

namespace maqo::platform {

// A font of the face (Tahoma when empty) at the size in points; the caller deletes it.
HFONT createPointFont(const std::u16string& face, int points, bool antialiased);

}  // namespace maqo::platform
