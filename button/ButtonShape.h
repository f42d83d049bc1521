#pragma once
// The shape builder: turns buttonShape and buttonStyle into the control's window region (clicks
// and painting outside the outline do not belong to the button), the two inner face regions the
// renderers clip to, and the straight extent of the face. Slanted shapes too narrow for their
// slant, and picture-shaped buttons, change the control's size.
#include <functional>

#include "button/ButtonState.h"

namespace tessel {

// Resizes the control to width x height pixels and updates paint.width and paint.height.
using ShapeResize = std::function<void(ButtonPaint& paint, int32_t width, int32_t height)>;
// Paints the face with the vertical white-to-grey gradient (the elliptic and shaded custom shapes).
using ShapeFaceGradient = std::function<void(ButtonPaint& paint)>;

void BuildShape(ButtonPaint& paint, const ShapeResize& resize, const ShapeFaceGradient& faceGradient);

}  // namespace tessel
