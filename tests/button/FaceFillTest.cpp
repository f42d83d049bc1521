#include <gtest/gtest.h>

#include "button/draw/FaceClip.h"
#include "button/draw/FillBackground.h"
#include "tests/button/ButtonCanvas.h"

namespace tessel::test {
namespace {

constexpr int32_t kFace = 0xC0C0C0, kHover = 0x00C0FF, kEnd = 0x0C4848;  // whole steps over 16 rows

// What fills the face beyond the kept images' states: a gradient in either direction, none on a
// latched check, the hover colour over a gradient only when it differs, a hovered check button.
// A latched face gets the sunken ring (no region on a rectangle).
TEST(FaceFill, ChoosesFaceHoverOrGradientByState) {
  struct Case {
    const char* what;
    int mode;
    bool value, hover;
    int32_t gradientMode;
    OleColor gradientColor;
    COLORREF top, bottom;
    int16_t outcome;
  };
  const Case cases[] = {
      {"hovered check", modeCheck, false, true, gradNone, 0, kHover, kHover, kClipFace},
      {"gradient top to bottom", modeCommand, false, false, gradTopBottom, 0, kFace, kEnd, kClipFace},
      {"gradient bottom to top", modeCommand, false, false, gradBottomTop, 0, kEnd, kFace, kClipFace},
      {"latched check: no gradient", modeCheck, true, false, gradTopBottom, 0, kFace, kFace, kClipRing},
      {"hovered gradient, other hover colour", modeCommand, false, true, gradTopBottom, 0x123456, kHover, kHover,
       kClipFace},
      {"hovered gradient, hover colour the same", modeCommand, false, true, gradTopBottom, 0x8000000F, kFace, kEnd,
       kClipFace},
  };
  for (const Case& c : cases) {
    ButtonCanvas canvas(12, 16);
    canvas.state.mode = c.mode;
    canvas.state.value = c.value;
    canvas.state.isHoverTracking = c.hover;
    canvas.state.Set(isHot, c.hover);
    canvas.state.gradientMode = c.gradientMode;
    canvas.state.gradientColor = c.gradientColor;
    canvas.state.hoverBackColor = 0x8000000F;
    int32_t face = kFace, end = kEnd, hover = kHover, faceState = -1;
    int16_t outcome = -1;
    FillBackground(canvas.paint, face, faceState, outcome, end, hover);
    GdiFlush();
    EXPECT_EQ(Hex(canvas.At(5, 0)), Hex(c.top)) << c.what;
    EXPECT_EQ(Hex(canvas.At(5, 15)), Hex(c.bottom)) << c.what;
    EXPECT_EQ(faceState, kFaceNormal) << c.what;
    EXPECT_EQ(outcome, c.outcome) << c.what;
  }
}

}  // namespace
}  // namespace tessel::test
