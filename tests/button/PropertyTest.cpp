#include "tests/support/Prelude.h"

#include "tests/button/ButtonHarness.h"
#include "tests/support/StoredPropertiesTest.h"

// The 23 stored properties go through the shared persistence test.
namespace tessel::test {

template <>
struct StoredSamples<ButtonStyle> {
  static constexpr const wchar_t* kTypeName = L"ButtonStyle";
  static std::vector<StoredSample> Values() {
    return {{L"Caption", std::wstring(L"&Gravar||agora")}, {L"CapAlign", int32_t{capAlignRight}},
            {L"BackStyle", int32_t{bsGlossy}}, {L"Shape", int32_t{shapeSlantBoth}},
            {L"Font", Font::Create(FontDesc{L"Arial", 12.0f, FW_BOLD})}, {L"cFore", int32_t{0x000080}},
            {L"cFHover", int32_t{0x0000FF}}, {L"cBhover", int32_t{0x00FFFF}, true, false, L"cBHover"}, {L"Focus", false},
            {L"LockHover", int32_t{lockBoth}}, {L"cGradient", int32_t{0x804000}}, {L"Gradient", int32_t{gradBottomTop}},
            {L"CapStyle", int32_t{capStyleEmbossed}}, {L"Mode", int32_t{modeCheck}}, {L"Value", true},
            {L"CustomClick", int32_t{clickLeft}}, {L"ImgAlign", int32_t{picRightOfCaption}},
            {L"Image", button::ButtonTest::Bitmap(16, 16, [](int x, int) { return x < 8 ? 0xFF00FFu : 0x004080u; })},
            {L"ImgSize", int16_t{32}}, {L"Enabled", false}, {L"cBack", int32_t{0xC0FFC0}}, {L"mPointer", int16_t{2}},
            {L"mIcon", Picture::FromBytes(IconFile(32, RGB(255, 0, 0), true))}};
  }
};
INSTANTIATE_TYPED_TEST_SUITE_P(ButtonStyle, StoredPropertiesTest, ButtonStyle);

namespace button {
namespace {

using Properties = ButtonTest;
using Write = std::function<void(ButtonStyle&)>;

// A misused write shows its information box at design time only; check sees the button afterwards.
TEST_F(Properties, DesignTimeMisuseIsAnsweredOnlyAtDesignTime) {
  struct Misuse { std::function<void(ButtonTest&, ButtonStyle&)> prepare; Write write; std::wstring message;
                  std::function<void(const ButtonStyle&, bool designTime)> check; };
  auto bitmap = [](ButtonStyle& b) { b.SetPicture(Bitmap(40, 20, [](int, int) { return 0x00FF00u; })); };
  auto custom = [&](ButtonTest&, ButtonStyle& b) { bitmap(b), b.SetButtonShape(shapeCustom); };
  auto rectangular = [](const ButtonStyle& b, bool) { EXPECT_EQ(b.ButtonShape(), shapeRectangle); };
  const std::wstring kNotCustom = L"The Picture Property must be assigned first and must be a bitmap or JPEG.";
  const Misuse cases[] = {
      {[&](ButtonTest&, ButtonStyle& b) { bitmap(b), b.SetPictureAlign(picTopCenter); },
       [](ButtonStyle& b) { b.SetCaptionAlign(capAlignLeft); },
       L"When button images are aligned top/bottom center, \r\nbutton captions can only be center aligned",
       [](const ButtonStyle& b, bool) { EXPECT_EQ(b.CaptionAlign(), capAlignCenter); }},
      {nullptr, [](ButtonStyle& b) { b.SetCustomClick(clickDownRight); },
       L"This property has no effect unless the Button Shape is a custom shape.",
       [](const ButtonStyle& b, bool) { EXPECT_EQ(b.CustomClick(), clickDownRight) << "stored all the same"; }},
      {nullptr, [](ButtonStyle& b) { b.SetButtonShape(shapeCustom); }, kNotCustom, rectangular},
      {[](ButtonTest&, ButtonStyle& b) { b.SetPicture(ButtonTest::Icon()); },
       [](ButtonStyle& b) { b.SetButtonShape(shapeCustomShaded); }, kNotCustom, rectangular},
      {custom, [](ButtonStyle& b) { b.SetPicture(ButtonTest::Icon()); },
       L"Icons cannot be used for custom buttons. Only use bitmaps or JPEGs.\r\nButton was changed to Rectangular shaped.",
       rectangular},
      {nullptr, [](ButtonStyle& b) { b.SetValue(true); }, L"This property is not applicable for command button modes.",
       [](const ButtonStyle& b, bool) { EXPECT_FALSE(b.Value()); }},
      {custom, [](ButtonStyle& b) { b.SetPictureSize(picSize24); }, L"The picture size cannot be changed for Shaped buttons",
       [](const ButtonStyle& b, bool) { EXPECT_EQ(const_cast<ButtonStyle&>(b).PictureSize(), picFit); }},
      {[](ButtonTest& t, ButtonStyle&) { t.form_->SetDefaultButton(L"b"); }, [](ButtonStyle& b) { b.SetShowFocusRect(false); },
       L"The focus rectangle may appear on default buttons ONLY while in design mode, \r\nbut will not appear when the "
       L"form is running.",
       [](const ButtonStyle& b, bool designTime) { EXPECT_EQ(b.State().Has(isDefault), designTime); }},
      {nullptr, [](ButtonStyle& b) { b.SetMouseIcon(ButtonTest::Bitmap(8, 8, [](int, int) { return 0u; })); },
       L"Select .ico Or .cur Files Only|Invalid property value", [](const ButtonStyle& b, bool) { EXPECT_EQ(b.MousePointer(), 0); }},
  };
  for (bool designTime : {true, false}) {
    OpenForm(!designTime);
    for (const Misuse& c : cases) {
      SCOPED_TRACE(std::string(c.message.begin(), c.message.begin() + 20) + (designTime ? " designed" : " running"));
      ButtonStyle& b = Add(L"b");
      if (c.prepare) c.prepare(*this, b);
      host_.calls.clear();
      c.write(b);
      const std::wstring box = L"MessageBox(" + c.message + (c.message.find(L'|') == std::wstring::npos ? L"|" : L"") + L"|64)";
      EXPECT_EQ(host_.calls, designTime ? Log{box} : Log{});
      c.check(b, designTime);
      form_->SetDefaultButton(L"");
      form_->Remove(L"b");
    }
  }
}

// Each write tells the container under its bag keys, side effects first, in a fixed order.
TEST_F(Properties, WritesMarkTheirKeysInOrder) {
  const std::pair<Write, Log> cases[] = {
      {[](ButtonStyle& b) { b.SetBackColor(0x0000FF); }, {L"cBHover", L"cBack"}},
      {[](ButtonStyle& b) { b.SetForeColor(0x00FF00); }, {L"cFHover", L"cFore"}},
      {[](ButtonStyle& b) { b.SetForeColor(kSysButtonText); }, {}},
      {[](ButtonStyle& b) { b.SetPictureAlign(picBottomCenter); }, {L"CapAlign", L"ImgAlign"}},
      {[](ButtonStyle& b) { b.SetMode(modeOption), b.SetMode(modeCommand); }, {L"Mode", L"Value", L"Mode"}},
      {[](ButtonStyle& b) { b.SetHoverColorLocks(lockNone); }, {L"cBHover", L"cFHover", L"LockHover"}},
      {[](ButtonStyle& b) { b.SetResetDefaultColors(true); }, {}},  // at run time nothing
      {[](ButtonStyle& b) { b.SetButtonStyle(8), b.SetMode(-1), b.SetPictureAlign(6); }, {}},
      {[](ButtonStyle& b) { b.SetCaptionStyle(capStyleEngraved); }, {L"CapStyle"}},
      {[](ButtonStyle& b) { b.SetFontStyle(2 | 8); }, {L"Font"}},
  };
  Log keys;
  form_->onPropertyChanged = [&](const std::wstring&, std::wstring_view key) { keys.emplace_back(key); };
  for (const auto& [write, want] : cases) {
    ButtonStyle& b = Fresh(L"b");
    keys.clear();
    write(b);
    EXPECT_EQ(keys, want) << &write - &cases[0].first;
  }
}

// A hover colour set apart locks; locks 0 brings both back, following the gradient colour if any.
TEST_F(Properties, HoverLocksAndFontStyle) {
  ButtonStyle& b = Add(L"b");
  b.SetHoverBackColor(0x00FF00);
  EXPECT_EQ(b.HoverColorLocks(), lockBackColor);
  b.SetBackColor(0x0000FF);
  EXPECT_EQ(b.HoverBackColor(), 0x00FF00u);
  b.SetHoverForeColor(0xFF0000);
  EXPECT_EQ(b.HoverColorLocks(), lockBoth);
  b.SetForeColor(0x123456);
  EXPECT_EQ(b.HoverForeColor(), 0xFF0000u);
  b.SetHoverColorLocks(lockNone);
  EXPECT_EQ(std::make_pair(b.HoverBackColor(), b.HoverForeColor()), std::make_pair(0x0000FFu, 0x123456u));
  b.SetGradientColor(0x808000);
  b.SetGradientMode(gradTopBottom);
  EXPECT_EQ(b.HoverBackColor(), 0x808000u);
  EXPECT_EQ(b.FontStyle(), 0);
  b.SetFontStyle(2 | 4);
  EXPECT_EQ(b.FontStyle(), 6);
  EXPECT_TRUE(b.Font()->Describe().italic);
}

TEST_F(Properties, AccessKeyIsTheCharacterAfterTheLastAmpersand) {
  ButtonStyle& b = Add(L"b");
  for (auto [caption, key] : {std::pair{L"&Save", L"S"}, {L"Save&", L""}, {L"A&b&C", L"C"}, {L"a&&b", L"b"}, {L"none", L"b"}}) {
    b.SetCaption(caption);
    EXPECT_EQ(b.AccessKeys(), key) << caption;
  }
}

using Persistence = ButtonTest;

// Read, the button lays out once every value is in, joins its group, and no write's check speaks.
TEST_F(Persistence, ReadingLaysTheButtonOutAndJoinsItsGroup) {
  PropertyBag bag;
  bag.Write(L"Mode", int32_t{modeOption});
  bag.Write(L"Value", true);
  bag.Write(L"Caption", std::wstring(L"O&k"));
  bag.Write(L"Image", Bitmap(16, 16, [](int, int) { return 0x004080u; }));
  auto* a = dynamic_cast<ButtonStyle*>(form_->AddLoaded(L"ButtonStyle", L"a", {.width = 1800, .height = 480}, bag));
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(std::make_tuple(a->AccessKeys(), a->State().delayDrawing, a->State().pictureWidth),
            std::make_tuple(std::wstring(L"k"), false, 16));
  EXPECT_GT(a->State().captionRect.right, a->State().captionRect.left);
  EXPECT_EQ(GetPropA(form_->hWnd(), "1lv_Obj"), static_cast<HANDLE>(a));
  EXPECT_EQ(host_.calls, std::vector<std::wstring>{});
}

}  // namespace
}  // namespace button
}  // namespace tessel::test
