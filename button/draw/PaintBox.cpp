#include "button/draw/PaintBox.h"

#include "server/contract/Gdi.h"

namespace tessel {

void PaintBox(HDC dc, int x1, int y1, int x2, int y2, int32_t rgb) {
  BoxPainter(dc).Box(x1, y1, x2, y2, rgb);
}

BoxPainter::BoxPainter(HDC dc)
    : dc_(dc), oldBrush_(SelectObject(dc, GetStockObject(DC_BRUSH))), oldColor_(GetDCBrushColor(dc)) {}

BoxPainter::~BoxPainter() {
  SetDCBrushColor(dc_, oldColor_);
  SelectObject(dc_, oldBrush_);
}

void BoxPainter::Box(int x1, int y1, int x2, int y2, int32_t rgb) {
  if (x2 <= x1 || y2 <= y1) return;
  SetDCBrushColor(dc_, ColorOr(rgb, 0));
  PatBlt(dc_, x1, y1, x2 - x1, y2 - y1, PATCOPY);
}

void PaintPixel(HDC dc, int x, int y, int32_t rgb) { PaintBox(dc, x, y, x + 1, y + 1, rgb); }

void PaintPolyline(HDC dc, const POINT* points, int count, int32_t rgb) {
  SelectGuard pen(dc, GetStockObject(DC_PEN));
  COLORREF old = SetDCPenColor(dc, ColorOr(rgb, 0));
  Polyline(dc, points, count);
  SetDCPenColor(dc, old);
}

}  // namespace tessel
