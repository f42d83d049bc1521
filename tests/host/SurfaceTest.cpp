#include "tests/support/Prelude.h"

#include "tests/host/HostFixture.h"

namespace tessel::hosttest {
namespace {

// Labels A at (10,10) and B at (100,10), 50 x 50 pixels, whose events are recorded as "A.…".
class SurfaceMouse : public SurfaceTest {
 protected:
  void SetUp() override {
    SurfaceTest::SetUp();
    if (IsSkipped()) return;
    a_ = Placed(L"A", 10, 10);
    b_ = Placed(L"B", 100, 10);
  }
  std::unique_ptr<Label> Placed(const wchar_t* name, int x, int y) {
    auto label = Made<Label>(surface_, name, {x, y, x + 50, y + 50});
    log_.Watch(label->events, Utf8FromWide(name) + ".");
    return label;
  }
  void Send(UINT msg, WPARAM wp, int x, int y) { SendMessageW(surface_.hWnd(), msg, wp, MAKELPARAM(x, y)); }

  // Sends each {message, keys, x, y} and checks who holds the mouse after it (window and constituent, or nobody).
  struct Step { UINT msg; WPARAM keys; int x, y; Label* holder; };
  void Steps(std::initializer_list<Step> steps) {
    for (const Step& s : steps) {
      Send(s.msg, s.keys, s.x, s.y);
      EXPECT_EQ(GetCapture(), s.holder ? surface_.hWnd() : nullptr) << std::hex << s.msg << " at " << std::dec << s.x;
      EXPECT_EQ(surface_.Captured(), s.holder) << std::hex << s.msg << " at " << std::dec << s.x;
    }
  }

  std::unique_ptr<Label> a_, b_;
};

TEST_F(SurfaceMouse, TheTopmostConstituentUnderTheCursorGetsTheMouseInItsOwnTwipsRoundedToTheNearestPixel) {
  b_->Move(Tw(30), Tw(30), Tw(50), Tw(50));
  // Shapes and lines let the mouse through to what is under them.
  auto cover = Made<Shape>(surface_, L"Cover", {0, 0, 320, 240});
  Line line(surface_, L"Line");
  line.SetX2(Tw(320));
  line.SetY1(Tw(40));
  line.SetY2(Tw(40));
  Send(WM_MOUSEMOVE, 0, 40, 40);                      // overlap: B is on top
  Send(WM_MOUSEMOVE, 0, 15, 20);                      // only A
  Send(WM_MOUSEMOVE, 0, 200, 200);                    // nothing
  Send(WM_MOUSEMOVE, MK_SHIFT | MK_CONTROL, 79, 79);  // B's last pixel
  EXPECT_THAT(log_.Take(), ElementsAre("B.MouseMove(0,0,150,150)", "A.MouseMove(0,0,75,150)", "B.MouseMove(0,3,735,735)"));
  EXPECT_EQ(surface_.Hovered(), b_.get());
  b_->SetVisible(false);
  Send(WM_MOUSEMOVE, 0, 40, 40);
  EXPECT_THAT(log_.Take(), ElementsAre("A.MouseMove(0,0,450,450)"));
  // Twips become pixels of the screen's resolution (15 twips a pixel here), rounded to the nearest,
  // halves away from zero.
  EXPECT_EQ(surface_.ScaleWidth(), 320 * 15);
  EXPECT_EQ(surface_.ScaleHeight(), 240 * 15);
  a_->Move(23, 7, 1500, 1);  // 1.53 -> 2, 0.47 -> 0; right 1523 -> 102, bottom 8 -> 1
  EXPECT_EQ(Edges(a_->BoundsPixels()), Edges({2, 0, 102, 1}));
  EXPECT_TRUE(a_->HitTest(POINT{2, 0}));
  EXPECT_FALSE(a_->HitTest(POINT{102, 0}));
  EXPECT_FALSE(a_->HitTest(POINT{2, 1}));
  a_->Move(-15, -15, 30, 30);  // negative positions are fine
  EXPECT_EQ(a_->BoundsPixels().left, -1);
  EXPECT_EQ(std::vector<int>({PixelsFromTwipsY(-8), TwipsFromPixelsX(PixelsFromTwipsX(450))}), std::vector<int>({-1, 450}));
}

TEST_F(SurfaceMouse, APressCapturesUntilTheLastButtonComesUpOrTheCaptureOrConstituentIsLost) {
  // A holds the mouse over B, through the right button and out of every constituent; Click needs a release
  // inside (B); a double click is down, up, double, up.
  Steps({{WM_LBUTTONDOWN, MK_LBUTTON, 20, 20, a_.get()}, {WM_MOUSEMOVE, MK_LBUTTON, 120, 20, a_.get()},
         {WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, 120, 20, a_.get()}, {WM_LBUTTONUP, MK_RBUTTON, 120, 20, a_.get()},
         {WM_RBUTTONUP, 0, 5, 5, nullptr}, {WM_LBUTTONDOWN, MK_LBUTTON, 110, 12, b_.get()}, {WM_LBUTTONUP, 0, 111, 13, nullptr},
         {WM_LBUTTONDBLCLK, MK_LBUTTON, 20, 20, a_.get()}, {WM_LBUTTONUP, 0, 20, 20, nullptr}});
  EXPECT_THAT(log_.Take(), ElementsAre("A.MouseDown(1,0,150,150)", "A.MouseMove(1,0,1650,150)", "A.MouseDown(2,0,1650,150)",
                                       "A.MouseUp(1,0,1650,150)", "A.MouseUp(2,0,-75,-75)", "B.MouseDown(1,0,150,30)",
                                       "B.MouseUp(1,0,165,45)", "B.Click", "A.DblClick", "A.MouseUp(1,0,150,150)"));

  // Losing the capture or the constituent ends the gesture; the owner's own press stays the owner's.
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 20, 20);
  ReleaseCapture();  // another window took the mouse
  EXPECT_EQ(surface_.Captured(), nullptr);
  Send(WM_MOUSEMOVE, 0, 200, 200);
  EXPECT_THAT(log_.Take(), ElementsAre("A.MouseDown(1,0,150,150)"));

  // A handler that removes its own constituent while it holds the mouse.
  b_->events.MouseDown = [&](int16_t&, int16_t&, float&, float&) { b_.reset(); };
  Steps({{WM_LBUTTONDOWN, MK_LBUTTON, 105, 15, nullptr}, {WM_LBUTTONUP, 0, 105, 15, nullptr}});
  EXPECT_EQ(surface_.Constituents().size(), 1u);

  // The owner took the mouse for a press on its own background.
  SetCapture(surface_.hWnd());
  Send(WM_MOUSEMOVE, MK_LBUTTON, 20, 20);
  Send(WM_LBUTTONUP, 0, 20, 20);
  EXPECT_THAT(log_.Take(), IsEmpty());
  ReleaseCapture();
  Send(WM_MOUSEMOVE, 0, 20, 20);
  EXPECT_THAT(log_.Take(), ElementsAre("A.MouseMove(0,0,150,150)"));
}

TEST_F(SurfaceMouse, SetCursorAnswersWithTheConstituentsPointer) {
  POINT origin{0, 0};
  ClientToScreen(surface_.hWnd(), &origin);
  auto cursorAt = [&](int x, int y) {
    SetCursorPos(origin.x + x, origin.y + y);
    SendMessageW(surface_.hWnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(surface_.hWnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
  };
  POINT check{};
  SetCursorPos(origin.x + 20, origin.y + 20);
  GetCursorPos(&check);
  if (check.x != origin.x + 20) GTEST_SKIP() << "the cursor cannot be moved on this display";
  auto system = [](LPCWSTR id) { return LoadCursorW(nullptr, id); };
  PictureRef icon = Picture::FromBytes(test::IconFile(32, RGB(0, 0, 255), true, POINT{4, 4}));
  // pointer, icon, where: the cursor shown (the arrow is the window class's own)
  const struct { int pointer; PictureRef icon; int x; HCURSOR want; } cases[] = {
      {2, nullptr, 20, system(IDC_CROSS)},   {2, nullptr, 200, system(IDC_ARROW)},
      {0, nullptr, 20, system(IDC_ARROW)},   {3, nullptr, 20, system(IDC_IBEAM)},
      {99, icon, 20, static_cast<HCURSOR>(icon->Handle())}, {99, nullptr, 20, system(IDC_ARROW)},
  };
  for (const auto& c : cases) {
    a_->SetMousePointer(c.pointer);
    a_->SetMouseIcon(c.icon);
    EXPECT_EQ(cursorAt(c.x, 20), c.want) << c.pointer << " at " << c.x;
  }
}

TEST_F(SurfaceMouse, ToolTipTextMakesARealToolThatFollowsTheLabel) {
  auto toolWindow = [&]() -> HWND {
    for (HWND w = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); w;
         w = FindWindowExW(nullptr, w, TOOLTIPS_CLASSW, nullptr))
      if (GetWindow(w, GW_OWNER) == GetAncestor(surface_.hWnd(), GA_ROOT)) return w;
    return nullptr;
  };
  EXPECT_EQ(toolWindow(), nullptr);
  a_->SetToolTipText(L"Opens the site");
  HWND tip = toolWindow();
  ASSERT_NE(tip, nullptr);
  EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
  auto tool = [&] {  // the tool's text and rectangle
    wchar_t text[64] = {};
    TTTOOLINFOW info{TTTOOLINFOW_V2_SIZE, 0, surface_.hWnd(), reinterpret_cast<UINT_PTR>(a_.get())};
    info.lpszText = text;
    EXPECT_TRUE(SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)));
    return std::pair(std::wstring(text), Edges(info.rect));
  };
  EXPECT_EQ(tool(), std::pair(std::wstring(L"Opens the site"), Edges({10, 10, 60, 60})));
  a_->Move(Tw(100), Tw(100), Tw(10), Tw(10));
  EXPECT_EQ(tool(), std::pair(std::wstring(L"Opens the site"), Edges({100, 100, 110, 110})));
  a_->SetToolTipText(L"");
  EXPECT_EQ(toolWindow(), nullptr);
  EXPECT_FALSE(IsWindow(tip));
}

// A 40 x 30 pixel shape at (10, 20) (x 10 to 49, y 20 to 49): red back, green border, yellow fill.
class ShapePaint : public SurfaceTest {
 protected:
  Shape& Placed(int borderStyle = 1, int borderWidth = 1) {
    shape_ = Block(surface_, L"Shape1", {10, 20, 50, 50}, kRed);
    shape_->SetBorderColor(kGreen);
    shape_->SetFillColor(kYellow);
    shape_->SetBorderStyle(borderStyle);
    shape_->SetBorderWidth(borderWidth);
    return *shape_;
  }
  std::unique_ptr<Shape> shape_;
};

// Borders inside or across the outline, back and fill inside, squares centred, round shapes without corners.
TEST_F(ShapePaint, EachLookPutsBorderBackAndFillWhereTheOutlineSaysOnPrintAndOnTheScreen) {
  const RECT inside{11, 21, 49, 49}, squareTop{15, 20, 45, 21};
  // {case, shape, back style, border style and width, fill style, colour counted inside and its count, pixels}
  struct Case { const char* what; int shape, back, style, width, fill; COLORREF counted; int count; std::vector<Pixel> pixels; };
  const Case cases[] = {
      {"plain", Shape::kRectangle, 1, 1, 1, 1, kRed, 38 * 28, {{0, 0, kNavy}, {10, 20, kGreen}, {49, 20, kGreen},
        {10, 49, kGreen}, {49, 49, kGreen}, {9, 30, kNavy}, {50, 30, kNavy}, {30, 50, kNavy}, {11, 21, kRed}}},
      {"no border", Shape::kRectangle, 1, 0, 1, 1, kRed, 38 * 28,
       {{10, 20, kRed}, {49, 49, kRed}, {50, 49, kNavy}, {49, 50, kNavy}}},
      {"inside solid 3", Shape::kRectangle, 1, 6, 3, 1, kRed, 34 * 24, {{10, 20, kGreen}, {12, 22, kGreen}, {13, 23, kRed},
        {47, 47, kGreen}, {46, 46, kRed}, {9, 19, kNavy}, {50, 50, kNavy}}},
      {"solid 3 across", Shape::kRectangle, 1, 1, 3, 1, kRed, 36 * 26, {{8, 18, kNavy}, {9, 19, kGreen}, {11, 21, kGreen},
        {12, 22, kRed}, {50, 50, kGreen}, {47, 47, kRed}, {51, 51, kNavy}}},
      {"transparent", Shape::kRectangle, 0, 1, 1, 1, kRed, 0, {{10, 20, kGreen}, {30, 35, kNavy}}},
      {"solid fill", Shape::kRectangle, 0, 1, 1, 0, kYellow, 38 * 28, {{10, 20, kGreen}}},
      {"oval", Shape::kOval, 1, 0, 1, 1, kYellow, 0, {{30, 35, kRed}, {10, 20, kNavy}}},
      {"rounded", Shape::kRoundedRectangle, 1, 0, 1, 1, kYellow, 0, {{30, 35, kRed}, {10, 20, kNavy}}},
      {"circle", Shape::kCircle, 1, 0, 1, 1, kYellow, 0, {{30, 35, kRed}, {15, 20, kNavy}}},
      {"rounded square", Shape::kRoundedSquare, 1, 0, 1, 1, kYellow, 0, {{30, 35, kRed}, {15, 20, kNavy}}},
      // A 30-pixel square in the middle of the 40-pixel width: x 15 to 44; its top edge counted.
      {"square", Shape::kSquare, 0, 1, 1, 1, kGreen, 30, {{14, 35, kNavy}, {15, 35, kGreen}, {44, 35, kGreen}, {45, 35, kNavy}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Shape& shape = Placed(c.style, c.width);
    shape.SetShape(c.shape);
    shape.SetBackStyle(c.back);
    shape.SetFillStyle(c.fill);
    auto dib = Paint();
    ExpectPixels(*dib, c.pixels);
    EXPECT_EQ(dib->Count(c.shape == Shape::kSquare ? squareTop : inside, c.counted), c.count);
  }
  // A horizontal hatch over the back: whole yellow rows with red rows between.
  Placed().SetFillStyle(2);
  auto dib = Paint();
  const int yellow = dib->Count(inside, kYellow);
  EXPECT_GT(yellow, 0);
  EXPECT_EQ(yellow + dib->Count(inside, kRed), 38 * 28);
  for (int y = 21; y < 49; ++y) {
    const int row = dib->Count(RECT{11, y, 49, y + 1}, kYellow);
    EXPECT_TRUE(row == 0 || row == 38) << "row " << y;
  }
  // A dashed square's top edge is broken.
  Placed(2).SetShape(Shape::kSquare);
  const int dashes = Paint()->Count(squareTop, kGreen);
  EXPECT_GT(dashes, 0);
  EXPECT_LT(dashes, 30);
  // A window paint, buffered, reaches the screen.
  Placed();
  RedrawWindow(surface_.hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  // The background is not erased separately: WM_ERASEBKGND is answered without drawing.
  EXPECT_EQ(SendMessageW(surface_.hWnd(), WM_ERASEBKGND, 0, 0), 1);
  WindowDC dc(surface_.hWnd());
  for (const Pixel& p : {Pixel{5, 5, kNavy}, Pixel{10, 20, kGreen}, Pixel{30, 35, kRed}})
    EXPECT_EQ(GetPixel(dc.get(), p.x, p.y), p.color) << p.x << "," << p.y;
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

// Black text on white, placed in pixels.
std::unique_ptr<Label> Text(Surface& on, const wchar_t* caption, RECT pixels) {
  auto label = Made<Label>(on, L"Label1", pixels);
  label->SetBackColor(kWhite);
  label->SetForeColor(kBlack);
  label->SetCaption(caption);
  return label;
}

using LabelPaint = SurfaceTest;

TEST_F(LabelPaint, AnOpaqueLabelFillsItsBoundsATransparentOneShowsWhatIsBehindAndAlignmentPlacesTheText) {
  auto band = Block(surface_, L"Band", {0, 90, 320, 110}, kRed);  // under the label's upper half
  auto label = Text(surface_, L"Hg", {20, 100, 100, 120});
  auto dib = Paint();
  ExpectPixels(*dib, {{20, 100, kWhite}, {99, 119, kWhite}, {19, 100, kRed}, {100, 119, kNavy}, {20, 120, kNavy}});
  const int ink = dib->Count(RECT{20, 100, 100, 120}, kBlack);
  EXPECT_GT(ink, 5);
  EXPECT_EQ(dib->Count(RECT{0, 0, 320, 240}, kBlack), ink) << "the text stays inside";

  label->SetBackStyle(0);
  dib = Paint();
  ExpectPixels(*dib, {{20, 100, kRed}, {99, 119, kNavy}});
  EXPECT_EQ(dib->Count(RECT{0, 0, 320, 240}, kWhite), 0);
  EXPECT_GT(dib->Count(RECT{20, 100, 100, 120}, kBlack), 5);

  label->Move(0, 0, Tw(300), Tw(20));
  label->SetCaption(L"WW");
  for (int alignment : {0, 1, 2}) {  // ink in the thirds of the width, for left, right and centred text
    label->SetAlignment(alignment);
    dib = Paint();
    std::vector<bool> thirds;
    for (int x : {0, 100, 200}) thirds.push_back(dib->Count(RECT{x, 0, x + 100, 20}, kBlack) > 0);
    EXPECT_EQ(thirds, (std::vector<bool>{alignment == 0, alignment == 2, alignment == 1})) << alignment;
  }
}

// AutoSize fits the caption in the label's font, held by reference: a change shows once refreshed.
TEST_F(LabelPaint, AutoSizeFitsTheTextOfItsFontAndAnUnderlinedFontUnderlinesTheWholeCaption) {
  auto owned = Text(surface_, L"i   i   i", {10, 10, 210, 50});
  Label& label = *owned;
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

TEST(SurfacePaintOrder, LaterOnTopOwnerLastHiddenAndFailingSkippedAndTheDcLeftAsItWas) {
  OwnerDrawn surface;
  surface.Create(GetDesktopWindow(), RECT{0, 0, 60, 60}, 0);
  surface.SetBackColor(kNavy);
  auto first = Block(surface, L"First", {0, 0, 20, 20}, kRed);
  FailingConstituent failing(surface, L"Failing");
  auto last = Block(surface, L"Last", {15, 15, 50, 50}, kGreen);
  auto hidden = Block(surface, L"Hidden", {0, 40, 20, 60}, kYellow);
  hidden->SetVisible(false);

  Dib dib(60, 60, RGB(1, 2, 3));
  auto selected = [&] {
    return std::vector<HGDIOBJ>{GetCurrentObject(dib.dc(), OBJ_PEN), GetCurrentObject(dib.dc(), OBJ_BRUSH),
                                GetCurrentObject(dib.dc(), OBJ_FONT)};
  };
  const std::vector<HGDIOBJ> before = selected();
  SendMessageW(surface.hWnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dib.dc()), PRF_CLIENT);
  // The owner's drawing is on top; what comes after the failing one is drawn.
  ExpectPixels(dib, {{0, 0, kWhite}, {10, 10, kRed}, {17, 17, kGreen}, {40, 40, kGreen}, {55, 5, kNavy}, {10, 50, kNavy}});
  EXPECT_EQ(selected(), before);
  EXPECT_EQ(GetClipRgn(dib.dc(), unique_hrgn(CreateRectRgn(0, 0, 0, 0)).get()), 0);  // no clip region left behind
}

}  // namespace
}  // namespace tessel::hosttest
