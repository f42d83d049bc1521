// The frame's 22 stored properties through the shared persistence test.
#include "frames/TzFrames.h"
#include "tests/support/StoredPropertiesTest.h"

namespace tessel::test {

template <>
struct StoredSamples<TzFrames> {
  static constexpr const wchar_t* kTypeName = L"tzFrames";
  static std::vector<StoredSample> Values() {
    return {{L"FrameColor", int32_t{0x010101}}, {L"BackColor", int32_t{0x020202}}, {L"FillColor", int32_t{0x030303}},
            {L"TextBoxColor", int32_t{0x040404}}, {L"TxtBoxShadow", int32_t{1}}, {L"Style", int32_t{3}},
            {L"RoundedCorner", false}, {L"Enabled", false}, {L"RoundedCornerTxtBox", true},
            {L"Caption", std::wstring(L"Endere\u00E7o \"1\"")}, {L"TextBoxHeight", int32_t{30}},
            {L"TextColor", int32_t{0x050505}}, {L"Alignment", int32_t{1}}, {L"IconAlignment", int32_t{1}},
            {L"Font", Font::Create(FontDesc{L"Tahoma", 10.0f, FW_BOLD, true})},
            {L"Picture", Picture::FromIcon(CopyIcon(LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION))))},
            {L"IconSize", int16_t{24}}, {L"ThemeColor", int32_t{5}}, {L"ColorFrom", int32_t{0x060606}},
            {L"ColorTo", int32_t{0x070707}}, {L"HeaderStyle", int32_t{1}}, {L"GradientHeaderStyle", int32_t{3}}};
  }
};
INSTANTIATE_TYPED_TEST_SUITE_P(TzFrames, StoredPropertiesTest, TzFrames);

}  // namespace tessel::test
