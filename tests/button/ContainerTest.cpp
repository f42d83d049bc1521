// What the container gives the button: the default-button look that follows the focus, the
// ambient back colour, the parent's font, the pointer, the show notification and access keys,
// each arriving through the form's real messages.
#include <string>

#include "button/draw/ShiftColor.h"
#include "tests/button/ButtonHarness.h"

namespace tessel::test::button {
namespace {

using Container = ButtonTest;

// A focused push button is shown as the default button and takes Enter; a check button does
// not, so the form's default button keeps both while it has the focus.
TEST_F(Container, TheDefaultLookAndEnterFollowTheFocusedPushButton) {
  ButtonStyle* buttons[] = {&Add(L"d", 10, 10), &Add(L"c", 10, 50), &Add(L"k", 10, 90)};
  buttons[2]->SetMode(modeCheck);
  form_->SetDefaultButton(L"d");
  auto defaults = [&] {
    std::string flags;
    for (ButtonStyle* b : buttons) flags += b->State().Has(isDefault) ? '1' : '0';
    return flags;
  };
  EXPECT_EQ(defaults(), "100");
  const struct {
    int focus;
    const char* defaults;
    Log enter;
  } steps[] = {{1, "010", {L"c.Click"}}, {2, "100", {L"d.Click"}}, {0, "100", {L"d.Click"}}, {1, "010", {L"c.Click"}}};
  for (const auto& step : steps) {
    SetFocus(buttons[step.focus]->hWnd());
    EXPECT_EQ(defaults(), step.defaults) << "focus on " << step.focus;
    MSG enter{GetFocus(), WM_KEYDOWN, VK_RETURN, 0x001C0001};
    EXPECT_TRUE(form_->PreTranslateMessage(enter));
    EXPECT_EQ(TakeLog(), step.enter) << "focus on " << step.focus;
  }
  form_->Remove(L"c");
  EXPECT_EQ(buttons[0]->State().Has(isDefault), true) << "the focused push button went: the default is shown again";
}

// The form's back colour reaches the buttons as the ambient back colour; a round ring button,
// whose design-time outline is drawn in a darker shade of it, is drawn again at once.
TEST_F(Container, TheFormsBackColourRedrawsTheRoundButtons) {
  OpenForm(false);
  ButtonStyle& r = Add(L"r", 10, 10, 80, 40);
  r.SetButtonStyle(bsRing);
  r.SetButtonShape(shapeEllipse);
  const int32_t colour = 0x00406080;
  auto outlinePixels = [&] {
    int n = 0;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 80; ++x) n += GetPixel(r.hdc(), x, y) == static_cast<COLORREF>(ShiftColor(colour, -32));
    return n;
  };
  EXPECT_EQ(outlinePixels(), 0);
  form_->SetBackColor(colour);
  EXPECT_EQ(r.State().ambientBackColor, colour);
  EXPECT_GT(outlinePixels(), 20) << "the dotted outline in the new shade";
}

// A new button on the form takes a copy of the form's font: its own font style leaves the form's
// font as it was.
TEST_F(Container, ANewButtonOnTheFormTakesACopyOfTheFormsFont) {
  form_->SetFont(Font::Create(FontDesc{L"Arial", 12.0f}));
  ButtonStyle& b = Add(L"b");
  EXPECT_EQ(b.Font()->Describe().name, L"Arial");
  b.SetFontStyle(2);
  EXPECT_TRUE(b.Font()->Describe().bold());
  EXPECT_FALSE(form_->Ambient().font->Describe().bold());
}

// The pointer over the button is answered to WM_SETCURSOR on its window; a mouse icon makes the
// pointer the custom one (99).
TEST_F(Container, ThePointerOverTheButtonIsItsMousePointer) {
  ButtonStyle& b = Add(L"b");
  PictureRef cursor = Picture::FromBytes(IconFile(32, RGB(0, 0, 255), true, POINT{4, 4}));
  const struct {
    int32_t pointer;
    PictureRef icon;
    HCURSOR shown;
  } cases[] = {{2, nullptr, LoadCursorW(nullptr, IDC_CROSS)},
               {11, nullptr, LoadCursorW(nullptr, IDC_WAIT)},
               {0, cursor, static_cast<HCURSOR>(cursor->Handle())}};
  for (const auto& c : cases) {
    b.SetMousePointer(c.pointer);
    if (c.icon) b.SetMouseIcon(c.icon);
    SetCursor(nullptr);
    EXPECT_EQ(SendMessageW(b.hWnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(b.hWnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              TRUE);
    EXPECT_EQ(GetCursor(), c.shown) << c.pointer;
  }
  EXPECT_EQ(b.MousePointer(), 99);
}

// Made visible again while the form is designed, the default button that lost its default look
// at run time shows it once more.
TEST_F(Container, TheShowNotificationGivesTheDesignTimeDefaultLook) {
  ButtonStyle& b = Add(L"b");
  form_->SetDefaultButton(L"b");
  b.SetShowFocusRect(false);
  b.SetShowFocusRect(true);
  EXPECT_FALSE(b.State().Has(isDefault));
  form_->SetUserMode(false);
  form_->Site(L"b")->SetVisible(false);
  EXPECT_FALSE(b.State().Has(isDefault));
  form_->Site(L"b")->SetVisible(true);
  EXPECT_TRUE(b.State().Has(isDefault));
}

// Alt and the letter after the caption's last "&" focus the button and click it.
TEST_F(Container, TheAccessKeyFocusesAndClicksTheButton) {
  ButtonStyle& other = Add(L"other", 10, 10);
  ButtonStyle& b = Add(L"b", 10, 50);
  b.SetMode(modeCheck);
  b.SetCaption(L"Save && &Quit");
  SetFocus(other.hWnd());
  PostMessageW(other.hWnd(), WM_SYSCHAR, 'q', 1 | (1 << 29));
  Form::PumpMessages();
  EXPECT_EQ(GetFocus(), b.hWnd());
  EXPECT_TRUE(b.Value());
  EXPECT_EQ(TakeLog(), Log{L"b.Click"});
}

}  // namespace
}  // namespace tessel::test::button
