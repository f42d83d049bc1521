#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "host/constituents/Label.h"
#include "host/constituents/Line.h"
#include "host/constituents/Shape.h"
#include "server/contract/PropertyBag.h"
#include "server/contract/Twips.h"
#include "tests/host/HostFixture.h"
#include "tests/support/ImageBytes.h"

namespace tessel::hosttest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Labels A at (10,10) and B at (100,10), 50 x 50 pixels, whose events are recorded as "A.…".
class SurfaceMouse : public SurfaceTest {
 protected:
  void SetUp() override {
    SurfaceTest::SetUp();
    if (IsSkipped()) return;
    a_ = Placed(L"A", 10, 10);
    b_ = Placed(L"B", 100, 10);
  }
  void TearDown() override {
    a_.reset();
    b_.reset();
    SurfaceTest::TearDown();
  }
  std::unique_ptr<Label> Placed(const wchar_t* name, int x, int y) {
    auto label = std::make_unique<Label>(surface_, name);
    label->Move(Tw(x), Tw(y), Tw(50), Tw(50));
    log_.Watch(label->events, Utf8FromWide(name) + ".");
    return label;
  }
  void Send(UINT msg, WPARAM wp, int x, int y) { SendMessageW(surface_.hWnd(), msg, wp, MAKELPARAM(x, y)); }

  std::unique_ptr<Label> a_, b_;
  EventLog log_;
};

TEST_F(SurfaceMouse, TheTopmostConstituentUnderTheCursorGetsTheMouseInItsOwnTwips) {
  b_->Move(Tw(30), Tw(30), Tw(50), Tw(50));
  // Shapes and lines let the mouse through to what is under them.
  Shape cover(surface_, L"Cover");
  cover.Move(0, 0, Tw(320), Tw(240));
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
}

TEST_F(SurfaceMouse, APressCapturesUntilTheLastButtonComesUpAndClickNeedsTheReleaseInside) {
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 20, 20);
  EXPECT_EQ(GetCapture(), surface_.hWnd());
  EXPECT_EQ(surface_.Captured(), a_.get());
  Send(WM_MOUSEMOVE, MK_LBUTTON, 120, 20);  // over B, but A holds the mouse
  Send(WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, 120, 20);
  Send(WM_LBUTTONUP, MK_RBUTTON, 120, 20);  // the right button still holds it
  EXPECT_EQ(GetCapture(), surface_.hWnd());
  Send(WM_RBUTTONUP, 0, 5, 5);  // released outside every constituent
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(surface_.Captured(), nullptr);
  // Pressed and released inside: Click follows MouseUp; a double click is down, up, double, up.
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 110, 12);
  Send(WM_LBUTTONUP, 0, 111, 13);
  Send(WM_LBUTTONDBLCLK, MK_LBUTTON, 20, 20);
  Send(WM_LBUTTONUP, 0, 20, 20);
  EXPECT_THAT(log_.Take(), ElementsAre("A.MouseDown(1,0,150,150)", "A.MouseMove(1,0,1650,150)", "A.MouseDown(2,0,1650,150)",
                                       "A.MouseUp(1,0,1650,150)", "A.MouseUp(2,0,-75,-75)", "B.MouseDown(1,0,150,30)",
                                       "B.MouseUp(1,0,165,45)", "B.Click", "A.DblClick", "A.MouseUp(1,0,150,150)"));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(SurfaceMouse, LosingTheCaptureOrTheConstituentEndsTheGestureAndTheOwnersPressStaysTheOwners) {
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 20, 20);
  ReleaseCapture();  // another window took the mouse
  EXPECT_EQ(surface_.Captured(), nullptr);
  Send(WM_MOUSEMOVE, 0, 200, 200);
  EXPECT_THAT(log_.Take(), ElementsAre("A.MouseDown(1,0,150,150)"));

  // A handler that removes its own constituent while it holds the mouse.
  b_->events.MouseDown = [&](int16_t&, int16_t&, float&, float&) { b_.reset(); };
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 105, 15);
  EXPECT_EQ(surface_.Captured(), nullptr);
  EXPECT_EQ(GetCapture(), nullptr);
  Send(WM_LBUTTONUP, 0, 105, 15);
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
  auto tool = [&] {
    wchar_t text[64] = {};
    TTTOOLINFOW info{TTTOOLINFOW_V2_SIZE, 0, surface_.hWnd(), reinterpret_cast<UINT_PTR>(a_.get())};
    info.lpszText = text;
    EXPECT_TRUE(SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)));
    const RECT& r = info.rect;
    return std::wstring(text) + L"|" + std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," +
           std::to_wstring(r.right) + L"," + std::to_wstring(r.bottom);
  };
  EXPECT_EQ(tool(), L"Opens the site|10,10,60,60");
  a_->Move(Tw(100), Tw(100), Tw(10), Tw(10));
  EXPECT_EQ(tool(), L"Opens the site|100,100,110,110");
  a_->SetToolTipText(L"");
  EXPECT_EQ(toolWindow(), nullptr);
  EXPECT_FALSE(IsWindow(tip));
}

// Twips become pixels of the screen's resolution, rounded to the nearest, halves away from zero.
TEST_F(SurfaceMouse, TwipsRoundToTheNearestPixelAndOnlyTheBoundsAreHit) {
  WindowDC screen(nullptr);
  EXPECT_EQ(TwipsPerPixelX(), 1440 / GetDeviceCaps(screen.get(), LOGPIXELSX));
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

}  // namespace
}  // namespace tessel::hosttest
