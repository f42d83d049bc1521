// The styles that differ from bsClassic only in their edge colours: bsSoft (two raised white and
// grey rings in a black frame), bsFlatBevel (one raised ring) and bsLight (two light rings).
// Each is drawn up at rest and down (the raised pair swapped) when pressed or latched.
#include "button/draw/Renderers.h"
#include "button/draw/RendererSteps.h"
#include "button/draw/ShiftColor.h"

namespace tessel {
namespace {

constexpr int32_t kWhite = 0xFFFFFF, kGrey = 0x808080;

int32_t FaceOf(const ButtonState& s) { return ShowsLatchedFace(s) ? s.faceEdgeColor : s.faceColor; }

// Up at rest (default and normal alike), down when latched or showing the pressed look.
int32_t UpOrDown(const ButtonState& s, int32_t state) {
  return IsLatched(s) || state == kFacePressed ? kFacePressed : kFaceDefault;
}

}  // namespace

void RenderSoft(ButtonPaint& paint, BevelPoints& points, BevelColors& colors, int32_t& faceState, int16_t& outcome) {
  const ButtonState& s = paint.state;
  const int32_t face = FaceOf(s);
  const int32_t text = DisabledToggleText(paint);
  PaintBevelStyle(paint, points, colors, faceState, outcome, face, text, [&](int32_t& state, BevelColors& c) {
    state = UpOrDown(s, state);
    const bool down = state == kFacePressed;
    SetRing(c, 0, down ? kGrey : kWhite, down ? kWhite : kGrey);
    SetRing(c, 1, down ? kGrey : kWhite, down ? kWhite : kGrey);
    SetRing(c, 2, 0, 0);
    return FocusLook{BevelFocusColor(s, face, text), false};
  });
}

void RenderFlatBevel(ButtonPaint& paint, BevelPoints& points, BevelColors& colors, int32_t& faceState,
                     int16_t& outcome) {
  const ButtonState& s = paint.state;
  const int32_t face = FaceOf(s);
  const int32_t text = DisabledToggleText(paint);
  PaintBevelStyle(paint, points, colors, faceState, outcome, face, text, [&](int32_t& state, BevelColors& c) {
    state = UpOrDown(s, state);
    const bool down = state == kFacePressed;
    SetRing(c, 2, down ? kGrey : kWhite, down ? kWhite : kGrey);
    return FocusLook{BevelFocusColor(s, face, text), false};
  });
}

void RenderLight(ButtonPaint& paint, BevelPoints& points, BevelColors& colors, int32_t& faceState, int16_t& outcome) {
  const ButtonState& s = paint.state;
  const int32_t face = FaceOf(s);
  const int32_t text = DisabledToggleText(paint);
  PaintBevelStyle(paint, points, colors, faceState, outcome, face, text, [&](int32_t& state, BevelColors& c) {
    const int32_t light = ShiftColor(0xDFDFDF, 8);
    state = IsLatched(s) || s.PressedLook() ? kFaceDefault : kFaceNormal;
    const bool down = state == kFaceDefault;
    SetRing(c, 1, down ? kGrey : light, down ? light : kGrey);
    SetRing(c, 2, down ? kGrey : light, down ? light : kGrey);
    return FocusLook{BevelFocusColor(s, face, text), false};
  });
}

}  // namespace tessel
