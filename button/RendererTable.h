#pragma once
// The renderer the dispatcher calls for a style, and the white-to-grey face of the elliptic and
// shaded custom shapes.
#include "button/ButtonState.h"

namespace tessel {

// The renderer of a style; null for a style outside 0..7.
Renderer RendererFor(int32_t style);

// The vertical gradient from white at the top to grey at the bottom over the whole face.
void PaintShapeFaceGradient(ButtonPaint& paint);

}  // namespace tessel
