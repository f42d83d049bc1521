#include <gtest/gtest.h>

#include "button/draw/FocusIndicator.h"
#include "tests/button/ButtonCanvas.h"

namespace tessel::test {
namespace {

constexpr COLORREF kFaceWhite = 0xFFFFFF;
constexpr int32_t kBlue = 0xC00000;

struct Focus {
  int32_t shape = shapeRectangle;
  int32_t style = bsClassic;
  bool value = false;
  bool hug = false;
  bool caption = true;
  bool isDefaultSet = true;
};

// Draws the indicator (solid) on a white 80 x 30 face with the caption at (20, 10)-(50, 20) and
// the picture at (10, 5)-(90, 40); returns the bounds of what it drew.
RECT DrawSolid(const Focus& s, bool* hugOut = nullptr) {
  ButtonCanvas canvas(80, 30);
  canvas.Clear(kFaceWhite);
  canvas.state.buttonShape = s.shape;
  canvas.state.buttonStyle = s.style;
  canvas.state.value = s.value;
  canvas.state.Set(isDefault, s.isDefaultSet);
  canvas.state.caption = s.caption ? L"Caption" : L"";
  canvas.state.captionRect = {20, 10, 50, 20};
  canvas.state.pictureRect = {10, 5, 90, 40};
  int32_t color = kBlue;
  bool hug = s.hug;
  BevelPoints points{};
  DrawFocusIndicator(canvas.paint, color, true, hug, points);
  GdiFlush();
  if (hugOut) *hugOut = hug;
  RECT r = canvas.Bounds(kBlue);
  // Solid means a closed one-pixel outline: every corner is drawn, the inside is not.
  if (r.right > r.left + 2 && r.bottom > r.top + 2) {
    EXPECT_EQ(canvas.At(r.right - 1, r.bottom - 1), static_cast<COLORREF>(kBlue));
    EXPECT_EQ(canvas.At(r.left, r.bottom - 1), static_cast<COLORREF>(kBlue));
    EXPECT_EQ(canvas.At(r.left + 1, r.top + 1), kFaceWhite);
  }
  return r;
}

TEST(FocusIndicator, OutlineSitsInTheFaceOrAroundTheCaption) {
  struct Case {
    const char* what;
    Focus setup;
    RECT expected;
    bool hugAfter;
  };
  const Case cases[] = {
      {"not the default button", {.isDefaultSet = false}, {}, false},
      {"custom shape", {.shape = shapeCustom}, {}, false},
      {"face", {}, {4, 4, 76, 26}, false},
      {"around the caption", {.hug = true}, {18, 8, 52, 22}, true},
      {"around the caption, latched: one pixel down and right, and wider", {.value = true, .hug = true}, {19, 9, 54, 24}, true},
      {"pastel latched: the caption does not move", {.style = bsPastel, .value = true, .hug = true}, {18, 8, 52, 22}, true},
      {"ellipse always hugs; latched moves down only", {.shape = shapeEllipse, .value = true}, {18, 9, 52, 24}, true},
      {"no caption: the picture box, limited to the face", {.hug = true, .caption = false}, {9, 4, 77, 27}, true},
      {"rounded ellipse: none", {.shape = shapeEllipseFramed, .style = bsRounded}, {}, false},
  };
  for (const Case& c : cases) {
    bool hug = false;
    RECT got = DrawSolid(c.setup, &hug);
    EXPECT_TRUE(EqualRect(&got, &c.expected)) << c.what << ": (" << got.left << ", " << got.top << ")-(" << got.right
                                             << ", " << got.bottom << ")";
    if (c.expected.right) {
      EXPECT_EQ(hug, c.hugAfter) << c.what;
    }
  }
}

// Not latched: the system's dotted focus rectangle, every other pixel of its edge inverted.
TEST(FocusIndicator, DottedSystemRectangleUnlessSolid) {
  ButtonCanvas canvas(40, 20);
  canvas.Clear(kFaceWhite);
  canvas.state.Set(isDefault, true);
  int32_t color = kBlue;
  bool hug = false;
  BevelPoints points{};
  DrawFocusIndicator(canvas.paint, color, false, hug, points);
  GdiFlush();
  EXPECT_EQ(canvas.Count(kBlue), 0);
  int dots = 0;
  for (int x = 4; x < 36; ++x) dots += canvas.At(x, 4) != kFaceWhite;
  EXPECT_EQ(dots, 16);
  EXPECT_EQ(canvas.At(3, 4), kFaceWhite);
  EXPECT_EQ(canvas.At(10, 10), kFaceWhite);

  int32_t none = -1;  // a colour below 0 draws black
  ButtonCanvas black(40, 20);
  black.Clear(kFaceWhite);
  black.state.Set(isDefault, true);
  DrawFocusIndicator(black.paint, none, true, hug, points);
  GdiFlush();
  EXPECT_EQ(none, 0);
  EXPECT_EQ(black.At(4, 4), 0u);
  EXPECT_EQ(black.At(35, 15), 0u);
}

// Slanted shapes follow their sides with a five-point line.
TEST(FocusIndicator, SlantedShapesFollowTheirSides) {
  ButtonCanvas canvas(60, 20);
  canvas.Clear(kFaceWhite);
  canvas.state.Set(isDefault, true);
  canvas.state.buttonShape = shapeSlantBoth;
  canvas.state.faceLeft = 21;
  canvas.state.faceRight = 39;
  int32_t color = kBlue;
  bool hug = false;
  BevelPoints points{};
  DrawFocusIndicator(canvas.paint, color, false, hug, points);
  GdiFlush();
  // From (19, 15) up to (8, 4), along the top to (38, 4), down to (49, 15) and back to (20, 15).
  const POINT on[] = {{19, 15}, {8, 4}, {14, 10}, {20, 4}, {38, 4}, {44, 10}, {30, 15}};
  for (POINT p : on) EXPECT_EQ(canvas.At(p.x, p.y), static_cast<COLORREF>(kBlue)) << p.x << ", " << p.y;
  EXPECT_EQ(canvas.At(7, 4), kFaceWhite);
  EXPECT_EQ(canvas.At(30, 10), kFaceWhite);
  EXPECT_EQ(points[0].x, 19);
  EXPECT_EQ(points[2].x, 38);
}

}  // namespace
}  // namespace tessel::test
