// The frame's drawing: primitives on a bare bitmap, then the styles' outlines, bands, grip,
// corners, region, shadow, icon and caption on real frames, and GDI objects over many redraws.
#include <array>

#include "frames/DisabledPicture.h"
#include "frames/FrameCaption.h"
#include "frames/FramePrimitives.h"
#include "tests/frames/FrameFixture.h"
#include "tests/support/Leaks.h"

namespace tessel::test::frames {
namespace {

constexpr COLORREF kPaper = RGB(1, 2, 3);

TEST(FramePrimitives, BlendAndGreyRoundHalvesToEven) {
  struct Row {
    int32_t a, b, blend;
  };
  for (const Row& r : std::array<Row, 4>{{{RGB(129, 169, 226), 0, RGB(64, 84, 113)},
                                           {RGB(1, 3, 5), RGB(2, 4, 6), RGB(2, 4, 6)},
                                           {RGB(129, 169, 226), 0xFFFFFF, RGB(192, 212, 240)},
                                           {0xFFFFFF, 0xA7A7A7, RGB(211, 211, 211)}}})
    EXPECT_EQ(Blend(r.a, r.b), r.blend) << Rgb(r.a) << "+" << Rgb(r.b);
  EXPECT_EQ(GreyOf(255, 0, 0), 76);   // round(76.5) = 76
  EXPECT_EQ(GreyOf(0, 255, 0), 150);  // 150.45
  EXPECT_EQ(GreyOf(0, 0, 255), 28);   // 28.05
  EXPECT_EQ(GreyOf(255, 255, 255), 254);  // 76 + 150.45 + 28.05 = 254.5
}

TEST(FramePrimitives, FitCaptionCutsFromTheRightUntilTheDotsFit) {
  const TextMeasure tenEach = [](std::wstring_view t) { return static_cast<int>(t.size()) * 10; };
  struct Row {
    const wchar_t* text;
    int width;
    const wchar_t* fitted;
  };
  for (const Row& r : std::array<Row, 5>{{{L"Dados", 50, L"Dados"},
                                           {L"Dados", 49, L"D..."},
                                           {L"Dados", 60, L"Dados"},
                                           {L"Dados", 39, L""},
                                           {L"", 0, L""}}})
    EXPECT_EQ(FitCaption(r.text, r.width, tenEach), r.fitted) << r.width;
}

TEST(FramePrimitives, AGradientPaintsOneLinePerPixelLeavingTheFirstAndLast) {
  Canvas paper(40, 40, kPaper);
  LinearGradient(paper.dc(), RGB(0, 0, 0), RGB(100, 50, 10), 2, 5, 30, 4, true);  // rows 6..8
  LinearGradient(paper.dc(), RGB(0, 0, 0), RGB(100, 50, 10), 2, 20, 2, 30, false);  // 1 column at x 3
  LinearGradient(paper.dc(), RGB(0, 0, 0), RGB(100, 50, 10), 2, 30, 30, 1, true);  // nothing
  const Canvas& p = paper;
  EXPECT_EQ(p.At(10, 5), kPaper);
  EXPECT_EQ(p.At(10, 6), RGB(25, 12, 2));   // 12.5 and 2.5 go to even
  EXPECT_EQ(p.At(10, 7), RGB(50, 25, 5));
  EXPECT_EQ(p.At(10, 8), RGB(75, 38, 8));   // 37.5 to 38, 7.5 to 8
  EXPECT_EQ(p.At(10, 9), kPaper);
  EXPECT_EQ(p.At(2, 7), RGB(50, 25, 5));
  EXPECT_EQ(p.At(29, 7), RGB(50, 25, 5));
  EXPECT_EQ(p.At(30, 7), kPaper) << "the right edge is left out";
  EXPECT_EQ(p.At(3, 25), RGB(50, 25, 5));
  EXPECT_EQ(p.At(2, 25), kPaper);
  EXPECT_EQ(p.At(4, 25), kPaper);
  EXPECT_EQ(p.Count(RECT{0, 30, 40, 32}, kPaper), 80) << "a gradient over one pixel paints nothing";
}

TEST(FramePrimitives, BandsMeetAtTheSplitAndAHeaderIsOutlinedAfterItsFill) {
  Canvas paper(40, 40, kPaper);
  HeaderFill(paper.dc(), RGB(0, 0, 0), RGB(220, 110, 22), 0, 0, 20, 20, 2, false, 0, 2.01);
  HeaderFill(paper.dc(), 0, 0, 25, 25, 10, 10, 9, true, RGB(7, 7, 7), 2.01);  // unknown kind
  DrawOutline(paper.dc(), 36, 0, 1, 1, RGB(9, 9, 9));
  const Canvas& p = paper;
  EXPECT_EQ(p.At(5, 0), kPaper);
  EXPECT_EQ(p.At(5, 9), RGB(198, 99, 20));   // band 1, line 9 of 10
  EXPECT_EQ(p.At(5, 10), RGB(200, 100, 20)); // band 2 starts at row 9, line 1 of 11
  EXPECT_EQ(p.At(5, 19), RGB(20, 10, 2));
  EXPECT_EQ(p.Count(RECT{25, 25, 36, 36}, RGB(7, 7, 7)), 40) << "an unknown kind is only outlined";
  EXPECT_EQ(p.Count(RECT{26, 26, 35, 35}, kPaper), 81);
  EXPECT_EQ(p.Count(RECT{35, 0, 39, 3}, RGB(9, 9, 9)), 4) << "an outline of size 1 is a 2 x 2 square";
}

TEST(FramePrimitives, TheDisabledPictureGreysThePictureAndKeepsTheWindowUnderItsBackground) {
  Canvas paper(40, 40, kPaper);
  // A 4 x 4 bitmap: red left half, black (the background) right half.
  WindowDC screen(nullptr);
  HBITMAP bmp = CreateCompatibleBitmap(screen.get(), 4, 4);
  {
    unique_hdc dc(CreateCompatibleDC(screen.get()));
    SelectGuard s(dc.get(), bmp);
    RECT left{0, 0, 2, 4}, right{2, 0, 4, 4};
    unique_hbrush red(CreateSolidBrush(RGB(255, 0, 0)));
    FillRect(dc.get(), &left, red.get());
    FillRect(dc.get(), &right, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
  const PictureRef picture = Picture::FromBitmap(bmp);
  DrawDisabledPicture(paper.dc(), 10, 10, 8, 8, *picture, 0);
  const Canvas& p = paper;
  EXPECT_EQ(p.Count(RECT{10, 10, 14, 18}, RGB(76, 76, 76)), 32);
  EXPECT_EQ(p.Count(RECT{14, 10, 18, 18}, kPaper), 32);
}

class FrameStyles : public FrameTest {
 protected:
  // A frame with an empty caption in distinct colours, so every pixel says what drew it.
  TzFrames& Plain(int style, bool rounded, int w = 200, int h = 120) {
    TzFrames& f = AddFrame(L"fra" + std::to_wstring(count_++), w, h);
    f.SetStyle(style);
    f.SetCaption(L"");
    f.SetRoundedCorner(rounded);
    f.SetFrameColor(kFrame);
    f.SetFillColor(kFill);
    f.SetTextBoxColor(kBox);
    return f;
  }
  static constexpr COLORREF kFrame = RGB(200, 0, 0), kFill = RGB(0, 200, 0), kBox = RGB(0, 0, 200);
  int count_ = 0;
};

TEST_F(FrameStyles, TheGroupBoxOutlinesItsBodyAndOpensTheTopLineForTheCaption) {
  TzFrames& square = Plain(0, false);
  DibProbe p = Image(square);
  EXPECT_EQ(p.At(0, 0), kFrame);
  EXPECT_EQ(p.At(198, 118), kFrame);
  EXPECT_EQ(p.At(100, 60), kFill);
  EXPECT_NE(p.At(199, 60), kFrame) << "the box stops one pixel short of the right edge";

  TzFrames& rounded = Plain(0, true);
  p = Image(rounded);
  EXPECT_NE(p.At(0, 0), kFrame) << "a rounded corner leaves the corner pixel";
  EXPECT_EQ(p.At(0, 60), kFrame);

  square.SetAlignment(0);
  square.SetCaption(L"Dados");
  const TextMetrics t = square.Text();
  p = Image(square);
  EXPECT_EQ(p.At(14, t.halfHeight), kFrame);
  EXPECT_EQ(p.At(15, t.halfHeight), kFill) << "the line is erased behind the caption";
  EXPECT_EQ(p.At(15 + t.width + 5, t.halfHeight), kFill);
  EXPECT_EQ(p.At(15 + t.width + 6, t.halfHeight), kFrame);
}

TEST_F(FrameStyles, TheThemedHeaderRunsFromTheEndColourAtTheTopToTheStartColour) {
  TzFrames& f = Plain(1, true);
  f.SetHeaderStyle(1);
  f.SetGradientHeaderStyle(0);
  const DibProbe p = Image(f);
  EXPECT_EQ(p.At(100, 3), RGB(0, 0, 128)) << "the header is outlined in the theme border";
  EXPECT_EQ(p.At(100, 4), RGB(217, 233, 253));
  EXPECT_EQ(p.At(100, 14), RGB(175, 202, 240));  // 202.5 goes to even
  EXPECT_EQ(p.At(100, 24), RGB(133, 172, 227));
  EXPECT_EQ(p.At(100, 25), RGB(0, 0, 128));
}

TEST_F(FrameStyles, TheGradientBoxGripShowsNineDarkDotsAcrossItsTopBand) {
  TzFrames& f = Plain(4, true);
  const DibProbe p = Image(f);
  const int x0 = (200 - 34) / 2;
  const COLORREF dark = RGB(64, 84, 113), band = p.At(x0 - 2, 2);
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(p.At(x0 + 4 * i, 2), dark) << i;
    EXPECT_EQ(p.At(x0 + 4 * i + 1, 2), dark) << i;
    EXPECT_EQ(p.At(x0 + 4 * i + 2, 2), band) << i;
  }
  EXPECT_NE(band, dark);
  EXPECT_EQ(p.At(x0 + 36, 2), band) << "only nine dots";
}

TEST_F(FrameStyles, AGradientCaptionBoxCastsASquareShadowWhateverItsCorners) {
  for (int header : {0, 1}) {
    TzFrames& f = Plain(2, true);
    f.SetRoundedCornerTxtBox(true);
    f.SetTxtBoxShadow(1);
    f.SetHeaderStyle(header);
    const DibProbe p = Image(f);
    const COLORREF shadow = static_cast<COLORREF>(Blend(kFill, 0xA7A7A7));
    EXPECT_EQ(p.At(200 - 15, 12), shadow) << header;  // 2 pixels right of the box
    EXPECT_EQ(p.At(100, 23), shadow) << header;       // 2 pixels below it
    EXPECT_EQ(p.At(200 - 15, 23) == shadow, header == 1) << "square shadow only under a gradient header";
  }
}

TEST_F(FrameStyles, ThePanelClipsTheWindowToARoundedRectangleUntilAnotherStyleResetsIt) {
  TzFrames& f = Plain(8, true);
  f.SetHeaderStyle(0);
  unique_hrgn region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(f.hWnd(), region.get()), ERROR);
  EXPECT_FALSE(PtInRegion(region.get(), 0, 0));
  EXPECT_TRUE(PtInRegion(region.get(), 4, 4));
  EXPECT_TRUE(PtInRegion(region.get(), 100, 0));
  const DibProbe p = Image(f);
  for (POINT c : std::array<POINT, 8>{{{0, 4}, {4, 0}, {195, 0}, {199, 4}, {0, 115}, {4, 119}, {195, 119}, {199, 115}}})
    EXPECT_EQ(p.At(c.x, c.y), kFrame) << c.x << "," << c.y;
  EXPECT_EQ(p.At(100, 60), kFill) << "a solid header fills the panel over its gradient";

  f.SetStyle(1);
  ASSERT_NE(GetWindowRgn(f.hWnd(), region.get()), ERROR);
  RECT box{};
  GetRgnBox(region.get(), &box);
  EXPECT_TRUE(PtInRegion(region.get(), 0, 0));
  EXPECT_EQ(box.right, 200);
  EXPECT_EQ(box.bottom, 120);
}

TEST_F(FrameStyles, TheIconStandsLeftOrRightAndGoesGreyWhenDisabledButTabsNeverDrawIt) {
  WindowDC screen(nullptr);
  HBITMAP red = CreateCompatibleBitmap(screen.get(), 16, 16);
  {
    unique_hdc dc(CreateCompatibleDC(screen.get()));
    SelectGuard s(dc.get(), red);
    unique_hbrush brush(CreateSolidBrush(RGB(255, 0, 0)));
    RECT all{0, 0, 16, 16};
    FillRect(dc.get(), &all, brush.get());
  }
  const PictureRef icon = Picture::FromBitmap(red);
  TzFrames& f = Plain(3, true);
  f.SetPicture(icon);
  const int iconY = (22 - 16) / 2;
  EXPECT_EQ(Image(f).Count(RECT{6, iconY, 22, iconY + 16}, RGB(255, 0, 0)), 256);
  f.SetIconAlignment(1);
  EXPECT_EQ(Image(f).Count(RECT{200 - 22, iconY, 200 - 6, iconY + 16}, RGB(255, 0, 0)), 256);
  f.SetEnabled(false);
  EXPECT_EQ(Image(f).Count(RECT{200 - 22, iconY, 200 - 6, iconY + 16}, RGB(76, 76, 76)), 256);
  f.SetEnabled(true);
  for (int style : {0, 5, 6}) {
    f.SetStyle(style);
    EXPECT_EQ(Image(f).Count(RECT{0, 0, 200, 120}, RGB(255, 0, 0)), 0) << style;
  }
}

TEST_F(FrameStyles, ADisabledCaptionIsDrawnInTheSystemGreyText) {
  TzFrames& f = Plain(3, true);
  f.SetTextColor(RGB(250, 0, 250));
  f.SetCaption(L"WWWW");
  EXPECT_GT(Image(f).Count(RECT{0, 0, 200, 22}, RGB(250, 0, 250)), 0);
  f.SetEnabled(false);
  const DibProbe p = Image(f);
  EXPECT_EQ(p.Count(RECT{0, 0, 200, 22}, RGB(250, 0, 250)), 0);
  EXPECT_GT(p.Count(RECT{0, 0, 200, 22}, GetSysColor(COLOR_GRAYTEXT)), 0);
}

TEST_F(FrameStyles, AStepThatOverflowsIsSkippedAndReported) {
  TzFrames& f = Plain(1, true);
  f.SetPicture(Picture::FromIcon(CopyIcon(LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION)))));
  host_.calls.clear();
  f.SetTextBoxHeight(100000);
  ASSERT_EQ(host_.calls.size(), 1u);
  EXPECT_EQ(host_.calls[0].rfind(L"SkippedStep(" + form_->ControlNames().back() + L"|DrawIcon|", 0), 0u)
      << Utf8FromWide(host_.calls[0]);
  host_.calls.clear();
}

TEST_F(FrameStyles, GdiObjectsStayFlatOverManyWritesAndResizes) {
  TzFrames& f = Plain(8, true);
  f.SetCaption(L"Endere\u00E7o de entrega");
  f.SetPicture(Picture::FromIcon(CopyIcon(LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION)))));
  HostedControl* site = form_->Site(form_->ControlNames().back());
  // 36 rounds meet every style with every gradient kind; 10,000 are counted by the benchmark.
  ExpectNoLeaks([&] {
    for (int i = 0; i < 36; ++i) {
      f.SetStyle(i % 9);
      f.SetGradientHeaderStyle(i % 4);
      f.SetEnabled(i % 3 != 0);
      site->Move(0, 0, TwipsFromPixelsX(150 + i % 50), TwipsFromPixelsY(100 + i % 30));
    }
  });
}

}  // namespace
}  // namespace tessel::test::frames
