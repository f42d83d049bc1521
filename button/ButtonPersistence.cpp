// The button's stored properties: first-time defaults, reading the bag straight into the model
// with drawing held (each key with its type and read default from the table), and writing the
// 23 keys in the table's order.
#include <array>
#include <string_view>

#include "button/ButtonStyle.h"
#include "server/contract/OleColor.h"

namespace tessel {
namespace {

using Row = StoredProperty<ButtonStyle>;

int32_t AsInt(const BagValue& v) {
  if (const auto* i = std::get_if<int32_t>(&v)) return *i;
  if (const auto* s = std::get_if<int16_t>(&v)) return *s;
  return 0;
}
BagValue Color(OleColor c) { return BagValue(static_cast<int32_t>(c)); }
OleColor AsColor(const BagValue& v) { return static_cast<OleColor>(AsInt(v)); }

}  // namespace

struct ButtonStoredProperties {
  static BagValue ParentBackColor(const ButtonStyle& b) {
    try {
      return Color(const_cast<ButtonStyle&>(b).Site().ParentBackColor());
    } catch (const std::exception&) {
      return Color(b.Ambient().backColor);  // no parent yet: the container's ambient colour
    }
  }

  static BagValue CurrentBackColor(const ButtonStyle& b) { return Color(b.s_.backColor); }
  static BagValue HeldFont(const ButtonStyle& b) { return BagValue(b.font_); }

  static PropertyTable<ButtonStyle> Table() {
    static const std::array<Row, 23> rows{{
        {L"Caption", BagType::String, BagValue(std::wstring()), BagValue(std::wstring()),
         [](const ButtonStyle& b) { return BagValue(b.s_.caption); },
         [](ButtonStyle& b, const BagValue& v) { b.s_.caption = std::get<std::wstring>(v); }},
        {L"CapAlign", BagType::Int32, BagValue(int32_t{2}), BagValue(int32_t{2}),
         [](const ButtonStyle& b) { return BagValue(b.s_.captionAlign); },
         [](ButtonStyle& b, const BagValue& v) { b.s_.captionAlign = AsInt(v); }},
        {L"BackStyle", BagType::Int32, BagValue(int32_t{0}), BagValue(int32_t{0}),
         [](const ButtonStyle& b) { return BagValue(b.s_.buttonStyle); },
         [](ButtonStyle& b, const BagValue& v) { b.s_.buttonStyle = AsInt(v); }},
        {L"Shape", BagType::Int32, BagValue(int32_t{0}), BagValue(int32_t{0}),
         [](const ButtonStyle& b) { return BagValue(b.s_.buttonShape); },
         [](ButtonStyle& b, const BagValue& v) { b.s_.buttonShape = AsInt(v); }},
        // Always written; a bag without it leaves the button the font it holds.
        {L"Font", BagType::Font, &HeldFont, std::nullopt, &HeldFont,
         [](ButtonStyle& b, const BagValue& v) {
           if (const FontRef& f = std::get<FontRef>(v)) b.font_ = f;
         }},
        {L"cFore", BagType::Int32, Color(kSysButtonText), Color(kSysButtonText),
         [](const ButtonStyle& b) { return Color(b.foreColor_); },
         [](ButtonStyle& b, const BagValue& v) { b.foreColor_ = AsColor(v); }},
        {L"cFHover", BagType::Int32, Color(kSysButtonText), Color(kSysButtonText),
         [](const ButtonStyle& b) { return Color(b.s_.hoverForeColor); },
         [](ButtonStyle& b, const BagValue& v) { b.s_.hoverForeColor = AsColor(v); }},
        // Written "cBhover" and read "cBHover": keys compare without regard to case.
        {L"cBhover", BagType::Int32, &CurrentBackColor, PropertyDefault<ButtonStyle>(&CurrentBackColor),
         [](const ButtonStyle& b) { return Color(b.s_.hoverBackColor); },
         [](ButtonStyle& b, const BagValue& v) { b.s_.hoverBackColor = AsColor(v); }},
        {L"Focus", BagType::Bool, BagValue(true), BagValue(true),
         [](const ButtonStyle& b) { return BagValue(b.s_.showFocusRect); },
         [](ButtonStyle& b, const BagValue& v) { b.s_.showFocusRect = std::get<bool>(v); }},
        {L"LockHover", BagType::Int32, BagValue(int32_t{0}), BagValue(int32_t{0}),
         [](const ButtonStyle& b) { return BagValue(b.s_.hoverColorLocks); },
         [](ButtonStyle& b, const BagValue& v) { b.s_.hoverColorLocks = AsInt(v); }},
        {L"cGradient", BagType::Int32, Color(kSysButtonFace), Color(kSysButtonFace),
         [](const ButtonStyle& b) { return Color(b.s_.gradientColor); },
         [](ButtonStyle& b, const BagValue& v) { b.s_.gradientColor = AsColor(v); }},
        {L"Gradient", BagType::Int32, BagValue(int32_t{0}), BagValue(int32_t{0}),
         [](const ButtonStyle& b) { return BagValue(b.s_.gradientMode); },
         [](ButtonStyle& b, const BagValue& v) { b.s_.gradientMode = AsInt(v); }},
        {L"CapStyle", BagType::Int32, BagValue(int32_t{0}), BagValue(int32_t{0}),
         [](const ButtonStyle& b) { return BagValue(b.s_.captionStyle); },
         [](ButtonStyle& b, const BagValue& v) { b.s_.captionStyle = AsInt(v); }},
        {L"Mode", BagType::Int32, BagValue(int32_t{0}), std::nullopt,
         [](const ButtonStyle& b) { return BagValue(b.s_.mode); },
         [](ButtonStyle& b, const BagValue& v) { b.s_.mode = AsInt(v); }},
        {L"Value", BagType::Bool, BagValue(false), std::nullopt,
         [](const ButtonStyle& b) { return BagValue(b.s_.value); },
         [](ButtonStyle& b, const BagValue& v) { b.s_.value = std::get<bool>(v); }},
        {L"CustomClick", BagType::Int32, BagValue(int32_t{0}), BagValue(int32_t{0}),
         [](const ButtonStyle& b) { return BagValue(b.s_.customClick); },
         [](ButtonStyle& b, const BagValue& v) { b.s_.customClick = AsInt(v); }},
        {L"ImgAlign", BagType::Int32, BagValue(int32_t{0}), BagValue(int32_t{0}),
         [](const ButtonStyle& b) { return BagValue(b.s_.pictureAlign); },
         [](ButtonStyle& b, const BagValue& v) { b.s_.pictureAlign = AsInt(v); }},
        {L"Image", BagType::Picture, BagValue(PictureRef()), BagValue(PictureRef()),
         [](const ButtonStyle& b) { return BagValue(b.s_.picture); },
         [](ButtonStyle& b, const BagValue& v) { b.s_.picture = std::get<PictureRef>(v); }},
        {L"ImgSize", BagType::Int16, BagValue(int16_t{16}), BagValue(int16_t{16}),
         [](const ButtonStyle& b) { return BagValue(b.s_.pictureSize); },
         [](ButtonStyle& b, const BagValue& v) { b.s_.pictureSize = static_cast<int16_t>(AsInt(v)); }},
        {L"Enabled", BagType::Bool, BagValue(true), BagValue(true),
         [](const ButtonStyle& b) { return BagValue(b.UserControl::Enabled()); },
         [](ButtonStyle& b, const BagValue& v) { b.UserControl::SetEnabled(std::get<bool>(v)); }},
        {L"cBack", BagType::Int32, PropertyDefault<ButtonStyle>(&ParentBackColor), std::nullopt,
         [](const ButtonStyle& b) { return Color(b.s_.backColor); },
         [](ButtonStyle& b, const BagValue& v) { b.s_.backColor = AsColor(v); }},
        {L"mPointer", BagType::Int16, BagValue(int16_t{0}), BagValue(int16_t{0}),
         [](const ButtonStyle& b) { return BagValue(b.UserControl::MousePointer()); },
         [](ButtonStyle& b, const BagValue& v) { b.SetMousePointer(AsInt(v)); }},
        {L"mIcon", BagType::Picture, BagValue(PictureRef()), BagValue(PictureRef()),
         [](const ButtonStyle& b) { return BagValue(b.UserControl::MouseIcon()); },
         [](ButtonStyle& b, const BagValue& v) { b.SetMouseIcon(std::get<PictureRef>(v)); }},
    }};
    return rows;
  }

  // Reading goes in its own order: the hover back colour's default is the back colour just read,
  // and the mouse icon comes before the pointer that it sets to 99.
  static constexpr std::array<std::wstring_view, 23> kReadOrder{
      L"Caption", L"CapAlign", L"BackStyle", L"Shape", L"Gradient", L"cGradient", L"cFore", L"Font",
      L"Focus", L"Mode", L"Value", L"CustomClick", L"Image", L"ImgSize", L"ImgAlign", L"cFHover",
      L"Enabled", L"cBack", L"cBHover", L"LockHover", L"CapStyle", L"mIcon", L"mPointer"};

  static void Read(ButtonStyle& b, const PropertyBag& bag) {
    const PropertyTable<ButtonStyle> table = Table();
    for (std::wstring_view key : kReadOrder) {
      for (const Row& row : table) {
        if (!SameKey(row.key, key)) continue;
        row.set(b, ReadTyped(bag, key, row.type, row.readDefault.Of(b)));
        break;
      }
    }
  }
};

PropertyTable<ButtonStyle> ButtonStyle::StoredProperties() { return ButtonStoredProperties::Table(); }

void ButtonStyle::InitProperties() {
  s_.containerWindow = Site().ParentWindow();
  s_.caption = Ambient().displayName;
  s_.captionAlign = capAlignCenter;
  s_.showFocusRect = true;
  s_.hoverForeColor = kSysButtonText;
  s_.hoverBackColor = kSysButtonFace;
  // A button takes the font of a form it is placed on, but none from a frame, which has no
  // scale of its own; the copy keeps its font style apart from the form's.
  if (Site().ParentHasScaleMode() && Ambient().font) font_ = Ambient().font->Clone();
  s_.ambientBackColor = TranslateColor(Ambient().backColor);
  s_.backColor = kSysButtonFace;
  RefreshColors();
  for (const wchar_t* key : {L"Caption", L"CapAlign", L"Focus", L"cFHover", L"cBHover", L"Font"})
    PropertyChanged(key);
}

void ButtonStyle::ReadProperties(PropertyBag& bag) {
  s_.containerWindow = Site().ParentWindow();
  s_.ambientBackColor = TranslateColor(Ambient().backColor);
  SetDelayDrawing(true);
  ButtonStoredProperties::Read(*this, bag);
  // From here on a failing step is skipped: the stored values are in.
  Step(L"picture", [&] { RefreshPicture(); });
  Step(L"colours", [&] { RefreshColors(); });
  Step(L"caption", [&] { SetCaption(s_.caption); });
  if (s_.mode == modeOption) Step(L"option group", [&] { OptionGroup(1); });
  s_.delayDrawing = false;
  HandleResize();
}

void ButtonStyle::WriteProperties(PropertyBag& bag) {
  WriteStoredProperties(*this, bag, StoredProperties());
}

}  // namespace tessel
