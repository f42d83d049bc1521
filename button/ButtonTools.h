#pragma once
// The small drawing helpers every renderer of the button shares: colour resolution, selecting a
// brush or pen into the back buffer (each replaces and deletes the previous one, so at most one
// brush and one pen of the button exist besides those the buffer was created with), a filled box,
// and fitting the picture into a box.
#include <windows.h>

#include <cstdint>

#include "button/ButtonState.h"

namespace tessel {

// OLE colour to RGB: a value with the high bit set is the system colour whose index is its low
// byte, read from the live system colour table; any other value is returned unchanged.
int32_t ResolveColor(OleColor color);

enum SelectToolKind : int32_t { toolBrush = 0, toolPen = 1, toolTextColor = 2 };

// select False puts the buffer's own brush and pen back and deletes the button's. Kind 0 selects
// a solid brush of colour (and, with alsoPen, a pen of width, style and colour too); kind 1 a
// pen; both act on memDC whatever dc is. Kind 2 sets dc's text colour to ResolveColor(colour).
void SelectTool(ButtonState& state, bool select, HDC dc, int32_t kind, int32_t colour, bool alsoPen = false,
                int32_t width = 1, int32_t style = PS_SOLID);

// A rectangle (x1, y1)-(x2, y2) on dc filled with fill; outlined with a pen of penColor, or of
// the fill colour when penColor is -1.
void DrawBox(ButtonState& state, HDC dc, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t fill,
             int32_t& penColor, int32_t width = 1, int32_t style = PS_SOLID);

// The picture's size scaled by one factor to fit boxWidth x boxHeight (aspect kept, rounded).
void FitPictureSize(const ButtonState& state, int32_t boxWidth, int32_t boxHeight, int32_t& width, int32_t& height);

}  // namespace tessel
