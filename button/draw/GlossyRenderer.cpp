// bsGlossy: a lightened face with a white highlight up-left inside a black frame whose corners are
// rounded pixel by pixel; pressed, a dark grey face with the caption in the light face colour.
#include "button/ButtonTools.h"
#include "button/draw/PaintBox.h"
#include "button/draw/Renderers.h"
#include "button/draw/RendererSteps.h"
#include "button/draw/ShiftColor.h"

namespace tessel {
namespace {

int32_t GlossyFace(const ButtonState& s) {
  if (ShowsLatchedFace(s)) return s.faceEdgeColor;
  if (s.mode == modeCommand && s.PressedLook()) return s.faceShadeColor;
  return s.faceColor;
}

int32_t GlossyText(const ButtonPaint& paint, int32_t face) {
  const ButtonState& s = paint.state;
  const bool command = s.mode == modeCommand;
  if ((s.PressedLook() && command) || s.value)
    return !paint.enabled && s.value ? ShiftColor(face, -32, true) : s.faceColor;
  if (!paint.enabled) return command ? -1 : 0x808080;
  return ResolveColor(paint.foreColor);
}

void GlossyCorners(ButtonPaint& paint, const BevelColors& c) {
  const ButtonState& s = paint.state;
  const int W = paint.W(), H = paint.H();
  HDC dc = paint.memDC();
  if (s.faceLeft == 0) {
    PaintPixel(dc, 3, 3, c[1]);
    PaintPixel(dc, 2, 2, c[5]);
    PaintPixel(dc, 1, H - 3, c[3]);
    PaintPixel(dc, 1, 1, 0);
    PaintPixel(dc, 1, H - 2, 0);
  }
  if (W == s.faceRight) {
    PaintPixel(dc, W - 4, H - 4, c[3]);
    PaintPixel(dc, W - 3, 1, c[3]);
    PaintPixel(dc, W - 3, H - 3, c[7]);
    PaintPixel(dc, W - 2, H - 2, 0);
    PaintPixel(dc, W - 2, 1, 0);
  }
}

}  // namespace

void RenderGlossy(ButtonPaint& paint, BevelPoints& points, BevelColors& colors, int32_t& faceState,
                  int16_t& outcome) {
  ButtonState& s = paint.state;
  const int32_t face = GlossyFace(s);
  const int32_t text = GlossyText(paint, face);
  if (!FillStep(paint, face, faceState, outcome, ResolveGradientEnd(s), s.hoverFaceColor)) return;

  // A hovered glossy caption keeps the style's text colour unless a hover colour of its own is set.
  const OleColor hoverFore = s.hoverForeColor;
  if (paint.foreColor == s.hoverForeColor || s.value) s.hoverForeColor = static_cast<OleColor>(text);
  CaptionStep(paint, face, text);
  s.hoverForeColor = hoverFore;

  if (IsLatched(s)) faceState = s.value ? kFacePressed : kFaceNormal;
  if (HasBevel(s)) {
    const int32_t base = s.gradientMode != gradNone ? s.faceColor : 0x808080;
    if (faceState == kFacePressed) {
      SetRing(colors, 0, ShiftColor(base, -32), base);
      SetRing(colors, 1, ShiftColor(base, -64), ShiftColor(base, -16));
    } else {
      SetRing(colors, 0, 0xFFFFFF, face);
      SetRing(colors, 1, ShiftColor(face, 31, true), ShiftColor(face, -64, true));
    }
    SetRing(colors, 2, 0, 0);
    BevelStep(paint, points, colors);
    paint.Step(L"corners", [&] { GlossyCorners(paint, colors); });
  }
  ShapeStep(paint, colors, outcome);
  FocusStep(paint, BevelFocusColor(s, face, -1), true, s.value, points);
}

}  // namespace tessel
