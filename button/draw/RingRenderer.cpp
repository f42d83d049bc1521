// bsRing: no border at rest at run time, a white-and-grey ring while hovered or down. While the
// form is designed, a dotted darker outline shows where the button is.
#include "button/draw/Renderers.h"
#include "button/draw/RendererSteps.h"
#include "button/draw/ShiftColor.h"
#include "server/contract/Gdi.h"

namespace tessel {
namespace {

// The dotted design-time outline of a round button, drawn over the whole control.
void DesignOutline(ButtonPaint& paint, int32_t color) {
  HDC dc = paint.memDC();
  SelectClipRgn(dc, nullptr);
  unique_hpen pen(CreatePen(PS_DOT, 1, static_cast<COLORREF>(color)));
  {
    SelectGuard usePen(dc, pen.get());
    SelectGuard noFill(dc, GetStockObject(NULL_BRUSH));
    Ellipse(dc, 0, 0, paint.W() - 1, paint.H() - 1);
  }
  SelectClipRgn(dc, paint.state.regionB.get());
}

}  // namespace

void RenderRing(ButtonPaint& paint, BevelPoints& points, BevelColors& colors, int32_t& faceState, int16_t& outcome) {
  const ButtonState& s = paint.state;
  const int32_t face = ShowsLatchedFace(s) ? s.faceEdgeColor : s.faceColor;
  const int32_t text = DisabledToggleText(paint);
  const int32_t darker = ShiftColor(s.ambientBackColor, -32);
  if (!FillStep(paint, face, faceState, outcome, ResolveGradientEnd(s), s.hoverFaceColor)) return;
  const bool designing = !paint.userMode;
  if (designing && s.buttonShape >= shapeEllipse && s.buttonShape <= shapeEllipseFramed)
    paint.Step(L"design outline", [&] { DesignOutline(paint, darker); });
  CaptionStep(paint, face, text);

  if (HasBevel(s)) {
    for (int i = 1; i <= 12; ++i) colors[i] = -1;
    if (!s.Has(isHot) && !s.value) {
      if (designing) {
        int32_t outline = ShiftColor(s.ambientBackColor, -64);
        if (outline == 0) outline = 0xFFFFFF;
        for (int i = 9; i <= 12; ++i) colors[i] = outline;
      }
    } else {
      if (IsLatched(s)) faceState = kFacePressed;
      if (faceState < kFaceDefault) faceState = kFaceDefault;
      const bool down = faceState == kFacePressed;
      SetRing(colors, 2, down ? 0x808080 : 0xFFFFFF, down ? 0xFFFFFF : 0x808080);
    }
    BevelStep(paint, points, colors, designing ? PS_DOT : PS_SOLID);
  }
  ShapeStep(paint, colors, outcome);
  const int32_t focus = s.buttonShape > shapeRectangle ? darker : BevelFocusColor(s, face, text);
  FocusStep(paint, focus, false, s.value, points);
}

}  // namespace tessel
