// The look of every style while the user's high-contrast scheme is on: the face in the face
// colour (the highlight when latched or pressed), the caption in its text colour, and one-pixel
// frame-coloured edges, two for the default button. No gradient, no custom colour; the focus
// indicator stays.
#include "button/ButtonTools.h"
#include "button/draw/Renderers.h"
#include "button/draw/RendererSteps.h"
#include "server/contract/Palette.h"

namespace tessel {

void RenderHighContrast(ButtonPaint& paint, BevelPoints& points, BevelColors& colors, int32_t& faceState,
                        int16_t& outcome) {
  const ButtonState& s = paint.state;
  const int32_t face = s.faceColor;  // the role colour the look put in the state
  const int32_t text = paint.enabled ? -1 : RoleColor(ColorRole::GrayText);
  PaintBevelStyle(paint, points, colors, faceState, outcome, face, text, [&](int32_t& state, BevelColors& c) {
    const int32_t frame = RoleColor(ColorRole::Frame);
    if (IsLatched(s)) state = kFaceLatched;
    SetRing(c, 2, frame, frame);
    if (state == kFaceDefault) SetRing(c, 1, frame, frame);
    return FocusLook{ResolveColor(paint.foreColor), false, true};
  });
}

}  // namespace tessel
