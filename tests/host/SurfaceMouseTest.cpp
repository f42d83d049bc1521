// Mouse messages sent to the surface window reach the topmost windowless constituent under the
// cursor, in twips relative to it; a press captures the mouse until every button is up.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <windows.h>
#include <commctrl.h>

#include "host/constituents/Label.h"
#include "host/constituents/Line.h"
#include "host/constituents/Shape.h"
#include "tests/host/HostFixture.h"
#include "tests/support/ImageBytes.h"

namespace tessel::hosttest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Records every event of a label as "Name.Event(button,shift,x,y)".
void Watch(Label& label, Recorder& log) {
  const std::string name(label.Name().begin(), label.Name().end());
  auto mouse = [&log, name](const char* what) {
    return [&log, name, what](int16_t& b, int16_t& s, float& x, float& y) {
      log(name + "." + what + "(" + std::to_string(b) + "," + std::to_string(s) + "," +
          std::to_string(static_cast<int>(x)) + "," + std::to_string(static_cast<int>(y)) + ")");
    };
  };
  label.events.MouseDown = mouse("MouseDown");
  label.events.MouseMove = mouse("MouseMove");
  label.events.MouseUp = mouse("MouseUp");
  label.events.Click = [&log, name] { log(name + ".Click"); };
  label.events.DblClick = [&log, name] { log(name + ".DblClick"); };
}

class SurfaceMouse : public SurfaceTest {
 protected:
  LRESULT Send(UINT msg, WPARAM wp, int x, int y) {
    return SendMessageW(surface_.hWnd(), msg, wp, MAKELPARAM(x, y));
  }
};

TEST_F(SurfaceMouse, TheTopmostConstituentUnderTheCursorGetsTheMouseInItsOwnTwips) {
  Recorder log;
  Label a(surface_, L"A");
  a.Move(Tw(10), Tw(10), Tw(50), Tw(50));
  Label b(surface_, L"B");
  b.Move(Tw(30), Tw(30), Tw(50), Tw(50));
  // Shapes and lines let the mouse through to what is under them.
  Shape cover(surface_, L"Cover");
  cover.Move(0, 0, Tw(320), Tw(240));
  Line line(surface_, L"Line");
  line.SetX2(Tw(320));
  line.SetY1(Tw(40));
  line.SetY2(Tw(40));
  Watch(a, log);
  Watch(b, log);

  Send(WM_MOUSEMOVE, 0, 40, 40);   // overlap: B is on top
  Send(WM_MOUSEMOVE, 0, 15, 20);   // only A
  Send(WM_MOUSEMOVE, 0, 200, 200); // nothing
  Send(WM_MOUSEMOVE, MK_SHIFT | MK_CONTROL, 79, 79);  // B's last pixel
  EXPECT_THAT(log.lines, ElementsAre("B.MouseMove(0,0,150,150)", "A.MouseMove(0,0,75,150)",
                                     "B.MouseMove(0,3,735,735)"));
  EXPECT_EQ(surface_.Hovered(), &b);
  log.lines.clear();

  b.SetVisible(false);
  Send(WM_MOUSEMOVE, 0, 40, 40);
  EXPECT_THAT(log.lines, ElementsAre("A.MouseMove(0,0,450,450)"));
}

TEST_F(SurfaceMouse, APressCapturesUntilTheLastButtonComesUpAndClickNeedsTheReleaseInside) {
  Recorder log;
  Label a(surface_, L"A");
  a.Move(Tw(10), Tw(10), Tw(50), Tw(50));
  Label b(surface_, L"B");
  b.Move(Tw(100), Tw(10), Tw(50), Tw(50));
  Watch(a, log);
  Watch(b, log);

  Send(WM_LBUTTONDOWN, MK_LBUTTON, 20, 20);
  EXPECT_EQ(GetCapture(), surface_.hWnd());
  EXPECT_EQ(surface_.Captured(), &a);
  Send(WM_MOUSEMOVE, MK_LBUTTON, 120, 20);          // over B, but A holds the mouse
  Send(WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, 120, 20);
  Send(WM_LBUTTONUP, MK_RBUTTON, 120, 20);          // the right button still holds it
  EXPECT_EQ(GetCapture(), surface_.hWnd());
  Send(WM_RBUTTONUP, 0, 5, 5);                       // released outside every constituent
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(surface_.Captured(), nullptr);
  EXPECT_THAT(log.lines, ElementsAre("A.MouseDown(1,0,150,150)", "A.MouseMove(1,0,1650,150)",
                                     "A.MouseDown(2,0,1650,150)", "A.MouseUp(1,0,1650,150)",
                                     "A.MouseUp(2,0,-75,-75)"));
  log.lines.clear();

  // Pressed and released inside: Click follows MouseUp.
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 110, 12);
  Send(WM_LBUTTONUP, 0, 111, 13);
  EXPECT_THAT(log.lines, ElementsAre("B.MouseDown(1,0,150,30)", "B.MouseUp(1,0,165,45)", "B.Click"));
  log.lines.clear();

  // A double click: the system sends down, up, double click, up.
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 20, 20);
  Send(WM_LBUTTONUP, 0, 20, 20);
  Send(WM_LBUTTONDBLCLK, MK_LBUTTON, 20, 20);
  Send(WM_LBUTTONUP, 0, 20, 20);
  EXPECT_THAT(log.lines, ElementsAre("A.MouseDown(1,0,150,150)", "A.MouseUp(1,0,150,150)", "A.Click", "A.DblClick",
                                     "A.MouseUp(1,0,150,150)"));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(SurfaceMouse, LosingTheCaptureOrTheConstituentEndsTheGesture) {
  Recorder log;
  Label a(surface_, L"A");
  a.Move(Tw(10), Tw(10), Tw(50), Tw(50));
  Watch(a, log);
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 20, 20);
  ReleaseCapture();  // another window took the mouse
  EXPECT_EQ(surface_.Captured(), nullptr);
  Send(WM_MOUSEMOVE, 0, 200, 200);
  EXPECT_THAT(log.lines, ElementsAre("A.MouseDown(1,0,150,150)"));

  // A handler that removes its own constituent while it holds the mouse.
  auto doomed = std::make_unique<Label>(surface_, L"Doomed");
  doomed->Move(Tw(100), Tw(100), Tw(20), Tw(20));
  doomed->events.MouseDown = [&](int16_t&, int16_t&, float&, float&) { doomed.reset(); };
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 105, 105);
  EXPECT_EQ(doomed, nullptr);
  EXPECT_EQ(surface_.Captured(), nullptr);
  EXPECT_EQ(GetCapture(), nullptr);
  Send(WM_LBUTTONUP, 0, 105, 105);
  EXPECT_EQ(surface_.Constituents().size(), 1u);
}

TEST_F(SurfaceMouse, APressOnTheOwnersOwnWindowStaysTheOwnersAcrossConstituents) {
  Recorder log;
  Label a(surface_, L"A");
  a.Move(Tw(10), Tw(10), Tw(50), Tw(50));
  Watch(a, log);
  // The owner took the mouse for a press on its own background.
  SetCapture(surface_.hWnd());
  Send(WM_MOUSEMOVE, MK_LBUTTON, 20, 20);
  Send(WM_LBUTTONUP, 0, 20, 20);
  EXPECT_THAT(log.lines, IsEmpty());
  ReleaseCapture();
  Send(WM_MOUSEMOVE, 0, 20, 20);
  EXPECT_THAT(log.lines, ElementsAre("A.MouseMove(0,0,150,150)"));
}

TEST_F(SurfaceMouse, SetCursorAnswersWithTheConstituentsPointer) {
  Label a(surface_, L"A");
  a.Move(Tw(10), Tw(10), Tw(50), Tw(50));
  a.SetMousePointer(2);  // cross
  POINT origin{0, 0};
  ClientToScreen(surface_.hWnd(), &origin);
  auto setCursorAt = [&](int x, int y) {
    SetCursorPos(origin.x + x, origin.y + y);
    SendMessageW(surface_.hWnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(surface_.hWnd()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
  };
  POINT check{};
  SetCursorPos(origin.x + 20, origin.y + 20);
  GetCursorPos(&check);
  if (check.x != origin.x + 20) GTEST_SKIP() << "the cursor cannot be moved on this display";
  const HCURSOR cross = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_CROSS));
  const HCURSOR arrow = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  EXPECT_EQ(setCursorAt(20, 20), cross);
  EXPECT_EQ(setCursorAt(200, 200), arrow);  // the window class's own cursor
  a.SetMousePointer(0);
  EXPECT_EQ(setCursorAt(20, 20), arrow);
  a.SetMousePointer(3);
  EXPECT_EQ(setCursorAt(20, 20), LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_IBEAM)));

  // A custom pointer: the cursor picture given as MouseIcon.
  PictureRef cursor = Picture::FromBytes(test::IconFile(32, RGB(0, 0, 255), true, POINT{4, 4}));
  ASSERT_EQ(cursor->Kind(), PictureKind::Cursor);
  a.SetMouseIcon(cursor);
  a.SetMousePointer(99);
  EXPECT_EQ(setCursorAt(20, 20), static_cast<HCURSOR>(cursor->Handle()));
  a.SetMouseIcon(nullptr);
  EXPECT_EQ(setCursorAt(20, 20), arrow);  // custom without an icon: the surface's own
  // Only icons and cursors can be pointers.
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(bi.bmiHeader), 4, 4, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  PictureRef bitmap = Picture::FromBitmap(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  EXPECT_THROW(a.SetMouseIcon(bitmap), InvalidPropertyValue);
  EXPECT_EQ(a.MouseIcon(), nullptr);
}

TEST_F(SurfaceMouse, ToolTipTextMakesARealToolOverTheLabel) {
  Label a(surface_, L"A");
  a.Move(Tw(10), Tw(20), Tw(50), Tw(30));
  auto toolWindow = [&]() -> HWND {
    for (HWND w = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); w;
         w = FindWindowExW(nullptr, w, TOOLTIPS_CLASSW, nullptr))
      if (GetWindow(w, GW_OWNER) == GetAncestor(surface_.hWnd(), GA_ROOT)) return w;
    return nullptr;
  };
  EXPECT_EQ(toolWindow(), nullptr);
  a.SetToolTipText(L"Opens the site");
  HWND tip = toolWindow();
  ASSERT_NE(tip, nullptr);
  EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
  wchar_t text[64] = {};
  TTTOOLINFOW info{};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.hwnd = surface_.hWnd();
  info.uId = reinterpret_cast<UINT_PTR>(&a);
  info.lpszText = text;
  ASSERT_TRUE(SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)));
  EXPECT_STREQ(text, L"Opens the site");
  EXPECT_EQ(info.rect.left, 10);
  EXPECT_EQ(info.rect.top, 20);
  EXPECT_EQ(info.rect.right, 60);
  EXPECT_EQ(info.rect.bottom, 50);

  a.Move(Tw(100), Tw(100), Tw(10), Tw(10));  // the tool follows the label
  info.lpszText = text;
  ASSERT_TRUE(SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)));
  EXPECT_EQ(info.rect.left, 100);
  EXPECT_EQ(info.rect.bottom, 110);

  a.SetToolTipText(L"");
  EXPECT_EQ(toolWindow(), nullptr);
  EXPECT_FALSE(IsWindow(tip));
}

}  // namespace
}  // namespace tessel::hosttest

namespace tessel::hosttest {
namespace {

using Geometry = SurfaceTest;

TEST_F(Geometry, TwipsRoundToTheNearestPixelAndTheSurfaceReportsItsScaleExtent) {
  EXPECT_EQ(surface_.ScaleWidth(), 320 * 15);
  EXPECT_EQ(surface_.ScaleHeight(), 240 * 15);
  Label label(surface_, L"A");
  label.Move(20, 7, 1500, 8);  // 1.33 -> 1, 0.47 -> 0; right 1520 -> 101, bottom 15 -> 1
  const RECT r = label.BoundsPixels();
  EXPECT_EQ(r.left, 1);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, 101);
  EXPECT_EQ(r.bottom, 1);
  EXPECT_TRUE(label.HitTest(POINT{1, 0}));
  EXPECT_FALSE(label.HitTest(POINT{101, 0}));
  EXPECT_FALSE(label.HitTest(POINT{1, 1}));
  // Negative positions are fine; only negative sizes are refused.
  label.Move(-15, -15, 30, 30);
  EXPECT_EQ(label.BoundsPixels().left, -1);
  EXPECT_THROW(label.SetHeight(-30), InvalidPropertyValue);
  EXPECT_EQ(label.Height(), 30);
  label.SetVisible(false);
  EXPECT_FALSE(label.HitTest(POINT{0, 0}));
}

}  // namespace
}  // namespace tessel::hosttest
