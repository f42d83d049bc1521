#include "button/draw/PaintBox.h"

#include <vector>

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

void PaintStrips(HDC dc, bool across, int stripSize, const int32_t* colors, int count, int length) {
  if (count <= 0 || stripSize <= 0 || length <= 0) return;
  const int size = count * stripSize;
  // DIB pixels are 0x00RRGGBB, drawing colours 0x00BBGGRR.
  thread_local std::vector<uint32_t> line;
  line.resize(static_cast<size_t>(size));
  for (int i = 0; i < count; ++i) {
    const uint32_t c = static_cast<uint32_t>(colors[i]);
    const uint32_t pixel = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    for (int k = 0; k < stripSize; ++k) line[static_cast<size_t>(i) * stripSize + k] = pixel;
  }
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = across ? size : 1;
  bi.bmiHeader.biHeight = across ? 1 : -size;  // top-down: the first strip is the top row
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  StretchDIBits(dc, 0, 0, across ? size : length, across ? length : size, 0, 0, across ? size : 1,
                across ? 1 : size, line.data(), &bi, DIB_RGB_COLORS, SRCCOPY);
}

void PaintPixel(HDC dc, int x, int y, int32_t rgb) { PaintBox(dc, x, y, x + 1, y + 1, rgb); }

void PaintPolyline(HDC dc, const POINT* points, int count, int32_t rgb) {
  SelectGuard pen(dc, GetStockObject(DC_PEN));
  COLORREF old = SetDCPenColor(dc, ColorOr(rgb, 0));
  Polyline(dc, points, count);
  SetDCPenColor(dc, old);
}

}  // namespace tessel
