#pragma once
// Solid boxes and one-pixel lines in a colour, drawn with the DC brush and the DC pen, so that a
// face of many bands or a bevel of twelve edges creates no GDI object at all. The objects the DC
// held before are selected back when each call returns.
#include <windows.h>

#include <cstdint>

namespace tessel {

// Fills x1..x2-1 by y1..y2-1 (the pixels a rectangle with a pen of the fill colour covers),
// within the DC's clip region. An empty or negative box paints nothing.
void PaintBox(HDC dc, int x1, int y1, int x2, int y2, int32_t rgb);

// Many boxes in a row (the bands of a gradient or a shading): the DC brush is selected once.
class BoxPainter {
 public:
  explicit BoxPainter(HDC dc);
  ~BoxPainter();
  BoxPainter(const BoxPainter&) = delete;
  BoxPainter& operator=(const BoxPainter&) = delete;
  void Box(int x1, int y1, int x2, int y2, int32_t rgb);

 private:
  HDC dc_;
  HGDIOBJ oldBrush_;
  COLORREF oldColor_;
};

// A row of strips in one call: strip i (colour colors[i]) covers stripSize pixels from i * stripSize
// along the direction (columns when across, rows otherwise) and length pixels the other way, the
// same pixels as one box per strip. The colours go into a one-pixel-thick image that is
// stretched over the strips, within the clip region.
void PaintStrips(HDC dc, bool across, int stripSize, const int32_t* colors, int count, int length);

// One pixel in a colour, within the clip region.
void PaintPixel(HDC dc, int x, int y, int32_t rgb);

// A polyline in a solid one-pixel pen of the colour (-1 draws black); as with every polyline,
// the last point itself is not painted.
void PaintPolyline(HDC dc, const POINT* points, int count, int32_t rgb);

}  // namespace tessel
