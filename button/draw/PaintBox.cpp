#include "button/draw/PaintBox.h"

#include "server/contract/Gdi.h"

namespace tessel {

void PaintBox(HDC dc, int x1, int y1, int x2, int y2, int32_t rgb) {
  if (x2 <= x1 || y2 <= y1) return;
  SelectGuard brush(dc, GetStockObject(DC_BRUSH));
  COLORREF old = SetDCBrushColor(dc, ColorOr(rgb, 0));
  PatBlt(dc, x1, y1, x2 - x1, y2 - y1, PATCOPY);
  SetDCBrushColor(dc, old);
}

void PaintPixel(HDC dc, int x, int y, int32_t rgb) { PaintBox(dc, x, y, x + 1, y + 1, rgb); }

void PaintPolyline(HDC dc, const POINT* points, int count, int32_t rgb) {
  SelectGuard pen(dc, GetStockObject(DC_PEN));
  COLORREF old = SetDCPenColor(dc, ColorOr(rgb, 0));
  Polyline(dc, points, count);
  SetDCPenColor(dc, old);
}

}  // namespace tessel
