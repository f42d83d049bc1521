#include <string>

#include "button/ButtonTools.h"
#include "tests/button/ButtonHarness.h"

namespace tessel::test::button {
namespace {

using Layout = ButtonTest;

// The picture box for every alignment and size of a picture without caption, on a 120 x 32
// rectangle (L 0, A 120, R 120) and a slanted one.
TEST_F(Layout, PictureBoxPerAlignmentSizeAndShape) {
  struct Case {
    const char* name;
    int32_t shape, align, size;
    RECT box;
  };
  const Case cases[] = {
      {"left edge", shapeRectangle, picLeftEdge, picSize16, {4, 8, 20, 24}},
      {"left of an empty caption", shapeRectangle, picLeftOfCaption, picSize16, {4, 8, 20, 24}},
      {"right edge", shapeRectangle, picRightEdge, picSize16, {100, 8, 116, 24}},
      {"right of an empty caption", shapeRectangle, picRightOfCaption, picSize24, {92, 4, 116, 27}},
      {"top centre", shapeRectangle, picTopCenter, picSize16, {52, 8, 68, 24}},
      {"bottom centre, clamped above the bottom edge", shapeRectangle, picBottomCenter, picSize16, {52, 12, 68, 27}},
      {"32 pixels clamped to the face", shapeRectangle, picLeftEdge, picSize32, {4, 4, 36, 27}},
      {"stretched over the face", shapeRectangle, picRightEdge, picStretch, {3, 3, 117, 29}},
      {"stretched over a framed ellipse", shapeEllipseFramed, picLeftEdge, picStretch, {1, 1, 119, 31}},
      {"slanted left: the band starts after the slant", shapeSlantLeft, picLeftEdge, picSize16, {29, 8, 45, 24}},
      {"slanted both: the band ends before the slant", shapeSlantBoth, picRightEdge, picSize16, {78, 8, 94, 24}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ButtonStyle& b = Add(L"b", 10, 10, 120, 32);
    b.SetCaption(L"");
    b.SetPicture(Bitmap(20, 10, [](int, int) { return 0x00FF00u; }));
    b.SetButtonShape(c.shape);
    b.SetPictureAlign(c.align);
    b.SetPictureSize(c.size);
    EXPECT_EQ(b.State().pictureRect, c.box);
    form_->Remove(L"b");
  }
}

TEST_F(Layout, FittedPictureKeepsItsProportionsInTheFace) {
  ButtonStyle& b = Add(L"b", 10, 10, 80, 40);
  b.SetPicture(Bitmap(100, 50, [](int, int) { return 0x00FF00u; }));
  b.SetPictureSize(picFit);
  EXPECT_EQ(b.State().pictureRect, (RECT{12, 6, 68, 34})) << "FitPictureSize(68, 28) gives 56 x 28";
  EXPECT_EQ(b.State().pictureCacheWidth, 56);
  EXPECT_EQ(b.State().pictureCacheHeight, 28);
}

// Caption placement against the measured text: alignments, the room kept for a picture beside
// the caption, a picture above it, and "||" as a line break.
TEST_F(Layout, CaptionRectFollowsAlignmentAndPicture) {
  ButtonStyle& b = Add(L"b", 10, 10, 160, 80);
  b.SetCaption(L"Gravar");
  const RECT one = b.State().captionRect;
  const int tw = one.right - one.left, th = one.bottom - one.top;
  ASSERT_GT(tw, 0);
  EXPECT_EQ(one.left, (160 - tw) / 2);
  EXPECT_EQ(one.top, (80 - th) / 2);

  b.SetCaptionAlign(capAlignLeft);
  EXPECT_EQ(b.State().captionRect.left, 4);
  b.SetCaptionAlign(capAlignRight);
  EXPECT_EQ(b.State().captionRect.right, 156);

  b.SetPicture(Bitmap(16, 16, [](int, int) { return 0x0000FFu; }));
  b.SetCaptionAlign(capAlignLeft);
  EXPECT_EQ(b.State().captionRect.left, 16 + 4 + 4) << "a left picture keeps its box and 4 more pixels";
  b.SetPictureAlign(picRightOfCaption);
  b.SetCaptionAlign(capAlignCenter);
  EXPECT_EQ(b.State().captionRect.left, (160 - (tw + 16 + 4)) / 2);
  EXPECT_EQ(b.State().pictureRect.left, b.State().captionRect.right + 4);

  b.SetPictureSize(picSize32);
  b.SetPictureAlign(picTopCenter);
  const int t = (80 - (th + 32)) / 2;
  EXPECT_EQ(b.State().pictureRect.top, t);
  EXPECT_EQ(b.State().captionRect.top, t + 2 + 32) << "the caption sits below the picture";

  b.SetPicture(nullptr);
  b.SetCaption(L"Gravar||agora");
  EXPECT_EQ(b.State().captionRect.bottom - b.State().captionRect.top, 2 * th) << "two lines";
  b.SetCaptionStyle(capStyleEmbossed);
  EXPECT_EQ(b.State().captionRect.bottom - b.State().captionRect.top, 2 * th + 2) << "effects take 2 pixels more";
}

TEST_F(Layout, FitPictureSizeScalesByOneFactor) {
  struct Case {
    int pw, ph, bw, bh, w, h;
  };
  const Case cases[] = {{64, 32, 32, 32, 32, 16}, {100, 50, 68, 28, 56, 28}, {16, 16, 32, 32, 32, 32}, {3, 2, 10, 10, 10, 7}};
  ButtonState s;
  for (const Case& c : cases) {
    s.pictureWidth = c.pw;
    s.pictureHeight = c.ph;
    int32_t w = 0, h = 0;
    FitPictureSize(s, c.bw, c.bh, w, h);
    EXPECT_EQ(w, c.w) << c.pw << "x" << c.ph;
    EXPECT_EQ(h, c.h) << c.pw << "x" << c.ph;
  }
}

// System colours come from the live table: a changed button face shows in the derived colours.
TEST_F(Layout, ResolveColorReadsTheLiveSystemColours) {
  EXPECT_EQ(ResolveColor(0x00123456), 0x00123456);
  EXPECT_EQ(ResolveColor(kSysWindow), static_cast<int32_t>(GetSysColor(COLOR_WINDOW)));
  const int index = COLOR_BTNFACE;
  const COLORREF saved = GetSysColor(index);
  const COLORREF changed = RGB(1, 2, 3);
  ASSERT_TRUE(SetSysColors(1, &index, &changed));
  ButtonStyle& b = Add(L"b");
  b.SetBackColor(kSysButtonFace);
  const int32_t face = b.State().faceColor;
  SetSysColors(1, &index, &saved);
  EXPECT_EQ(face, static_cast<int32_t>(changed));
}

}  // namespace
}  // namespace tessel::test::button
