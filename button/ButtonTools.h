#pragma once
// The small helpers the button's drawing shares: colour resolution and fitting the picture into a
// box. (Boxes and lines are drawn with the DC's own brush and pen: button/draw/PaintBox.h.)
#include <windows.h>

#include <cstdint>

#include "button/ButtonState.h"

namespace tessel {

// OLE colour to RGB: a value with the high bit set is the system colour whose index is its low
// byte, read from the live system colour table; any other value is returned unchanged.
int32_t ResolveColor(OleColor color);

// The picture's size scaled by one factor to fit boxWidth x boxHeight (aspect kept, rounded).
void FitPictureSize(const ButtonState& state, int32_t boxWidth, int32_t boxHeight, int32_t& width, int32_t& height);

}  // namespace tessel
