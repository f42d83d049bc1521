#include <gtest/gtest.h>

#include "button/draw/FaceClip.h"
#include "button/draw/FillBackground.h"
#include "tests/button/ButtonCanvas.h"
#include "tests/support/GdiCount.h"

namespace tessel::test {
namespace {

constexpr int32_t kFace = 0xC0C0C0, kHover = 0x00C0FF, kEnd = 0x0C4848;  // whole steps over 16 rows

struct Fill {
  int32_t faceState = -1;
  int16_t outcome = -1;
};
Fill RunFill(ButtonCanvas& canvas) {
  Fill f;
  int32_t face = kFace, end = kEnd, hover = kHover;
  FillBackground(canvas.paint, face, f.faceState, f.outcome, end, hover);
  GdiFlush();
  return f;
}

// Which colour fills the face in each state: the face, the hover colour, or a gradient.
TEST(FaceFill, ChoosesFaceHoverOrGradientByState) {
  struct Case {
    const char* what;
    int mode;
    bool value, hover, pressed;
    int32_t gradientMode;
    OleColor gradientColor;
    COLORREF top, bottom;
    int32_t faceState;
    int16_t outcome;  // a pressed or latched face gets the sunken ring (no region on a rectangle)
  };
  const Case cases[] = {
      {"at rest", modeCommand, false, false, false, gradNone, 0, kFace, kFace, kFaceNormal, kClipFace},
      {"hovered command", modeCommand, false, true, false, gradNone, 0, kHover, kHover, kFaceNormal, kClipFace},
      {"hovered and pressed command", modeCommand, false, true, true, gradNone, 0, kFace, kFace, kFacePressed, kClipRing},
      {"hovered check", modeCheck, false, true, false, gradNone, 0, kHover, kHover, kFaceNormal, kClipFace},
      {"hovered latched check", modeCheck, true, true, false, gradNone, 0, kFace, kFace, kFaceNormal, kClipRing},
      {"gradient top to bottom", modeCommand, false, false, false, gradTopBottom, 0, kFace, kEnd, kFaceNormal, kClipFace},
      {"gradient bottom to top", modeCommand, false, false, false, gradBottomTop, 0, kEnd, kFace, kFaceNormal, kClipFace},
      {"latched check: no gradient", modeCheck, true, false, false, gradTopBottom, 0, kFace, kFace, kFaceNormal, kClipRing},
      {"hovered gradient, other hover colour", modeCommand, false, true, false, gradTopBottom, 0x123456, kHover, kHover,
       kFaceNormal, kClipFace},
      {"hovered gradient, hover colour the same", modeCommand, false, true, false, gradTopBottom, 0x8000000F, kFace,
       kEnd, kFaceNormal, kClipFace},
  };
  for (const Case& c : cases) {
    ButtonCanvas canvas(12, 16);
    canvas.state.mode = c.mode;
    canvas.state.value = c.value;
    canvas.state.isHoverTracking = c.hover;
    canvas.state.Set(isHot, c.hover);
    canvas.state.Set(isPressed, c.pressed);
    canvas.state.gradientMode = c.gradientMode;
    canvas.state.gradientColor = c.gradientColor;
    canvas.state.hoverBackColor = 0x8000000F;
    Fill f = RunFill(canvas);
    EXPECT_EQ(Hex(canvas.At(5, 0)), Hex(c.top)) << c.what;
    EXPECT_EQ(Hex(canvas.At(5, 15)), Hex(c.bottom)) << c.what;
    EXPECT_EQ(f.faceState, c.faceState) << c.what;
    EXPECT_EQ(f.outcome, c.outcome) << c.what;
  }
}

// The rounded style darkens row by row, round(-25 / H * y) levels with halves to even; blue at
// 0xC0 moves by exactly the amount.
TEST(FaceFill, RoundedStyleShadesRowsTwentyFiveLevelsOverTheHeight) {
  ButtonCanvas canvas(6, 10);
  canvas.state.buttonStyle = bsRounded;
  canvas.state.Set(isDefault, true);
  Fill f = RunFill(canvas);
  EXPECT_EQ(f.faceState, kFaceDefault);
  const struct {
    int y;
    COLORREF color;
  } rows[] = {{0, 0xC0C0C0}, {1, 0xBEBEBE}, {3, 0xB8B8B8}, {5, 0xB4B4B4}, {9, 0xAAAAAA}};
  for (const auto& r : rows) EXPECT_EQ(Hex(canvas.At(3, r.y)), Hex(r.color)) << "row " << r.y;

  ButtonCanvas disabled(6, 10);  // a disabled rounded command button is flat
  disabled.state.buttonStyle = bsRounded;
  disabled.paint.enabled = false;
  RunFill(disabled);
  EXPECT_EQ(disabled.Count(kFace), 60);
}

TEST(FaceFill, ClipOutcomeAndRingsByStyleShapeAndState) {
  struct Case {
    const char* what;
    int32_t style, shape;
    bool hover, pressed, value;
    int16_t outcome;
    bool clipped;
  };
  const Case cases[] = {
      {"ring at rest", bsRing, shapeRectangle, false, false, false, kClipPlain, false},
      {"ring at rest, ellipse", bsRing, shapeEllipse, false, false, false, kClipPlain, false},
      {"ring hovered, ellipse", bsRing, shapeEllipse, true, false, false, kClipFace, true},
      {"ring pressed, ellipse", bsRing, shapeEllipse, true, true, false, kClipRing, true},
      {"classic pressed, ellipse", bsClassic, shapeEllipse, true, true, false, kClipRing, true},
      {"classic latched, ellipse", bsClassic, shapeEllipse, false, false, true, kClipRing, true},
      {"classic, ellipse", bsClassic, shapeEllipse, false, false, false, kClipFace, true},
      {"classic, rectangle", bsClassic, shapeRectangle, false, false, false, kClipFace, false},
      {"framed ellipse at rest", bsClassic, shapeEllipseFramed, false, false, false, kClipPlain, false},
      {"framed ellipse hovered", bsClassic, shapeEllipseFramed, true, false, false, kClipFace, true},
  };
  for (const Case& c : cases) {
    ButtonCanvas canvas(40, 24);
    canvas.state.buttonStyle = c.style;
    canvas.state.buttonShape = c.shape;
    canvas.ShapeFace();
    canvas.state.isHoverTracking = c.hover;
    canvas.state.Set(isHot, c.hover);
    canvas.state.Set(isPressed, c.pressed);
    canvas.state.value = c.value;
    canvas.state.mode = c.value ? modeCheck : modeCommand;
    const int32_t gradient = canvas.state.gradientMode = gradLeftRight;
    int16_t outcome = -1;
    PrepareFaceClip(canvas.paint, outcome);
    EXPECT_EQ(outcome, c.outcome) << c.what;
    EXPECT_EQ(canvas.state.gradientMode, gradient) << c.what;
    HRGN clip = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(canvas.dc(), clip) == 1, c.clipped) << c.what;
    DeleteObject(clip);
  }
}

}  // namespace
}  // namespace tessel::test
