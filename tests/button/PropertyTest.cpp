#include <functional>
#include <string>

#include "tests/button/ButtonHarness.h"

namespace tessel::test::button {
namespace {

using Properties = ButtonTest;

std::wstring Info(const std::wstring& text, const std::wstring& title = L"") {
  return L"MessageBox(" + text + L"|" + title + L"|64)";
}

// A misused write: at design time an information box with the fixed text; at run time the same
// write is refused or accepted without a word. check sees the button afterwards.
struct Misuse {
  const char* name;
  std::function<void(ButtonTest&, ButtonStyle&)> prepare;
  std::function<void(ButtonStyle&)> write;
  std::wstring message;
  std::wstring title;
  std::function<void(const ButtonStyle&, bool designTime)> check;
};

TEST_F(Properties, DesignTimeMisuseIsAnsweredOnlyAtDesignTime) {
  auto bitmap = [](ButtonTest&, ButtonStyle& b) { b.SetPicture(Bitmap(40, 20, [](int, int) { return 0x00FF00u; })); };
  const Misuse cases[] = {
      {"caption align with a picture above", [&](ButtonTest& t, ButtonStyle& b) { bitmap(t, b); b.SetPictureAlign(picTopCenter); },
       [](ButtonStyle& b) { b.SetCaptionAlign(capAlignLeft); },
       L"When button images are aligned top/bottom center, \r\nbutton captions can only be center aligned", L"",
       [](const ButtonStyle& b, bool) { EXPECT_EQ(b.CaptionAlign(), capAlignCenter); }},
      {"custom click on a rectangle", nullptr, [](ButtonStyle& b) { b.SetCustomClick(clickDownRight); },
       L"This property has no effect unless the Button Shape is a custom shape.", L"",
       [](const ButtonStyle& b, bool) { EXPECT_EQ(b.CustomClick(), clickDownRight) << "stored all the same"; }},
      {"custom shape without a picture", nullptr, [](ButtonStyle& b) { b.SetButtonShape(shapeCustom); },
       L"The Picture Property must be assigned first and must be a bitmap or JPEG.", L"",
       [](const ButtonStyle& b, bool) { EXPECT_EQ(b.ButtonShape(), shapeRectangle); }},
      {"custom shape with an icon", [](ButtonTest&, ButtonStyle& b) { b.SetPicture(ButtonTest::Icon()); },
       [](ButtonStyle& b) { b.SetButtonShape(shapeCustomShaded); },
       L"The Picture Property must be assigned first and must be a bitmap or JPEG.", L"",
       [](const ButtonStyle& b, bool) { EXPECT_EQ(b.ButtonShape(), shapeRectangle); }},
      {"icon on a custom shape", [&](ButtonTest& t, ButtonStyle& b) { bitmap(t, b); b.SetButtonShape(shapeCustom); },
       [](ButtonStyle& b) { b.SetPicture(ButtonTest::Icon()); },
       L"Icons cannot be used for custom buttons. Only use bitmaps or JPEGs.\r\nButton was changed to Rectangular shaped.",
       L"", [](const ButtonStyle& b, bool) { EXPECT_EQ(b.ButtonShape(), shapeRectangle); }},
      {"value on a command button", nullptr, [](ButtonStyle& b) { b.SetValue(true); },
       L"This property is not applicable for command button modes.", L"",
       [](const ButtonStyle& b, bool) { EXPECT_FALSE(b.Value()); }},
      {"picture size of a shaped button", [&](ButtonTest& t, ButtonStyle& b) { bitmap(t, b); b.SetButtonShape(shapeCustom); },
       [](ButtonStyle& b) { b.SetPictureSize(picSize24); }, L"The picture size cannot be changed for Shaped buttons", L"",
       [](const ButtonStyle& b, bool) { EXPECT_EQ(const_cast<ButtonStyle&>(b).PictureSize(), picFit); }},
      {"focus rectangle of the default button",
       [](ButtonTest& t, ButtonStyle&) { t.form_->SetDefaultButton(L"b"); },
       [](ButtonStyle& b) { b.SetShowFocusRect(false); },
       L"The focus rectangle may appear on default buttons ONLY while in design mode, \r\nbut will not appear when the "
       L"form is running.",
       L"",
       [](const ButtonStyle& b, bool designTime) {
         EXPECT_EQ(b.State().Has(isDefault), designTime) << "at run time the default look goes at once";
       }},
      {"mouse icon that is a bitmap", nullptr,
       [](ButtonStyle& b) { b.SetMouseIcon(ButtonTest::Bitmap(8, 8, [](int, int) { return 0u; })); },
       L"Select .ico Or .cur Files Only", L"Invalid property value",
       [](const ButtonStyle& b, bool) { EXPECT_EQ(b.MousePointer(), 0); }},
  };
  for (bool designTime : {true, false}) {
    OpenForm(!designTime);
    for (const Misuse& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (designTime ? " at design time" : " at run time"));
      ButtonStyle& b = Add(L"b");
      if (c.prepare) c.prepare(*this, b);
      host_.calls.clear();
      c.write(b);
      EXPECT_EQ(host_.calls, designTime ? std::vector<std::wstring>{Info(c.message, c.title)} : std::vector<std::wstring>{});
      c.check(b, designTime);
      form_->SetDefaultButton(L"");
      form_->Remove(L"b");
    }
  }
}

// Each write tells the container under its bag keys, side effects first, in a fixed order.
TEST_F(Properties, WritesMarkTheirKeysInOrder) {
  struct Case {
    const char* name;
    std::function<void(ButtonStyle&)> write;
    std::vector<std::wstring> keys;
  };
  const Case cases[] = {
      {"back colour moves the unlocked hover colour", [](ButtonStyle& b) { b.SetBackColor(0x0000FF); },
       {L"cBHover", L"cBack"}},
      {"fore colour moves the unlocked hover fore colour", [](ButtonStyle& b) { b.SetForeColor(0x00FF00); },
       {L"cFHover", L"cFore"}},
      {"an equal fore colour is no write", [](ButtonStyle& b) { b.SetForeColor(kSysButtonText); }, {}},
      {"picture align above forces centred caption", [](ButtonStyle& b) { b.SetPictureAlign(picBottomCenter); },
       {L"CapAlign", L"ImgAlign"}},
      {"option mode joins; command mode clears the value", [](ButtonStyle& b) { b.SetMode(modeOption); b.SetMode(modeCommand); },
       {L"Mode", L"Value", L"Mode"}},
      {"locks 0 resets both hover colours", [](ButtonStyle& b) { b.SetHoverColorLocks(lockNone); },
       {L"cBHover", L"cFHover", L"LockHover"}},
      {"reset colours at run time does nothing", [](ButtonStyle& b) { b.SetResetDefaultColors(true); }, {}},
      {"out of range is ignored", [](ButtonStyle& b) { b.SetButtonStyle(8); b.SetMode(-1); b.SetPictureAlign(6); }, {}},
      {"caption style", [](ButtonStyle& b) { b.SetCaptionStyle(capStyleEngraved); }, {L"CapStyle"}},
      {"font style", [](ButtonStyle& b) { b.SetFontStyle(2 | 8); }, {L"Font"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ButtonStyle& b = Add(L"b");
    std::vector<std::wstring> keys;
    form_->onPropertyChanged = [&](const std::wstring&, std::wstring_view key) { keys.emplace_back(key); };
    c.write(b);
    form_->onPropertyChanged = nullptr;
    EXPECT_EQ(keys, c.keys);
    form_->Remove(L"b");
  }
}

TEST_F(Properties, HoverColoursLockWhenSetApart) {
  ButtonStyle& b = Add(L"b");
  b.SetHoverBackColor(0x00FF00);
  EXPECT_EQ(b.HoverColorLocks(), lockBackColor);
  b.SetBackColor(0x0000FF);
  EXPECT_EQ(b.HoverBackColor(), 0x00FF00u) << "a locked hover back colour stays";
  b.SetHoverForeColor(0xFF0000);
  EXPECT_EQ(b.HoverColorLocks(), lockBoth);
  b.SetForeColor(0x123456);
  EXPECT_EQ(b.HoverForeColor(), 0xFF0000u);
  b.SetHoverColorLocks(lockNone);
  EXPECT_EQ(b.HoverBackColor(), 0x0000FFu);
  EXPECT_EQ(b.HoverForeColor(), 0x123456u);
  b.SetGradientColor(0x808000);
  b.SetGradientMode(gradTopBottom);
  EXPECT_EQ(b.HoverBackColor(), 0x808000u) << "with a gradient the hover colour follows the gradient colour";
  EXPECT_EQ(b.FontStyle(), 0);
  b.SetFontStyle(2 | 4);
  EXPECT_EQ(b.FontStyle(), 6);
  EXPECT_TRUE(b.Font()->Describe().italic);
}

TEST_F(Properties, AccessKeyIsTheCharacterAfterTheLastAmpersand) {
  ButtonStyle& b = Add(L"b");
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"&Save", L"S"}, {L"Save&", L""}, {L"A&b&C", L"C"}, {L"a&&b", L"b"}, {L"none", L"b"}};
  for (auto [caption, key] : cases) {
    b.SetCaption(caption);
    EXPECT_EQ(b.AccessKeys(), key) << caption;
  }
}

TEST_F(Properties, PictureSizeReadsItsCodeFromThePixels) {
  ButtonStyle& b = Add(L"b");
  for (int32_t code = picSize16; code <= picFit; ++code) {
    b.SetPictureSize(code);
    EXPECT_EQ(b.State().pictureSize, (code + 2) * 8);
    EXPECT_EQ(b.PictureSize(), code);
  }
}

}  // namespace
}  // namespace tessel::test::button
