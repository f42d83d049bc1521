#pragma once
// The greyed icon of a disabled frame.
#include <windows.h>

#include <cstdint>

#include "server/contract/Picture.h"

namespace tessel::frames {

// Renders picture at w x h over background, and writes every pixel of it that is not the
// background colour into the window's image at (x, y) as a grey of its own brightness; the
// background pixels leave the window's pixels as they were.
void DrawDisabledPicture(HDC dc, int x, int y, int w, int h, const Picture& picture, COLORREF background);

// The grey of one pixel: round(round(red * 0.3) + green * 0.59 + blue * 0.11), halves to even.
uint8_t GreyOf(uint8_t red, uint8_t green, uint8_t blue);

}  // namespace tessel::frames
