#include "host/constituents/Line.h"

#include <algorithm>
#include <cstdlib>

#include "server/contract/Gdi.h"
#include "host/ConstituentSurface.h"
#include "server/contract/Palette.h"
#include "server/contract/Twips.h"

namespace tessel {

Line::Line(Surface& parent, std::wstring name) : Constituent(parent, std::move(name)) {}

void Line::SetX1(int twips) { x1_ = twips; Changed(); }
void Line::SetY1(int twips) { y1_ = twips; Changed(); }
void Line::SetX2(int twips) { x2_ = twips; Changed(); }
void Line::SetY2(int twips) { y2_ = twips; Changed(); }

void Line::SetBorderColor(OleColor color) {
  borderColor_ = color;
  Changed();
}

void Line::SetBorderWidth(int pixels) {
  if (pixels < 1 || pixels > 8192) throw InvalidPropertyValue("Invalid property value");
  borderWidth_ = pixels;
  Changed();
}

void Line::SetBorderStyle(int style) {
  if (style < 0 || style > 6) throw InvalidPropertyValue("Invalid property value");
  borderStyle_ = style;
  Changed();
}

void Line::Changed() {
  Move(std::min(x1_, x2_), std::min(y1_, y2_), std::abs(x2_ - x1_), std::abs(y2_ - y1_));
  // A line's pixels reach past its bounding box by half its width: repaint the whole surface.
  Parent().Invalidate();
}

void Line::Draw(HDC dc) {
  if (borderStyle_ == 0) return;
  const int32_t color = PaletteOf(borderColor_, ColorRole::Frame);
  if (color < 0) return;
  static constexpr int kStyles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_SOLID};
  // Patterned lines exist only one pixel wide; wider ones are drawn solid.
  const int style = borderWidth_ > 1 ? PS_SOLID : kStyles[borderStyle_ - 1];
  auto stroke = [&] {
    SetBkMode(dc, TRANSPARENT);
    MoveToEx(dc, PixelsFromTwipsX(x1_), PixelsFromTwipsY(y1_), nullptr);
    LineTo(dc, PixelsFromTwipsX(x2_), PixelsFromTwipsY(y2_));
  };
  if (style == PS_SOLID && borderWidth_ == 1) {
    DcPenGuard solid(dc, static_cast<COLORREF>(color));  // a thin solid line makes no pen
    stroke();
    return;
  }
  unique_hpen pen(CreatePen(style, borderWidth_, static_cast<COLORREF>(color)));
  if (!pen) return;
  SelectGuard selected(dc, pen.get());
  stroke();
}

}  // namespace tessel
