#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "button/draw/ShiftColor.h"
#include "tests/button/ButtonCanvas.h"
#include "tests/support/GdiCount.h"

namespace tessel::test {
namespace {

// The states a button is drawn in.
enum Look { kRest, kHot, kPressed, kDraggedOff, kDefault, kLatched, kCheckAtRest, kDisabled, kDesign };
const char* const kLookNames[] = {"rest", "hot", "pressed", "pressed, dragged off", "default", "latched check",
                                  "check at rest", "disabled", "designed"};

void Apply(ButtonCanvas& canvas, Look look) {
  ButtonState& s = canvas.state;
  switch (look) {
    case kHot:
      s.isHoverTracking = true;
      s.Set(isHot, true);
      break;
    case kPressed:
      s.isHoverTracking = s.isPressedTracking = true;
      s.Set(isHot | isPressed, true);
      break;
    case kDraggedOff:  // the mouse was captured and left the button: the timer cleared isHot
      s.isPressedTracking = true;
      s.Set(isPressed, true);
      break;
    case kDefault:
      s.Set(isDefault, true);
      break;
    case kLatched:
      s.mode = modeCheck;
      s.value = true;
      break;
    case kCheckAtRest:
      s.mode = modeCheck;
      break;
    case kDisabled:
      canvas.paint.enabled = false;
      break;
    case kDesign:
      canvas.paint.userMode = false;
      break;
    case kRest:
      break;
  }
}

constexpr int64_t F = -2;  // the face shows through: the edge is not drawn
constexpr int32_t W = 0xFFFFFF, K = 0x000000, G = 0x808080;
using Edges = std::array<int64_t, 12>;  // inner left, top, right, bottom; middle ...; outer ...

struct Row {
  Look look;
  Edges edges;
  int64_t face = F;  // the face colour at the centre, when the row checks it
};

// One probe in the middle of every edge of a 40 x 20 rectangle: the three rings are 1 pixel
// apart, starting at the border.
const POINT kEdgeProbe[12] = {{2, 10}, {20, 2},  {37, 10}, {20, 17}, {1, 10}, {20, 1},
                              {38, 10}, {20, 18}, {0, 10},  {20, 0},  {39, 10}, {20, 19}};

void ExpectRows(int32_t style, const std::vector<Row>& rows, OleColor back = 0xD8D8D8) {
  for (const Row& row : rows) {
    ButtonCanvas canvas(40, 20);
    canvas.state.buttonStyle = style;
    canvas.state.backColor = back;
    canvas.state.hoverBackColor = 0xC8E0F0;
    canvas.state.caption.clear();
    Apply(canvas, row.look);
    canvas.DeriveColors();
    canvas.Render();
    const COLORREF centre = canvas.At(20, 10);
    if (row.face != F) {
      EXPECT_EQ(Hex(centre), Hex(static_cast<COLORREF>(row.face))) << kLookNames[row.look];
    }
    for (int k = 0; k < 12; ++k) {
      const COLORREF expected = row.edges[k] == F ? centre : static_cast<COLORREF>(row.edges[k]);
      EXPECT_EQ(Hex(canvas.At(kEdgeProbe[k].x, kEdgeProbe[k].y)), Hex(expected))
          << "style " << style << ", " << kLookNames[row.look] << ", edge " << k + 1;
    }
  }
}

// The kept images pin every edge of every style and state on the real shapes; the tables here
// keep the rules they cannot show: the rounded style's colours on a coloured face, the default
// look without a focus rectangle, the ring style's design-time outline and the glossy corners.
TEST(StyleRenderer, Rounded) {
  const int32_t face = ShiftColor(0xC08040, 48, true);  // 0xF0B070
  auto S = [](int32_t f, int n) -> int64_t { return ShiftColor(f, n, true); };
  const int32_t shade = S(face, -32);
  const int32_t disabled = S(face, -24);
  constexpr int32_t N = 0x733C00;
  const std::vector<Row> rows = {
      {kRest, {S(face, -10), S(face, 10), S(face, -24), S(face, -32), S(face, -5), S(face, 16), S(face, -36),
               S(face, -48), N, N, N, N}},
      {kHot, {0x6BCBFF, 0x8CDBFF, 0x6BCBFF, 0x31B2FF, 0x31B2FF, 0xA6E9FF, 0x31B2FF, 0x0096E7, N, N, N, N}},
      {kDefault, {0xF0D1B5, 0xF7D7BD, 0xF0D1B5, 0xE7AE8C, 0xE7AE8C, 0xFFDFBF, 0xE7AE8C, 0xEF826B, N, N, N, N}},
      {kPressed, {S(shade, -22), S(shade, -24), shade, S(shade, 10), S(shade, -32), S(shade, -32), S(shade, 5),
                  S(shade, 16), N, N, N, N}},
      {kDisabled, {F, F, F, F, F, F, F, F, S(disabled, -84), S(disabled, -84), S(disabled, -84), S(disabled, -84)},
       disabled},
  };
  ExpectRows(bsRounded, rows, 0xC08040);

  // The default look needs the focus rectangle shown; the corners are cut by frame pixels.
  ButtonCanvas canvas(40, 20);
  canvas.state.buttonStyle = bsRounded;
  canvas.state.backColor = 0xC08040;
  canvas.state.showFocusRect = false;
  canvas.state.Set(isDefault, true);
  canvas.DeriveColors();
  int32_t faceState = -1;
  const int16_t outcome = canvas.Render(&faceState);
  EXPECT_EQ(faceState, 0);
  EXPECT_EQ(outcome, 3);  // no shape step: the clip outcome stands
  EXPECT_EQ(canvas.At(2, 10), static_cast<COLORREF>(S(face, -10)));
  for (POINT p : {POINT{1, 1}, POINT{1, 18}, POINT{38, 1}, POINT{38, 18}})
    EXPECT_EQ(canvas.At(p.x, p.y), static_cast<COLORREF>(N)) << p.x << ", " << p.y;
}

TEST(StyleRenderer, Ring) {
  // While the form is designed the button at rest shows a dotted outline 64 darker than its
  // container (0xE0E0E0 here).
  ButtonCanvas canvas(40, 20);
  canvas.state.buttonStyle = bsRing;
  canvas.state.ambientBackColor = 0xE0E0E0;
  Apply(canvas, kDesign);
  canvas.DeriveColors();
  canvas.Render();
  const int dots = canvas.Count(0xA0A0A0);
  EXPECT_GT(dots, 20);
  EXPECT_LT(dots, 2 * 40 + 2 * 20 - 4);
}

TEST(StyleRenderer, Glossy) {
  const int32_t up = ShiftColor(0xD8D8D8, 31);  // 0xF7F7F7
  const int64_t light = ShiftColor(up, 31, true), dark = ShiftColor(up, -64, true);
  const Edges down = {0x606060, 0x606060, G, G, 0x404040, 0x404040, 0x707070, 0x707070, K, K, K, K};
  ExpectRows(bsGlossy, {
      {kRest, {W, W, up, up, light, light, dark, dark, K, K, K, K}, up},
      {kDraggedOff, {W, W, up, up, light, light, dark, dark, K, K, K, K}, up},
      {kPressed, down, 0x707070},
      {kLatched, down, 0x8A9090},
  });
  // Corners rounded pixel by pixel after the bevel.
  ButtonCanvas canvas(40, 20);
  canvas.state.buttonStyle = bsGlossy;
  canvas.state.backColor = 0xD8D8D8;
  canvas.DeriveColors();
  canvas.Render();
  const struct {
    int x, y;
    int64_t color;
  } corners[] = {{3, 3, W},          {2, 2, light},        {1, 17, up},   {1, 1, K},  {1, 18, K},
                 {36, 16, up},       {37, 1, up},          {37, 17, dark}, {38, 18, K}, {38, 1, K}};
  for (const auto& c : corners)
    EXPECT_EQ(Hex(canvas.At(c.x, c.y)), Hex(static_cast<COLORREF>(c.color))) << c.x << ", " << c.y;
}

// Redraws cycling through every style, state and shape leave the GDI object count where it was
// and the buffer's pen, brush and font selected as they were.
TEST(StyleRenderer, RedrawsGiveEveryObjectBack) {
  ButtonCanvas canvas(60, 24);
  canvas.state.caption = L"&Save";
  canvas.state.captionRect = {10, 5, 50, 19};
  canvas.state.ambientBackColor = 0xE0E0E0;
  HDC dc = canvas.dc();
  const HGDIOBJ pen = GetCurrentObject(dc, OBJ_PEN), brush = GetCurrentObject(dc, OBJ_BRUSH),
                font = GetCurrentObject(dc, OBJ_FONT);
  const unsigned before = GdiObjectCount();
  const int32_t shapes[] = {shapeRectangle, shapeSlantLeft, shapeEllipse, shapeEllipseFramed};
  for (int i = 0; i < 2000; ++i) {
    ButtonState& s = canvas.state;
    s.buttonStyle = i % 8;
    s.buttonShape = shapes[(i / 8) % 4];
    s.mode = modeCommand;
    s.value = s.isHoverTracking = s.isPressedTracking = false;
    s.stateFlags = 0;
    s.gradientMode = (i / 32) % 5;
    s.captionStyle = (i / 160) % 3;
    canvas.paint.enabled = true;
    canvas.paint.userMode = (i / 480) % 2 == 0;
    Apply(canvas, static_cast<Look>((i / 2) % 8));
    if (i % 8 == 0) canvas.ShapeFace();
    canvas.DeriveColors();
    canvas.Render();
  }
  EXPECT_EQ(GdiObjectCount(), before);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);
}

}  // namespace
}  // namespace tessel::test
