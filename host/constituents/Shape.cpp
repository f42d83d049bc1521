#include "host/constituents/Shape.h"

#include <algorithm>
#include <array>

#include "server/contract/Gdi.h"
#include "server/contract/Palette.h"
#include "host/ConstituentSurface.h"

namespace tessel {
namespace {

void Refuse() { throw InvalidPropertyValue("Invalid property value"); }

// Hatch of fill styles 2..7.
constexpr std::array<int, 6> kHatches = {
    HS_HORIZONTAL,  // 2 horizontal lines
    HS_VERTICAL,    // 3 vertical lines
    HS_BDIAGONAL,   // 4 upward diagonal
    HS_FDIAGONAL,   // 5 downward diagonal
    HS_CROSS,       // 6 cross
    HS_DIAGCROSS,   // 7 diagonal cross
};

// Pen styles of border styles 1..6 (0 draws no border).
constexpr std::array<int, 6> kPenStyles = {
    PS_SOLID,        // 1 solid
    PS_DASH,         // 2 dash
    PS_DOT,          // 3 dot
    PS_DASHDOT,      // 4 dash-dot
    PS_DASHDOTDOT,   // 5 dash-dot-dot
    PS_INSIDEFRAME,  // 6 inside solid
};

// The figure's rectangle: squares and circles are centred in the bounds.
RECT Figure(int kind, RECT r) {
  if (kind == Shape::kSquare || kind == Shape::kCircle || kind == Shape::kRoundedSquare) {
    const int w = r.right - r.left, h = r.bottom - r.top, side = std::min<int>(w, h);
    r.left += (w - side) / 2;
    r.top += (h - side) / 2;
    r.right = r.left + side;
    r.bottom = r.top + side;
  }
  return r;
}

void Outline(HDC dc, int kind, const RECT& r) {
  switch (kind) {
    case Shape::kOval:
    case Shape::kCircle:
      Ellipse(dc, r.left, r.top, r.right, r.bottom);
      break;
    case Shape::kRoundedRectangle:
    case Shape::kRoundedSquare: {
      const int corner = std::max<int>(2, std::min<int>(r.right - r.left, r.bottom - r.top) / 4);
      RoundRect(dc, r.left, r.top, r.right, r.bottom, corner, corner);
      break;
    }
    default:
      Rectangle(dc, r.left, r.top, r.right, r.bottom);
      break;
  }
}

// Fills the figure with brush and no outline; without a pen GDI leaves the right and bottom
// edges out, so the figure is grown by one to cover exactly the same pixels as with a pen.
void Fill(HDC dc, int kind, RECT r, HBRUSH brush) {
  SelectGuard pen(dc, GetStockObject(NULL_PEN));
  SelectGuard fill(dc, brush);
  r.right += 1;
  r.bottom += 1;
  Outline(dc, kind, r);
}

}  // namespace

Shape::Shape(Surface& parent, std::wstring name) : Constituent(parent, std::move(name)) {}

void Shape::SetShape(int shape) {
  if (shape < 0 || shape > 5) Refuse();
  shape_ = shape;
  Invalidate();
}

void Shape::SetBackColor(OleColor color) {
  backColor_ = color;
  Invalidate();
}

void Shape::SetBackStyle(int style) {
  if (style < 0 || style > 1) Refuse();
  backStyle_ = style;
  Invalidate();
}

void Shape::SetBorderColor(OleColor color) {
  borderColor_ = color;
  Invalidate();
}

void Shape::SetBorderStyle(int style) {
  if (style < 0 || style > 6) Refuse();
  borderStyle_ = style;
  Invalidate();
}

void Shape::SetBorderWidth(int pixels) {
  if (pixels < 1 || pixels > 8192) Refuse();
  borderWidth_ = pixels;
  Parent().Invalidate();  // a wide border reaches past the bounds
}

void Shape::SetFillColor(OleColor color) {
  fillColor_ = color;
  Invalidate();
}

void Shape::SetFillStyle(int style) {
  if (style < 0 || style > 7) Refuse();
  fillStyle_ = style;
  Invalidate();
}

void Shape::Draw(HDC dc) {
  const RECT figure = Figure(shape_, BoundsPixels());
  if (figure.right <= figure.left || figure.bottom <= figure.top) return;

  // Solid fills and solid one-pixel outlines use the DC's own brush and pen: a paint makes no
  // object for them.
  const HBRUSH dcBrush = static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
  if (backStyle_ == 1) {
    const int32_t back = PaletteOf(backColor_, ColorRole::Window);
    if (back >= 0) {
      DcBrushGuard solid(dc, static_cast<COLORREF>(back));
      Fill(dc, shape_, figure, dcBrush);
    }
  }
  if (fillStyle_ == 0) {
    const int32_t fill = PaletteOf(fillColor_, ColorRole::Window);
    if (fill >= 0) {
      DcBrushGuard solid(dc, static_cast<COLORREF>(fill));
      Fill(dc, shape_, figure, dcBrush);
    }
  } else if (fillStyle_ != 1) {
    const int32_t fill = PaletteOf(fillColor_, ColorRole::Window);
    if (fill >= 0) {
      unique_hbrush brush(CreateHatchBrush(kHatches[static_cast<size_t>(fillStyle_ - 2)], static_cast<COLORREF>(fill)));
      SetBkMode(dc, TRANSPARENT);  // the back colour shows between hatch lines
      if (brush) Fill(dc, shape_, figure, brush.get());
    }
  }
  if (borderStyle_ != 0) {
    const int32_t border = PaletteOf(borderColor_, ColorRole::Frame);
    if (border < 0) return;
    const int style = kPenStyles[static_cast<size_t>(borderStyle_ - 1)];
    // Patterned lines exist only one pixel wide; wider ones are drawn solid.
    const bool patterned = style != PS_SOLID && style != PS_INSIDEFRAME;
    const int width = borderWidth_;
    if (width == 1 && style == PS_SOLID) {
      DcPenGuard solid(dc, static_cast<COLORREF>(border));
      SelectGuard noFill(dc, GetStockObject(NULL_BRUSH));
      Outline(dc, shape_, figure);
      return;
    }
    unique_hpen pen;
    if (width > 1) {
      // Square corners: a wide outline is mitred, not rounded.
      LOGBRUSH brush{BS_SOLID, static_cast<COLORREF>(border), 0};
      const DWORD wide = static_cast<DWORD>(patterned ? PS_SOLID : style);
      pen.reset(ExtCreatePen(PS_GEOMETRIC | wide | PS_ENDCAP_SQUARE | PS_JOIN_MITER, static_cast<DWORD>(width), &brush,
                             0, nullptr));
    } else {
      pen.reset(CreatePen(style, 1, static_cast<COLORREF>(border)));
    }
    if (!pen) return;
    SetBkMode(dc, TRANSPARENT);
    SelectGuard selectPen(dc, pen.get());
    SelectGuard noFill(dc, GetStockObject(NULL_BRUSH));
    Outline(dc, shape_, figure);
  }
}

}  // namespace tessel
