// The panel style: the whole window is a gradient panel (the redraw clips the window to its rounded
// rectangle), its outline's corners filled out by single pixels, the caption word-wrapped in the
// middle.
#include <array>

#include "frames/FrameStyles.h"
#include "server/contract/Gdi.h"
#include "server/contract/Surface.h"

namespace tessel::frames {

void DrawPanelStyle(DrawTarget& c, StyleFrame& f) {
  const int W = f.W, H = f.H;
  f.text.halfHeight = RoundEven(f.header / 2.0);
  const int32_t line =
      (f.p.themeColor == themeCustom || f.p.headerStyle == hsSolid) ? f.pal.frame : f.pal.themeBorder;
  c.surface.SetFillColor(static_cast<OleColor>(f.pal.fill));
  c.surface.SetForeColor(static_cast<OleColor>(line));
  const int radius = PanelRadius(f.p);
  HeaderFill(c.dc, f.pal.gradientStart, f.pal.gradientEnd, 0, 0, W, H, f.p.gradientHeaderStyle, false, 0, 2.03);

  c.surface.SetFillStyle(f.p.headerStyle == hsGradient ? kFillTransparent : kFillSolid);
  c.surface.RoundRect(0, 0, W, H, radius, radius);
  c.surface.SetFillStyle(kFillSolid);

  const std::array<POINT, 8> corners{{{0, 4}, {4, 0}, {W - 5, 0}, {W - 1, 4},
                                      {0, H - 5}, {4, H - 1}, {W - 5, H - 1}, {W - 1, H - 5}}};
  for (const POINT& p : corners) SetPixelV(c.dc, p.x, p.y, static_cast<COLORREF>(line));

  f.caption = RECT{6, 0, W - 6, H - 2};
  f.iconY = RoundEven((H - f.iconSide) / 2.0);
}

}  // namespace tessel::frames
