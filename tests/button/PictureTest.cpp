#include <string>

#include "button/ButtonPicture.h"
#include "tests/button/ButtonCanvas.h"
#include "tests/button/ButtonHarness.h"
#include "tests/support/GdiCount.h"
#include "tests/support/Pixels.h"

namespace tessel::test::button {
namespace {

constexpr uint32_t kMagenta = 0xFF00FF;  // 0x00RRGGBB, as the picture helper takes it

// A back buffer filled with one colour, holding the picture under test.
struct Canvas : ButtonCanvas {
  Canvas(int width, int height, COLORREF fill) : ButtonCanvas(width, height) { Clear(fill); }
  void Use(const PictureRef& picture) {
    state.picture = picture;
    ReadPictureMetrics(state);
  }
  ButtonPaint Paint(bool enabled = true) {
    paint.enabled = enabled;
    return paint;
  }
};

constexpr COLORREF kGreen = RGB(0, 160, 0);

// The key is the top-left pixel; everything within 3 of it in each channel is transparent and
// the cached copy holds the key exactly there.
TEST(ButtonPicture, NearKeyPixelsAreTransparent) {
  Canvas c(8, 4, kGreen);
  c.Use(ButtonTest::Bitmap(8, 4, [](int x, int y) -> uint32_t {
    if (y > 0) return 0x0000FF;
    switch (x) {
      case 0: return kMagenta;
      case 1: return 0xFC03FD;  // 3 off in every channel
      case 2: return 0xFB00FF;  // red 4 off
      default: return 0x0000FF;
    }
  }));
  EXPECT_EQ(c.state.pictureWidth, 8);
  EXPECT_EQ(c.state.pictureIsIcon, 0);
  ButtonPaint p = c.Paint();
  DrawPicture(p, RECT{0, 0, 8, 4});
  EXPECT_EQ(c.At(0, 0), kGreen);
  EXPECT_EQ(c.At(1, 0), kGreen);
  EXPECT_EQ(c.At(2, 0), RGB(0xFB, 0x00, 0xFF));
  EXPECT_EQ(c.At(3, 0), RGB(0, 0, 0xFF));
  EXPECT_EQ(c.At(5, 3), RGB(0, 0, 0xFF));
  ASSERT_TRUE(c.state.pictureCache);
  DibProbe cache(c.state.pictureCache.get());
  EXPECT_EQ(cache.At(1, 0), RGB(0xFF, 0, 0xFF)) << "the near-key pixel holds the key exactly";
  EXPECT_EQ(cache.At(2, 0), RGB(0xFB, 0, 0xFF));
}

// Beside the caption a picture is drawn at its own size, made smaller (aspect kept) to fit its
// box, never larger.
TEST(ButtonPicture, BoxedPictureShrinksToFitButNeverGrows) {
  struct Case {
    int pw, ph;
    POINT drawn, empty;
  };
  const Case cases[] = {{64, 32, {31, 15}, {31, 16}}, {16, 16, {15, 15}, {16, 5}}};
  for (const Case& k : cases) {
    Canvas c(32, 32, kGreen);
    c.Use(ButtonTest::Bitmap(k.pw, k.ph, [](int x, int y) { return x < 4 && y < 4 ? kMagenta : 0xFF0000u; }));
    ButtonPaint p = c.Paint();
    DrawPicture(p, RECT{0, 0, 32, 32});
    EXPECT_EQ(c.At(k.drawn.x, k.drawn.y), RGB(255, 0, 0)) << k.pw << "x" << k.ph;
    EXPECT_EQ(c.At(k.empty.x, k.empty.y), kGreen) << k.pw << "x" << k.ph;
  }
}

// Disabled: the picture's dark parts turn grey and its white parts show the face.
TEST(ButtonPicture, DisabledPictureIsGreyed) {
  const COLORREF face = RGB(0xE0, 0xC0, 0x00);
  Canvas c(12, 4, face);
  c.Use(ButtonTest::Bitmap(12, 4, [](int x, int) -> uint32_t { return x < 4 ? kMagenta : x < 8 ? 0x000000u : 0xFFFFFFu; }));
  ButtonPaint p = c.Paint(false);
  DrawPicture(p, RECT{0, 0, 12, 4});
  EXPECT_EQ(c.At(2, 1), face) << "transparent";
  EXPECT_EQ(c.At(5, 1), RGB(0x80, 0x80, 0x80)) << "black turns grey";
  EXPECT_EQ(c.At(10, 1), face) << "white shows the face";
}

TEST(ButtonPicture, IconsDrawAtTheRectangle) {
  Canvas c(24, 24, kGreen);
  c.Use(ButtonTest::Icon(32));
  EXPECT_EQ(c.state.pictureIsIcon, 1);
  EXPECT_EQ(c.state.pictureWidth, 32);
  ButtonPaint p = c.Paint();
  DrawPicture(p, RECT{2, 2, 18, 18});
  EXPECT_EQ(c.At(10, 10), RGB(0, 0, 255));
  EXPECT_EQ(c.At(1, 1), kGreen);
  EXPECT_EQ(c.At(18, 18), kGreen);
  EXPECT_FALSE(c.state.pictureCache) << "icons keep their own transparency";
}

using CustomClick = ButtonTest;

// A custom-shaped command button moves its whole window one pixel while held; check buttons never.
TEST_F(CustomClick, TheWindowMovesWhileHeld) {
  for (int32_t mode : {modeCommand, modeCheck}) {
    ButtonStyle& b = Add(L"b", 20, 20, 40, 40);
    b.SetPicture(Bitmap(40, 40, [](int x, int y) { return x < 4 && y < 4 ? kMagenta : 0x00FF00u; }));
    b.SetButtonShape(shapeCustom);
    b.SetCustomClick(clickDownRight);
    b.SetMode(mode);
    auto origin = [&] {
      RECT r{};
      GetWindowRect(b.hWnd(), &r);
      POINT pt{r.left, r.top};
      ScreenToClient(form_->hWnd(), &pt);
      return pt;
    };
    const POINT rest = origin();
    Hover(&b);
    Send(b, WM_LBUTTONDOWN, MK_LBUTTON);
    const POINT held = origin();
    EXPECT_EQ(held.x - rest.x, mode == modeCommand ? 1 : 0);
    EXPECT_EQ(held.y - rest.y, mode == modeCommand ? 1 : 0);
    EXPECT_EQ(b.State().Has(isMoved), mode == modeCommand);
    Send(b, WM_LBUTTONUP);
    if (mode != modeCommand) b.Refresh();
    EXPECT_EQ(origin().x, rest.x);
    EXPECT_EQ(origin().y, rest.y);
    EXPECT_FALSE(b.State().Has(isMoved));
    Hover(nullptr);
    form_->Remove(L"b");
  }
}

using Resources = ButtonTest;

// Property writes, redraws, resizes, picture changes and whole buttons give back every GDI and
// USER object they make. One round runs first, so what the system caches once is in the count.
// (The benchmark program runs 10,000 rounds and 100 buttons.)
TEST_F(Resources, ObjectCountsComeBack) {
  ButtonStyle& warm = Add(L"warm");
  PictureRef pictures[2] = {Bitmap(24, 24, [](int x, int) { return x > 2 ? 0x0000FFu : kMagenta; }), Icon(16)};
  auto cycle = [&](int i) {
    warm.SetButtonStyle(i % kButtonStyleCount);
    warm.SetButtonShape(i % 7);
    warm.SetCaption(i % 2 ? L"A||B" : L"&Ok");
    warm.SetBackColor(i % 2 ? 0x00FFFF : kSysButtonFace);
    warm.SetGradientMode(i % 5);
    warm.SetFontStyle(i % 16);
    warm.SetPicture(pictures[i % 2]);
    warm.SetPictureSize(i % 5);
    form_->Site(L"warm")->Move(150, 150, 1500 + 15 * (i % 9), 450 + 15 * (i % 5));
    warm.Refresh();
  };
  // Buttons side by side on a grid, so placing one repaints no other.
  auto place = [&](int count) {
    for (int i = 0; i < count; ++i) {
      ButtonStyle& b = Add(L"b" + std::to_wstring(i), 10 + 40 * (i % 9), 60 + 26 * (i / 9), 36, 24);
      b.SetPicture(pictures[0]);
      b.SetButtonShape(i % 9);
      Hover(&b);
    }
    Hover(nullptr);
    for (int i = 0; i < count; ++i) form_->Remove(L"b" + std::to_wstring(i));
    Form::PumpMessages();
  };
  // The system keeps some objects once it has needed them for so many windows (its DC cache).
  for (int i = 0; i < 16; ++i) cycle(i);
  place(18);
  const unsigned gdi = GdiObjectCount(), user = UserObjectCount();
  for (int i = 0; i < 56; ++i) cycle(i);  // every style on every shape
  cycle(15);  // the same state as when counted
  EXPECT_EQ(GdiObjectCount(), gdi) << "after rounds of writes, resizes and pictures";
  place(18);
  EXPECT_EQ(GdiObjectCount(), gdi) << "after buttons placed and closed";
  EXPECT_EQ(UserObjectCount(), user);
}

}  // namespace
}  // namespace tessel::test::button
