#pragma once
// The three-ring bevel of the button's face, drawn edge by edge: inner, middle and outer ring,
// each with a left, top, right and bottom edge in a colour of its own (or not drawn).
#include <windows.h>

#include <cstdint>

#include "button/ButtonState.h"

namespace tessel {

// Where the bevel sits: the control's size and the straight part of the face, and the shape,
// whose slanted sides move the left and right edges.
struct BevelFrame {
  int32_t width = 0;   // W
  int32_t height = 0;  // H
  int32_t faceLeft = 0;
  int32_t faceRight = 0;
  int32_t shape = shapeRectangle;
};

// Fills `points` with the three rings (indexes 0-4 inner, 5-9 middle, 10-14 outer, 15 the bottom
// right corner) and draws every edge whose colour in `colors` (1-4 inner left, top, right,
// bottom; 5-8 middle; 9-12 outer) is not -1, in a one-pixel pen that changes only when the colour
// does. Outer edges take `outerPenStyle` (PS_DOT, ...) when it is 0 or more, else they are solid.
// The outer bottom edge is carried on to the bottom-right corner with the last pen drawn.
void DrawBevel(HDC dc, const BevelFrame& frame, BevelPoints& points, const BevelColors& colors,
               int outerPenStyle = -1);

}  // namespace tessel
