// The frame's stored properties: key, type, defaults and how each value reaches the frame. Read
// values are kept as stored (a stored system colour stays untranslated); the font read is copied
// into the frame's own font object.
#include <array>

#include "frames/TzFrames.h"

namespace tessel {

struct FrameStore {
  using Row = StoredProperty<TzFrames>;
  static frames::FrameProperties& P(TzFrames& f) { return f.p_; }
  static const frames::FrameProperties& P(const TzFrames& f) { return f.p_; }
  static BagValue AmbientBack(const TzFrames& f) { return static_cast<int32_t>(f.Ambient().backColor); }
  static BagValue AmbientName(const TzFrames& f) { return f.Ambient().displayName; }
  static BagValue AmbientFont(const TzFrames& f) { return f.Ambient().font; }
  static void ApplyFont(TzFrames& f, const FontRef& font) { f.ApplyFont(font); }
};

namespace {

using S = FrameStore;
using P = frames::FrameProperties;
using D = PropertyDefault<TzFrames>;

template <int32_t P::*Member>
FrameStore::Row Int32Row(const wchar_t* key, BagValue def) {
  return {key, BagType::Int32, D(def), D(def),
          [](const TzFrames& f) -> BagValue { return S::P(f).*Member; },
          [](TzFrames& f, const BagValue& v) { S::P(f).*Member = std::get<int32_t>(v); }};
}

template <int32_t P::*Member>
FrameStore::Row AmbientColorRow(const wchar_t* key) {
  return {key, BagType::Int32, D(&S::AmbientBack), D(&S::AmbientBack),
          [](const TzFrames& f) -> BagValue { return S::P(f).*Member; },
          [](TzFrames& f, const BagValue& v) { S::P(f).*Member = std::get<int32_t>(v); }};
}

template <bool P::*Member>
FrameStore::Row BoolRow(const wchar_t* key, bool def) {
  return {key, BagType::Bool, D(BagValue(def)), D(BagValue(def)),
          [](const TzFrames& f) -> BagValue { return S::P(f).*Member; },
          [](TzFrames& f, const BagValue& v) { S::P(f).*Member = std::get<bool>(v); }};
}

const std::array<FrameStore::Row, 22>& Table() {
  static const std::array<FrameStore::Row, 22> rows{{
      Int32Row<&P::frameColor>(L"FrameColor", 0),
      AmbientColorRow<&P::backColor>(L"BackColor"),
      AmbientColorRow<&P::fillColor>(L"FillColor"),
      Int32Row<&P::textBoxColor>(L"TextBoxColor", frames::kWhite),
      Int32Row<&P::txtBoxShadow>(L"TxtBoxShadow", frames::shNone),
      Int32Row<&P::style>(L"Style", frames::fsHeader),
      BoolRow<&P::roundedCorner>(L"RoundedCorner", true),
      BoolRow<&P::enabled>(L"Enabled", true),
      BoolRow<&P::roundedCornerTxtBox>(L"RoundedCornerTxtBox", false),
      {L"Caption", BagType::String, D(&S::AmbientName), D(&S::AmbientName),
       [](const TzFrames& f) -> BagValue { return S::P(f).caption; },
       [](TzFrames& f, const BagValue& v) { S::P(f).caption = std::get<std::wstring>(v); }},
      // Read as a 32-bit value; written against a 16-bit default.
      {L"TextBoxHeight", BagType::Int32, D(frames::kTextBoxHeightDefault),
       D(static_cast<int16_t>(frames::kTextBoxHeightDefault)),
       [](const TzFrames& f) -> BagValue { return S::P(f).textBoxHeight; },
       [](TzFrames& f, const BagValue& v) { S::P(f).textBoxHeight = std::get<int32_t>(v); }},
      Int32Row<&P::textColor>(L"TextColor", 0),
      Int32Row<&P::alignment>(L"Alignment", frames::alignCenter),
      Int32Row<&P::iconAlignment>(L"IconAlignment", frames::iconLeft),
      {L"Font", BagType::Font, D(&S::AmbientFont), D(&S::AmbientFont),
       [](const TzFrames& f) -> BagValue { return S::P(f).font; },
       [](TzFrames& f, const BagValue& v) { S::ApplyFont(f, std::get<FontRef>(v)); }},
      {L"Picture", BagType::Picture, D(BagValue(PictureRef())), D(BagValue(PictureRef())),
       [](const TzFrames& f) -> BagValue { return S::P(f).picture; },
       [](TzFrames& f, const BagValue& v) { S::P(f).picture = std::get<PictureRef>(v); }},
      {L"IconSize", BagType::Int16, D(frames::kIconSizeDefault), D(frames::kIconSizeDefault),
       [](const TzFrames& f) -> BagValue { return S::P(f).iconSize; },
       [](TzFrames& f, const BagValue& v) { S::P(f).iconSize = std::get<int16_t>(v); }},
      Int32Row<&P::themeColor>(L"ThemeColor", frames::themeBlue),
      Int32Row<&P::colorFrom>(L"ColorFrom", frames::kColorFromDefault),
      Int32Row<&P::colorTo>(L"ColorTo", frames::kColorToDefault),
      Int32Row<&P::headerStyle>(L"HeaderStyle", frames::hsSolid),
      Int32Row<&P::gradientHeaderStyle>(L"GradientHeaderStyle", frames::gsVertical),
  }};
  return rows;
}

}  // namespace

std::span<const StoredProperty<TzFrames>> TzFrames::StoredProperties() { return Table(); }

}  // namespace tessel
