#include "button/draw/FocusIndicator.h"

#include <algorithm>

#include "button/draw/PaintBox.h"

namespace tessel {

void DrawFocusIndicator(ButtonPaint& paint, int32_t& color, bool solid, bool& hugCaption, BevelPoints& points) {
  const ButtonState& s = paint.state;
  if (!(s.Has(isDefault) || s.keyboardFocus) || s.buttonShape > shapeEllipseFramed) return;
  HDC dc = paint.memDC();
  const int W = paint.W(), H = paint.H();
  const int shape = s.buttonShape;

  if (shape >= shapeEllipse) {
    if (s.buttonStyle == bsRounded) return;
    hugCaption = true;
  }
  if (shape >= shapeSlantLeft && shape <= shapeSlantBoth) {
    const int l = s.faceLeft != 0 ? 1 : 0;
    const int r = W > s.faceRight ? 1 : 0;
    points[0] = {s.faceLeft + 4 - 6 * l, H - 5};
    points[1] = {4 * l + 4, 4};
    points[2] = {s.faceRight - 5 + 4 * r, 4};
    points[3] = {W - 5 - 6 * r, H - 5};
    points[4] = {s.faceLeft + 3 - 4 * l, H - 5};
    PaintPolyline(dc, points.data(), 5, color);
    return;
  }
  if (color < 0) color = 0;

  RECT r;
  if (!hugCaption) {
    r = {s.faceLeft + 4, 4, s.faceRight - 4, H - 4};
  } else {
    if (!s.caption.empty()) {
      r = s.captionRect;
    } else {
      r = s.pictureRect;
      r.bottom = std::min<LONG>(r.bottom, H - 4);
      r.right = std::min<LONG>(r.right, W - 4);
    }
    const int p = (r.right >= s.faceRight - 4 || r.left <= s.faceLeft + 4) ? 1 : 2;
    const int shift = ((s.value || s.PressedLook()) && s.buttonStyle != bsPastel) ? 1 : 0;
    const int across = shape < shapeEllipse ? shift : 0;
    OffsetRect(&r, across - p, shift - p);
    r.right += 2 * p + across;
    r.bottom += 2 * p + shift;
  }
  if (!solid) {
    DrawFocusRect(dc, &r);
  } else {
    points[0] = {r.left, r.top};
    points[1] = {r.right - 1, r.top};
    points[2] = {r.right - 1, r.bottom - 1};
    points[3] = {r.left, r.bottom - 1};
    points[4] = {r.left, r.top};
    PaintPolyline(dc, points.data(), 5, color);
  }
}

}  // namespace tessel
