#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <windows.h>
#include <commctrl.h>

#include "host/constituents/Image.h"
#include "host/constituents/Label.h"
#include "host/constituents/Line.h"
#include "host/constituents/PictureBox.h"
#include "host/constituents/Shape.h"
#include "host/constituents/TextBox.h"
#include "host/constituents/Timer.h"
#include "tests/host/HostFixture.h"
#include "tests/support/ImageBytes.h"

#include <functional>

namespace tessel::hosttest {
namespace {

using ::testing::ElementsAre;

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

  // A handler that disables its own timer gets exactly one tick.
  timer->events.Timer = [&] {
    ++ticks;
    timer->SetEnabled(false);
  };
  timer->SetInterval(10);
  ASSERT_TRUE(PumpUntil([&] { return ticks == stopped + 1; }, 3000));
  Pump(60);
  EXPECT_EQ(ticks, stopped + 1);

  // Destroyed while running: its message-only window goes and nothing more is raised.
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
  PictureBox box(surface_, L"Fundo");
  box.SetBorderStyle(0);
  box.Move(Tw(20), Tw(30), Tw(100), Tw(60));
  box.SetBackColor(kRed);
  Label label(box, L"lblCaption");
  label.Move(Tw(10), Tw(10), Tw(20), Tw(20));
  label.SetBackColor(kWhite);
  TextBox text(box, L"Texto");
  text.Move(Tw(40), Tw(5), Tw(50), Tw(20));
  EXPECT_EQ(box.Window(), box.hWnd());
  EXPECT_EQ(GetParent(text.Window()), box.hWnd());
  EXPECT_EQ(Edges(PlacedIn(box.hWnd(), surface_.hWnd())), Edges({20, 30, 120, 90}));
  EXPECT_EQ(box.ScaleWidth(), Tw(100));
  ExpectPixels(*Print(box.hWnd(), 100, 60), {{0, 0, kRed}, {9, 9, kRed}, {10, 10, kWhite}, {29, 29, kWhite}, {30, 30, kRed}});
  EXPECT_EQ(Paint()->Count(RECT{0, 0, 320, 240}, kWhite), 0);  // the parent leaves the box's constituents to it

  EventLog log;
  log.Watch(label.events, "label.");
  log.Watch(box.events, "box.");
  text.events.Change = [&] { log("text.Change"); };
  for (LPARAM at : {MAKELPARAM(15, 15), MAKELPARAM(5, 50)}) {
    SendMessageW(box.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(box.hWnd(), WM_LBUTTONUP, 0, at);
  }
  SendMessageW(text.Window(), WM_CHAR, L'x', 1);  // the edit's notification is reflected to it
  EXPECT_THAT(log.lines, ElementsAre("label.MouseDown(1,0,75,75)", "label.MouseUp(1,0,75,75)", "label.Click",
                                     "box.MouseDown(1,0,75,750)", "box.MouseUp(1,0,75,750)", "box.Click", "text.Change"));
  EXPECT_EQ(GetCapture(), nullptr);

  box.SetBorderStyle(1);
  RECT r{};
  GetClientRect(box.hWnd(), &r);
  EXPECT_LT(r.right, 100);  // the sunken edge takes its share
  box.SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(box.hWnd()));
}

PictureRef SolidPicture(COLORREF color) {
  const uint32_t argb = 0xFF000000u | (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
  return Picture::FromBytes(test::EncodeImage(test::ImageFormat::Bmp, 8, 6, std::vector<uint32_t>(48, argb)));
}

using ImageTest = SurfaceTest;

TEST_F(ImageTest, DrawsAtItsOwnSizeClippedOrStretched) {
  Image image(surface_, L"imgLogo");
  image.Move(Tw(20), Tw(30), Tw(50), Tw(50));
  image.SetPicture(SolidPicture(kMagenta));
  EXPECT_EQ(std::pair(image.Width(), image.Height()), std::pair(Tw(8), Tw(6)));  // takes the picture's size
  auto dib = Paint();
  EXPECT_EQ(dib->Count(RECT{0, 0, 320, 240}, kMagenta), 48);
  ExpectPixels(*dib, {{20, 30, kMagenta}, {27, 35, kMagenta}, {28, 35, kNavy}});

  image.Move(Tw(20), Tw(30), Tw(4), Tw(6));  // clipped to its bounds
  dib = Paint();
  EXPECT_EQ(dib->Count(RECT{0, 0, 320, 240}, kMagenta), 24);
  EXPECT_EQ(dib->At(24, 30), kNavy);

  image.SetStretch(true);
  image.Move(Tw(20), Tw(30), Tw(16), Tw(12));
  dib = Paint();
  EXPECT_EQ(dib->Count(RECT{0, 0, 320, 240}, kMagenta), 16 * 12);
  ExpectPixels(*dib, {{35, 41, kMagenta}, {36, 41, kNavy}});

  image.SetPicture(nullptr);
  dib = Paint();
  EXPECT_EQ(dib->Count(RECT{0, 0, 320, 240}, kMagenta), 0);
}

// Builds a surface with every kind of constituent, uses each, paints and tears it all down.
void FullRound(HWND host) {
  auto surface = std::make_unique<SurfaceWindow>();
  surface->Create(host, RECT{0, 0, 200, 150});
  surface->SetBackColor(RGB(10, 20, 30));
  {
    TextBox text(*surface, L"Texto");
    text.Move(Tw(5), Tw(5), Tw(100), Tw(20));
    text.SetText(L"abc");
    text.SetFont(Font::Create(FontDesc{L"Arial"}));
    text.SetAlignment(2);
    Dib scratch(10, 10, 0);
    for (COLORREF back : {RGB(0, 200, 0), RGB(0, 0, 200)}) {  // a brush for each colour
      text.SetBackColor(back);
      SendMessageW(surface->hWnd(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(scratch.dc()),
                   reinterpret_cast<LPARAM>(text.Window()));
    }
    Label label(*surface, L"lbl");
    label.SetCaption(L"Caption");
    label.SetAutoSize(true);
    label.SetToolTipText(L"tip");
    label.SetMousePointer(2);
    Shape shape(*surface, L"Fundo");
    shape.Move(0, 0, Tw(100), Tw(100));
    shape.SetBackStyle(1);
    shape.SetFillStyle(7);
    shape.SetBorderWidth(3);
    Line line(*surface, L"Line1");
    line.SetX2(Tw(200));
    line.SetBorderStyle(2);
    Image image(*surface, L"img");
    image.SetPicture(SolidPicture(kRed));
    PictureBox box(*surface, L"Fundo2");
    box.Move(Tw(100), Tw(100), Tw(50), Tw(30));
    Label inner(box, L"inner");
    inner.SetCaption(L"x");
    Timer timer(*surface, L"tmr");
    int ticks = 0;
    timer.events.Timer = [&] { ++ticks; };
    timer.SetInterval(10);
    PumpUntil([&] { return ticks > 0; }, 2000);
    auto dib = Print(surface->hWnd(), 200, 150);
    RedrawWindow(surface->hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump(20);
  }
  surface.reset();
  Pump(20);
}

TEST_F(SurfaceTest, EveryHandleIsGivenBackWhenTheSurfaceAndItsConstituentsGo) {
  test::ExpectNoLeaks([this] { FullRound(top_); }, 1, 1);
}

TEST_F(SurfaceTest, OutOfRangeValuesAreRefusedAndTheOldValueKept) {
  Shape shape(surface_, L"Shape1");
  shape.Move(0, 0, Tw(40), Tw(30));
  shape.SetBorderStyle(3);
  Line line(surface_, L"Line1");
  Label label(surface_, L"Label1");
  label.SetAlignment(2);
  TextBox text(surface_, L"Text1");
  text.SetMaxLength(3);
  const HWND edit = text.Window();
  Timer timer(surface_, L"tmr");
  PictureBox box(surface_, L"Box");
  PictureRef bitmap = Picture::FromBitmap(CreateBitmap(4, 4, 1, 32, nullptr));  // only icons and cursors point
  const std::function<void()> refused[] = {
      [&] { shape.SetBorderStyle(7); }, [&] { shape.SetBorderStyle(-1); }, [&] { shape.SetShape(6); },
      [&] { shape.SetFillStyle(8); },   [&] { shape.SetBackStyle(2); },    [&] { shape.SetBorderWidth(0); },
      [&] { shape.SetWidth(-15); },     [&] { shape.Move(0, 0, 15, -1); }, [&] { line.SetBorderStyle(7); },
      [&] { line.SetBorderWidth(0); },  [&] { label.SetAlignment(3); },    [&] { label.SetBackStyle(2); },
      [&] { label.SetMousePointer(16); }, [&] { label.SetMouseIcon(bitmap); }, [&] { label.SetHeight(-30); },
      [&] { text.SetAlignment(3); },    [&] { text.SetAlignment(-1); },    [&] { text.SetSelStart(-1); },
      [&] { text.SetSelLength(-1); },   [&] { text.SetMaxLength(-1); },    [&] { text.SetWidth(-1); },
      [&] { text.Move(0, 0, 100, -100); }, [&] { text.SetBorderStyle(2); }, [&] { timer.SetInterval(-5); },
      [&] { timer.SetInterval(65536); }, [&] { box.SetBorderStyle(2); },
  };
  for (size_t i = 0; i < std::size(refused); ++i) EXPECT_THROW(refused[i](), InvalidPropertyValue) << "row " << i;
  EXPECT_EQ(std::vector<int>({shape.BorderStyle(), shape.ShapeKind(), shape.FillStyle(), shape.BorderWidth(),
                              line.BorderStyle(), label.Alignment(), text.Alignment(), text.MaxLength(), timer.Interval()}),
            std::vector<int>({3, Shape::kRectangle, 1, 1, 1, 2, 0, 3, 0}));
  EXPECT_EQ(Edges(shape.BoundsPixels()), Edges({0, 0, 40, 30}));
  EXPECT_EQ(label.MouseIcon(), nullptr);
  EXPECT_EQ(text.Window(), edit);
}

}  // namespace
}  // namespace tessel::hosttest
