// Caption and picture rectangles, and window and face regions of the shapes.
#include "tests/support/Prelude.h"

#include "tests/button/ButtonHarness.h"

namespace tessel::test::button {
namespace {

using Layout = ButtonTest;

SIZE ClientSize(const ButtonStyle& b) {
  RECT r{};
  GetClientRect(b.hWnd(), &r);
  return SIZE{r.right, r.bottom};
}

// The box of a 20 x 10 picture without caption on 120 x 32 shapes; a fitted one keeps its proportions.
TEST_F(Layout, PictureBoxPerAlignmentSizeAndShape) {
  struct Case { int32_t shape, align, size; RECT box; };
  const Case cases[] = {
      {shapeRectangle, picLeftEdge, picSize16, {4, 8, 20, 24}},
      {shapeRectangle, picLeftOfCaption, picSize16, {4, 8, 20, 24}},
      {shapeRectangle, picRightEdge, picSize16, {100, 8, 116, 24}},
      {shapeRectangle, picRightOfCaption, picSize24, {92, 4, 116, 27}},
      {shapeRectangle, picTopCenter, picSize16, {52, 8, 68, 24}},
      {shapeRectangle, picBottomCenter, picSize16, {52, 12, 68, 27}},  // clamped above the bottom edge
      {shapeRectangle, picLeftEdge, picSize32, {4, 4, 36, 27}},        // clamped to the face
      {shapeRectangle, picRightEdge, picStretch, {3, 3, 117, 29}},
      {shapeEllipseFramed, picLeftEdge, picStretch, {1, 1, 119, 31}},
      {shapeSlantLeft, picLeftEdge, picSize16, {29, 8, 45, 24}},  // the band starts after the slant
      {shapeSlantBoth, picRightEdge, picSize16, {78, 8, 94, 24}},  // and ends before it
  };
  for (const Case& c : cases) {
    ButtonStyle& b = Fresh(L"b");
    b.SetCaption(L"");
    b.SetPicture(Bitmap(20, 10, [](int, int) { return 0x00FF00u; }));
    b.SetButtonShape(c.shape);
    b.SetPictureAlign(c.align);
    b.SetPictureSize(c.size);
    EXPECT_EQ(b.State().pictureRect, c.box) << &c - cases;
  }
  ButtonStyle& b = Fresh(L"b", 10, 10, 80, 40);
  b.SetPicture(Bitmap(100, 50, [](int, int) { return 0x00FF00u; }));
  b.SetPictureSize(picFit);
  EXPECT_EQ(b.State().pictureRect, (RECT{12, 6, 68, 34})) << "56 x 28 in the 68 x 28 face";
  EXPECT_EQ(b.State().pictureCacheWidth * 100 + b.State().pictureCacheHeight, 5628);
}

// The caption against its measured text: alignments, a picture beside or above it, "||" breaking lines.
TEST_F(Layout, CaptionRectFollowsAlignmentAndPicture) {
  ButtonStyle& b = Add(L"b", 10, 10, 160, 80);
  const RECT& r = b.State().captionRect;
  b.SetCaption(L"Gravar");
  const int tw = r.right - r.left, th = r.bottom - r.top;
  ASSERT_GT(tw, 0);
  EXPECT_EQ(r, (RECT{(160 - tw) / 2, (80 - th) / 2, (160 - tw) / 2 + tw, (80 - th) / 2 + th}));
  b.SetCaptionAlign(capAlignLeft);
  EXPECT_EQ(r.left, 4);
  b.SetCaptionAlign(capAlignRight);
  EXPECT_EQ(r.right, 156);
  b.SetPicture(Bitmap(16, 16, [](int, int) { return 0x0000FFu; }));
  b.SetCaptionAlign(capAlignLeft);
  EXPECT_EQ(r.left, 16 + 4 + 4) << "a left picture keeps its box and 4 more pixels";
  b.SetPictureAlign(picRightOfCaption);
  b.SetCaptionAlign(capAlignCenter);
  EXPECT_EQ(r.left, (160 - (tw + 16 + 4)) / 2);
  EXPECT_EQ(b.State().pictureRect.left, r.right + 4);
  b.SetPictureSize(picSize32);
  b.SetPictureAlign(picTopCenter);
  EXPECT_EQ(b.State().pictureRect.top, (80 - (th + 32)) / 2);
  EXPECT_EQ(r.top, (80 - (th + 32)) / 2 + 2 + 32) << "the caption sits below the picture";
  b.SetPicture(nullptr);
  b.SetCaption(L"Gravar||agora");
  EXPECT_EQ(r.bottom - r.top, 2 * th) << "two lines";
  b.SetCaptionStyle(capStyleEmbossed);
  EXPECT_EQ(r.bottom - r.top, 2 * th + 2) << "effects take 2 pixels more";
}

// The window region of shapes the kept images lack, and an ellipse's two face regions a pixel apart.
TEST_F(Layout, WindowRegionPerShapeAndStyle) {
  struct Case { int32_t style, shape; std::vector<POINT> in, out; };
  const Case cases[] = {
      {bsSoft, shapeSlantRight, {{1, 0}, {0, 1}, {115, 31}}, {{0, 0}, {0, 31}, {119, 0}}},  // corners of the straight side cut
      {bsSoft, shapeSlantLeft, {{0, 0}, {34, 31}}, {{0, 31}, {119, 0}, {119, 31}}},
      {bsClassic, shapeSlantRight, {{0, 0}, {0, 31}, {115, 31}, {87, 0}}, {{119, 0}, {89, 0}}},
      {bsClassic, shapeEllipseAlt, {{60, 16}, {60, 1}, {1, 16}}, {{0, 0}, {119, 31}, {3, 2}}},
  };
  for (const Case& c : cases) {
    ButtonStyle& b = Fresh(L"b");
    b.SetButtonStyle(c.style);
    b.SetButtonShape(c.shape);
    unique_hrgn region = WindowRegion(b);
    ASSERT_TRUE(region);
    for (POINT p : c.in) EXPECT_TRUE(PtInRegion(region.get(), p.x, p.y)) << c.shape << ": " << p.x << "," << p.y;
    for (POINT p : c.out) EXPECT_FALSE(PtInRegion(region.get(), p.x, p.y)) << c.shape << ": " << p.x << "," << p.y;
    const ButtonState& s = b.State();
    EXPECT_EQ(s.regionA && s.regionB, c.shape >= shapeEllipse);
    EXPECT_TRUE(!s.regionA || (PtInRegion(s.regionB.get(), 60, 1) && !PtInRegion(s.regionA.get(), 60, 1)));
  }
  // A new classic rectangle has no region; one that held a slant gets the whole rectangle back.
  ButtonStyle& b = Fresh(L"b");
  b.SetButtonStyle(bsClassic);
  EXPECT_FALSE(WindowRegion(b));
  b.SetButtonShape(shapeSlantRight);
  b.SetButtonShape(shapeRectangle);
  unique_hrgn back = WindowRegion(b);
  ASSERT_TRUE(back);
  EXPECT_TRUE(PtInRegion(back.get(), 119, 0) && PtInRegion(back.get(), 0, 31) && PtInRegion(back.get(), 119, 31));
}

// A slanted button too narrow for its slant grows in steps of 5 pixels, and the container sees it.
TEST_F(Layout, SlantWidensANarrowControl) {
  const int cases[][6] = {{30, 20, shapeSlantBoth, 30, 21, 9},
                          {24, 20, shapeSlantBoth, 29, 21, 8},
                          {24, 20, shapeSlantLeft, 29, 21, 29},
                          {10, 20, shapeSlantRight, 30, 0, 9}};
  for (const auto& c : cases) {
    ButtonStyle& b = Fresh(L"b", 10, 10, c[0], c[1]);
    b.SetButtonShape(c[2]);
    EXPECT_EQ(std::make_tuple(ClientSize(b).cx, form_->Site(L"b")->Extender().width, b.State().faceLeft, b.State().faceRight),
              std::make_tuple(c[3], c[3] * 15, c[4], c[5])) << c[0] << " shape " << c[2];
  }
}

// A custom shape fits the picture's proportions and cuts every key-coloured run (one shade off counts)
// out of the window and face regions; held, a command button moves its custom way, a check button
// never. Without a picture the shape turns rectangular.
TEST_F(Layout, CustomShapeFollowsThePictureAndMovesWhileHeld) {
  ButtonStyle& wide = Add(L"wide", 10, 10, 100, 100);
  wide.SetPicture(Bitmap(200, 100, [](int, int) { return 0x336699u; }));
  wide.SetButtonShape(shapeCustom);
  EXPECT_EQ(std::make_tuple(ClientSize(wide).cx, ClientSize(wide).cy, wide.PictureSize(), wide.CaptionAlign()),
            std::make_tuple(100, 50, picFit, capAlignCenter));
  ButtonStyle& b = Add(L"b", 150, 10, 40, 40);
  b.SetPicture(Bitmap(40, 40, [](int x, int y) {
    if (x >= 10 && x < 30 && y >= 10 && y < 30) return 0x0000FFu;
    return (x + y) % 2 ? 0xFF00FFu : 0xFD02FCu;
  }));
  b.SetButtonShape(shapeCustomShaded);
  unique_hrgn region = WindowRegion(b);
  const ButtonState& s = b.State();
  // Which of the window region, regionB and regionA hold the point.
  const std::pair<POINT, const char*> probes[] = {{{5, 5}, "000"},   {{39, 39}, "000"}, {{20, 20}, "111"}, {{10, 20}, "110"},
                                                  {{11, 20}, "111"}, {{29, 29}, "110"}, {{9, 20}, "000"}};
  for (auto [p, want] : probes) {
    std::string got;
    for (HRGN r : {region.get(), s.regionB.get(), s.regionA.get()}) got += PtInRegion(r, p.x, p.y) ? '1' : '0';
    EXPECT_EQ(got, want) << p.x << "," << p.y;
  }
  b.SetCustomClick(clickDownRight);
  auto origin = [&]() -> int {
    RECT r{};
    GetWindowRect(b.hWnd(), &r);
    MapWindowPoints(nullptr, form_->hWnd(), reinterpret_cast<POINT*>(&r), 1);
    return r.left * 1000 + r.top;
  };
  const int rest = origin();
  for (int32_t mode : {modeCommand, modeCheck}) {
    b.SetMode(mode);
    Hover(&b);
    Send(b, WM_LBUTTONDOWN, MK_LBUTTON);
    EXPECT_EQ(std::make_pair(origin() - rest, b.State().Has(isMoved)),
              std::make_pair(mode == modeCommand ? 1001 : 0, mode == modeCommand)) << mode;
    Send(b, WM_LBUTTONUP);
    b.Refresh();
    EXPECT_EQ(std::make_pair(origin(), b.State().Has(isMoved)), std::make_pair(rest, false));
    Hover(nullptr);
  }
  b.SetPicture(nullptr);
  EXPECT_EQ(b.ButtonShape(), shapeRectangle);
}

}  // namespace
}  // namespace tessel::test::button
