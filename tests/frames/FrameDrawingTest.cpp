// The frame's drawing: primitives on a bare canvas, then the styles' outlines, bands, grip,
// corners, region, shadow, icon and caption on real frames, and GDI objects over redraws.
#include <array>

#include "frames/DisabledPicture.h"
#include "frames/FrameCaption.h"
#include "frames/FramePrimitives.h"
#include "tests/frames/FrameFixture.h"
#include "tests/support/Leaks.h"

namespace tessel::test::frames {
namespace {

constexpr COLORREF kPaper = RGB(1, 2, 3);

TEST(FramePrimitives, BlendGreyAndFitCaptionRoundAndCutAsTheirTablesSay) {
  const std::array<std::array<int32_t, 3>, 4> blends{{{RGB(129, 169, 226), 0, RGB(64, 84, 113)},
                                                      {RGB(1, 3, 5), RGB(2, 4, 6), RGB(2, 4, 6)},  // halves to even
                                                      {RGB(129, 169, 226), 0xFFFFFF, RGB(192, 212, 240)},
                                                      {0xFFFFFF, 0xA7A7A7, RGB(211, 211, 211)}}};
  for (const auto& [a, b, blend] : blends) EXPECT_EQ(Blend(a, b), blend) << Hex(a) << "+" << Hex(b);
  // round(round(r * 0.3) + g * 0.59 + b * 0.11): 76.5 to 76, 150.45, 28.05, 254.5 to 254
  EXPECT_EQ((std::array<int, 4>{GreyOf(255, 0, 0), GreyOf(0, 255, 0), GreyOf(0, 0, 255), GreyOf(255, 255, 255)}),
            (std::array<int, 4>{76, 150, 28, 254}));
  const TextMeasure tenEach = [](std::wstring_view t) { return static_cast<int>(t.size()) * 10; };
  const std::array<std::pair<int, const wchar_t*>, 4> fits{{{50, L"Dados"}, {49, L"D..."}, {40, L"D..."}, {39, L""}}};
  for (const auto& [width, fitted] : fits) EXPECT_EQ(FitCaption(L"Dados", width, tenEach), fitted) << width;
}

TEST(FramePrimitives, GradientsPaintOneLinePerPixelLeavingTheFirstAndLastAndBandsMeetAtTheSplit) {
  Canvas p(60, 60, kPaper);
  LinearGradient(p.dc(), RGB(0, 0, 0), RGB(100, 50, 10), 2, 5, 30, 4, true);    // rows 6..8, x 2..29
  LinearGradient(p.dc(), RGB(0, 0, 0), RGB(100, 50, 10), 2, 20, 2, 30, false);  // one column at x 3
  LinearGradient(p.dc(), RGB(0, 0, 0), RGB(100, 50, 10), 2, 30, 30, 1, true);   // one pixel high: nothing
  HeaderFill(p.dc(), RGB(0, 0, 0), RGB(220, 110, 22), 40, 0, 20, 20, gsVerticalBands, false, 0, 2.01);
  HeaderFill(p.dc(), 0, 0, 25, 40, 10, 10, 9, true, RGB(7, 7, 7), 2.01);  // unknown kind: only outlined
  DrawOutline(p.dc(), 50, 50, 1, 1, RGB(9, 9, 9));
  ExpectPixels(p, {{10, 5, kPaper},
                   {10, 6, RGB(25, 12, 2)},  // 12.5 and 2.5 go to even
                   {10, 8, RGB(75, 38, 8)},  // 37.5 and 7.5 too
                   {10, 9, kPaper},
                   {2, 7, RGB(50, 25, 5)},
                   {30, 7, kPaper},  // the line's end is left out
                   {3, 25, RGB(50, 25, 5)},
                   {2, 25, kPaper},
                   {4, 25, kPaper},
                   {45, 0, kPaper},
                   {45, 9, RGB(198, 99, 20)},    // band 1, line 9 of 10
                   {45, 10, RGB(200, 100, 20)},  // band 2 starts at row 9, line 1 of 11
                   {45, 19, RGB(20, 10, 2)}});
  EXPECT_EQ(p.Count(RECT{0, 30, 40, 32}, kPaper), 80);
  EXPECT_EQ(p.Count(RECT{25, 40, 36, 51}, RGB(7, 7, 7)), 40);
  EXPECT_EQ(p.Count(RECT{26, 41, 35, 50}, kPaper), 81);
  EXPECT_EQ(p.Count(RECT{49, 49, 53, 53}, RGB(9, 9, 9)), 4) << "an outline of size 1 is a 2 x 2 square";
}

TEST_F(FrameTest, TheDisabledPictureGreysThePictureAndKeepsTheWindowUnderItsBackground) {
  Canvas paper(40, 40, kPaper);
  WindowDC screen(nullptr);
  HBITMAP bmp = CreateCompatibleBitmap(screen.get(), 4, 4);  // red left half, black (the background) right
  {
    unique_hdc dc(CreateCompatibleDC(screen.get()));
    SelectGuard s(dc.get(), bmp);
    RECT left{0, 0, 2, 4}, right{2, 0, 4, 4};
    unique_hbrush red(CreateSolidBrush(RGB(255, 0, 0)));
    FillRect(dc.get(), &left, red.get());
    FillRect(dc.get(), &right, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
  DrawDisabledPicture(paper.dc(), 10, 10, 8, 8, *Picture::FromBitmap(bmp), 0);
  EXPECT_EQ(paper.Count(RECT{10, 10, 14, 18}, RGB(76, 76, 76)), 32);
  EXPECT_EQ(paper.Count(RECT{14, 10, 18, 18}, kPaper), 32);
}

TEST_F(FrameTest, TheGroupBoxOutlinesItsBodyAndOpensTheTopLineForTheCaption) {
  TzFrames& square = Plain(0, false);
  const auto back = static_cast<COLORREF>(square.BackColor());
  // The box stops one pixel short of the right and bottom edges; a rounded corner leaves its pixel.
  ExpectPixels(Image(square), {{0, 0, kFrame}, {198, 118, kFrame}, {100, 60, kFill}, {199, 60, back}});
  ExpectPixels(Image(Plain(0, true)), {{0, 0, back}, {0, 60, kFrame}});
  square.SetAlignment(0);
  square.SetCaption(L"Dados");
  const TextMetrics t = square.Text();
  ASSERT_LT(15 + t.width + 6, 200);
  ExpectPixels(Image(square), {{14, t.halfHeight, kFrame},
                               {15, t.halfHeight, kFill},  // the line is erased behind the caption
                               {15 + t.width + 5, t.halfHeight, kFill},
                               {15 + t.width + 6, t.halfHeight, kFrame}});
}

TEST_F(FrameTest, HeadersGripAndShadowStandWhereTheirStylesPutThem) {
  // The themed header runs from the end colour at the top to the start colour, in a theme border.
  TzFrames& header = Plain(1, true);
  header.SetHeaderStyle(1);
  header.SetGradientHeaderStyle(0);
  ExpectPixels(Image(header), {{100, 3, RGB(0, 0, 128)},
                               {100, 4, RGB(217, 233, 253)},
                               {100, 14, RGB(175, 202, 240)},  // 202.5 goes to even
                               {100, 24, RGB(133, 172, 227)},
                               {100, 25, RGB(0, 0, 128)}});
  // The gradient box's grip: nine dots in the start colour half-way to black across the top band.
  const DibProbe grip = Image(Plain(4, true));
  const int x0 = (200 - 34) / 2;
  const COLORREF dark = RGB(64, 84, 113), band = grip.At(x0 - 2, 2);
  ASSERT_NE(band, dark);
  for (int i = 0; i < 9; ++i)
    ExpectPixels(grip, {{x0 + 4 * i, 2, dark}, {x0 + 4 * i + 1, 2, dark}, {x0 + 4 * i + 2, 2, band}});
  EXPECT_EQ(grip.At(x0 + 36, 2), band) << "only nine dots";
  // A caption box's shadow shows 2 pixels right and below; square under a gradient header only.
  const COLORREF shadow = static_cast<COLORREF>(Blend(kFill, 0xA7A7A7));
  for (int gradient : {0, 1}) {
    TzFrames& f = Plain(2, true);
    f.SetRoundedCornerTxtBox(true);
    f.SetTxtBoxShadow(1);
    f.SetHeaderStyle(gradient);
    const DibProbe p = Image(f);
    ExpectPixels(p, {{185, 12, shadow}, {100, 23, shadow}});
    EXPECT_EQ(p.At(185, 23) == shadow, gradient == 1) << gradient;
  }
}

TEST_F(FrameTest, ThePanelClipsTheWindowToARoundedRectangleUntilAnotherStyleResetsIt) {
  TzFrames& f = Plain(8, true);
  f.SetHeaderStyle(0);
  unique_hrgn region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(f.hWnd(), region.get()), ERROR);
  EXPECT_EQ((std::array<bool, 3>{!!PtInRegion(region.get(), 0, 0), !!PtInRegion(region.get(), 4, 4),
                                 !!PtInRegion(region.get(), 100, 0)}),
            (std::array<bool, 3>{false, true, true}));
  ExpectPixels(Image(f), {{0, 4, kFrame}, {4, 0, kFrame}, {195, 0, kFrame}, {199, 4, kFrame}, {0, 115, kFrame},
                          {4, 119, kFrame}, {195, 119, kFrame}, {199, 115, kFrame},
                          {100, 60, kFill}});  // a solid header fills the panel over its gradient
  f.SetStyle(1);
  ASSERT_NE(GetWindowRgn(f.hWnd(), region.get()), ERROR);
  RECT box{};
  GetRgnBox(region.get(), &box);
  EXPECT_TRUE(PtInRegion(region.get(), 0, 0));
  EXPECT_EQ(std::make_pair(box.right, box.bottom), std::make_pair(200L, 120L));
}

TEST_F(FrameTest, TheIconStandsLeftOrRightAndGoesGreyWhenDisabledButTabsNeverDrawIt) {
  TzFrames& f = Plain(3, true);
  f.SetPicture(Square(RGB(255, 0, 0)));
  const int y = (22 - 16) / 2;
  EXPECT_EQ(Image(f).Count(RECT{6, y, 22, y + 16}, RGB(255, 0, 0)), 256);
  f.SetIconAlignment(1);
  EXPECT_EQ(Image(f).Count(RECT{178, y, 194, y + 16}, RGB(255, 0, 0)), 256);
  f.SetEnabled(false);
  EXPECT_EQ(Image(f).Count(RECT{178, y, 194, y + 16}, RGB(76, 76, 76)), 256);
  f.SetEnabled(true);
  for (int style : {0, 5, 6}) {
    f.SetStyle(style);
    EXPECT_EQ(Image(f).Count(RECT{0, 0, 200, 120}, RGB(255, 0, 0)), 0) << style;
  }
}

TEST_F(FrameTest, ADisabledCaptionIsDrawnInTheSystemGreyText) {
  TzFrames& f = Plain(3, true);
  f.SetTextColor(RGB(250, 0, 250));
  f.SetCaption(L"WWWW");
  EXPECT_GT(Image(f).Count(RECT{0, 0, 200, 22}, RGB(250, 0, 250)), 0);
  f.SetEnabled(false);
  const DibProbe p = Image(f);
  EXPECT_EQ(p.Count(RECT{0, 0, 200, 22}, RGB(250, 0, 250)), 0);
  EXPECT_GT(p.Count(RECT{0, 0, 200, 22}, GetSysColor(COLOR_GRAYTEXT)), 0);
}

TEST_F(FrameTest, AStepThatOverflowsIsSkippedAndReported) {
  TzFrames& f = Plain(1, true);
  f.SetPicture(Square(RGB(255, 0, 0)));
  host_.calls.clear();
  f.SetTextBoxHeight(100000);
  ASSERT_EQ(host_.calls.size(), 1u);
  EXPECT_EQ(host_.calls[0].rfind(L"SkippedStep(fra1|DrawIcon|", 0), 0u) << Utf8FromWide(host_.calls[0]);
  host_.calls.clear();
}

TEST_F(FrameTest, GdiObjectsStayFlatOverWritesAndResizes) {
  TzFrames& f = Plain(8, true);
  f.SetCaption(L"Endere\u00E7o de entrega");
  f.SetPicture(Picture::FromIcon(CopyIcon(LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION)))));
  HostedControl* site = form_->Site(L"fra1");
  // 36 rounds meet every style with every gradient kind; the benchmark counts 10,000.
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
