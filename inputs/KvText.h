#pragma once
// A single-line entry field with its caption on the same line: a right-aligned label at the left,
// then a rounded box holding a borderless field that fills the rest of the width. The height stays
// between 330 and 550 twips; without a caption the box takes the whole width.
#include <cstdint>
#include <string>

#include "host/Events.h"
#include "host/constituents/Label.h"
#include "host/constituents/Shape.h"
#include "host/constituents/TextBox.h"
#include "server/contract/PropertyTable.h"
#include "server/contract/UserControl.h"

namespace tessel {

class KvText final : public UserControl {
 public:
  static constexpr int kMinHeight = 330;  // twips
  static constexpr int kMaxHeight = 550;
  static constexpr int kCaptionGap = 100; // from the caption's left edge plus its width to the box

  explicit KvText(ControlSite& site);
  std::wstring_view TypeName() const override { return L"KvText"; }
  void Describe(AccessibleDescription& d) const override;

  // The stored properties, in the order they are read and written.
  static PropertyTable<KvText> StoredProperties();

  void InitProperties() override;
  void ReadProperties(PropertyBag& bag) override;
  void WriteProperties(PropertyBag& bag) override;
  void Resize() override;

  // Every property lives in a constituent; each write ends with PropertyChanged of its name.
  int16_t Alignment() const { return static_cast<int16_t>(txtCampo_.Alignment()); }
  void SetAlignment(int16_t alignment);      // 0 left, 1 right, 2 centre; others refused
  OleColor BackColor() const { return txtCampo_.BackColor(); }
  void SetBackColor(OleColor color);         // the field and the inside of the box alike
  OleColor BorderColor() const { return fundo_.BorderColor(); }
  void SetBorderColor(OleColor color);
  const std::wstring& Caption() const { return lblCaption_.Caption(); }
  void SetCaption(const std::wstring& caption);  // lays out again
  bool Enabled() const { return UserControl::Enabled(); }
  void SetEnabled(bool enabled);
  OleColor ForeColor() const { return txtCampo_.ForeColor(); }
  void SetForeColor(OleColor color);
  OleColor FontColor() const { return lblCaption_.ForeColor(); }
  void SetFontColor(OleColor color);
  bool Locked() const { return txtCampo_.Locked(); }
  void SetLocked(bool locked);
  int32_t MaxLength() const { return txtCampo_.MaxLength(); }
  void SetMaxLength(int32_t length);
  std::wstring PasswordChar() const { return txtCampo_.PasswordChar(); }
  void SetPasswordChar(const std::wstring& ch);
  std::wstring Text() const { return txtCampo_.Text(); }
  void SetText(const std::wstring& text);
  // Fonts by reference. A new caption font changes the caption's width at the next layout.
  FontRef Font() const { return txtCampo_.Font(); }
  void SetFont(FontRef font);
  FontRef FontCaption() const { return lblCaption_.Font(); }
  void SetFontCaption(FontRef font);

  // Raised with the field's own arguments.
  struct Events {
    NotifyEvent Change;
    KeyEvent KeyDown;
    KeyPressEvent KeyPress;  // the field receives whatever the handler leaves in KeyAscii
  } events;

  const Label& LblCaption() const { return lblCaption_; }
  const Shape& Fundo() const { return fundo_; }
  const TextBox& TxtCampo() const { return txtCampo_; }
  TextBox& TxtCampo() { return txtCampo_; }

 private:
  void PaintBoxLikeField();

  Label lblCaption_;
  Shape fundo_;
  TextBox txtCampo_;
};

}  // namespace tessel
