#pragma once
// Gradient faces: a table of colours running from one colour to another, painted as bands across
// the width (gradient modes 1 and 2) or down the height (3 and 4).
#include <windows.h>

#include <cstdint>
#include <span>

namespace tessel {

// Fills every entry of the table: entry 0 is `fromColor`, the last one (nearly) `toColor`; each
// channel runs in equal floating-point steps and is stored truncated.
void BuildGradientTable(std::span<int32_t> table, int32_t fromColor, int32_t toColor);

// How the face is cut into bands: one-pixel bands, or two-pixel bands when the control is wider
// (taller) than a quarter of the screen along the gradient's direction.
struct GradientBands {
  int bandSize = 1;  // pixels per band
  int count = 0;     // number of bands
};
GradientBands GradientBandsFor(int mode, int width, int height, int screenWidth, int screenHeight);

// Paints the whole width x height face with the gradient of `mode` (1 left to right, 2 right to
// left, 3 top to bottom, 4 bottom to top; 0 paints nothing) from `fromColor` to `toColor`, band by
// band, within the DC's clip region. With two-pixel bands and an odd size the last column (row)
// is left as it was. The screen size is the real one (read at most once a second) unless the
// caller gives another.
void DrawGradient(HDC dc, int mode, int width, int height, int32_t fromColor, int32_t toColor, int screenWidth = 0,
                  int screenHeight = 0);

}  // namespace tessel
