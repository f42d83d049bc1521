#include "button/draw/Bevel.h"

#include "server/contract/Gdi.h"

namespace tessel {
namespace {

// The pen of the edges: the DC pen for solid edges, an own pen for styled ones; switched only
// when the colour or the style changes from one edge to the next.
class EdgePen {
 public:
  explicit EdgePen(HDC dc) : dc_(dc), oldPen_(SelectObject(dc, GetStockObject(DC_PEN))), oldColor_(GetDCPenColor(dc)) {}
  ~EdgePen() {
    SelectObject(dc_, oldPen_);
    SetDCPenColor(dc_, oldColor_);
  }
  EdgePen(const EdgePen&) = delete;
  EdgePen& operator=(const EdgePen&) = delete;

  void Use(int32_t color, int style) {
    if (used_ && color == color_ && style == style_) return;
    if (style < 0 || style == PS_SOLID) {
      SelectObject(dc_, GetStockObject(DC_PEN));
      SetDCPenColor(dc_, static_cast<COLORREF>(color));
      styled_.reset();
    } else {
      unique_hpen pen(CreatePen(style, 1, static_cast<COLORREF>(color)));
      if (pen) SelectObject(dc_, pen.get());
      styled_ = std::move(pen);  // the previous styled pen is no longer selected
    }
    used_ = true;
    color_ = color;
    style_ = style;
  }
  bool used() const { return used_; }

 private:
  HDC dc_;
  HGDIOBJ oldPen_;
  COLORREF oldColor_;
  unique_hpen styled_;
  bool used_ = false;
  int32_t color_ = 0;
  int style_ = -1;
};

}  // namespace

void DrawBevel(HDC dc, const BevelFrame& f, BevelPoints& p, const BevelColors& colors, int outerPenStyle) {
  const bool slanted = f.shape >= shapeSlantLeft && f.shape <= shapeSlantBoth;
  const int a = slanted && f.shape != shapeSlantRight ? 1 : 0;
  const int b = slanted && f.shape != shapeSlantLeft ? 1 : 0;
  const int W = f.width, H = f.height;

  // Inner ring.
  p[0] = {f.faceLeft + 2 - 4 * a, H - 3};
  p[1] = {2 * a + 2, 2};
  p[2] = {f.faceRight - 3 + 3 * b, 2};
  p[3] = {W - 3 - 3 * b, H - 3};
  p[4] = {f.faceLeft + 1 - 4 * a, H - 3};
  // Middle ring, each point one step outward from the inner one.
  p[5] = {p[0].x + a - 1, p[0].y + 1};
  p[6] = {p[1].x - 1 - a, p[1].y - 1};
  p[7] = {p[2].x + 1 - b, p[2].y - 1};
  p[8] = {p[3].x + b + 1, p[3].y + 1};
  p[9] = {p[4].x - 1, p[4].y + 1};
  // Outer ring.
  p[10] = {f.faceLeft - a, H - 1 + a};
  p[11] = {0, 0};
  p[12] = {f.faceRight - 1 + b, 0};
  p[13] = {W - 1, H - 1 + b};
  p[14] = {f.faceLeft - 1 - 2 * a, H - 1};
  p[15] = {W - 1, H - 1};

  EdgePen pen(dc);
  for (int k = 0; k <= 13; ++k) {
    if (k == 4 || k == 9) continue;  // the breaks between the rings
    const int index = k < 4 ? k + 1 : (k <= 8 ? k : k - 1);
    const int32_t color = colors[index];
    if (color == -1) continue;
    pen.Use(color, k > 8 && outerPenStyle >= 0 ? outerPenStyle : -1);
    Polyline(dc, &p[k], 2);
  }
  // The outer bottom edge reaches the right edge; with no edge drawn there is no pen to draw it.
  if (pen.used()) Polyline(dc, &p[14], 2);
}

}  // namespace tessel
