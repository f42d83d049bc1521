#include "button/draw/RendererSteps.h"

#include "button/ButtonTools.h"
#include "button/draw/CaptionAndPicture.h"
#include "button/draw/FillBackground.h"
#include "button/draw/FocusIndicator.h"
#include "button/draw/ShiftColor.h"

namespace tessel {

int32_t DisabledToggleText(const ButtonPaint& paint) {
  return !paint.enabled && paint.state.mode != modeCommand ? 0x808080 : -1;
}

int32_t ResolveGradientEnd(const ButtonState& s) { return ResolveColor(s.gradientColor); }

BevelFrame FrameOf(const ButtonPaint& paint) {
  const ButtonState& s = paint.state;
  return {paint.W(), paint.H(), s.faceLeft, s.faceRight, s.buttonShape};
}

bool FillStep(ButtonPaint& paint, int32_t face, int32_t& faceState, int16_t& outcome, int32_t gradientEnd,
              int32_t hoverColor) {
  outcome = 0;
  paint.Step(L"face", [&] { FillBackground(paint, face, faceState, outcome, gradientEnd, hoverColor); });
  return outcome != 0;
}

void CaptionStep(ButtonPaint& paint, int32_t face, int32_t textOverride) {
  bool latched = paint.state.value;
  bool toggle = paint.state.mode > modeCommand;
  paint.Step(L"caption and picture", [&] { DrawCaptionAndPicture(paint, face, textOverride, latched, toggle); });
}

void BevelStep(ButtonPaint& paint, BevelPoints& points, const BevelColors& colors, int outerPenStyle) {
  paint.Step(L"bevel", [&] { DrawBevel(paint.memDC(), FrameOf(paint), points, colors, outerPenStyle); });
}

void ShapeStep(ButtonPaint& paint, BevelColors& colors, int16_t& outcome) {
  const ButtonState& s = paint.state;
  const bool active = s.isHoverTracking || s.PressedLook();
  if (s.buttonShape < shapeEllipseFramed || (s.buttonShape == shapeEllipseFramed && !active))
    outcome = 1;
  else
    colors[12] = 0;
}

void FocusStep(ButtonPaint& paint, int32_t color, bool hugCaption, bool solid, BevelPoints& points) {
  paint.Step(L"focus", [&] { DrawFocusIndicator(paint, color, solid, hugCaption, points); });
}

int32_t BevelFocusColor(const ButtonState& s, int32_t face, int32_t otherwise) {
  if (IsLatched(s)) return 0;
  if (s.buttonShape >= shapeSlantLeft && s.buttonShape <= shapeSlantBoth) return ShiftColor(face, -48);
  return otherwise;
}

void SetRing(BevelColors& colors, int ring, int32_t light, int32_t dark) {
  const int first = 1 + 4 * ring;
  colors[first] = colors[first + 1] = light;
  colors[first + 2] = colors[first + 3] = dark;
}

}  // namespace tessel
