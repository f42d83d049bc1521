#include "olehost/ControlProperties.h"

#include <array>
#include <type_traits>
#include <vector>

#include "button/ButtonStyle.h"
#include "decor/Bevel.h"
#include "decor/KvLinha.h"
#include "frames/TzFrames.h"
#include "inputs/KvFundo.h"
#include "inputs/KvText.h"
#include "inputs/KvTextBox.h"
#include "olehost/VariantValues.h"
#include "server/contract/PropertyBag.h"

namespace tessel::ole {

namespace {

// The automation type of a value a getter returns or a setter takes (OleColor is uint32_t).
template <class T>
using Plain = std::remove_cvref_t<T>;

template <class M>
struct SetterArg;
template <class C, class A>
struct SetterArg<void (C::*)(A)> {
  using type = Plain<A>;
};

template <class C, auto Get>
void GetThrough(UserControl& control, VARIANT* out) {
  const auto value = (static_cast<C&>(control).*Get)();
  if constexpr (std::is_same_v<Plain<decltype(value)>, int>)
    ToVariant(static_cast<int32_t>(value), out);
  else
    ToVariant(Plain<decltype(value)>(value), out);
}

template <class C, auto Set>
void PutThrough(UserControl& control, const VARIANT& in) {
  using A = typename SetterArg<decltype(Set)>::type;
  (static_cast<C&>(control).*Set)(FromVariant<A>(in));
}

template <class C, auto Get, auto Set>
constexpr PropertyRow Prop(const wchar_t* name) {
  return {name, &GetThrough<C, Get>, &PutThrough<C, Set>};
}
template <class C, auto Set>
constexpr PropertyRow WriteOnly(const wchar_t* name) {
  return {name, nullptr, &PutThrough<C, Set>};
}

using B = ButtonStyle;
const PropertyRow kButton[] = {
    Prop<B, &B::GetButtonStyle, &B::SetButtonStyle>(L"ButtonStyle"),
    Prop<B, &B::Mode, &B::SetMode>(L"Mode"),
    Prop<B, &B::Caption, &B::SetCaption>(L"Caption"),
    Prop<B, &B::CaptionAlign, &B::SetCaptionAlign>(L"CaptionAlign"),
    Prop<B, &B::CaptionStyle, &B::SetCaptionStyle>(L"CaptionStyle"),
    Prop<B, &B::CustomClick, &B::SetCustomClick>(L"CustomClick"),
    Prop<B, &B::ButtonShape, &B::SetButtonShape>(L"ButtonShape"),
    Prop<B, &B::Picture, &B::SetPicture>(L"Picture"),
    Prop<B, &B::PictureAlign, &B::SetPictureAlign>(L"PictureAlign"),
    Prop<B, static_cast<bool (B::*)() const>(&B::Enabled), static_cast<void (B::*)(bool)>(&B::SetEnabled)>(L"Enabled"),
    Prop<B, &B::ShowFocusRect, &B::SetShowFocusRect>(L"ShowFocusRect"),
    Prop<B, &B::Value, &B::SetValue>(L"Value"),
    WriteOnly<B, &B::SetPictureSize>(L"PictureSize"),
    Prop<B, static_cast<int32_t (B::*)() const>(&B::MousePointer), static_cast<void (B::*)(int32_t)>(&B::SetMousePointer)>(L"MousePointer"),
    Prop<B, static_cast<PictureRef (B::*)() const>(&B::MouseIcon), static_cast<void (B::*)(const PictureRef&)>(&B::SetMouseIcon)>(L"MouseIcon"),
    Prop<B, &B::Font, &B::SetFont>(L"Font"),
    Prop<B, &B::FontStyle, &B::SetFontStyle>(L"FontStyle"),
    Prop<B, &B::ForeColor, &B::SetForeColor>(L"ForeColor"),
    Prop<B, static_cast<OleColor (B::*)() const>(&B::BackColor), static_cast<void (B::*)(OleColor)>(&B::SetBackColor)>(L"BackColor"),
    Prop<B, &B::GradientColor, &B::SetGradientColor>(L"GradientColor"),
    Prop<B, &B::GradientMode, &B::SetGradientMode>(L"GradientMode"),
    Prop<B, &B::ResetDefaultColors, &B::SetResetDefaultColors>(L"ResetDefaultColors"),
    Prop<B, &B::HoverColorLocks, &B::SetHoverColorLocks>(L"HoverColorLocks"),
    Prop<B, &B::HoverForeColor, &B::SetHoverForeColor>(L"HoverForeColor"),
    Prop<B, &B::HoverBackColor, &B::SetHoverBackColor>(L"HoverBackColor"),
};

using F = TzFrames;
const PropertyRow kFrame[] = {
    Prop<F, &F::FrameColor, &F::SetFrameColor>(L"FrameColor"),
    Prop<F, static_cast<int32_t (F::*)() const>(&F::BackColor), static_cast<void (F::*)(OleColor)>(&F::SetBackColor)>(L"BackColor"),
    Prop<F, &F::FillColor, &F::SetFillColor>(L"FillColor"),
    Prop<F, &F::TextBoxColor, &F::SetTextBoxColor>(L"TextBoxColor"),
    Prop<F, &F::TxtBoxShadow, &F::SetTxtBoxShadow>(L"TxtBoxShadow"),
    Prop<F, &F::Style, &F::SetStyle>(L"Style"),
    Prop<F, &F::RoundedCorner, &F::SetRoundedCorner>(L"RoundedCorner"),
    Prop<F, static_cast<bool (F::*)() const>(&F::Enabled), static_cast<void (F::*)(bool)>(&F::SetEnabled)>(L"Enabled"),
    Prop<F, &F::RoundedCornerTxtBox, &F::SetRoundedCornerTxtBox>(L"RoundedCornerTxtBox"),
    Prop<F, &F::Caption, &F::SetCaption>(L"Caption"),
    Prop<F, &F::TextBoxHeight, &F::SetTextBoxHeight>(L"TextBoxHeight"),
    Prop<F, &F::TextColor, &F::SetTextColor>(L"TextColor"),
    Prop<F, &F::Alignment, &F::SetAlignment>(L"Alignment"),
    Prop<F, &F::IconAlignment, &F::SetIconAlignment>(L"IconAlignment"),
    Prop<F, &F::Font, static_cast<void (F::*)(const FontRef&)>(&F::SetFont)>(L"Font"),
    Prop<F, &F::Picture, static_cast<void (F::*)(const PictureRef&)>(&F::SetPicture)>(L"Picture"),
    Prop<F, &F::IconSize, &F::SetIconSize>(L"IconSize"),
    Prop<F, &F::ThemeColor, &F::SetThemeColor>(L"ThemeColor"),
    Prop<F, &F::ColorFrom, &F::SetColorFrom>(L"ColorFrom"),
    Prop<F, &F::ColorTo, &F::SetColorTo>(L"ColorTo"),
    Prop<F, &F::HeaderStyle, &F::SetHeaderStyle>(L"HeaderStyle"),
    Prop<F, &F::GradientHeaderStyle, &F::SetGradientHeaderStyle>(L"GradientHeaderStyle"),
};

const PropertyRow kBevel[] = {
    WriteOnly<Bevel, &Bevel::SetBevelSytle>(L"BevelSytle"),
};

using T = KvText;
const PropertyRow kText[] = {
    Prop<T, &T::Alignment, &T::SetAlignment>(L"Alignment"),
    Prop<T, static_cast<OleColor (T::*)() const>(&T::BackColor), static_cast<void (T::*)(OleColor)>(&T::SetBackColor)>(L"BackColor"),
    Prop<T, &T::BorderColor, &T::SetBorderColor>(L"BorderColor"),
    Prop<T, &T::Caption, &T::SetCaption>(L"Caption"),
    Prop<T, static_cast<bool (T::*)() const>(&T::Enabled), static_cast<void (T::*)(bool)>(&T::SetEnabled)>(L"Enabled"),
    Prop<T, &T::ForeColor, &T::SetForeColor>(L"ForeColor"),
    Prop<T, &T::FontColor, &T::SetFontColor>(L"FontColor"),
    Prop<T, &T::Locked, &T::SetLocked>(L"Locked"),
    Prop<T, &T::MaxLength, &T::SetMaxLength>(L"MaxLength"),
    Prop<T, &T::PasswordChar, &T::SetPasswordChar>(L"PasswordChar"),
    Prop<T, &T::Text, &T::SetText>(L"Text"),
    Prop<T, &T::Font, &T::SetFont>(L"Font"),
    Prop<T, &T::FontCaption, &T::SetFontCaption>(L"FontCaption"),
};

using X = KvTextBox;
const PropertyRow kTextBox[] = {
    Prop<X, static_cast<OleColor (X::*)() const>(&X::BackColor), static_cast<void (X::*)(OleColor)>(&X::SetBackColor)>(L"BackColor"),
    Prop<X, &X::ForeColor, &X::SetForeColor>(L"ForeColor"),
    Prop<X, static_cast<bool (X::*)() const>(&X::Enabled), static_cast<void (X::*)(bool)>(&X::SetEnabled)>(L"Enabled"),
    Prop<X, &X::Font, &X::SetFont>(L"Font"),
    Prop<X, &X::BackStyle, &X::SetBackStyle>(L"BackStyle"),
    Prop<X, &X::BorderStyle, &X::SetBorderStyle>(L"BorderStyle"),
    Prop<X, &X::Alignment, &X::SetAlignment>(L"Alignment"),
    Prop<X, &X::BorderColor, &X::SetBorderColor>(L"BorderColor"),
    Prop<X, &X::Locked, &X::SetLocked>(L"Locked"),
    Prop<X, &X::MaxLength, &X::SetMaxLength>(L"MaxLength"),
    Prop<X, &X::PasswordChar, &X::SetPasswordChar>(L"PasswordChar"),
    Prop<X, &X::SelLength, &X::SetSelLength>(L"SelLength"),
    Prop<X, &X::SelStart, &X::SetSelStart>(L"SelStart"),
    Prop<X, &X::SelText, &X::SetSelText>(L"SelText"),
    Prop<X, &X::Text, &X::SetText>(L"Text"),
    Prop<X, &X::Capitalizar, &X::SetCapitalizar>(L"Capitalizar"),
    Prop<X, &X::ColorOnFoco, &X::SetColorOnFoco>(L"ColorOnFoco"),
    Prop<X, &X::ColorOffFoco, &X::SetColorOffFoco>(L"ColorOffFoco"),
    Prop<X, &X::ValidarCampo, &X::SetValidarCampo>(L"ValidarCampo"),
    Prop<X, &X::ValidarMSG, &X::SetValidarMSG>(L"ValidarMSG"),
};

using K = KvFundo;
const PropertyRow kFundo[] = {
    Prop<K, &K::Caption, &K::SetCaption>(L"Caption"),
    Prop<K, &K::CaptionTitulo, &K::SetCaptionTitulo>(L"CaptionTitulo"),
    Prop<K, &K::URL, &K::SetURL>(L"URL"),
    Prop<K, &K::ClickResponse, &K::SetClickResponse>(L"ClickResponse"),
    Prop<K, static_cast<OleColor (K::*)() const>(&K::BackColor), static_cast<void (K::*)(OleColor)>(&K::SetBackColor)>(L"BackColor"),
    Prop<K, &K::ColorNormal, &K::SetColorNormal>(L"ColorNormal"),
    Prop<K, &K::ColorHot, &K::SetColorHot>(L"ColorHot"),
    Prop<K, &K::ColorDown, &K::SetColorDown>(L"ColorDown"),
    Prop<K, &K::Font, &K::SetFont>(L"Font"),
    Prop<K, &K::HoverUnderline, &K::SetHoverUnderline>(L"HoverUnderline"),
    Prop<K, &K::Stretch, &K::SetStretch>(L"Stretch"),
    Prop<K, &K::Picture, &K::SetPicture>(L"Picture"),
};

// Every control's window handle, read-only.
void GetWindow(UserControl& control, VARIANT* out) {
  out->vt = VT_I4;
  out->lVal = static_cast<LONG>(reinterpret_cast<LONG_PTR>(control.hWnd()));
}
const PropertyRow kWindow{L"hWnd", &GetWindow, nullptr};

struct TypeProperties {
  std::wstring_view type;
  std::span<const PropertyRow> rows;
};
const TypeProperties kTypes[] = {
    {L"ButtonStyle", kButton}, {L"tzFrames", kFrame}, {L"Bevel", kBevel}, {L"KvLinha", {}},
    {L"KvText", kText},        {L"KvTextBox", kTextBox}, {L"KvFundo", kFundo},
};

template <class C>
std::vector<StoredKey> KeysOf(std::span<const StoredProperty<C>> table) {
  std::vector<StoredKey> keys;
  for (const auto& row : table) keys.push_back({row.key, row.type});
  return keys;
}

struct TypeKeys {
  std::wstring_view type;
  std::vector<StoredKey> keys;
};
const std::vector<TypeKeys>& AllKeys() {
  static const std::vector<TypeKeys> keys{
      {L"ButtonStyle", KeysOf<ButtonStyle>(ButtonStyle::StoredProperties())},
      {L"tzFrames", KeysOf<TzFrames>(TzFrames::StoredProperties())},
      {L"KvText", KeysOf<KvText>(KvText::StoredProperties())},
      {L"KvTextBox", KeysOf<KvTextBox>(KvTextBox::StoredProperties())},
      {L"KvFundo", KeysOf<KvFundo>(KvFundo::StoredProperties())},
  };
  return keys;
}

}  // namespace

std::span<const PropertyRow> PropertiesOf(std::wstring_view typeName) {
  for (const TypeProperties& t : kTypes)
    if (SameKey(t.type, typeName)) return t.rows;
  return {};
}

const PropertyRow* FindProperty(std::wstring_view typeName, std::wstring_view name) {
  for (const PropertyRow& row : PropertiesOf(typeName))
    if (SameKey(row.name, name)) return &row;
  return SameKey(name, kWindow.name) ? &kWindow : nullptr;
}

std::span<const StoredKey> StoredKeysOf(std::wstring_view typeName) {
  for (const TypeKeys& t : AllKeys())
    if (SameKey(t.type, typeName)) return t.keys;
  return {};
}

}  // namespace tessel::ole
