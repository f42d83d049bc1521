// What the form gives the button: the default look that follows the focus and the mode, the
// container's back colour and font (the form's or a frame's), the pointer over its window and the
// show notification.
#include <string>

#include "button/draw/ShiftColor.h"
#include "frames/TzFrames.h"
#include "tests/button/ButtonHarness.h"

namespace tessel::test::button {
namespace {

using Container = ButtonTest;

// A control that takes Enter and records what it hears, with whether button "b" shows the default
// look at that moment.
class Recorder final : public UserControl {
 public:
  Recorder(ControlSite& site, Log& log, Form& form) : UserControl(site), log_(log), form_(form) {}
  std::wstring_view TypeName() const override { return L"Recorder"; }
  bool TakesEnter() const override { return true; }
  void AmbientChanged(std::wstring_view name) override {
    const HostedControl* b = form_.Site(L"b");
    const bool shown = b && dynamic_cast<ButtonStyle&>(*b->Control()).State().Has(isDefault);
    log_.push_back(L"d." + std::wstring(name) + (Ambient().displayAsDefault ? L"(1)" : L"(0)") +
                   (shown ? L" b shown" : L""));
  }
  void AccessKeyPress(wchar_t key) override { log_.push_back(L"d.Key(" + std::to_wstring(key) + L")"); }

 private:
  Log& log_;
  Form& form_;
};

// Enter and the default look belong to the focused push button, else to the default button; a
// mode write moves them at once, and the one that loses the look hears it first.
TEST_F(Container, TheDefaultLookFollowsTheFocusedPushButtonAndItsMode) {
  types_.Register(L"Recorder", [this](ControlSite& site) -> std::unique_ptr<UserControl> {
    return std::make_unique<Recorder>(site, log_, *form_);
  });
  ButtonStyle& b = Add(L"b", 10, 50);
  form_->Add(L"Recorder", L"d", 150, 150, 900, 450);
  form_->SetDefaultButton(L"d");
  auto enter = [&] {
    MSG enter{GetFocus(), WM_KEYDOWN, VK_RETURN, 0x001C0001};
    EXPECT_TRUE(form_->PreTranslateMessage(enter));
  };
  SetFocus(b.hWnd());
  enter();
  b.SetMode(modeCheck);
  enter();
  b.SetMode(modeOption);
  b.SetMode(modeCommand);
  EXPECT_TRUE(b.State().Has(isDefault));
  enter();
  EXPECT_EQ(TakeLog(), (Log{L"d.DisplayAsDefault(1)", L"d.DisplayAsDefault(0)", L"b.Click", L"d.DisplayAsDefault(1)",
                            L"d.Key(13)", L"d.DisplayAsDefault(0)", L"b.Click"}));
}

// The container's back colour reaches the buttons: the form's, or a frame's for a button inside
// it, which a loaded button also takes as its own back colour. A round ring button, whose
// design-time outline is a darker shade of it, is drawn again at once. A new button takes a copy
// of the form's font, but none from a frame.
TEST_F(Container, BackColourAndFontComeFromTheFormOrTheFrame) {
  OpenForm(false);
  form_->SetFont(Font::Create(FontDesc{L"Arial", 12.0f}));
  auto& frame = dynamic_cast<TzFrames&>(form_->Add(L"tzFrames", L"f", 1500, 150, 3000, 1500));
  frame.SetBackColor(0xC0FFC0);
  ButtonStyle& r = Add(L"r", 10, 10, 80, 40);
  ButtonStyle& inner = Add(L"inner", 10, 30, 80, 40, L"f");
  ExtenderProperties e;
  e.container = L"f";
  PropertyBag none;
  auto* loaded = dynamic_cast<ButtonStyle*>(form_->AddLoaded(L"ButtonStyle", L"loaded", e, none));
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->BackColor(), 0xC0FFC0u);
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
  EXPECT_GT(outline(), 20);
  EXPECT_EQ(r.State().ambientBackColor, colour);
  EXPECT_EQ(inner.State().ambientBackColor, 0xC0FFC0);
  frame.SetBackColor(0x123456);
  EXPECT_EQ(inner.State().ambientBackColor, 0x123456);
  EXPECT_EQ(r.State().ambientBackColor, colour);

  r.SetFontStyle(2);
  EXPECT_EQ(r.Font()->Describe().name, L"Arial");
  EXPECT_FALSE(form_->Ambient().font->Describe().bold()) << "a copy of the form's font";
  EXPECT_EQ(inner.Font()->Describe().name, FontDesc{}.name) << "its own font in a frame";
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
