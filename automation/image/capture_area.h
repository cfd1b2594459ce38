// captureArea: a picture of an area of the screen or of one window, taken
// from the screen or from the window's own painting as the capture mode and
// the occlusion test decide. Shared by CHKIMG, PEEKCOLOR and SAVEIMG.
#pragma once
#include <optional>

#include "automation/automation_context.h"
#include "platform/screen_capture.h"

namespace maqo::automation {

// The value that marks a failed coordinate read.
inline constexpr int kFailedCoordinate = -999999;

enum CaptureMode { kCaptureAuto = 0, kCaptureFore = 1, kCaptureBack = 2 };

struct CaptureRequest {
  platform::WindowHandle window = 0;  // 0: the screen, x and y in screen coordinates
  int x = 0, y = 0;                   // with a window: relative to its rectangle (client area with client)
  std::optional<int> width, height;   // default: the rest of the screen or reference rectangle
  int captureMode = kCaptureAuto;
  bool client = false;
};

// The reference rectangle of a window in screen coordinates: its window
// rectangle, or with client its client area.
std::optional<platform::WindowRect> ReferenceRect(platform::Desktop& desktop, platform::WindowHandle window,
                                                  bool client);

std::optional<platform::PixelBuffer> CaptureArea(AutomationContext& context, platform::ScreenCapture& capture,
                                                 CaptureRequest request);

}  // namespace maqo::automation
