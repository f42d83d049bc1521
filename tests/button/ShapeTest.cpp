#include <string>
#include <vector>

#include "tests/button/ButtonHarness.h"

namespace tessel::test::button {
namespace {

using Shapes = ButtonTest;

unique_hrgn WindowRegion(const ButtonStyle& b) {
  unique_hrgn r(CreateRectRgn(0, 0, 0, 0));
  if (GetWindowRgn(b.hWnd(), r.get()) == ERROR) r.reset();
  return r;
}

SIZE ClientSize(const ButtonStyle& b) {
  RECT r{};
  GetClientRect(b.hWnd(), &r);
  return SIZE{r.right, r.bottom};
}

// The window region of the shapes the kept images do not show on a 120 x 32 button, and the two
// face regions of an ellipse, one pixel apart.
TEST_F(Shapes, WindowRegionPerShapeAndStyle) {
  struct Case {
    const char* name;
    int32_t style, shape;
    bool enabled;
    std::vector<POINT> in, out;
  };
  const Case cases[] = {
      {"soft cuts the corners of its straight side only", bsSoft, shapeSlantRight, true, {{1, 0}, {0, 1}, {115, 31}},
       {{0, 0}, {0, 31}, {119, 0}}},
      {"slant left: the left side runs down to the right", bsSoft, shapeSlantLeft, true, {{0, 0}, {34, 31}},
       {{0, 31}, {119, 0}, {119, 31}}},
      {"slant right", bsClassic, shapeSlantRight, true, {{0, 0}, {0, 31}, {115, 31}, {87, 0}}, {{119, 0}, {89, 0}}},
      {"ellipse alt is the same ellipse", bsClassic, shapeEllipseAlt, true, {{60, 16}, {60, 1}, {1, 16}},
       {{0, 0}, {119, 31}, {3, 2}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ButtonStyle& b = Add(L"b", 10, 10, 120, 32);
    b.SetButtonStyle(c.style);
    b.SetButtonShape(c.shape);
    b.SetEnabled(c.enabled);
    unique_hrgn region = WindowRegion(b);
    ASSERT_TRUE(region);
    for (POINT p : c.in) EXPECT_TRUE(PtInRegion(region.get(), p.x, p.y)) << p.x << "," << p.y;
    for (POINT p : c.out) EXPECT_FALSE(PtInRegion(region.get(), p.x, p.y)) << p.x << "," << p.y;
    const bool elliptic = c.shape >= shapeEllipse;
    EXPECT_EQ(static_cast<bool>(b.State().regionA), elliptic);
    EXPECT_EQ(static_cast<bool>(b.State().regionB), elliptic);
    if (elliptic) {
      EXPECT_TRUE(PtInRegion(b.State().regionB.get(), 60, 1));
      EXPECT_FALSE(PtInRegion(b.State().regionA.get(), 60, 1)) << "regionA lies one pixel further in";
      EXPECT_TRUE(PtInRegion(b.State().regionA.get(), 60, 2));
    }
    form_->Remove(L"b");
  }
}

// A slanted button too narrow for its slant grows in steps of 5 pixels.
TEST_F(Shapes, SlantWidensANarrowControl) {
  struct Case {
    int width, height, shape;
    int grownWidth, faceLeft, faceRight;
  };
  const Case cases[] = {
      {30, 20, shapeSlantBoth, 30, 21, 9},
      {24, 20, shapeSlantBoth, 29, 21, 8},
      {24, 20, shapeSlantLeft, 29, 21, 29},
      {10, 20, shapeSlantRight, 30, 0, 9},
  };
  for (const Case& c : cases) {
    ButtonStyle& b = Add(L"b", 10, 10, c.width, c.height);
    b.SetButtonShape(c.shape);
    EXPECT_EQ(ClientSize(b).cx, c.grownWidth) << c.width << " shape " << c.shape;
    EXPECT_EQ(form_->Site(L"b")->Extender().width, c.grownWidth * 15) << "the container sees the new width";
    EXPECT_EQ(b.State().faceLeft, c.faceLeft);
    EXPECT_EQ(b.State().faceRight, c.faceRight);
    form_->Remove(L"b");
  }
}

// A custom shape takes the picture's outline: the control is fitted to the picture's proportions
// and every key-coloured run is cut out of the window region and the face regions.
TEST_F(Shapes, CustomShapeFollowsThePicture) {
  ButtonStyle& wide = Add(L"wide", 10, 10, 100, 100);
  wide.SetPicture(Bitmap(200, 100, [](int, int) { return 0x336699u; }));
  wide.SetButtonShape(shapeCustom);
  EXPECT_EQ(ClientSize(wide).cx, 100);
  EXPECT_EQ(ClientSize(wide).cy, 50);
  EXPECT_EQ(wide.PictureSize(), picFit);
  EXPECT_EQ(wide.CaptionAlign(), capAlignCenter);

  // A blue 20 x 20 square inside a magenta surround (one shade off the key in places).
  ButtonStyle& b = Add(L"b", 150, 10, 40, 40);
  b.SetPicture(Bitmap(40, 40, [](int x, int y) {
    if (x >= 10 && x < 30 && y >= 10 && y < 30) return 0x0000FFu;
    return (x + y) % 2 ? 0xFF00FFu : 0xFD02FCu;
  }));
  b.SetButtonShape(shapeCustomShaded);
  unique_hrgn region = WindowRegion(b);
  ASSERT_TRUE(region);
  const ButtonState& s = b.State();
  struct Probe {
    POINT p;
    bool window, regionB, regionA;
  };
  const Probe probes[] = {
      {{5, 5}, false, false, false},   {{39, 39}, false, false, false}, {{20, 20}, true, true, true},
      {{10, 20}, true, true, false},   {{11, 20}, true, true, true},    {{29, 29}, true, true, false},
      {{9, 20}, false, false, false},
  };
  for (const Probe& pr : probes) {
    EXPECT_EQ(PtInRegion(region.get(), pr.p.x, pr.p.y) != 0, pr.window) << pr.p.x << "," << pr.p.y;
    EXPECT_EQ(PtInRegion(s.regionB.get(), pr.p.x, pr.p.y) != 0, pr.regionB) << pr.p.x << "," << pr.p.y;
    EXPECT_EQ(PtInRegion(s.regionA.get(), pr.p.x, pr.p.y) != 0, pr.regionA) << pr.p.x << "," << pr.p.y;
  }
  b.SetPicture(nullptr);
  EXPECT_EQ(b.ButtonShape(), shapeRectangle) << "without a picture the custom shape turns rectangular";
}

}  // namespace
}  // namespace tessel::test::button
