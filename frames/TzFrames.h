#pragma once
// tzFrames: a group frame that holds other controls. It draws its outline, header, caption and
// icon in one of nine styles into a persistent image of its window, redrawn after each property
// write, after its properties are read and when it is resized (never per paint message).
// Controls placed with the frame as their container are child windows of its window.
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "frames/FrameModel.h"
#include "frames/FrameRegion.h"
#include "server/contract/Gdi.h"
#include "server/contract/PropertyTable.h"
#include "server/contract/UserControl.h"

namespace tessel {

class TzFrames final : public UserControl {
 public:
  explicit TzFrames(ControlSite& site);
  std::wstring_view TypeName() const override { return L"tzFrames"; }
  void Describe(AccessibleDescription& d) const override;

  // Handlers
  void Initialize() override;
  void InitProperties() override;
  void ReadProperties(PropertyBag& bag) override;
  void WriteProperties(PropertyBag& bag) override;
  void Resize() override;
  void SystemLookChanged() override;
  void MouseMove(int16_t button, int16_t shift, float x, float y) override;
  bool IsContainer() const override { return true; }

  // Properties (colours are OLE colours on write and RGB values once stored)
  int32_t FrameColor() const { return p_.frameColor; }
  void SetFrameColor(OleColor value);
  int32_t BackColor() const { return p_.backColor; }
  void SetBackColor(OleColor value);
  int32_t FillColor() const { return p_.fillColor; }
  void SetFillColor(OleColor value);
  int32_t TextBoxColor() const { return p_.textBoxColor; }
  void SetTextBoxColor(OleColor value);
  int32_t TxtBoxShadow() const { return p_.txtBoxShadow; }
  void SetTxtBoxShadow(int32_t value);
  int32_t Style() const { return p_.style; }
  void SetStyle(int32_t value);
  bool RoundedCorner() const { return p_.roundedCorner; }
  void SetRoundedCorner(bool value);
  bool Enabled() const { return p_.enabled; }
  // The frame's look and its contained controls' Enabled; the frame's own window stays enabled
  // (it still raises MouseMove), and so does that of a frame inside it.
  void SetEnabled(bool value) override;
  bool RoundedCornerTxtBox() const { return p_.roundedCornerTxtBox; }
  void SetRoundedCornerTxtBox(bool value);
  const std::wstring& Caption() const { return p_.caption; }
  void SetCaption(const std::wstring& value);
  int32_t TextBoxHeight() const { return p_.textBoxHeight; }
  void SetTextBoxHeight(int32_t value);
  int32_t TextColor() const { return p_.textColor; }
  void SetTextColor(OleColor value);
  int32_t Alignment() const { return p_.alignment; }
  void SetAlignment(int32_t value);
  int32_t IconAlignment() const { return p_.iconAlignment; }
  void SetIconAlignment(int32_t value);
  const FontRef& Font() const { return p_.font; }
  void SetFont(const FontRef& value);  // by value and by reference alike
  const PictureRef& Picture() const { return p_.picture; }
  void SetPicture(const PictureRef& value);
  int16_t IconSize() const { return p_.iconSize; }
  void SetIconSize(int16_t value);
  int32_t ThemeColor() const { return p_.themeColor; }
  void SetThemeColor(int32_t value);
  int32_t ColorFrom() const { return p_.colorFrom; }
  void SetColorFrom(OleColor value);
  int32_t ColorTo() const { return p_.colorTo; }
  void SetColorTo(OleColor value);
  int32_t HeaderStyle() const { return p_.headerStyle; }
  void SetHeaderStyle(int32_t value);
  int32_t GradientHeaderStyle() const { return p_.gradientHeaderStyle; }
  void SetGradientHeaderStyle(int32_t value);

  // Draws the frame into the window's persistent image and shows it.
  void Redraw();

  // State a drawing is made from, for the host's tools and the tests.
  const frames::FrameProperties& Properties() const { return p_; }
  const frames::ThemeColors& Theme() const { return theme_; }
  const frames::Palette& DisabledColors() const { return disabled_; }
  const frames::Palette& CurrentColors() const { return current_; }
  const frames::TextMetrics& Text() const { return text_; }
  UINT TextFlags() const { return textFlags_; }

  // The 22 stored properties, in reading and writing order.
  static std::span<const StoredProperty<TzFrames>> StoredProperties();

  struct Events {
    // X and Y in pixels of the frame.
    std::function<void(int16_t& button, int16_t& shift, float& x, float& y)> MouseMove;
  } events;

 private:
  friend struct FrameStore;
  void ApplyFont(const FontRef& font);
  void ApplyTheme();
  void ComputeTextFlags();
  void ComputeDisabledPalette();
  void PropagateEnabled(bool value);
  int32_t AmbientBack() const;
  void Changed(std::wstring_view key);  // PropertyChanged, then Redraw

  frames::FrameProperties p_;
  frames::ThemeColors theme_;
  frames::Palette disabled_;  // all 0 until the properties are read
  int32_t ambientBackSeen_ = -1;  // the form's back colour (RGB) when the colours were last resolved
  frames::Palette current_;
  frames::TextMetrics text_;
  UINT textFlags_ = 0;
  frames::WindowRegion region_;  // what the window was given, asked of no one
  // Of an icon file with several images, the one the system chooses for the icon's side, and the
  // picture and side it was chosen for.
  unique_hicon iconImage_;
  std::weak_ptr<tessel::Picture> iconImageOf_;
  int iconImageSide_ = 0;
  // The container sizes a control right after its first handlers: a drawing before that (of the
  // properties just read) would be drawn again at once, before anyone could see it.
  bool sized_ = false;
};

}  // namespace tessel
