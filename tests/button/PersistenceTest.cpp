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

// The hover back colour is written "cBhover" and read "cBHover", absent it is the back colour just
// read; the stored values go in without their writes' checks and drawing resumes once all are in:
// a stored option button joins its group, the access key and the picture's metrics follow.
TEST_F(Persistence, ReadingAppliesTheBagAndLaysTheButtonOut) {
  PropertyBag bag;
  bag.Write(L"cBack", int32_t{0x00FF00});
  bag.Write(L"CBHOVER", int32_t{0x0000FF});
  bag.Write(L"Mode", int32_t{modeOption});
  bag.Write(L"Value", true);
  bag.Write(L"Caption", std::wstring(L"O&k"));
  bag.Write(L"Image", Bitmap(16, 16, [](int, int) { return 0x004080u; }));
  auto* a = dynamic_cast<ButtonStyle*>(form_->AddLoaded(L"ButtonStyle", L"a", Placement(L"a"), bag));
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->HoverBackColor(), 0x0000FFu);
  EXPECT_TRUE(a->Value());
  EXPECT_EQ(a->AccessKeys(), L"k");
  EXPECT_FALSE(a->State().delayDrawing);
  EXPECT_EQ(a->State().pictureWidth, 16);
  EXPECT_GT(a->State().captionRect.right, a->State().captionRect.left);
  EXPECT_EQ(GetPropA(form_->hWnd(), "1lv_Obj"), static_cast<HANDLE>(a));
  EXPECT_EQ(host_.calls, std::vector<std::wstring>{});
  PropertyBag out;
  a->WriteProperties(out);
  EXPECT_TRUE(std::any_of(out.Entries().begin(), out.Entries().end(), [](const auto& e) { return e.first == L"cBhover"; }));

  bag.Remove(L"cBHover");
  auto* b = dynamic_cast<ButtonStyle*>(form_->AddLoaded(L"ButtonStyle", L"b", Placement(L"b"), bag));
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->HoverBackColor(), 0x00FF00u);
}

}  // namespace
}  // namespace tessel::test::button
