// bsPastel: a soft grey frame, white up-left inside it, the caption never moving when pressed and
// a solid blue-grey outline hugging the caption of the focused button. A disabled command button
// loses its inner rings into the face and keeps a dark grey frame.
#include "button/draw/Renderers.h"
#include "button/draw/RendererSteps.h"
#include "button/draw/ShiftColor.h"

namespace tessel {

void RenderPastel(ButtonPaint& paint, BevelPoints& points, BevelColors& colors, int32_t& faceState, int16_t& outcome) {
  const ButtonState& s = paint.state;
  const bool command = s.mode == modeCommand;
  int32_t face = s.faceColor;
  if (ShowsLatchedFace(s))
    face = s.faceEdgeColor;
  else if (command && s.PressedLook())
    face = s.faceShadeColor;
  const int32_t text = paint.enabled ? 0x808080 : ShiftColor(0x808080, -16);
  constexpr int32_t kFrame = 0x666666, kWhite = 0xFFFFFF, kFocus = 0xCC9999;

  PaintBevelStyle(paint, points, colors, faceState, outcome, face, text, [&](int32_t& state, BevelColors& c) {
    if (!paint.enabled && command) {
      // As bsClassic's states, drawn flat: the face colour inside a dark grey frame.
      SetRing(c, 0, face, face);
      SetRing(c, 1, face, face);
      SetRing(c, 2, kFrame, kFrame);  // 0x808080 shifted by -26
      if (IsLatched(s)) state = kFaceLatched;
    } else {
      if (s.value || s.isPressedTracking)
        state = kFacePressed;
      else
        state = command ? kFaceDefault : kFaceLatched;
      SetRing(c, 1, state == kFacePressed ? face : kWhite, kFrame);
      SetRing(c, 2, kFrame, kWhite);
    }
    return FocusLook{kFocus, true, true};  // always solid, around the caption
  });
}

}  // namespace tessel
