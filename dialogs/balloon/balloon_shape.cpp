#include "dialogs/balloon/balloon_shape.h"

namespace maqo::dialogs {

BalloonTransparency TransparencyOf(int t, uint32_t backColour, uint32_t textColour) {
  BalloonTransparency result;
  if (t == 0) return result;
  if (t == -1 || t == -2) {
    result.layering = BalloonLayering::ColourKey;
    const int64_t back = backColour;
    int64_t key = back - 1;
    if (key == static_cast<int64_t>(textColour)) key = back - 2;
    if (key < 0) {
      key = back + 1;
      if (key == static_cast<int64_t>(textColour)) key = back + 2;
    }
    result.keyColour = static_cast<uint32_t>(key);
    return result;
  }
  const int clamped = t < 0 ? 0 : t > 255 ? 255 : t;
  result.layering = BalloonLayering::Alpha;
  result.alpha = clamped >= 248 ? 8 : 255 - clamped;
  return result;
}

BalloonShape ShapeOf(int direction, int labelWidth, int labelHeight) {
  BalloonShape s;
  const int W = labelWidth + 20, H = labelHeight + 20, h = H / 3, b = h + 10;
  s.width = W;
  s.height = H;
  s.region = direction >= 1 && direction <= 4;
  switch (direction) {
    case 1:
      s.labelX = 10, s.labelY = 15;
      s.outline = {{0, 10}, {h, 10}, {h, 0}, {b, 10}, {W, 10}, {W, H}, {0, H}};
      break;
    case 2:
      s.labelX = 10, s.labelY = 5;
      s.outline = {{0, 0}, {W, 0}, {W, H - 10}, {b, H - 10}, {h, H}, {h, H - 10}, {0, H - 10}};
      break;
    case 3:
      s.labelX = 15, s.labelY = 10;
      s.outline = {{10, 0}, {W, 0}, {W, H}, {10, H}, {10, b}, {0, h}, {10, h}};
      break;
    case 4:
      s.labelX = 5, s.labelY = 10;
      s.outline = {{0, 0}, {W - 10, 0}, {W - 10, h}, {W, h}, {W - 10, b}, {W - 10, H}, {0, H}};
      break;
    default:
      s.labelX = 10, s.labelY = 10;
      s.outline = {{0, 0}, {W, 0}, {W, H}, {0, H}};
      break;
  }
  return s;
}

int BalloonFontSize(int requested) {
  const int size = requested != 0 ? requested : kBalloonDefaultFontSize;
  return size < kBalloonMinFontSize ? kBalloonMinFontSize : size;
}

BalloonLook LookOf(const std::u16string& text, int x, int y, const BalloonStyle& style, int labelWidth,
                   int labelHeight) {
  BalloonLook look;
  look.text = text;
  look.x = x;
  look.y = y;
  look.shape = ShapeOf(style.direction, labelWidth, labelHeight);
  look.fontName = style.fontName;
  look.fontSize = BalloonFontSize(style.fontSize);
  look.antialiased = style.quality != 0;
  look.textColour = style.textColour;
  look.transparency = TransparencyOf(style.transparency, style.backColour, style.textColour);
  if (look.transparency.layering == BalloonLayering::ColourKey) {
    look.formColour = look.transparency.keyColour;
  } else {
    look.formColour = style.backColour > 0 ? style.backColour : kBalloonYellow;
  }
  // A transparent balloon's outline blends with its background.
  if (style.transparency < 0) look.outlineColour = style.backColour;
  look.drawOutline = style.transparency != -2;
  return look;
}

}  // namespace maqo::dialogs
