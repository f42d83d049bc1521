// The stored properties of the text fields and the link panel, through the shared persistence test.
#include "tests/support/Prelude.h"

#include "inputs/KvFundo.h"
#include "inputs/KvText.h"
#include "inputs/KvTextBox.h"
#include "tests/support/ImageBytes.h"
#include "tests/support/StoredPropertiesTest.h"

namespace tessel::test {

// The stored text replaces the whole text, and the selection with it.
constexpr bool kReplacedByText = false;

template <>
struct StoredSamples<KvTextBox> {
  static constexpr const wchar_t* kTypeName = L"KvTextBox";
  static std::vector<StoredSample> Values() {
    return {{L"BackColor", int32_t{0x00FFFF}}, {L"ForeColor", int32_t{0x800000}}, {L"Enabled", false},
            {L"Font", Font::Create(FontDesc{L"Arial", 12.0f, FW_BOLD})}, {L"BackStyle", int32_t{0x00FF00}},
            {L"BorderStyle", int16_t{2}}, {L"Alignment", int16_t{2}}, {L"BorderColor", int32_t{0x123456}},
            {L"Locked", true}, {L"MaxLength", int32_t{20}}, {L"PasswordChar", std::wstring(L"*")},
            {L"SelLength", int32_t{3}, kReplacedByText}, {L"SelStart", int32_t{2}, kReplacedByText},
            {L"SelText", std::wstring(L"X"), kReplacedByText}, {L"Text", std::wstring(L"segredo")},
            {L"Capitalizar", true}, {L"ColorOnFoco", int32_t{0xFF00FF}}, {L"ColorOffFoco", int32_t{0x808080}},
            {L"ValidarCampo", true}, {L"ValidarMSG", std::wstring(L"Informe a senha")}};
  }
};
INSTANTIATE_TYPED_TEST_SUITE_P(KvTextBox, StoredPropertiesTest, KvTextBox);

template <>
struct StoredSamples<KvText> {
  static constexpr const wchar_t* kTypeName = L"KvText";
  static std::vector<StoredSample> Values() {
    return {{L"Alignment", int16_t{1}}, {L"BackColor", int32_t{0xE0FFFF}}, {L"BorderColor", int32_t{0x404040}},
            {L"Caption", std::wstring(L"Cidade:")}, {L"Enabled", false}, {L"ForeColor", int32_t{0x000080}},
            {L"FontColor", int32_t{0x008000}}, {L"Locked", true}, {L"MaxLength", int32_t{30}},
            {L"PasswordChar", std::wstring(L"#")}, {L"Text", std::wstring(L"Lisboa")},
            {L"Font", Font::Create(FontDesc{L"Arial", 10.0f})},
            {L"FontCaption", Font::Create(FontDesc{L"Arial", 9.0f, FW_BOLD})}};
  }
};
INSTANTIATE_TYPED_TEST_SUITE_P(KvText, StoredPropertiesTest, KvText);

template <>
struct StoredSamples<KvFundo> {
  static constexpr const wchar_t* kTypeName = L"KvFundo";
  static std::vector<StoredSample> Values() {
    return {{L"Caption", std::wstring(L"www.caption.example")},
            {L"CaptionTitulo", std::wstring(L"Cadastro de Clientes")}, {L"URL", std::wstring()},
            {L"ClickResponse", int32_t{1}}, {L"BackColor", int32_t{0x00C0FFEE}},
            {L"ToolTipText2", std::wstring(L"Abre o site")}, {L"ColorNormal", static_cast<int32_t>(kSysWindowText)},
            {L"ColorHot", int32_t{0x0000AA}}, {L"ColorDown", int32_t{0x00AA00}},
            {L"Font", Font::Create(FontDesc{L"Tahoma", 9.75f, FW_NORMAL, true})}, {L"HoverUnderline", false},
            {L"Stretch", true}, {L"Picture", Picture::FromBytes(IconFile(32, RGB(10, 200, 30)))}};
  }
};
INSTANTIATE_TYPED_TEST_SUITE_P(KvFundo, StoredPropertiesTest, KvFundo);

}  // namespace tessel::test
