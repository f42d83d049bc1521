#include <gtest/gtest.h>

#include <algorithm>

#include "host/constituents/Label.h"
#include "host/constituents/Line.h"
#include "tests/host/HostFixture.h"

namespace tessel::hosttest {
namespace {

class ShapePaint : public SurfaceTest {
 protected:
  // A 40 x 30 pixel shape at (10, 20), its pixels from x 10 to 49 and y 20 to 49: opaque red
  // back, green border of the given style and width.
  Shape& Placed(int borderStyle = 1, int borderWidth = 1) {
    shape_ = std::make_unique<Shape>(surface_, L"Shape1");
    shape_->Move(Tw(10), Tw(20), Tw(40), Tw(30));
    shape_->SetBackStyle(1);
    shape_->SetBackColor(kRed);
    shape_->SetBorderColor(kGreen);
    shape_->SetBorderStyle(borderStyle);
    shape_->SetBorderWidth(borderWidth);
    return *shape_;
  }
  std::unique_ptr<Shape> shape_;
};

TEST_F(ShapePaint, BordersLieOnInsideOrAcrossTheOutlineAndTheBackFillsTheRest) {
  struct Case { int style, width; std::vector<Pixel> pixels; int redInside; };
  const Case cases[] = {
      // One-pixel border, back inside it; the surface all around.
      {1, 1, {{0, 0, kNavy}, {10, 20, kGreen}, {49, 20, kGreen}, {10, 49, kGreen}, {49, 49, kGreen},
              {9, 30, kNavy}, {50, 30, kNavy}, {30, 50, kNavy}, {11, 21, kRed}}, 38 * 28},
      // No border: the back covers exactly the bounds.
      {0, 1, {{10, 20, kRed}, {49, 49, kRed}, {50, 49, kNavy}, {49, 50, kNavy}}, 38 * 28},
      // Inside solid, three wide: within the bounds.
      {6, 3, {{10, 20, kGreen}, {12, 22, kGreen}, {13, 23, kRed}, {47, 47, kGreen}, {46, 46, kRed},
              {9, 19, kNavy}, {50, 50, kNavy}}, 34 * 24},
      // Plain solid, three wide: centred on the outline.
      {1, 3, {{8, 18, kNavy}, {9, 19, kGreen}, {11, 21, kGreen}, {12, 22, kRed}, {50, 50, kGreen},
              {47, 47, kRed}, {51, 51, kNavy}}, 36 * 26},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("border style " + std::to_string(c.style) + " width " + std::to_string(c.width));
    Placed(c.style, c.width);
    auto dib = Paint();
    ExpectPixels(*dib, c.pixels);
    EXPECT_EQ(dib->Count(RECT{11, 21, 49, 49}, kRed), c.redInside);
  }
}

TEST_F(ShapePaint, TransparentBackShowsTheSurfaceAndFillStylesPaintOverTheBack) {
  Shape& shape = Placed();
  shape.SetBackStyle(0);
  ExpectPixels(*Paint(), {{10, 20, kGreen}, {30, 35, kNavy}});  // transparent back and fill by default
  shape.SetFillStyle(0);
  shape.SetFillColor(kYellow);
  EXPECT_EQ(Paint()->Count(RECT{11, 21, 49, 49}, kYellow), 38 * 28);

  // A horizontal hatch over the opaque back: whole yellow rows with red rows between.
  shape.SetBackStyle(1);
  shape.SetFillStyle(2);
  auto dib = Paint();
  const int yellow = dib->Count(RECT{11, 21, 49, 49}, kYellow);
  EXPECT_GT(yellow, 0);
  EXPECT_EQ(yellow + dib->Count(RECT{11, 21, 49, 49}, kRed), 38 * 28);
  for (int y = 21; y < 49; ++y) {
    const int row = dib->Count(RECT{11, y, 49, y + 1}, kYellow);
    EXPECT_TRUE(row == 0 || row == 38) << "row " << y;
  }
}

TEST_F(ShapePaint, SquaresAreCentredRoundShapesLeaveTheCornersOutAndDashesAreBroken) {
  Shape& shape = Placed(0);
  for (int kind : {Shape::kOval, Shape::kRoundedRectangle, Shape::kCircle, Shape::kRoundedSquare}) {
    shape.SetShape(kind);
    auto dib = Paint();
    EXPECT_EQ(dib->At(30, 35), kRed) << kind;
    EXPECT_EQ(dib->At(kind == Shape::kCircle || kind == Shape::kRoundedSquare ? 15 : 10, 20), kNavy) << kind;
  }
  // A 30-pixel square in the middle of the 40-pixel width: x 15 to 44.
  shape.SetBackStyle(0);
  shape.SetBorderStyle(1);
  shape.SetShape(Shape::kSquare);
  auto dib = Paint();
  ExpectPixels(*dib, {{14, 35, kNavy}, {15, 35, kGreen}, {44, 35, kGreen}, {45, 35, kNavy}});
  EXPECT_EQ(dib->Count(RECT{15, 20, 45, 21}, kGreen), 30);
  shape.SetBorderStyle(2);
  const int dashes = Paint()->Count(RECT{15, 20, 45, 21}, kGreen);
  EXPECT_GT(dashes, 0);
  EXPECT_LT(dashes, 30);
}

using LinePaint = SurfaceTest;

TEST_F(LinePaint, WidthStyleAndVerticalLines) {
  Line line(surface_, L"Line1");
  auto ends = [&](int x1, int y1, int x2, int y2) {
    line.SetX1(Tw(x1)), line.SetY1(Tw(y1)), line.SetX2(Tw(x2)), line.SetY2(Tw(y2));
  };
  line.SetBorderColor(kYellow);
  ends(10, 50, 110, 50);
  line.SetBorderWidth(3);
  auto dib = Paint();
  ExpectPixels(*dib, {{60, 48, kNavy}, {60, 49, kYellow}, {60, 50, kYellow}, {60, 51, kYellow}, {60, 52, kNavy}});

  line.SetBorderWidth(1);
  line.SetBorderStyle(3);  // dotted
  const int dots = Paint()->Count(RECT{10, 50, 110, 51}, kYellow);
  EXPECT_GT(dots, 10);
  EXPECT_LT(dots, 90);
  line.SetBorderStyle(0);
  EXPECT_EQ(Paint()->Count(RECT{0, 0, 320, 240}, kYellow), 0);

  // End points in either order: bounds follow them.
  line.SetBorderStyle(1);
  ends(200, 100, 200, 10);
  EXPECT_EQ(std::vector<int>({line.Left(), line.Top(), line.Height()}), std::vector<int>({Tw(200), Tw(10), Tw(90)}));
  dib = Paint();
  EXPECT_EQ(dib->Count(RECT{200, 0, 201, 240}, kYellow), 90);
  ExpectPixels(*dib, {{200, 11, kYellow}, {200, 100, kYellow}});  // drawn from (200,100) towards (200,10)
}

class LabelPaint : public SurfaceTest {
 protected:
  // Black text on white at (20, 100), 80 x 20 pixels.
  Label& Placed(const wchar_t* caption = L"Hg") {
    label_ = std::make_unique<Label>(surface_, L"Label1");
    label_->Move(Tw(20), Tw(100), Tw(80), Tw(20));
    label_->SetBackColor(kWhite);
    label_->SetForeColor(kBlack);
    label_->SetCaption(caption);
    return *label_;
  }
  std::unique_ptr<Label> label_;
};

TEST_F(LabelPaint, AnOpaqueLabelFillsItsBoundsATransparentOneShowsWhatIsBehind) {
  auto band = Block(surface_, L"Band", {0, 90, 320, 110}, kRed);  // under the label's upper half
  Label& label = Placed();
  auto dib = Paint();
  ExpectPixels(*dib, {{20, 100, kWhite}, {99, 119, kWhite}, {19, 100, kRed}, {100, 119, kNavy}, {20, 120, kNavy}});
  const int ink = dib->Count(RECT{20, 100, 100, 120}, kBlack);
  EXPECT_GT(ink, 5);
  EXPECT_EQ(dib->Count(RECT{0, 0, 320, 240}, kBlack), ink) << "the text stays inside";

  label.SetBackStyle(0);
  dib = Paint();
  ExpectPixels(*dib, {{20, 100, kRed}, {99, 119, kNavy}});
  EXPECT_EQ(dib->Count(RECT{0, 0, 320, 240}, kWhite), 0);
  EXPECT_GT(dib->Count(RECT{20, 100, 100, 120}, kBlack), 5);
}

TEST_F(LabelPaint, LaterConstituentsPaintOverEarlierOnesAndHiddenOnesNotAtAll) {
  Label under(surface_, L"Under");
  under.Move(Tw(10), Tw(10), Tw(40), Tw(40));
  under.SetBackColor(kWhite);
  auto over = Block(surface_, L"Over", {30, 30, 70, 70}, kRed);
  ExpectPixels(*Paint(), {{15, 15, kWhite}, {35, 35, kRed}});  // the overlap shows the later one
  over->SetVisible(false);
  ExpectPixels(*Paint(), {{35, 35, kWhite}, {60, 60, kNavy}});
}

TEST_F(LabelPaint, AlignmentPlacesTheText) {
  Label& label = Placed(L"WW");
  label.Move(Tw(0), Tw(0), Tw(300), Tw(20));
  // Ink in the thirds of the width, for left, right and centred text.
  auto inked = [&] {
    auto dib = Paint();
    std::vector<bool> thirds;
    for (int x : {0, 100, 200}) thirds.push_back(dib->Count(RECT{x, 0, x + 100, 20}, kBlack) > 0);
    return thirds;
  };
  for (int alignment : {0, 1, 2}) {
    label.SetAlignment(alignment);
    EXPECT_EQ(inked(), (std::vector<bool>{alignment == 0, alignment == 2, alignment == 1})) << alignment;
  }
}

// AutoSize fits the caption in the label's font, which is held by reference: a change to it shows
// once the label is refreshed.
TEST_F(LabelPaint, AutoSizeFitsTheTextOfItsFontAndAnUnderlinedFontUnderlinesTheWholeCaption) {
  Label& label = Placed(L"i   i   i");
  label.Move(Tw(10), Tw(10), Tw(200), Tw(40));
  FontRef font = Font::Create(FontDesc{L"Arial", 14});
  label.SetFont(font);
  label.SetAutoSize(true);
  for (const wchar_t* caption : {L"Some caption", L"", L"i   i   i"}) {
    label.SetCaption(caption);
    WindowDC screen(nullptr);
    SelectGuard selected(screen.get(), font->Handle());
    TEXTMETRICW tm{};
    GetTextMetricsW(screen.get(), &tm);
    SIZE extent{};
    GetTextExtentPoint32W(screen.get(), caption, static_cast<int>(wcslen(caption)), &extent);
    EXPECT_EQ(std::vector<int>({label.Left(), label.Width(), label.Height()}),
              std::vector<int>({Tw(10), Tw(extent.cx), Tw(tm.tmHeight)}));
  }
  auto longestRow = [&] {
    auto dib = Paint();
    int best = 0;
    for (int y = 10; y < 50; ++y) best = std::max(best, dib->Count(RECT{10, y, 210, y + 1}, kBlack));
    return best;
  };
  const int textWidth = label.Width() / 15;
  ASSERT_GT(textWidth, 20);
  EXPECT_LT(longestRow(), textWidth / 2);
  font->SetUnderline(true);
  label.Refresh();
  EXPECT_GE(longestRow(), textWidth - 2);
}

class FailingConstituent : public Constituent {
 public:
  using Constituent::Constituent;
  void Draw(HDC dc) override {
    SelectObject(dc, GetStockObject(WHITE_PEN));
    IntersectClipRect(dc, 0, 0, 1, 1);
    throw std::runtime_error("drawing failed");
  }
};

class OwnerDrawn : public SurfaceWindow {
 protected:
  void PaintOwn(HDC dc) override {
    RECT r{0, 0, 5, 5};
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
};

TEST(SurfacePaintOrder, OwnerDrawsLastAFailingConstituentIsSkippedAndTheDcIsLeftAsItWas) {
  OwnerDrawn surface;
  surface.Create(GetDesktopWindow(), RECT{0, 0, 60, 60}, 0);
  surface.SetBackColor(kNavy);
  auto first = Block(surface, L"First", {0, 0, 20, 20}, kRed);
  FailingConstituent failing(surface, L"Failing");
  auto last = Block(surface, L"Last", {30, 30, 50, 50}, kGreen);

  Dib dib(60, 60, RGB(1, 2, 3));
  auto selected = [&] {
    return std::vector<HGDIOBJ>{GetCurrentObject(dib.dc(), OBJ_PEN), GetCurrentObject(dib.dc(), OBJ_BRUSH),
                                GetCurrentObject(dib.dc(), OBJ_FONT)};
  };
  const std::vector<HGDIOBJ> before = selected();
  SendMessageW(surface.hWnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dib.dc()), PRF_CLIENT);
  // The owner's drawing is on top; what comes after the failing one is drawn.
  ExpectPixels(dib, {{0, 0, kWhite}, {10, 10, kRed}, {40, 40, kGreen}, {25, 25, kNavy}});
  EXPECT_EQ(selected(), before);
  EXPECT_EQ(GetClipRgn(dib.dc(), unique_hrgn(CreateRectRgn(0, 0, 0, 0)).get()), 0);  // no clip region left behind
}

TEST_F(ShapePaint, WindowPaintIsBufferedAndReachesTheScreen) {
  Placed();
  RedrawWindow(surface_.hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  // The background is not erased separately: WM_ERASEBKGND is answered without drawing.
  EXPECT_EQ(SendMessageW(surface_.hWnd(), WM_ERASEBKGND, 0, 0), 1);
  WindowDC dc(surface_.hWnd());
  for (const Pixel& p : {Pixel{5, 5, kNavy}, Pixel{10, 20, kGreen}, Pixel{30, 35, kRed}})
    EXPECT_EQ(GetPixel(dc.get(), p.x, p.y), p.color) << p.x << "," << p.y;
}

}  // namespace
}  // namespace tessel::hosttest
