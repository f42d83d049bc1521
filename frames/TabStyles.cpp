// The tab styles: a slanted tab on the top edge (clipped to the rounded frame) and a rounded tab
// block joined to a body whose top-left corner under the tab is square.
#include <array>

#include "frames/FrameStyles.h"
#include "server/contract/Gdi.h"
#include "server/contract/Surface.h"

namespace tessel::frames {
namespace {

unique_hrgn TabRegion(const std::array<POINT, 4>& points) {
  return unique_hrgn(CreatePolygonRgn(points.data(), static_cast<int>(points.size()), ALTERNATE));
}

void FillTab(HDC dc, HRGN region, int32_t color) {
  if (!region) return;
  unique_hbrush brush(CreateSolidBrush(static_cast<COLORREF>(color)));
  if (brush) FillRgn(dc, region, brush.get());
}

void CaptionInTab(StyleFrame& f, const RECT& r, SIZE tab) {
  f.caption = RECT{r.left + RoundEven(kHeaderInset / 2.0), r.top, r.left + static_cast<int>(tab.cx),
                   r.top + static_cast<int>(tab.cy) + 2};
}

}  // namespace

void DrawTabStyle(DrawTarget& c, StyleFrame& f) {
  const RECT r{0, 0, f.W - 1, f.H - 1};
  const int radius = f.p.roundedCorner ? 10 : 0;
  const SIZE tab = TabSize(r, f.text);
  const std::array<POINT, 4> pt{{{r.left, r.top},
                                 {r.left, r.top + tab.cy},
                                 {r.left + tab.cx, r.top + tab.cy},
                                 {r.left + tab.cx + RoundEven(tab.cy / 2.0), r.top}}};
  unique_hrgn region = TabRegion(pt);
  if (region) {
    unique_hrgn rounded(CreateRoundRectRgn(r.left, r.top, r.right, r.bottom, radius, radius));
    if (rounded) CombineRgn(region.get(), region.get(), rounded.get(), RGN_AND);
  }
  PaintBox(c, f.p.roundedCorner, 10, f.pal.fill, f.pal.fill, r, false);
  FillTab(c.dc, region.get(), f.pal.textBox);
  DrawLine(c.dc, pt[1].x, pt[1].y, pt[2].x, pt[2].y, f.pal.frame);
  DrawLine(c.dc, pt[2].x, pt[2].y, pt[3].x, pt[3].y, f.pal.frame);
  PaintBox(c, f.p.roundedCorner, 10, f.pal.fill, f.pal.frame, r, true);
  CaptionInTab(f, r, tab);
}

void DrawBlockStyle(DrawTarget& c, StyleFrame& f) {
  const RECT r{0, 0, f.W - 1, f.H - 1};
  const int radius = f.p.roundedCorner ? 10 : 0;
  const SIZE tab = TabSize(r, f.text);
  const std::array<POINT, 4> pt{{{r.left + 6, r.top},
                                 {r.left + 6, r.top + tab.cy},
                                 {r.left + tab.cx + RoundEven(tab.cy / 2.0), r.top + tab.cy},
                                 {r.left + tab.cx, r.top}}};
  unique_hrgn region = TabRegion(pt);
  FillTab(c.dc, region.get(), f.pal.textBox);
  const int blockRight = RoundEven(0.9 * tab.cx), blockBottom = RoundEven(1.3 * tab.cy);
  PaintBox(c, f.p.roundedCorner, 10, f.pal.textBox, f.pal.frame, RECT{0, 0, blockRight, blockBottom}, false);
  // Squares the block's right side where it meets the tab.
  PaintBox(c, f.p.roundedCorner, 0, f.pal.textBox, f.pal.textBox,
           RECT{RoundEven(0.9 * tab.cx - 5), 1, RoundEven(0.9 * tab.cx + 3), blockBottom}, false);
  PaintBox(c, f.p.roundedCorner, 10, f.pal.fill, f.pal.fill, RECT{-1, -1, f.W - 1, f.H - 1}, true);
  c.surface.SetForeColor(static_cast<OleColor>(f.pal.frame));
  DrawLine(c.dc, pt[0].x, pt[0].y, pt[3].x, pt[3].y, f.pal.frame);
  DrawLine(c.dc, pt[3].x, pt[3].y, pt[2].x, pt[2].y, f.pal.frame);
  // The body under the tab, then a square over its top-left corner whose right and bottom edges
  // a second square in the fill colour covers again.
  c.surface.SetFillColor(static_cast<OleColor>(f.pal.fill));
  c.surface.RoundRect(r.left, r.top + tab.cy, r.right, r.bottom, radius, radius);
  c.surface.RoundRect(r.left, r.top + tab.cy, r.left + 10, r.top + tab.cy + 10, 0, 0);
  c.surface.SetForeColor(static_cast<OleColor>(f.pal.fill));
  c.surface.RoundRect(r.left + 1, r.top + tab.cy + 1, r.left + 10, r.top + tab.cy + 10, 0, 0);
  CaptionInTab(f, r, tab);
}

}  // namespace tessel::frames
