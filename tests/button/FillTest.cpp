// The colour arithmetic, gradients, face fills and bevels, on a canvas with exact pixels.
#include "tests/support/Prelude.h"

#include "button/draw/Bevel.h"
#include "button/draw/FaceClip.h"
#include "button/draw/FillBackground.h"
#include "button/draw/Gradient.h"
#include "button/draw/ShiftColor.h"
#include "tests/button/ButtonCanvas.h"

namespace tessel::test {
namespace {

// Channels shifted, clamped, blue scaled (truncated), inverted, and the amount reversed away from pure
// black and white, where the caller's amount holds the reversal.
TEST(ShiftColor, ShiftsClampsScalesInvertsAndAvoidsExtremes) {
  struct Case { int32_t color; int16_t amount; bool scaleBlue, avoidExtremes, invert; int32_t expected; int16_t amountAfter; };
  const Case cases[] = {
      {0x808080, -48, false, false, false, 0x505050, -48},  {0xFF0000, -25, true, false, false, 0xDE0000, -25},
      {0x0000FF, -25, true, false, false, 0x0000E6, -25},   {0xC00000, 48, true, false, false, 0xF03030, 48},
      {0x100000, -1, true, false, false, 0x100000, -1},     {0x123456, 300, false, false, false, 0xFFFFFF, 300},
      {0x123456, -300, false, false, false, 0x000000, -300}, {0xFFFFFF, 20, false, true, false, 0xEBEBEB, -20},
      {0x000000, 0, false, true, false, 0x404040, 64},      {0xFFFFFF, 0, false, true, false, 0xBFBFBF, -64},
      {0x000000, -10, false, true, false, 0x0A0A0A, 10},    {0x7F7F7F, -16, false, true, false, 0x6F6F6F, -16},
      {0x102030, 0, false, false, true, 0xEFDFCF, 0},       {0xFFFFFF, 0, false, true, true, 0x404040, -64},
      {0xFFFFFF, -32, true, false, false, 0xD5DFDF, -32},   {0x808080, 16, true, false, false, 0x8A9090, 16},
  };
  for (const Case& c : cases) {
    int16_t amount = c.amount;
    const int32_t byReference = ShiftColor(c.color, amount, c.scaleBlue, c.avoidExtremes, c.invert);
    EXPECT_EQ(std::make_tuple(byReference, amount, ShiftColor(c.color, int{c.amount}, c.scaleBlue, c.avoidExtremes, c.invert)),
              std::make_tuple(c.expected, c.amountAfter, c.expected)) << std::hex << c.color << " by " << std::dec << c.amount;
  }
}

// Two-pixel bands past a quarter of the screen, the odd last column left as it was; the reversed
// directions mirror them; colours step from first to last, truncated.
TEST(Gradient, BandsAndTheirPixels) {
  const int cases[][5] = {{1, 256, 20, 1, 256}, {1, 257, 20, 2, 128}, {2, 301, 20, 2, 150},
                          {3, 400, 192, 1, 192}, {4, 40, 193, 2, 96},  {1, 0, 20, 1, 0}};
  for (const auto& c : cases) {
    const GradientBands got = GradientBandsFor(c[0], c[1], c[2], 1024, 768);
    EXPECT_EQ(std::make_pair(got.bandSize, got.count), std::make_pair(c[3], c[4])) << c[0] << " " << c[1] << "x" << c[2];
  }
  ButtonCanvas wide(5, 4), narrow(3, 2), tall(2, 5), none(1, 3);
  DrawGradient(wide.dc(), gradLeftRight, 5, 4, 0x000000, 0x0000FF, 12, 12);
  ExpectPixels(wide, {{1, 3, 0x000000}, {2, 0, 0x0000FF}, {3, 3, 0x0000FF}, {4, 0, kUnpainted}});
  DrawGradient(narrow.dc(), gradRightLeft, 3, 2, 0x000000, 0xFF0000);  // the real screen: one-pixel bands
  ExpectPixels(narrow, {{0, 1, 0xFF0000}, {1, 1, 0x7F0000}, {2, 1, 0x000000}});
  DrawGradient(tall.dc(), gradBottomTop, 2, 5, 0x00FF00, 0x000000, 1000, 10);
  ExpectPixels(tall, {{1, 0, 0x000000}, {1, 3, 0x00FF00}, {1, 4, kUnpainted}});
  DrawGradient(none.dc(), gradLeftRight, 1, 3, 0, 0xFFFFFF, 2, 2);  // no room for one band
  EXPECT_EQ(none.Count(kUnpainted), 3);
}

// The face fill beyond the kept images' states: gradients both ways, none on a latched check (its
// ring instead), the hover colour over a gradient only where it differs, a hovered check button.
TEST(FaceFill, ChoosesFaceHoverOrGradientByState) {
  constexpr COLORREF kFace = 0xC0C0C0, kHover = 0x00C0FF, kEnd = 0x0C4848;  // whole steps over 16 rows
  struct Case { int mode; bool value, hover; int32_t gradientMode; OleColor gradientColor; COLORREF top, bottom; int16_t outcome; };
  const Case cases[] = {
      {modeCheck, false, true, gradNone, 0, kHover, kHover, kClipFace},
      {modeCommand, false, false, gradTopBottom, 0, kFace, kEnd, kClipFace},
      {modeCommand, false, false, gradBottomTop, 0, kEnd, kFace, kClipFace},
      {modeCheck, true, false, gradTopBottom, 0, kFace, kFace, kClipRing},
      {modeCommand, false, true, gradTopBottom, 0x123456, kHover, kHover, kClipFace},
      {modeCommand, false, true, gradTopBottom, 0x8000000F, kFace, kEnd, kClipFace},
  };
  for (const Case& c : cases) {
    ButtonCanvas canvas(12, 16);
    ButtonState& s = canvas.state;
    s.mode = c.mode;
    s.value = c.value;
    s.isHoverTracking = c.hover;
    s.Set(isHot, c.hover);
    s.gradientMode = c.gradientMode;
    s.gradientColor = c.gradientColor;
    s.hoverBackColor = 0x8000000F;
    int32_t face = kFace, end = kEnd, hover = kHover, faceState = -1;
    int16_t outcome = -1;
    FillBackground(canvas.paint, face, faceState, outcome, end, hover);
    ExpectPixels(canvas, {{5, 0, c.top}, {5, 15, c.bottom}});
    EXPECT_EQ(std::make_pair(faceState, outcome), std::make_pair(int32_t{kFaceNormal}, c.outcome)) << &c - cases;
  }
}

// Edge k is drawn in 0x0100 * k + 0x10 (0: unpainted), so a pixel names the edge that painted it last:
// rings end a pixel short of each corner, slants follow the face, -1 draws nothing, the last edge
// runs to the corner.
TEST(Bevel, EdgesRingsAndCorners) {
  auto edge = [](int k) { return k ? static_cast<COLORREF>(0x0100 * k + 0x10) : kUnpainted; };
  BevelColors colors{};
  for (int k = 1; k <= 12; ++k) colors[k] = static_cast<int32_t>(edge(k));
  auto expect = [&](const ButtonCanvas& canvas, std::initializer_list<std::array<int, 3>> probes) {
    for (const auto& p : probes) EXPECT_EQ(Hex(canvas.At(p[0], p[1])), Hex(edge(p[2]))) << p[0] << "," << p[1];
  };
  ButtonCanvas rect(10, 8), slant(20, 8), dotted(40, 12), none(10, 8);
  BevelPoints points{};
  DrawBevel(rect.dc(), {10, 8, 0, 10, shapeRectangle}, points, colors);
  expect(rect, {{2, 4, 1}, {2, 2, 2}, {6, 2, 2}, {7, 2, 3}, {7, 4, 3}, {7, 5, 4}, {2, 5, 4}, {3, 3, 0}, {1, 3, 5},
                {1, 1, 6}, {8, 1, 7}, {8, 5, 7}, {8, 6, 8}, {1, 6, 8}, {6, 4, 0}, {0, 3, 9}, {0, 0, 10}, {8, 0, 10},
                {9, 0, 11}, {9, 6, 11}, {9, 7, 12}, {0, 7, 12}});
  EXPECT_EQ(std::make_pair(points[15].x, points[15].y), std::make_pair(9L, 7L));
  colors[3] = colors[4] = colors[7] = -1;
  DrawBevel(slant.dc(), {20, 8, 9, 20, shapeSlantLeft}, points, colors);  // outer left edge (8, 8) to (0, 0)
  expect(slant, {{4, 4, 9}, {1, 1, 9}, {6, 4, 1}, {5, 3, 1}, {17, 3, 0}, {16, 2, 2}, {17, 2, 0}, {18, 3, 0},
                 {19, 3, 11}, {12, 7, 12}, {6, 7, 12}, {12, 6, 8}, {12, 5, 0}});
  EXPECT_EQ(std::make_pair(points[10].x, points[14].x), std::make_pair(8L, 6L));
  for (int k = 1; k <= 12; ++k) colors[k] = k > 8 ? 0x000000 : -1;
  DrawBevel(dotted.dc(), {40, 12, 0, 40, shapeRectangle}, points, colors, PS_DOT);
  const int black = dotted.PixelRows::Count({0, 0, 40, 1}, 0);
  EXPECT_GT(black, 5);
  EXPECT_LT(black, 35) << "dotted, not solid";
  for (int k = 1; k <= 12; ++k) colors[k] = -1;
  DrawBevel(none.dc(), {10, 8, 0, 10, shapeRectangle}, points, colors);
  EXPECT_EQ(none.Count(kUnpainted), 80) << "no edge: not even the closing stroke";
}

// Beyond the kept images: a designed ring's outline, the rounded default look without a focus rectangle.
TEST(StyleRenderer, DesignedRingAndRoundedDefaultWithoutFocus) {
  ButtonCanvas ring(40, 20);  // a dotted outline 64 darker than the container (0xE0E0E0)
  ring.state.buttonStyle = bsRing;
  ring.paint.userMode = false;
  ring.Render();
  EXPECT_GT(ring.Count(0xA0A0A0), 20);
  EXPECT_LT(ring.Count(0xA0A0A0), 2 * 40 + 2 * 20 - 4) << "dotted";
  ButtonCanvas rounded(40, 20);
  rounded.state.buttonStyle = bsRounded;
  rounded.state.backColor = 0xC08040;
  rounded.state.showFocusRect = false;
  rounded.state.Set(isDefault, true);
  int32_t faceState = -1;
  EXPECT_EQ(rounded.Render(&faceState), 3) << "no shape step: the clip outcome stands";
  EXPECT_EQ(faceState, 0);
  EXPECT_EQ(Hex(rounded.At(2, 10)), Hex(static_cast<COLORREF>(ShiftColor(0xF0B070, -10, true)))) << "the rest look's inner edge";
  for (POINT p : {POINT{1, 1}, POINT{1, 18}, POINT{38, 1}, POINT{38, 18}})
    EXPECT_EQ(Hex(rounded.At(p.x, p.y)), Hex(0x733C00)) << p.x << ", " << p.y;
}

}  // namespace
}  // namespace tessel::test
