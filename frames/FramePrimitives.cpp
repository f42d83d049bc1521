#include "frames/FramePrimitives.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "frames/FrameModel.h"
#include "server/contract/Gdi.h"
#include "server/contract/Palette.h"
#include "server/contract/Surface.h"

namespace tessel::frames {
namespace {

// The DC's own pen takes each line's colour, so a gradient of a few hundred lines creates no
// pen object at all; the pixels are those of a fresh solid 1-pixel pen.
class DcPen {
 public:
  explicit DcPen(HDC dc) : dc_(dc), select_(dc, GetStockObject(DC_PEN)), old_(GetDCPenColor(dc)) {}
  ~DcPen() { SetDCPenColor(dc_, old_); }
  DcPen(const DcPen&) = delete;
  DcPen& operator=(const DcPen&) = delete;
  void Color(int32_t color) { SetDCPenColor(dc_, static_cast<COLORREF>(color) & 0xFFFFFF); }

 private:
  HDC dc_;
  SelectGuard select_;
  COLORREF old_;
};

// The pixels a 1-pixel line from `from` to `to` paints, its end point left out: [first, last).
std::pair<int, int> Covered(int from, int to) { return to >= from ? std::pair{from, to} : std::pair{to + 1, from + 1}; }

// A gradient's rows (or columns), one colour each, as one strip image of a pixel per row (or
// column) stretched across in one call: the same pixels as a block of the DC's brush per row,
// without a few hundred calls into GDI for a frame of a few hundred pixels.
class GradientStrip {
 public:
  void Add(int32_t color) {
    const auto c = static_cast<uint32_t>(color);  // DIB pixels are 0x00RRGGBB, colours 0x00BBGGRR
    pixels_.push_back(((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF));
  }
  // Rows first .. first + count - 1 over [from, to) or, across, columns over [from, to).
  void Paint(HDC dc, bool rows, int first, int from, int to) const {
    const auto [lo, hi] = Covered(from, to);
    const int count = static_cast<int>(pixels_.size());
    if (hi <= lo || count == 0) return;
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), rows ? 1 : count, rows ? -count : 1, 1, 32, BI_RGB};
    if (rows)
      StretchDIBits(dc, lo, first, hi - lo, count, 0, 0, 1, count, pixels_.data(), &bi, DIB_RGB_COLORS, SRCCOPY);
    else
      StretchDIBits(dc, first, lo, count, hi - lo, 0, 0, count, 1, pixels_.data(), &bi, DIB_RGB_COLORS, SRCCOPY);
  }

 private:
  std::vector<uint32_t> pixels_;
};

uint8_t Channel(int32_t color, int shift) { return static_cast<uint8_t>((static_cast<uint32_t>(color) >> shift) & 255); }

}  // namespace

int RoundEven(double value) { return static_cast<int>(std::nearbyint(value)); }

void DrawLine(HDC dc, int x1, int y1, int x2, int y2, int32_t color) {
  DcPen pen(dc);
  pen.Color(color);
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

void DrawOutline(HDC dc, int x, int y, int w, int h, int32_t color) {
  DcPen pen(dc);
  pen.Color(color);
  MoveToEx(dc, x, y, nullptr);
  LineTo(dc, x + w, y);
  LineTo(dc, x + w, y + h);
  LineTo(dc, x, y + h);
  LineTo(dc, x, y);
}

void PaintBox(DrawTarget& c, bool rounded, int radius, int32_t fill, int32_t line, const RECT& box, bool transparent) {
  c.surface.SetFillColor(static_cast<OleColor>(fill));
  c.surface.SetForeColor(static_cast<OleColor>(line));
  c.surface.SetFillStyle(transparent ? kFillTransparent : kFillSolid);
  const int corner = rounded ? radius : 0;
  c.surface.RoundRect(box.left, box.top, box.right, box.bottom, corner, corner);
  c.surface.SetFillStyle(kFillSolid);
}

int32_t Blend(int32_t a, int32_t b) {
  // A high-contrast scheme has no colours between its own: the palette's colour stays as it is.
  if (HighContrast()) return a;
  const auto mid = [&](int shift) { return RoundEven((Channel(a, shift) + Channel(b, shift)) / 2.0); };
  return static_cast<int32_t>(RGB(mid(0), mid(8), mid(16)));
}

void LinearGradient(HDC dc, int32_t first, int32_t second, int x, int y, int a, int b, bool vertical) {
  const int n = vertical ? b : a;
  if (n <= 1) return;
  // Only the lines that land on the image are drawn: a gradient of any length costs its pixels.
  RECT clip{};
  if (GetClipBox(dc, &clip) == ERROR) return;
  const int64_t origin = vertical ? y : x;
  const int64_t firstLine = std::max<int64_t>(1, (vertical ? clip.top : clip.left) - origin);
  const int64_t endLine = std::min<int64_t>(n, (vertical ? clip.bottom : clip.right) - origin);
  if (firstLine >= endLine) return;
  GradientStrip strip;
  const double r0 = Channel(first, 0), g0 = Channel(first, 8), b0 = Channel(first, 16);
  const double dr = Channel(second, 0) - r0, dg = Channel(second, 8) - g0, db = Channel(second, 16) - b0;
  for (int k = static_cast<int>(firstLine); k < endLine; ++k) {
    const double t = static_cast<double>(k) / n;
    strip.Add(static_cast<int32_t>(RGB(RoundEven(r0 + dr * t), RoundEven(g0 + dg * t), RoundEven(b0 + db * t))));
  }
  const int at = static_cast<int>((vertical ? y : x) + firstLine);
  if (vertical)
    strip.Paint(dc, true, at, x, a);
  else
    strip.Paint(dc, false, at, y, b);
}

void BandGradient(HDC dc, int32_t start, int32_t end, int x, int y, int w, int h, bool vertical, double ratio) {
  if (ratio <= 1.0) ratio = 1.01;
  if (vertical) {
    LinearGradient(dc, start, end, x, y, x + w, RoundEven(h / ratio), true);
    LinearGradient(dc, end, start, x, RoundEven(y + h / ratio - 1), x + w, RoundEven(h * (ratio - 1) / ratio + 1), true);
  } else {
    LinearGradient(dc, start, end, x, y, RoundEven(w / ratio), y + h, false);
    LinearGradient(dc, end, start, RoundEven(x + w / ratio - 1), y, RoundEven(w * (ratio - 1) / ratio + 1), y + h, false);
  }
}

void HeaderFill(HDC dc, int32_t start, int32_t end, int x, int y, int w, int h, int32_t kind, bool border,
                int32_t borderColor, double ratio) {
  switch (kind) {
    case gsVertical: LinearGradient(dc, end, start, x, y, x + w, h, true); break;
    case gsHorizontal: LinearGradient(dc, end, start, x, y, w, y + h, false); break;
    case gsVerticalBands: BandGradient(dc, start, end, x, y, w, h, true, ratio); break;
    case gsHorizontalBands: BandGradient(dc, start, end, x, y, w, h, false, ratio); break;
    default: break;
  }
  if (border) DrawOutline(dc, x, y, w, h, borderColor);
}

}  // namespace tessel::frames
