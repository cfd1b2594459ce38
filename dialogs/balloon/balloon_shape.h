// The balloon's look computed from the script's arguments: its size and
// outline around the measured label, the pointer tail's direction, the
// colour-key or alpha transparency, and whether and how the outline is drawn.
// The window seam only realises what this computes.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/script_windows.h"

namespace maqo::dialogs {

// Colours are 0x00BBGGRR, as the script gives them.
inline constexpr uint32_t kBalloonYellow = 0x0000FFFF;
inline constexpr int kBalloonDefaultFontSize = 10;
inline constexpr int kBalloonMinFontSize = 6;

using platform::BalloonLayering;
using platform::BalloonLook;
using platform::BalloonShape;
using platform::BalloonTransparency;
using BalloonPoint = platform::OutlinePoint;

// The arguments of one FUKIDASI/BALLOON call after the message; omitted numbers are 0.
struct BalloonStyle {
  int direction = 0;
  int fontSize = 0;
  std::u16string fontName;
  uint32_t textColour = 0;
  uint32_t backColour = 0;
  int transparency = 0;
  int quality = 0;
  bool operator==(const BalloonStyle&) const = default;
};

// Transparency t: 0 not layered; -1 or -2 a colour key (the background
// colour - 1, or - 2 when that is the text colour; + 1 / + 2 when it would be
// negative); any other value clamped to 0..255 gives alpha 255 - t, at least 8.
BalloonTransparency TransparencyOf(int transparency, uint32_t backColour, uint32_t textColour);

// The shape around a label of that size: direction 1 tail up-left, 2 down-left,
// 3 left, 4 right; any other a plain rectangle without a region.
BalloonShape ShapeOf(int direction, int labelWidth, int labelHeight);

// The font size used: the given size, or the default when 0; at least 6.
int BalloonFontSize(int requested);
// The look of a call whose label measured labelWidth x labelHeight.
BalloonLook LookOf(const std::u16string& text, int x, int y, const BalloonStyle& style, int labelWidth,
                   int labelHeight);

}  // namespace maqo::dialogs
