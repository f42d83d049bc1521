#include "frames/TzFrames.h"

#include "frames/FramePresets.h"
#include "frames/FrameThemes.h"
#include "server/contract/Surface.h"
#include "server/contract/Twips.h"

namespace tessel {

using namespace frames;

TzFrames::TzFrames(ControlSite& site) : UserControl(site) {}

void TzFrames::Initialize() {
  // The frame's own font object, which Font writes copy into.
  p_.font = Font::Create(FontDesc{});
  OwnSurface().SetFont(p_.font);
  OwnSurface().SetPersistentImage(true);
  p_.iconSize = kIconSizeDefault;
  p_.colorFrom = kColorFromDefault;
  p_.colorTo = kColorToDefault;
  p_.txtBoxShadow = shNone;
  p_.themeColor = themeBlue;
  p_.enabled = true;
  ApplyTheme();
  p_.textBoxHeight = kTextBoxHeightDefault;
  p_.alignment = alignCenter;
  p_.iconAlignment = iconLeft;
}

void TzFrames::InitProperties() {
  p_.caption = Ambient().displayName;
  p_.backColor = p_.fillColor = ambientBackSeen_ = AmbientBack();
  OwnSurface().SetBackColor(static_cast<OleColor>(p_.backColor));  // what controls placed inside see
  p_.roundedCorner = true;
  p_.roundedCornerTxtBox = false;
  p_.style = fsHeader;
  p_.themeColor = themeBlue;
  p_.textColor = TranslateColor(0);
  p_.frameColor = TranslateColor(0);
  p_.textBoxColor = TranslateColor(kWhite);
  p_.txtBoxShadow = shNone;
  p_.textBoxHeight = kTextBoxHeightDefault;
  // A new frame has a gradient header, which the bag's default (solid) does not say: it is saved.
  p_.headerStyle = hsGradient;
  p_.gradientHeaderStyle = gsVertical;
  ComputeTextFlags();
}

void TzFrames::ReadProperties(PropertyBag& bag) {
  ReadStoredProperties(*this, bag, StoredProperties());
  ambientBackSeen_ = AmbientBack();
  OwnSurface().SetBackColor(static_cast<OleColor>(TranslateColor(static_cast<OleColor>(p_.backColor))));
  ComputeTextFlags();
  ApplyTheme();
  ComputeDisabledPalette();
  Redraw();
}

void TzFrames::WriteProperties(PropertyBag& bag) { WriteStoredProperties(*this, bag, StoredProperties()); }

void TzFrames::Resize() {
  if (Width() < kMinWidthTwips) SetWidth(kMinWidthTwips);
  if (Height() < kMinHeightTwips) SetHeight(kMinHeightTwips);
  sized_ = true;
  Redraw();
}

void TzFrames::SystemLookChanged() {
  // A frame whose back and fill are the form's back colour as it was follows it; one given its own
  // colours keeps them. The theme and the disabled colours hold system colours; the image is drawn
  // again with them.
  const int32_t was = ambientBackSeen_, now = AmbientBack();
  if (was != now) {
    if (p_.backColor == was) {
      p_.backColor = now;
      OwnSurface().SetBackColor(static_cast<OleColor>(now));
    }
    if (p_.fillColor == was) p_.fillColor = now;
    ambientBackSeen_ = now;
  }
  ApplyTheme();
  ComputeDisabledPalette();
  Redraw();
}

void TzFrames::MouseMove(int16_t button, int16_t shift, float x, float y) {
  float px = x / static_cast<float>(TwipsPerPixelX());
  float py = y / static_cast<float>(TwipsPerPixelY());
  if (events.MouseMove) events.MouseMove(button, shift, px, py);
}

int32_t TzFrames::AmbientBack() const { return TranslateColor(Ambient().backColor); }

void TzFrames::Changed(std::wstring_view key) {
  PropertyChanged(key);
  Redraw();
}

void TzFrames::ApplyFont(const FontRef& font) {
  if (font && p_.font) {
    const FontDesc d = font->Describe();
    p_.font->SetBold(d.bold());
    p_.font->SetItalic(d.italic);
    p_.font->SetName(d.name);
    p_.font->SetSize(d.size);
  }
  OwnSurface().SetFont(p_.font);
}

void TzFrames::ApplyTheme() { theme_ = ThemeFor(p_.themeColor, p_.colorFrom, p_.colorTo, current_.frame); }

void TzFrames::ComputeTextFlags() { textFlags_ = CaptionTextFlags(p_.style, p_.alignment); }

void TzFrames::ComputeDisabledPalette() { disabled_ = DisabledPalette(AmbientBack()); }

void TzFrames::PropagateEnabled(bool value) {
  for (UserControl* control : Site().ContainedControls()) {
    try {
      // The control's own Enabled write: it redraws and reports itself, and a frame inside passes
      // the value on to its own controls.
      control->SetEnabled(value);
    } catch (const std::exception& e) {
      // A contained control that refuses the value keeps its own and is named to the host's
      // diagnostics; the others still follow.
      ReportSkippedStep(L"PropagateEnabled", e.what());
    }
  }
}

// Property writes

void TzFrames::SetFrameColor(OleColor value) {
  p_.frameColor = TranslateColor(value);
  Changed(L"FrameColor");
}

void TzFrames::SetBackColor(OleColor value) {
  p_.backColor = TranslateColor(value);
  OwnSurface().SetBackColor(static_cast<OleColor>(p_.backColor));
  Changed(L"BackColor");
}

void TzFrames::SetFillColor(OleColor value) {
  p_.fillColor = TranslateColor(value);
  Changed(L"FillColor");
}

void TzFrames::SetTextBoxColor(OleColor value) {
  p_.textBoxColor = TranslateColor(value);
  Changed(L"TextBoxColor");
}

void TzFrames::SetTxtBoxShadow(int32_t value) {
  p_.txtBoxShadow = value;
  Changed(L"TxtBoxShadow");
}

void TzFrames::SetStyle(int32_t value) {
  p_.style = value;
  PropertyChanged(L"Style");
  if (value >= fsWindows && value <= fsPanel) {
    ApplyStylePreset(p_, AmbientBack());
    ComputeTextFlags();
  }
  Redraw();
}

void TzFrames::SetRoundedCorner(bool value) {
  p_.roundedCorner = value;
  Changed(L"RoundedCorner");
}

void TzFrames::SetEnabled(bool value) {
  p_.enabled = value;
  Changed(L"Enabled");
  PropagateEnabled(value);
}

void TzFrames::SetRoundedCornerTxtBox(bool value) {
  p_.roundedCornerTxtBox = value;
  Changed(L"RoundedCornerTxtBox");
}

void TzFrames::SetCaption(const std::wstring& value) {
  // A caption set by the program does not mark the form as changed.
  p_.caption = value;
  Redraw();
  AccessibleChanged();
}

void TzFrames::SetTextBoxHeight(int32_t value) {
  p_.textBoxHeight = value;
  Changed(L"TextBoxHeight");
}

void TzFrames::SetTextColor(OleColor value) {
  p_.textColor = TranslateColor(value);
  Changed(L"TextColor");
}

void TzFrames::SetAlignment(int32_t value) {
  p_.alignment = value;
  ComputeTextFlags();
  Changed(L"Alignment");
}

void TzFrames::SetIconAlignment(int32_t value) {
  p_.iconAlignment = value;
  Changed(L"IconAlignment");
}

void TzFrames::SetFont(const FontRef& value) {
  ApplyFont(value);
  Changed(L"Font");
}

void TzFrames::SetPicture(const PictureRef& value) {
  p_.picture = value;
  Changed(L"Picture");
}

void TzFrames::SetIconSize(int16_t value) {
  p_.iconSize = value;
  Changed(L"IconSize");
}

void TzFrames::SetThemeColor(int32_t value) {
  if (value == p_.themeColor) return;
  p_.themeColor = value;
  ApplyTheme();
  Redraw();
  PropertyChanged(L"ThemeColor");
}

void TzFrames::SetColorFrom(OleColor value) {
  p_.colorFrom = TranslateColor(value);
  if (p_.themeColor == themeCustom) theme_.start = p_.colorFrom;
  Changed(L"ColorFrom");
}

void TzFrames::SetColorTo(OleColor value) {
  p_.colorTo = TranslateColor(value);
  if (p_.themeColor == themeCustom) theme_.end = p_.colorTo;
  Changed(L"ColorTo");
}

void TzFrames::SetHeaderStyle(int32_t value) {
  p_.headerStyle = value;
  Changed(L"HeaderStyle");
}

void TzFrames::SetGradientHeaderStyle(int32_t value) {
  p_.gradientHeaderStyle = value;
  Changed(L"GradientHeaderStyle");
}

}  // namespace tessel
