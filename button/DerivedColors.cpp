#include "button/DerivedColors.h"

#include "button/ButtonTools.h"
#include "button/draw/ShiftColor.h"

namespace tessel {

void UpdateDerivedColors(ButtonState& s) {
  const int32_t back = ResolveColor(s.backColor);
  const int32_t hover = ResolveColor(s.hoverBackColor);
  constexpr int32_t white = 0xFFFFFF, grey = 0x808080;
  switch (s.buttonStyle) {
    case bsRounded:
      s.faceColor = ShiftColor(back, 48, true);
      s.faceShadeColor = ShiftColor(s.faceColor, -32, true);
      s.hoverFaceColor = ShiftColor(hover, 48, true);
      s.faceEdgeColor = ShiftColor(white, -32, true);
      break;
    case bsPastel:
      s.faceColor = back;
      s.faceShadeColor = ShiftColor(grey, 12);
      s.hoverFaceColor = hover;
      s.faceEdgeColor = ShiftColor(s.faceShadeColor, 31);
      break;
    case bsGlossy:
      s.faceColor = ShiftColor(back, 31);
      s.faceShadeColor = ShiftColor(grey, -16);
      s.hoverFaceColor = ShiftColor(hover, 31);
      s.faceEdgeColor = ShiftColor(grey, 16, true);
      break;
    default:  // classic, soft, flat bevel, ring, light
      s.faceColor = back;
      s.faceShadeColor = back;
      s.hoverFaceColor = hover;
      s.faceEdgeColor = ShiftColor(white, -32);
      break;
  }
}

}  // namespace tessel
