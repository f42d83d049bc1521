// The button's 23 stored properties through the shared persistence test, and what reading does
// beyond applying the values.
#include "tests/button/ButtonHarness.h"
#include "tests/support/StoredPropertiesTest.h"

namespace tessel::test {

template <>
struct StoredSamples<ButtonStyle> {
  static constexpr const wchar_t* kTypeName = L"ButtonStyle";
  static std::vector<StoredSample> Values() {
    return {{L"Caption", std::wstring(L"&Gravar||agora")},
            {L"CapAlign", int32_t{capAlignRight}},
            {L"BackStyle", int32_t{bsGlossy}},
            {L"Shape", int32_t{shapeSlantBoth}},
            {L"Font", Font::Create(FontDesc{L"Arial", 12.0f, FW_BOLD})},
            {L"cFore", int32_t{0x000080}},
            {L"cFHover", int32_t{0x0000FF}},
            {L"cBhover", int32_t{0x00FFFF}, true, false, L"cBHover"},
            {L"Focus", false},
            {L"LockHover", int32_t{lockBoth}},
            {L"cGradient", int32_t{0x804000}},
            {L"Gradient", int32_t{gradBottomTop}},
            {L"CapStyle", int32_t{capStyleEmbossed}},
            {L"Mode", int32_t{modeCheck}},
            {L"Value", true},
            {L"CustomClick", int32_t{clickLeft}},
            {L"ImgAlign", int32_t{picRightOfCaption}},
            {L"Image", button::ButtonTest::Bitmap(16, 16, [](int x, int) { return x < 8 ? 0xFF00FFu : 0x004080u; })},
            {L"ImgSize", int16_t{32}},
            {L"Enabled", false},
            {L"cBack", int32_t{0xC0FFC0}},
            {L"mPointer", int16_t{2}},
            {L"mIcon", Picture::FromBytes(IconFile(32, RGB(255, 0, 0), true))}};
  }
};
INSTANTIATE_TYPED_TEST_SUITE_P(ButtonStyle, StoredPropertiesTest, ButtonStyle);

namespace button {
namespace {

using Persistence = ButtonTest;

// Drawing resumes once every value is in: a stored option button joins its group, the access key
// and the picture's metrics follow, and no write's check says a word.
TEST_F(Persistence, ReadingLaysTheButtonOutAndJoinsItsGroup) {
  PropertyBag bag;
  bag.Write(L"Mode", int32_t{modeOption});
  bag.Write(L"Value", true);
  bag.Write(L"Caption", std::wstring(L"O&k"));
  bag.Write(L"Image", Bitmap(16, 16, [](int, int) { return 0x004080u; }));
  ExtenderProperties e;
  e.width = 1800;
  e.height = 480;
  auto* a = dynamic_cast<ButtonStyle*>(form_->AddLoaded(L"ButtonStyle", L"a", e, bag));
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->AccessKeys(), L"k");
  EXPECT_FALSE(a->State().delayDrawing);
  EXPECT_EQ(a->State().pictureWidth, 16);
  EXPECT_GT(a->State().captionRect.right, a->State().captionRect.left);
  EXPECT_EQ(GetPropA(form_->hWnd(), "1lv_Obj"), static_cast<HANDLE>(a));
  EXPECT_EQ(host_.calls, std::vector<std::wstring>{});
}

}  // namespace
}  // namespace button
}  // namespace tessel::test
