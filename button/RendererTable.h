#pragma once
// The renderer the dispatcher calls for a style (the table of draw/Renderers.h), and the
// white-to-grey face of the elliptic and shaded custom shapes.
#include "button/ButtonState.h"
#include "button/draw/Renderers.h"

namespace tessel {

// The vertical gradient from white at the top to grey at the bottom over the whole face.
void PaintShapeFaceGradient(ButtonPaint& paint);

}  // namespace tessel
