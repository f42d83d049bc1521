// The styles with a caption box or header over a rounded body: text box, round header, and the
// themed header and gradient box with their bands and body shading.
#include <algorithm>

#include "frames/FrameStyles.h"

namespace tessel::frames {
namespace {

constexpr double kBandRatio = 2.01;

// The caption box's height as drawn: a stored height past any window (up to the whole 32-bit range)
// is drawn as one of 2^24 pixels, so that the sums below cannot overflow. Its gradients show the
// same pixels on a window up to 16,000 pixels high: their colour moves by less than half a step.
constexpr int kFarthestHeader = 1 << 24;
int HeaderHeight(const StyleFrame& f) { return std::clamp(f.header, -kFarthestHeader, kFarthestHeader); }

int HalfOfHeader(const StyleFrame& f) { return RoundEven(HeaderHeight(f) / 2.0); }

// Themed styles outline in the theme border colour, the custom theme in the frame colour.
int32_t ThemedLine(const StyleFrame& f) { return f.p.themeColor == themeCustom ? f.pal.frame : f.pal.themeBorder; }

void ThemedBody(DrawTarget& c, const StyleFrame& f) {
  PaintBox(c, f.p.roundedCorner, 10, Blend(f.pal.gradientStart, kWhite), ThemedLine(f),
           RECT{0, f.text.halfHeight, f.W - 1, f.H - 1}, false);
}

// A vertical gradient over the upper body, from the lightened end to the lightened start colour;
// the lowest fifth keeps the body colour.
void BodyShading(DrawTarget& c, const StyleFrame& f) {
  const int tbh = HeaderHeight(f);
  HeaderFill(c.dc, Blend(f.pal.gradientStart, kWhite), Blend(f.pal.gradientEnd, kWhite), 1, tbh + 6, f.W - 3,
             RoundEven(f.H - (tbh + 8) - 0.2 * f.H), gsVertical, false, 0, kBandRatio);
}

void PlainBody(DrawTarget& c, const StyleFrame& f) {
  PaintBox(c, f.p.roundedCorner, 10, f.pal.fill, f.pal.frame, RECT{0, f.text.halfHeight, f.W - 1, f.H - 1}, false);
}

}  // namespace

void DrawHeaderStyle(DrawTarget& c, StyleFrame& f) {
  const int tbh = HeaderHeight(f);
  const int32_t gs = f.pal.gradientStart, ge = f.pal.gradientEnd, tb = f.pal.themeBorder;
  f.text.halfHeight = HalfOfHeader(f);
  ThemedBody(c, f);
  HeaderFill(c.dc, ge, gs, 0, 0, f.W - 2, 3, gsVerticalBands, true, tb, kBandRatio);
  const bool gradient = f.p.headerStyle == hsGradient;
  if (gradient)
    HeaderFill(c.dc, gs, ge, 0, 3, f.W - 2, tbh, f.p.gradientHeaderStyle, true, tb, kBandRatio);
  else
    PaintBox(c, false, 0, f.pal.fill, f.pal.frame, RECT{0, 3, f.W - 1, tbh + 5}, false);
  HeaderFill(c.dc, ge, gs, 0, tbh + 3, f.W - 2, 3, gsVerticalBands, gradient, tb, kBandRatio);
  BodyShading(c, f);
  f.caption = RECT{6, 4, f.W - 2 - 6, tbh + 2};
  f.iconY = RoundEven((tbh + 6 - f.iconSide) / 2.0);
}

void DrawTextBoxStyle(DrawTarget& c, StyleFrame& f) {
  const int tbh = HeaderHeight(f);
  f.text.halfHeight = HalfOfHeader(f);
  PlainBody(c, f);
  const int32_t shadow = Blend(f.pal.fill, 0xA7A7A7);
  const RECT box{kHeaderInset, 0, f.W - 1 - kHeaderInset, tbh};
  const RECT moved{box.left + 2, box.top + 2, box.right + 2, box.bottom + 2};
  const bool withShadow = f.p.txtBoxShadow == shShadow;
  if (f.p.headerStyle == hsGradient) {
    if (withShadow) PaintBox(c, false, tbh, shadow, shadow, moved, false);
    HeaderFill(c.dc, f.pal.gradientStart, f.pal.gradientEnd, kHeaderInset, 0, f.W - 32, tbh - 1,
               f.p.gradientHeaderStyle, true, f.pal.frame, kBandRatio);
  } else {
    if (withShadow) PaintBox(c, f.p.roundedCornerTxtBox, tbh, shadow, shadow, moved, false);
    PaintBox(c, f.p.roundedCornerTxtBox, tbh, f.pal.textBox, f.pal.frame, box, false);
  }
  f.caption = RECT{24, 0, f.W - 25, tbh - 1};
  f.iconX = 2 * kMargin + kHeaderInset;
  f.iconY = RoundEven((tbh - f.iconSide) / 2.0);
}

void DrawRoundHeaderStyle(DrawTarget& c, StyleFrame& f) {
  const int tbh = HeaderHeight(f);
  f.text.halfHeight = HalfOfHeader(f);
  PlainBody(c, f);
  if (f.p.headerStyle == hsGradient)
    HeaderFill(c.dc, f.pal.gradientStart, f.pal.gradientEnd, 0, 0, f.W - 2, tbh - 1, f.p.gradientHeaderStyle, true,
               f.pal.frame, kBandRatio);
  else
    PaintBox(c, f.p.roundedCornerTxtBox, 10, f.pal.textBox, f.pal.frame, RECT{0, 0, f.W - 1, tbh}, false);
  f.caption = RECT{6, 0, f.W - 6, tbh};
  f.iconY = RoundEven((tbh - f.iconSide) / 2.0);
}

void DrawGradientBoxStyle(DrawTarget& c, StyleFrame& f) {
  const int tbh = HeaderHeight(f);
  const int32_t gs = f.pal.gradientStart, tb = f.pal.themeBorder;
  f.text.halfHeight = HalfOfHeader(f);
  ThemedBody(c, f);
  HeaderFill(c.dc, gs, kWhite, 0, 0, f.W - 2, 3, gsVertical, true, tb, kBandRatio);
  // The grip: nine raised dots, each a 2 x 2 light square under a 2 x 2 dark one.
  const int x0 = RoundEven((f.W - 34) / 2.0), y0 = 2;
  const int32_t dark = Blend(gs, 0);
  for (int i = 0; i < 9; ++i) {
    DrawOutline(c.dc, x0 + 4 * i + 1, y0 + 1, 1, 1, kWhite);
    DrawOutline(c.dc, x0 + 4 * i, y0, 1, 1, dark);
  }
  if (f.p.headerStyle != hsGradient && f.p.enabled) DrawLine(c.dc, 0, tbh + 7, f.W - 2, tbh + 7, tb);
  HeaderFill(c.dc, gs, f.pal.gradientEnd, 0, 3, f.W - 2, tbh, f.p.gradientHeaderStyle, true, tb, kBandRatio);
  BodyShading(c, f);
  f.caption = RECT{6, 8, f.W - 1 - 6, tbh + 6};
  f.iconY = RoundEven((tbh - f.iconSide) / 2.0 + 6);
}

}  // namespace tessel::frames
