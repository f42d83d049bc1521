#include "tests/host/HostFixture.h"

namespace tessel::hosttest {
namespace {

using TimerTest = SurfaceTest;

TEST_F(TimerTest, FiresThroughWindowMessagesUntilDisabledOrDestroyed) {
  auto timer = std::make_unique<Timer>(surface_, L"tmr");
  int ticks = 0;
  timer->events.Timer = [&] { ++ticks; };
  EXPECT_FALSE(timer->Running());  // enabled, but interval 0
  timer->SetInterval(20);
  ASSERT_TRUE(PumpUntil([&] { return ticks >= 3; }, 3000)) << ticks << " ticks";
  timer->SetEnabled(false);
  const int stopped = ticks;
  timer->SetEnabled(true);
  timer->SetInterval(0);  // interval 0 stops it as well
  EXPECT_FALSE(timer->Running());
  Pump(120);
  EXPECT_EQ(ticks, stopped);

  // One tick for a handler that disables its own timer; destroyed while running, its window goes, no more ticks.
  timer->events.Timer = [&] {
    ++ticks;
    timer->SetEnabled(false);
  };
  timer->SetInterval(10);
  ASSERT_TRUE(PumpUntil([&] { return ticks == stopped + 1; }, 3000));
  Pump(60);
  EXPECT_EQ(ticks, stopped + 1);

  timer->events.Timer = [&] { ++ticks; };
  timer->SetEnabled(true);
  ASSERT_TRUE(PumpUntil([&] { return ticks > stopped + 1; }, 3000));
  const unsigned windows = test::UserObjectCount();
  timer.reset();
  EXPECT_EQ(test::UserObjectCount(), windows - 1);
  const int seen = ticks;
  Pump(60);
  EXPECT_EQ(ticks, seen);
}

using PictureBoxTest = SurfaceTest;

TEST_F(PictureBoxTest, IsAChildSurfaceThatPaintsItsOwnConstituentsAndRoutesTheMouseToThem) {
  auto box = Made<PictureBox>(surface_, L"Fundo", {20, 30, 120, 90});
  box->SetBorderStyle(0);
  box->SetBackColor(kRed);
  auto label = Made<Label>(*box, L"lblCaption", {10, 10, 30, 30});
  label->SetBackColor(kWhite);
  auto text = Made<TextBox>(*box, L"Texto", {40, 5, 90, 25});
  EXPECT_EQ(GetParent(text->Window()), box->Window());
  EXPECT_EQ(Edges(PlacedIn(box->hWnd(), surface_.hWnd())), Edges({20, 30, 120, 90}));
  EXPECT_EQ(box->ScaleWidth(), Tw(100));
  ExpectPixels(*Print(box->hWnd(), 100, 60), {{0, 0, kRed}, {9, 9, kRed}, {10, 10, kWhite}, {29, 29, kWhite}, {30, 30, kRed}});
  EXPECT_EQ(Paint()->Count(RECT{0, 0, 320, 240}, kWhite), 0);  // the parent leaves the box's constituents to it

  log_.Watch(label->events, "label.");
  log_.Watch(box->events, "box->");
  text->events.Change = [&] { log_("text.Change"); };
  for (LPARAM at : {MAKELPARAM(15, 15), MAKELPARAM(5, 50)}) {
    SendMessageW(box->hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(box->hWnd(), WM_LBUTTONUP, 0, at);
  }
  SendMessageW(text->Window(), WM_CHAR, L'x', 1);  // the edit's notification is reflected to it
  EXPECT_THAT(log_.lines, ElementsAre("label.MouseDown(1,0,75,75)", "label.MouseUp(1,0,75,75)", "label.Click",
                                     "box->MouseDown(1,0,75,750)", "box->MouseUp(1,0,75,750)", "box->Click", "text.Change"));
  EXPECT_EQ(GetCapture(), nullptr);

  box->SetBorderStyle(1);
  RECT r{};
  GetClientRect(box->hWnd(), &r);
  EXPECT_LT(r.right, 100);  // the sunken edge takes its share
  box->SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(box->hWnd()));
}

PictureRef SolidPicture(COLORREF color) {
  const uint32_t argb = 0xFF000000u | (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
  return Picture::FromBytes(test::EncodeImage(test::ImageFormat::Bmp, 8, 6, std::vector<uint32_t>(48, argb)));
}

using ImageTest = SurfaceTest;

// An 8 x 6 picture at (20, 30): at its own size, clipped to smaller bounds, stretched, and gone.
TEST_F(ImageTest, DrawsAtItsOwnSizeClippedOrStretched) {
  auto image = Made<Image>(surface_, L"imgLogo", {20, 30, 70, 80});
  image->SetPicture(SolidPicture(kMagenta));
  EXPECT_EQ(std::pair(image->Width(), image->Height()), std::pair(Tw(8), Tw(6)));  // takes the picture's size
  const struct { int width, height; bool stretch, picture; int magenta; std::vector<Pixel> pixels; } cases[] = {
      {8, 6, false, true, 48, {{20, 30, kMagenta}, {27, 35, kMagenta}, {28, 35, kNavy}}},
      {4, 6, false, true, 24, {{24, 30, kNavy}}},
      {16, 12, true, true, 16 * 12, {{35, 41, kMagenta}, {36, 41, kNavy}}},
      {16, 12, true, false, 0, {{20, 30, kNavy}}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << (c.stretch ? " stretched" : ""));
    if (!c.picture) image->SetPicture(nullptr);
    image->SetStretch(c.stretch);
    image->Move(Tw(20), Tw(30), Tw(c.width), Tw(c.height));
    auto dib = Paint();
    EXPECT_EQ(dib->Count(RECT{0, 0, 320, 240}, kMagenta), c.magenta);
    ExpectPixels(*dib, c.pixels);
  }
}

// Every kind of constituent made, used, fed values out of its range (refused, the old kept), painted and gone.
void FullRound(HWND host) {
  auto surface = std::make_unique<SurfaceWindow>();
  surface->Create(host, RECT{0, 0, 200, 150});
  surface->SetBackColor(RGB(10, 20, 30));
  {
    auto text = Made<TextBox>(*surface, L"Texto", {5, 5, 105, 25});
    text->SetText(L"abc");
    text->SetFont(Font::Create(FontDesc{L"Arial"}));
    text->SetAlignment(2);
    text->SetMaxLength(3);
    Dib scratch(10, 10, 0);
    for (COLORREF back : {RGB(0, 200, 0), RGB(0, 0, 200)}) {  // a brush for each colour
      text->SetBackColor(back);
      SendMessageW(surface->hWnd(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(scratch.dc()),
                   reinterpret_cast<LPARAM>(text->Window()));
    }
    Label label(*surface, L"lbl");
    label.SetCaption(L"Caption");
    label.SetAlignment(2);
    label.SetAutoSize(true);
    label.SetToolTipText(L"tip");
    label.SetMousePointer(2);
    auto shape = Made<Shape>(*surface, L"Fundo", {0, 0, 100, 100});
    shape->SetBackStyle(1);
    shape->SetBorderStyle(3);
    shape->SetFillStyle(7);
    shape->SetBorderWidth(3);
    Line line(*surface, L"Line1");
    line.SetX2(Tw(200));
    line.SetBorderStyle(2);
    Image image(*surface, L"img");
    image.SetPicture(SolidPicture(kRed));
    auto box = Made<PictureBox>(*surface, L"Fundo2", {100, 100, 150, 130});
    Label inner(*box, L"inner");
    inner.SetCaption(L"x");
    Timer timer(*surface, L"tmr");
    int ticks = 0;
    timer.events.Timer = [&] { ++ticks; };
    timer.SetInterval(10);
    PumpUntil([&] { return ticks > 0; }, 2000);

    const HWND edit = text->Window();
    PictureRef bitmap = Picture::FromBitmap(CreateBitmap(4, 4, 1, 32, nullptr));  // only icons and cursors point
    const std::function<void()> refused[] = {
        [&] { shape->SetBorderStyle(7); }, [&] { shape->SetBorderStyle(-1); }, [&] { shape->SetShape(6); },
        [&] { shape->SetFillStyle(8); },   [&] { shape->SetBackStyle(2); },    [&] { shape->SetBorderWidth(0); },
        [&] { shape->SetWidth(-15); },     [&] { shape->Move(0, 0, 15, -1); }, [&] { line.SetBorderStyle(7); },
        [&] { line.SetBorderWidth(0); },  [&] { label.SetAlignment(3); },    [&] { label.SetBackStyle(2); },
        [&] { label.SetMousePointer(16); }, [&] { label.SetMouseIcon(bitmap); }, [&] { label.SetHeight(-30); },
        [&] { text->SetAlignment(3); },    [&] { text->SetAlignment(-1); },    [&] { text->SetSelStart(-1); },
        [&] { text->SetSelLength(-1); },   [&] { text->SetMaxLength(-1); },    [&] { text->SetWidth(-1); },
        [&] { text->Move(0, 0, 100, -100); }, [&] { text->SetBorderStyle(2); }, [&] { timer.SetInterval(-5); },
        [&] { timer.SetInterval(65536); }, [&] { box->SetBorderStyle(2); },
    };
    for (size_t i = 0; i < std::size(refused); ++i) EXPECT_THROW(refused[i](), InvalidPropertyValue) << "row " << i;
    EXPECT_EQ(std::vector<int>({shape->BorderStyle(), shape->ShapeKind(), shape->FillStyle(), shape->BorderWidth(),
                                line.BorderStyle(), label.Alignment(), text->Alignment(), text->MaxLength(), timer.Interval()}),
              std::vector<int>({3, Shape::kRectangle, 7, 3, 2, 2, 2, 3, 10}));
    EXPECT_EQ(Edges(shape->BoundsPixels()), Edges({0, 0, 100, 100}));
    EXPECT_EQ(label.MouseIcon(), nullptr);
    EXPECT_EQ(text->Window(), edit);

    auto dib = Print(surface->hWnd(), 200, 150);
    RedrawWindow(surface->hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump(20);
  }
  surface.reset();
  Pump(20);
}

TEST_F(SurfaceTest, EveryConstituentRefusesOutOfRangeValuesAndGivesBackEveryHandle) {
  test::ExpectNoLeaks([this] { FullRound(top_); }, 1, 1);
}

// A text box at (10, 10), 200 x 25 pixels, whose events are recorded.
class TextBoxTest : public SurfaceTest {
 protected:
  void SetUp() override {
    SurfaceTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    box_ = Made<TextBox>(surface_, L"Texto", {10, 10, 210, 35});
    log_.Watch(box_->events);
  }
  void Type(wchar_t ch, UINT vk = 0) { test::SendStroke(box_->Window(), ch, vk); }
  std::vector<std::string> Take() { return log_.Take(); }
  LONG_PTR Style() const { return GetWindowLongPtrW(box_->Window(), GWL_STYLE); }

  std::unique_ptr<TextBox> box_;
};

// Placement, tab stop, font and visibility reach the edit; a new alignment remakes it keeping everything.
TEST_F(TextBoxTest, PropertiesReachTheEditAndAlignmentRecreatesItKeepingEverything) {
  TextBox second(surface_, L"Second");
  box_->Move(Tw(30), Tw(40), Tw(100), Tw(20));
  EXPECT_EQ(Edges(PlacedIn(box_->Window(), surface_.hWnd())), Edges({30, 40, 130, 60}));
  box_->SetTabStop(false);
  EXPECT_EQ(Style() & WS_TABSTOP, 0);
  FontRef font = Font::Create(FontDesc{L"Arial", 14});
  box_->SetFont(font);
  font->SetBold(true);  // held by reference: the change shows in the next paint
  Print(box_->Window(), 200, 25);
  auto shown = [&] { return reinterpret_cast<HFONT>(SendMessageW(box_->Window(), WM_GETFONT, 0, 0)); };
  EXPECT_EQ(shown(), font->Handle());
  box_->SetText(L"hello");
  box_->SetSelStart(1);
  box_->SetSelLength(3);
  box_->SetMaxLength(12);
  box_->SetLocked(true);
  box_->SetFocus();
  ASSERT_TRUE(box_->HasFocus());
  Take();
  const HWND before = box_->Window();
  EXPECT_EQ(Style() & (ES_RIGHT | ES_CENTER), 0);

  box_->SetAlignment(1);
  const HWND after = box_->Window();
  EXPECT_NE(after, before);
  EXPECT_FALSE(IsWindow(before));
  EXPECT_EQ(Style() & (ES_RIGHT | ES_READONLY), ES_RIGHT | ES_READONLY);
  EXPECT_EQ(box_->Text(), L"hello");
  EXPECT_EQ(std::vector<LRESULT>({box_->SelStart(), box_->SelLength(), SendMessageW(after, EM_GETLIMITTEXT, 0, 0)}),
            std::vector<LRESULT>({1, 3, 12}));
  EXPECT_EQ(GetFocus(), after);
  EXPECT_THAT(Take(), IsEmpty());  // the focus moved between the two edits unseen
  EXPECT_EQ(Style() & WS_TABSTOP, 0);
  EXPECT_EQ(shown(), font->Handle());
  // The new edit stands where the old one stood: first child, before the second text box.
  EXPECT_EQ(GetWindow(surface_.hWnd(), GW_CHILD), after);
  EXPECT_EQ(GetWindow(after, GW_HWNDNEXT), second.Window());
  EXPECT_EQ(Edges(PlacedIn(after, surface_.hWnd())), Edges({30, 40, 130, 60}));

  box_->SetAlignment(2);
  EXPECT_EQ(Style() & ES_CENTER, ES_CENTER);
  // Events still come from the new edit.
  box_->SetLocked(false);
  box_->SetSelStart(5);
  Type(L'!', VK_OEM_1);
  EXPECT_EQ(box_->Text(), L"hello!");
  EXPECT_THAT(Take(), ElementsAre("KeyDown(186,0)", "KeyPress(33)", "Change", "KeyUp(186,0)"));
  box_->SetFont(nullptr);
  EXPECT_EQ(shown(), GetStockObject(DEFAULT_GUI_FONT));
  box_->SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(box_->Window()));
}

// Text set from code reports Change once (a KeyPress handler's own KeyAscii is in the text box's typing test).
TEST_F(TextBoxTest, SelectionLimitPasswordAndLock) {
  Take();
  box_->SetText(L"hello world");
  EXPECT_THAT(Take(), ElementsAre("Change"));
  box_->SetSelStart(6);
  box_->SetSelLength(5);
  EXPECT_EQ(box_->SelText(), L"world");
  box_->SetSelText(L"there");
  EXPECT_EQ(box_->Text(), L"hello there");
  auto selection = [&] { return std::pair(box_->SelStart(), box_->SelLength()); };
  EXPECT_EQ(selection(), std::pair(11, 0));
  box_->SetSelStart(100);  // past the end: the end
  box_->SetSelLength(100);
  EXPECT_EQ(selection(), std::pair(11, 0));

  box_->SetText(L"");
  box_->SetMaxLength(3);
  test::SendText(box_->Window(), L"abcd");
  EXPECT_EQ(box_->Text(), L"abc");
  box_->SetMaxLength(0);  // no limit
  EXPECT_GE(SendMessageW(box_->Window(), EM_GETLIMITTEXT, 0, 0), 0x7FFF);

  box_->SetPasswordChar(L"*z");
  EXPECT_EQ(box_->PasswordChar(), L"*");
  EXPECT_EQ(SendMessageW(box_->Window(), EM_GETPASSWORDCHAR, 0, 0), L'*');
  EXPECT_EQ(box_->Text(), L"abc");
  box_->SetPasswordChar(L"");
  EXPECT_EQ(SendMessageW(box_->Window(), EM_GETPASSWORDCHAR, 0, 0), 0);

  box_->SetLocked(true);
  EXPECT_EQ(Style() & ES_READONLY, ES_READONLY);
  box_->SetSelStart(3);
  Type(L'x');
  EXPECT_EQ(box_->Text(), L"abc");
  box_->SetLocked(false);
  Type(L'x');
  EXPECT_EQ(box_->Text(), L"abcx");
}

TEST_F(TextBoxTest, ColoursReachTheEditThroughTheReflectedColourMessage) {
  box_->SetBorderStyle(0);
  box_->SetBackColor(RGB(0, 255, 0));
  box_->SetForeColor(RGB(255, 0, 0));
  Dib dib(200, 25, 0);
  // The colour of the brush the surface answers with, its text and back colours set on the DC.
  auto brushColour = [&](UINT msg) {
    auto brush = reinterpret_cast<HBRUSH>(SendMessageW(surface_.hWnd(), msg, reinterpret_cast<WPARAM>(dib.dc()),
                                                       reinterpret_cast<LPARAM>(box_->Window())));
    LOGBRUSH lb{};
    return GetObjectW(brush, sizeof(lb), &lb) ? lb.lbColor : CLR_INVALID;
  };
  EXPECT_EQ(brushColour(WM_CTLCOLOREDIT), RGB(0, 255, 0));
  EXPECT_EQ(GetTextColor(dib.dc()), RGB(255, 0, 0));
  EXPECT_EQ(GetBkColor(dib.dc()), RGB(0, 255, 0));
  const unsigned gdi = test::GdiObjectCount();  // the brush is made once per colour, not per message
  for (int i = 0; i < 5; ++i) brushColour(WM_CTLCOLOREDIT);
  EXPECT_EQ(test::GdiObjectCount(), gdi);
  box_->SetText(L"ab");
  EXPECT_EQ(Print(box_->Window(), 200, 25)->At(190, 12), RGB(0, 255, 0));  // the edit paints with it

  // System colours are resolved; a disabled edit writes in grey.
  box_->SetBackColor(kSysWindow);
  box_->SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(box_->Window()));
  EXPECT_EQ(brushColour(WM_CTLCOLORSTATIC), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(GetTextColor(dib.dc()), GetSysColor(COLOR_GRAYTEXT));
}

// Coordinates are twips from the box's outer edge, a border's inset included.
TEST_F(TextBoxTest, MouseAndFocusEventsInTwipsOfTheTextBox) {
  for (int border : {0, 1}) {
    box_->SetBorderStyle(border);
    const HWND e = box_->Window();
    POINT client{0, 0};
    MapWindowPoints(e, surface_.hWnd(), &client, 1);
    EXPECT_EQ(client.x > 10, border == 1);
    const std::string at = std::to_string(15 * (5 + client.x - 10)) + "," + std::to_string(15 * (3 + client.y - 10)) + ")";
    Take();
    SendMessageW(e, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(5, 3));
    SendMessageW(e, WM_LBUTTONUP, 0, MAKELPARAM(5, 3));
    auto lines = Take();
    // The edit takes the focus on its own when pressed; the focus event comes first or second.
    lines.erase(std::remove(lines.begin(), lines.end(), "GotFocus"), lines.end());
    EXPECT_THAT(lines, ElementsAre("MouseDown(1,1," + at, "MouseUp(1,0," + at, "Click"));
  }
  SetFocus(surface_.hWnd());
  Take();
  box_->SetFocus();
  SetFocus(surface_.hWnd());
  EXPECT_THAT(Take(), ElementsAre("GotFocus", "LostFocus"));
}

}  // namespace
}  // namespace tessel::hosttest
