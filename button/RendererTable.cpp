#include "button/RendererTable.h"

#include "button/draw/Gradient.h"

namespace tessel {

void PaintShapeFaceGradient(ButtonPaint& p) {
  // The gradient mode is top to bottom for this face only; the button's own mode is untouched.
  if (HDC mem = p.memDC()) DrawGradient(mem, gradTopBottom, p.W(), p.H(), 0xFFFFFF, 0x808080);
}

}  // namespace tessel
