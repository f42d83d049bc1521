// What the form gives the button: the default look that follows the focus, the ambient back
// colour, the parent's font, the pointer over its window and the show notification.
#include <string>
#include <tuple>

#include "button/draw/ShiftColor.h"
#include "tests/button/ButtonHarness.h"

namespace tessel::test::button {
namespace {

using Container = ButtonTest;

// A focused push button is shown as the default and takes Enter; a check button does not, so the
// form's default button keeps both while it has the focus.
TEST_F(Container, TheDefaultLookAndEnterFollowTheFocusedPushButton) {
  ButtonStyle* b[] = {&Add(L"d", 10, 10), &Add(L"c", 10, 50), &Add(L"k", 10, 90)};
  b[2]->SetMode(modeCheck);
  form_->SetDefaultButton(L"d");
  const std::tuple<int, int, const wchar_t*> steps[] = {{1, 1, L"c.Click"}, {2, 0, L"d.Click"}, {1, 1, L"c.Click"}};
  for (auto [focus, shown, clicked] : steps) {
    SetFocus(b[focus]->hWnd());
    for (int i = 0; i < 3; ++i) EXPECT_EQ(b[i]->State().Has(isDefault), i == shown) << focus << " " << i;
    MSG enter{GetFocus(), WM_KEYDOWN, VK_RETURN, 0x001C0001};
    EXPECT_TRUE(form_->PreTranslateMessage(enter));
    EXPECT_EQ(TakeLog(), Log{clicked});
  }
}

// The form's back colour reaches the buttons; a round ring button, whose design-time outline is a
// darker shade of it, is drawn again at once.
TEST_F(Container, TheFormsBackColourRedrawsTheRoundButtons) {
  OpenForm(false);
  ButtonStyle& r = Add(L"r", 10, 10, 80, 40);
  r.SetButtonStyle(bsRing);
  r.SetButtonShape(shapeEllipse);
  const int32_t colour = 0x00406080;
  auto outline = [&] {
    int n = 0;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 80; ++x) n += GetPixel(r.hdc(), x, y) == static_cast<COLORREF>(ShiftColor(colour, -32));
    return n;
  };
  EXPECT_EQ(outline(), 0);
  form_->SetBackColor(colour);
  EXPECT_EQ(r.State().ambientBackColor, colour);
  EXPECT_GT(outline(), 20);
}

// A new button takes a copy of the form's font: its own font style leaves the form's as it was.
TEST_F(Container, ANewButtonTakesACopyOfTheFormsFont) {
  form_->SetFont(Font::Create(FontDesc{L"Arial", 12.0f}));
  ButtonStyle& b = Add(L"b");
  b.SetFontStyle(2);
  EXPECT_EQ(b.Font()->Describe().name, L"Arial");
  EXPECT_FALSE(form_->Ambient().font->Describe().bold());
}

// WM_SETCURSOR on the button's window shows its MousePointer; a mouse icon makes it 99, custom.
TEST_F(Container, ThePointerOverTheButtonIsItsMousePointer) {
  ButtonStyle& b = Add(L"b");
  PictureRef icon = Picture::FromBytes(IconFile(32, RGB(0, 0, 255), true, POINT{4, 4}));
  auto shown = [&] {
    SendMessageW(b.hWnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(b.hWnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
  };
  b.SetMousePointer(2);
  EXPECT_EQ(shown(), LoadCursorW(nullptr, IDC_CROSS));
  b.SetMouseIcon(icon);
  EXPECT_EQ(shown(), static_cast<HCURSOR>(icon->Handle()));
  EXPECT_EQ(b.MousePointer(), 99);
}

// Shown again while the form is designed, a default button that lost its look at run time (its
// focus rectangle switched off and on) gets it back.
TEST_F(Container, TheShowNotificationGivesTheDesignTimeDefaultLook) {
  ButtonStyle& b = Add(L"b");
  form_->SetDefaultButton(L"b");
  b.SetShowFocusRect(false);
  b.SetShowFocusRect(true);
  form_->SetUserMode(false);
  form_->Site(L"b")->SetVisible(false);
  EXPECT_FALSE(b.State().Has(isDefault));
  form_->Site(L"b")->SetVisible(true);
  EXPECT_TRUE(b.State().Has(isDefault));
}

}  // namespace
}  // namespace tessel::test::button
