#include <algorithm>
#include <string>

#include "tests/button/ButtonHarness.h"

namespace tessel::test::button {
namespace {

using Persistence = ButtonTest;

std::vector<std::wstring> Keys(const PropertyBag& bag) {
  std::vector<std::wstring> keys;
  for (const auto& e : bag.Entries()) keys.push_back(e.first);
  return keys;
}

// Every property away from its write default, so every key is written.
void SetEverything(ButtonStyle& b) {
  b.SetCaption(L"&Gravar||agora");
  b.SetButtonStyle(bsGlossy);
  b.SetButtonShape(shapeSlantBoth);  // centres the caption: aligned after it
  b.SetCaptionAlign(capAlignRight);
  b.SetForeColor(0x000080);
  b.SetHoverForeColor(0x0000FF);
  b.SetHoverBackColor(0x00FFFF);
  b.SetShowFocusRect(false);
  b.SetGradientColor(0x804000);
  b.SetGradientMode(gradBottomTop);
  b.SetCaptionStyle(capStyleEmbossed);
  b.SetMode(modeCheck);
  b.SetValue(true);
  b.SetCustomClick(clickLeft);
  b.SetPictureAlign(picRightOfCaption);
  b.SetPicture(ButtonTest::Bitmap(16, 16, [](int x, int) { return x < 8 ? 0xFF00FFu : 0x004080u; }));
  b.SetPictureSize(picSize32);
  b.SetEnabled(false);
  b.SetBackColor(0xC0FFC0);
  b.SetMouseIcon(Picture::FromBytes(IconFile(32, RGB(255, 0, 0), true)));
  b.SetMousePointer(99);
}

ExtenderProperties Placement(const std::wstring& name) {
  ExtenderProperties e;
  e.name = name;
  e.left = 150;
  e.top = 150;
  e.width = 1800;
  e.height = 480;
  return e;
}

TEST_F(Persistence, WritesTheKeysInTheirOrderAndReadsThemBackToTheSameBag) {
  ButtonStyle& b = Add(L"b");
  SetEverything(b);
  PropertyBag first;
  b.WriteProperties(first);
  EXPECT_EQ(Keys(first), (std::vector<std::wstring>{L"Caption", L"CapAlign", L"BackStyle", L"Shape", L"Font", L"cFore",
                                                    L"cFHover", L"cBhover", L"Focus", L"LockHover", L"cGradient",
                                                    L"Gradient", L"CapStyle", L"Mode", L"Value", L"CustomClick",
                                                    L"ImgAlign", L"Image", L"ImgSize", L"Enabled", L"cBack",
                                                    L"mPointer", L"mIcon"}));
  auto* loaded = dynamic_cast<ButtonStyle*>(form_->AddLoaded(L"ButtonStyle", L"c", Placement(L"c"), first));
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->AccessKeys(), L"G");
  EXPECT_FALSE(loaded->State().delayDrawing);
  EXPECT_EQ(loaded->State().pictureWidth, 16) << "the picture's metrics are read after loading";
  PropertyBag second;
  loaded->WriteProperties(second);
  ASSERT_EQ(Keys(second), Keys(first));
  for (size_t i = 0; i < first.size(); ++i) {
    const auto& [key, value] = first.Entries()[i];
    if (key == L"Image" || key == L"mIcon") continue;  // the same picture objects: compared below
    EXPECT_TRUE(BagValuesEqual(value, second.Entries()[i].second)) << std::string(key.begin(), key.end());
  }
  EXPECT_EQ(loaded->Picture(), b.Picture());
  EXPECT_EQ(loaded->MouseIcon(), b.MouseIcon());
}

// A new button writes what is always written, and the gradient colour, whose first value (black)
// is not its write default (the button face).
TEST_F(Persistence, DefaultsWriteOnlyTheAlwaysWrittenKeys) {
  ButtonStyle& b = Add(L"b");
  b.SetCaption(L"");
  PropertyBag bag;
  b.WriteProperties(bag);
  EXPECT_EQ(Keys(bag), (std::vector<std::wstring>{L"Font", L"cGradient", L"Mode", L"Value", L"cBack"}));
}

// The hover back colour is written "cBhover" and read "cBHover"; absent, it is the back colour
// just read.
TEST_F(Persistence, HoverBackColourKeyAndItsDefault) {
  PropertyBag bag;
  bag.Write(L"cBack", int32_t{0x00FF00});
  bag.Write(L"CBHOVER", int32_t{0x0000FF});
  auto* a = dynamic_cast<ButtonStyle*>(form_->AddLoaded(L"ButtonStyle", L"a", Placement(L"a"), bag));
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->HoverBackColor(), 0x0000FFu);
  bag.Remove(L"cBHover");
  auto* b = dynamic_cast<ButtonStyle*>(form_->AddLoaded(L"ButtonStyle", L"b", Placement(L"b"), bag));
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->HoverBackColor(), 0x00FF00u);
  PropertyBag out;
  a->WriteProperties(out);
  ASSERT_NE(out.Find(L"cBhover"), nullptr);
  EXPECT_EQ(std::count_if(out.Entries().begin(), out.Entries().end(), [](const auto& e) { return e.first == L"cBhover"; }), 1);
}

// Reading holds the drawing: a stored option button joins its group and the stored values are
// applied without their writes' checks (a stored shape 1 with its slant, a stored value).
TEST_F(Persistence, ReadingAppliesStoredValuesAndJoinsTheGroup) {
  PropertyBag bag;
  bag.Write(L"Mode", int32_t{modeOption});
  bag.Write(L"Value", true);
  bag.Write(L"Caption", std::wstring(L"O&k"));
  auto* o = dynamic_cast<ButtonStyle*>(form_->AddLoaded(L"ButtonStyle", L"o", Placement(L"o"), bag));
  ASSERT_NE(o, nullptr);
  EXPECT_TRUE(o->Value());
  EXPECT_EQ(o->AccessKeys(), L"k");
  EXPECT_EQ(GetPropA(form_->hWnd(), "1lv_Obj"), static_cast<HANDLE>(o));
  EXPECT_EQ(host_.calls, std::vector<std::wstring>{});
}

}  // namespace
}  // namespace tessel::test::button
