#include "tests/support/Prelude.h"

#include "button/ButtonPicture.h"
#include "tests/button/ButtonCanvas.h"
#include "tests/button/ButtonHarness.h"
#include "tests/support/GdiCount.h"
#include "tests/support/Pixels.h"

namespace tessel::test::button {
namespace {

constexpr uint32_t kMagenta = 0xFF00FF;  // 0x00RRGGBB, as the picture helper takes it
constexpr COLORREF kGreen = RGB(0, 160, 0);

// A picture on a green face: the top-left key and all within 3 of it per channel transparent, shrunk
// (never grown) to its box, greyed when disabled, an icon at the rectangle, bottom-up rows upright.
TEST(ButtonPicture, PixelsByKeySizeStateAndKind) {
  struct Case { const char* what; PictureRef picture; int size; RECT at; bool enabled; std::vector<Pixel> probes; };
  const auto nearKey = [](int x, int y) -> uint32_t {  // 3 off in every channel; red 4 off
    if (x == 5 && y == 2) return 0xFD02FCu;
    if (y > 0 || x > 2) return 0x0000FF;
    return x == 0 ? kMagenta : x == 1 ? 0xFC03FDu : 0xFB00FFu;
  };
  const auto redOnKey = [](int x, int y) { return x < 4 && y < 4 ? kMagenta : 0xFF0000u; };
  const auto blackAndWhite = [](int x, int) -> uint32_t { return x < 4 ? kMagenta : x < 8 ? 0x000000u : 0xFFFFFFu; };
  const Case cases[] = {
      {"near the key", ButtonTest::Bitmap(7, 4, nearKey), 7, {0, 0, 7, 4}, true,
       {{0, 0, kGreen}, {1, 0, kGreen}, {2, 0, RGB(0xFB, 0, 0xFF)}, {3, 0, RGB(0, 0, 0xFF)}, {5, 2, kGreen}, {6, 2, RGB(0, 0, 0xFF)}}},
      {"shrinks", ButtonTest::Bitmap(64, 32, redOnKey), 32, {0, 0, 32, 32}, true, {{31, 15, RGB(255, 0, 0)}, {31, 16, kGreen}}},
      {"never grows", ButtonTest::Bitmap(16, 16, redOnKey), 32, {0, 0, 32, 32}, true, {{15, 15, RGB(255, 0, 0)}, {16, 5, kGreen}}},
      {"disabled", ButtonTest::Bitmap(12, 4, blackAndWhite), 12, {0, 0, 12, 4}, false,
       {{2, 1, kGreen}, {5, 1, RGB(0x80, 0x80, 0x80)}, {10, 1, kGreen}}},
      {"icon", ButtonTest::Icon(32), 24, {2, 2, 18, 18}, true, {{10, 10, RGB(0, 0, 255)}, {1, 1, kGreen}, {18, 18, kGreen}}},
      {"rows from the bottom", ButtonTest::Bitmap(16, 16, redOnKey, true), 16, {0, 0, 16, 16}, true,
       {{0, 0, kGreen}, {3, 3, kGreen}, {0, 15, RGB(255, 0, 0)}, {4, 3, RGB(255, 0, 0)}}},
  };
  for (const Case& c : cases) {
    ButtonCanvas canvas(c.size, c.size, kGreen);
    canvas.state.picture = c.picture;
    ReadPictureMetrics(canvas.state);
    canvas.paint.enabled = c.enabled;
    DrawPicture(canvas.paint, c.at);
    GdiFlush();
    SCOPED_TRACE(c.what);
    ExpectPixels(canvas, c.probes);
    const bool icon = c.picture == cases[4].picture;
    EXPECT_EQ(canvas.state.pictureIsIcon, icon ? 1 : 0);
    EXPECT_EQ(static_cast<bool>(canvas.state.pictureCache), !icon) << "icons keep their own transparency";
  }
}

using PictureCacheLife = ButtonTest;

// A box without room (32 px under forty words at 72 pt) drops the cache, never drawn from again.
TEST_F(PictureCacheLife, ABoxWithoutRoomLeavesNoRowsToDrawFrom) {
  ButtonStyle& b = Add(L"b", 0, 0, 1000, 600);
  b.SetPicture(Bitmap(64, 32, [](int x, int y) { return x + y == 0 ? kMagenta : 0xFF0000u; }));
  b.SetPictureSize(picStretch);
  b.SetFont(Font::Create(FontDesc{L"Arial", 72.0f}));
  std::wstring words;
  for (int i = 0; i < 40; ++i) words += L"palavra ";
  b.SetCaption(words);
  b.SetPictureAlign(picTopCenter);
  ASSERT_TRUE(b.State().pictureCache) << "stretched over the face";
  b.SetPictureSize(picSize32);
  const RECT& box = b.State().pictureRect;
  ASSERT_LT(box.bottom, box.top) << "the box has no room";
  EXPECT_FALSE(b.State().pictureCache);
  EXPECT_EQ(b.State().pictureCacheWidth, 0);
  b.SetCaption(L"OK");
  const PictureRows& rows = b.State().pictureCache;
  ASSERT_TRUE(rows);
  EXPECT_EQ(rows.width, box.right - box.left);
  EXPECT_EQ(rows.height, box.bottom - box.top);
  EXPECT_EQ(rows.Row(rows.height - 1)[rows.width - 1] & 0xFFFFFF, 0xFF0000u) << "the rows are the picture's";
}

using Resources = ButtonTest;

// Writes, looks, redraws, resizes, pictures and whole buttons give back every GDI and USER object; a
// first round runs uncounted, for what the system keeps once needed (its DC cache, focus pattern).
TEST_F(Resources, ObjectCountsComeBack) {
  ButtonStyle& warm = Add(L"warm");
  PictureRef pictures[2] = {Bitmap(24, 24, [](int x, int) { return x > 2 ? 0x0000FFu : kMagenta; }), Icon(16)};
  auto cycle = [&](int i) {
    form_->SetUserMode((i / 8) % 2 == 0);
    warm.SetButtonStyle(i % kButtonStyleCount);
    warm.SetButtonShape(i % 7);
    warm.SetCaption(i % 2 ? L"A||B" : L"&Ok");
    warm.SetCaptionStyle(i % 3);
    warm.SetBackColor(i % 2 ? 0x00FFFF : kSysButtonFace);
    warm.SetGradientMode(i % 5);
    warm.SetFontStyle(i % 16);
    warm.SetPicture(pictures[i % 2]);
    warm.SetPictureSize(i % 5);
    warm.SetMode(i % 6 == 5 ? modeCheck : modeCommand);
    warm.SetValue(i % 6 == 5);
    warm.SetEnabled(i % 9 != 0);
    form_->Site(L"warm")->Move(150, 150, 1500 + 15 * (i % 9), 450 + 15 * (i % 5));
    warm.ShowLook(static_cast<ButtonStyle::Look>(i % 5));  // rest, hot, pressed, dragged off, default
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
  for (int i = 0; i < 120; ++i) cycle(i);
  place(18);
  const unsigned gdi = GdiObjectCount(), user = UserObjectCount();
  for (int i = 0; i < 120; ++i) cycle(i);  // every style on every shape, in every look
  EXPECT_EQ(GdiObjectCount(), gdi) << "after rounds of writes, resizes and pictures";
  place(18);
  EXPECT_EQ(GdiObjectCount(), gdi) << "after buttons placed and closed";
  EXPECT_EQ(UserObjectCount(), user);
}

}  // namespace
}  // namespace tessel::test::button
