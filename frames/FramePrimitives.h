#pragma once
// The drawing primitives the frame styles are built from: lines, outlines, boxes drawn with the
// window's own pen and brush colours, linear and mirrored two-band gradients, and colour blending.
// Colours are RGB values; coordinates are pixels of the frame's window.
#include <windows.h>

#include <cstdint>

namespace tessel {
class Surface;
}

namespace tessel::frames {

// Where a frame draws: the window's drawing services and the device context of its persistent
// image (the same one the services draw into).
struct DrawTarget {
  Surface& surface;
  HDC dc;
};

// A 1-pixel line from (x1, y1) to (x2, y2), the end point left out.
void DrawLine(HDC dc, int x1, int y1, int x2, int y2, int32_t color);
// A closed 1-pixel outline around (x, y) to (x + w, y + h), both corners included.
void DrawOutline(HDC dc, int x, int y, int w, int h, int32_t color);
// A rounded (radius x radius) or square box in the window's pen and brush colours, hollow when
// transparent; the window's fill mode is solid again afterwards.
void PaintBox(DrawTarget& c, bool rounded, int radius, int32_t fill, int32_t line, const RECT& box, bool transparent);
// Each channel half-way between a and b, rounded to even.
int32_t Blend(int32_t a, int32_t b);
// One line per pixel from first to second: rows y+1 .. y+b-1 from x to the right edge a when
// vertical, else columns x+1 .. x+a-1 from y to the bottom edge b. The first and last are left.
void LinearGradient(HDC dc, int32_t first, int32_t second, int x, int y, int a, int b, bool vertical);
// start, then end at the split (1/ratio of the extent), then start again.
void BandGradient(HDC dc, int32_t start, int32_t end, int x, int y, int w, int h, bool vertical, double ratio);
// A header of the given gradient kind, outlined in borderColor when border is set.
void HeaderFill(HDC dc, int32_t start, int32_t end, int x, int y, int w, int h, int32_t kind, bool border,
                int32_t borderColor, double ratio);

// Rounds to the nearest integer, halves to even.
int RoundEven(double value);

}  // namespace tessel::frames
