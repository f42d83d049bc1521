// The styles whose caption stands on a line: the group box (its gap in the top line) and the
// etched separator.
#include "frames/FrameStyles.h"
#include "server/contract/OleColor.h"

namespace tessel::frames {
namespace {

constexpr OleColor kSys3DDarkShadow = 0x80000015;
constexpr OleColor kSysGrayText = 0x80000011;

void CaptionOnLine(StyleFrame& f, int x) {
  f.caption = RECT{x + 3, 0, x + f.text.width + 3, f.text.height};
}

}  // namespace

void DrawWindowsStyle(DrawTarget& c, StyleFrame& f) {
  const int hh = f.text.halfHeight;
  PaintBox(c, f.p.roundedCorner, 10, f.pal.fill, f.pal.frame, RECT{0, hh, f.W - 1, f.H - 1}, false);
  if (f.p.caption.empty()) return;
  const int x = CaptionLeft(f.p, f.W, f.text.width);
  DrawLine(c.dc, x, hh, x + f.text.width + 6, hh, f.pal.fill);
  CaptionOnLine(f, x);
}

void DrawLineStyle(DrawTarget& c, StyleFrame& f) {
  const int hh = f.text.halfHeight;
  DrawLine(c.dc, 0, hh, f.W, hh, TranslateColor(f.p.enabled ? kSys3DDarkShadow : kSysGrayText));
  DrawLine(c.dc, 0, hh + 1, f.W, hh + 1, kWhite);
  int x = 0;
  if (!f.p.caption.empty()) {
    x = CaptionLeft(f.p, f.W, f.text.width);
    DrawLine(c.dc, x, hh, x + f.text.width + 6, hh, f.pal.fill);
    DrawLine(c.dc, x, hh + 1, x + f.text.width + 6, hh + 1, f.pal.fill);
  }
  CaptionOnLine(f, x);
}

}  // namespace tessel::frames
