#include <gtest/gtest.h>

#include "button/draw/ShiftColor.h"
#include "tests/button/ButtonCanvas.h"
#include "tests/support/GdiCount.h"

namespace tessel::test {
namespace {

// The kept images show every style in every state at run time; what they cannot show: the ring
// style's outline while the form is designed, and the rounded default look without a focus
// rectangle.
TEST(StyleRenderer, DesignedRingAndRoundedDefaultWithoutFocus) {
  ButtonCanvas ring(40, 20);  // a dotted outline 64 darker than the container (0xE0E0E0)
  ring.state.buttonStyle = bsRing;
  ring.paint.userMode = false;
  ring.DeriveColors();
  ring.Render();
  EXPECT_GT(ring.Count(0xA0A0A0), 20);
  EXPECT_LT(ring.Count(0xA0A0A0), 2 * 40 + 2 * 20 - 4);

  ButtonCanvas rounded(40, 20);
  rounded.state.buttonStyle = bsRounded;
  rounded.state.backColor = 0xC08040;
  rounded.state.showFocusRect = false;
  rounded.state.Set(isDefault, true);
  rounded.DeriveColors();
  int32_t faceState = -1;
  EXPECT_EQ(rounded.Render(&faceState), 3) << "no shape step: the clip outcome stands";
  EXPECT_EQ(faceState, 0);
  EXPECT_EQ(Hex(rounded.At(2, 10)), Hex(static_cast<COLORREF>(ShiftColor(0xF0B070, -10, true)))) << "the rest look's inner edge";
  for (POINT p : {POINT{1, 1}, POINT{1, 18}, POINT{38, 1}, POINT{38, 18}})
    EXPECT_EQ(Hex(rounded.At(p.x, p.y)), Hex(0x733C00)) << p.x << ", " << p.y;
}

// Redraws cycling through every style, state, shape, gradient and caption style leave the GDI
// object count where it was and the buffer's pen, brush and font selected as they were. A first
// round runs uncounted: the system keeps what it makes once (the focus rectangle's pattern).
TEST(StyleRenderer, RedrawsGiveEveryObjectBack) {
  ButtonCanvas canvas(60, 24);
  canvas.state.caption = L"&Save";
  canvas.state.captionRect = {10, 5, 50, 19};
  HDC dc = canvas.dc();
  const HGDIOBJ pen = GetCurrentObject(dc, OBJ_PEN), brush = GetCurrentObject(dc, OBJ_BRUSH),
                font = GetCurrentObject(dc, OBJ_FONT);
  unsigned before = 0;
  const int32_t shapes[] = {shapeRectangle, shapeSlantLeft, shapeEllipse, shapeEllipseFramed};
  for (int i = 0; i < 2 * 960; ++i) {
    if (i == 960) before = GdiObjectCount();
    ButtonState& s = canvas.state;
    s.buttonStyle = i % 8;
    s.buttonShape = shapes[(i / 8) % 4];
    const int look = (i / 2) % 6;
    s.mode = look == 5 ? modeCheck : modeCommand;
    s.value = look == 5;
    s.isHoverTracking = look == 1 || look == 2;
    s.isPressedTracking = look == 2 || look == 3;
    s.stateFlags = 0;
    s.Set(isHot, s.isHoverTracking);
    s.Set(isPressed, s.isPressedTracking);
    s.Set(isDefault, look == 4);
    s.gradientMode = (i / 32) % 5;
    s.captionStyle = (i / 160) % 3;
    canvas.paint.enabled = i % 7 != 0;
    canvas.paint.userMode = (i / 480) % 2 == 0;
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
