// bsRounded: a face shaded darker towards the bottom inside a dark blue frame with cut corners;
// orange inner rings under the pointer, blue ones on the default button, darker shifts of the
// face when pressed. It draws no focus indicator: the blue rings show the default button.
#include "button/draw/Renderers.h"
#include "button/draw/RendererSteps.h"
#include "button/draw/PaintBox.h"
#include "button/draw/ShiftColor.h"

namespace tessel {
namespace {

int32_t Shade(int32_t face, int amount) { return ShiftColor(face, amount, true); }

int32_t RoundedFace(const ButtonPaint& paint) {
  const ButtonState& s = paint.state;
  if (s.mode != modeCommand) return ShowsLatchedFace(s) ? s.faceEdgeColor : s.faceColor;
  if (!paint.enabled) return Shade(s.faceColor, -24);
  if (s.PressedLook() && s.gradientMode == gradNone) return s.faceShadeColor;
  return s.faceColor;
}

// The style's own face state: 3 under the pointer with no button held, 1 default (only while the
// focus rectangle is shown), 2 latched, else what the fill reported.
int32_t RoundedState(const ButtonState& s, int32_t filled) {
  const bool hovering = s.Has(isHot) && !s.Has(isPressed);
  int32_t state = filled;
  if (IsLatched(s)) state = s.Has(isDefault) ? kFaceDefault : kFacePressed;
  if (hovering) return 3;
  if (state == kFaceDefault && !s.showFocusRect) return kFaceNormal;
  return state;
}

// Edges 1 to 8 by face state: a shift of the face (scaled blue) or a fixed colour.
struct RoundedEdge {
  bool shift;
  int32_t value;
};
constexpr RoundedEdge S(int amount) { return {true, amount}; }
constexpr RoundedEdge C(int32_t rgb) { return {false, rgb}; }
constexpr RoundedEdge kFace = {true, 0};
constexpr RoundedEdge kRoundedEdges[4][8] = {
    // inner left, top, right, bottom; middle left, top, right, bottom
    {S(-10), S(10), S(-24), S(-32), S(-5), S(16), S(-36), S(-48)},                                    // normal
    {C(0xF0D1B5), C(0xF7D7BD), C(0xF0D1B5), C(0xE7AE8C), C(0xE7AE8C), C(0xFFDFBF), C(0xE7AE8C), C(0xEF826B)},  // default
    {S(-22), S(-24), kFace, S(10), S(-32), S(-32), S(5), S(16)},                                      // pressed
    {C(0x6BCBFF), C(0x8CDBFF), C(0x6BCBFF), C(0x31B2FF), C(0x31B2FF), C(0xA6E9FF), C(0x31B2FF), C(0x0096E7)},  // hot
};

}  // namespace

void RenderRounded(ButtonPaint& paint, BevelPoints& points, BevelColors& colors, int32_t& faceState,
                   int16_t& outcome) {
  const ButtonState& s = paint.state;
  const int32_t face = RoundedFace(paint);
  const int32_t gradientEnd =
      s.gradientMode != gradNone && s.buttonShape < shapeCustom ? Shade(ResolveGradientEnd(s), 48) : face;
  if (!FillStep(paint, face, faceState, outcome, gradientEnd, s.hoverFaceColor)) return;
  faceState = RoundedState(s, faceState);
  CaptionStep(paint, face, paint.enabled ? 0 : Shade(face, -104));

  if (s.buttonShape >= shapeEllipse) {
    colors[12] = 0xEF826B;  // the light blue the dispatcher frames the round and custom outlines in
    return;
  }
  int32_t frame;
  if (!paint.enabled) {
    for (int i = 1; i <= 8; ++i) colors[i] = -1;
    frame = Shade(face, -84);
  } else {
    frame = 0x733C00;
    for (int i = 0; i < 8; ++i) {
      const RoundedEdge& e = kRoundedEdges[faceState][i];
      colors[i + 1] = e.shift ? Shade(face, e.value) : e.value;
    }
  }
  for (int i = 9; i <= 12; ++i) colors[i] = frame;
  BevelStep(paint, points, colors);

  // Corner pixels cut the square corners of the frame diagonally.
  const int W = paint.W(), H = paint.H();
  HDC dc = paint.memDC();
  if (s.faceLeft == 0) {
    PaintPixel(dc, 1, H - 2, frame);
    PaintPixel(dc, 1, 1, frame);
  }
  if (W == s.faceRight) {
    PaintPixel(dc, W - 2, H - 2, frame);
    PaintPixel(dc, W - 2, 1, frame);
  }
}

}  // namespace tessel
