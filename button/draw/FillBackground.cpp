#include "button/draw/FillBackground.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "button/draw/FaceClip.h"
#include "button/draw/Gradient.h"
#include "button/draw/PaintBox.h"
#include "button/draw/ShiftColor.h"
#include "server/contract/Gdi.h"

namespace tessel {

void FillBackground(ButtonPaint& paint, int32_t& faceFill, int32_t& faceState, int16_t& outcome, int32_t& toColor,
                    int32_t& hoverColor) {
  PrepareFaceClip(paint, outcome);
  if (outcome == kClipNothing) return;
  const ButtonState& s = paint.state;
  const bool pressedLook = s.PressedLook();
  faceState = pressedLook ? kFacePressed : (s.Has(isDefault) ? kFaceDefault : kFaceNormal);
  if (hoverColor < 0) hoverColor = faceFill;

  const bool command = s.mode == modeCommand;
  const bool showsHover = s.isHoverTracking && ((command && !s.Has(isPressed)) || (!command && !s.value));
  const int32_t fill = showsHover ? hoverColor : faceFill;
  HDC dc = paint.memDC();
  const int W = paint.W(), H = paint.H();

  if (s.gradientMode != gradNone && !s.value && s.buttonShape < shapeCustom) {
    if (s.isHoverTracking && !pressedLook && s.gradientColor != s.hoverBackColor) {
      PaintBox(dc, 0, 0, W, H, hoverColor);
    } else {
      if (toColor < 0) toColor = faceFill;
      DrawGradient(dc, s.gradientMode, W, H, faceFill, toColor);
    }
  } else if (s.buttonStyle == bsRounded && (paint.enabled || s.mode != modeCommand)) {
    // 25 levels darker at the bottom row in red and green, 25 * blue / 192 in blue.
    const double perRow = H > 0 ? 25.0 / H : 0.0;
    std::vector<int32_t> rows(static_cast<size_t>(std::max(H, 0)));
    for (int y = 0; y < H; ++y)
      rows[static_cast<size_t>(y)] = ShiftColor(fill, static_cast<int>(std::nearbyint(-perRow * y)), true);
    PaintStrips(dc, false, 1, rows.data(), H, W);
  } else {
    PaintBox(dc, 0, 0, W, H, fill);
  }
}

}  // namespace tessel
