#pragma once
// The focus indicator of the default or focused button: the system's dotted focus rectangle, or a
// solid outline for a latched button; inset in the face, hugging the caption (round shapes, some
// styles), or following the slanted sides.
#include <cstdint>

#include "button/ButtonState.h"

namespace tessel {

// Draws nothing unless isDefault is set, and nothing for the custom shapes. `color` below 0 is
// black; `solid` chooses the outline over the dotted rectangle; round shapes (except the rounded
// style, which draws none) always hug the caption and set `hugCaption`. `points` is scratch.
void DrawFocusIndicator(ButtonPaint& paint, int32_t& color, bool solid, bool& hugCaption, BevelPoints& points);

}  // namespace tessel
