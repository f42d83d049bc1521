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
};

// Draws the indicator (solid) on a white 80 x 30 face with the caption at (20, 10)-(50, 20) and
// the picture at (10, 5)-(90, 40); returns the bounds of what it drew.
RECT DrawSolid(const Focus& s, bool* hugOut = nullptr) {
  ButtonCanvas canvas(80, 30);
  canvas.Clear(kFaceWhite);
  canvas.state.buttonShape = s.shape;
  canvas.state.buttonStyle = s.style;
  canvas.state.value = s.value;
  canvas.state.Set(isDefault, true);
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

// Around the caption (the kept images show the outline in the face): latched, the solid outline.
TEST(FocusIndicator, OutlineSitsAroundTheCaption) {
  struct Case {
    const char* what;
    Focus setup;
    RECT expected;
  };
  const Case cases[] = {
      {"around the caption", {.hug = true}, {18, 8, 52, 22}},
      {"around the caption, latched: one pixel down and right, and wider", {.value = true, .hug = true}, {19, 9, 54, 24}},
      {"pastel latched: the caption does not move", {.style = bsPastel, .value = true, .hug = true}, {18, 8, 52, 22}},
      {"ellipse always hugs; latched moves down only", {.shape = shapeEllipse, .value = true}, {18, 9, 52, 24}},
      {"no caption: the picture box, limited to the face", {.hug = true, .caption = false}, {9, 4, 77, 27}},
  };
  for (const Case& c : cases) {
    bool hug = false;
    RECT got = DrawSolid(c.setup, &hug);
    EXPECT_TRUE(EqualRect(&got, &c.expected)) << c.what << ": (" << got.left << ", " << got.top << ")-(" << got.right
                                             << ", " << got.bottom << ")";
    EXPECT_TRUE(hug) << c.what << ": the caller keeps hugging";
  }
}

// A colour below 0 draws black, and the caller's colour is set to it.
TEST(FocusIndicator, ANegativeColourDrawsBlack) {
  ButtonCanvas canvas(40, 20);
  canvas.Clear(kFaceWhite);
  canvas.state.Set(isDefault, true);
  int32_t color = -1;
  bool hug = false;
  BevelPoints points{};
  DrawFocusIndicator(canvas.paint, color, true, hug, points);
  GdiFlush();
  EXPECT_EQ(color, 0);
  EXPECT_EQ(canvas.Bounds(0), (RECT{4, 4, 36, 16}));
}

}  // namespace
}  // namespace tessel::test
