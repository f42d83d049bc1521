// bsClassic: the three-ring bevel of the system's push button, white and light grey up-left,
// grey and black down-right; the default button gets a black outer ring and an extra inner one.
#include "button/draw/Renderers.h"
#include "button/draw/RendererSteps.h"

namespace tessel {

void RenderClassic(ButtonPaint& paint, BevelPoints& points, BevelColors& colors, int32_t& faceState,
                   int16_t& outcome) {
  const ButtonState& s = paint.state;
  const int32_t face = ShowsLatchedFace(s) ? s.faceEdgeColor : s.faceColor;
  const int32_t text = DisabledToggleText(paint);
  PaintBevelStyle(paint, points, colors, faceState, outcome, face, text, [&](int32_t& state, BevelColors& c) {
    constexpr int32_t kShadow = 0x808080, kWhite = 0xFFFFFF, kBlack = 0;
    int32_t light = s.PressedLook() ? face : RGB(233, 233, 233);
    if (IsLatched(s)) {
      state = kFaceLatched;
      light = RGB(233, 233, 233);
    }
    switch (state) {
      case kFaceNormal:
        c[5] = c[6] = light;
        c[7] = c[8] = kShadow;
        break;
      case kFaceDefault:
        c[1] = c[2] = light;
        c[3] = c[4] = kShadow;
        c[5] = c[6] = kWhite;
        c[7] = c[8] = kBlack;
        break;
      case kFacePressed:
        c[7] = c[8] = kShadow;
        break;
      default:  // latched
        c[7] = c[8] = light;
        break;
    }
    if (state == kFaceLatched) {
      SetRing(c, 2, kBlack, kWhite);
    } else {
      SetRing(c, 2, s.Has(isDefault) ? kBlack : kWhite, kBlack);
    }
    return FocusLook{BevelFocusColor(s, face, text), false};
  });
}

}  // namespace tessel
