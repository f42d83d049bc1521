#pragma once
// A single-line entry field inside a rounded outline. The outline takes ColorOnFoco while the field
// has the focus and ColorOffFoco after it leaves; typed letters are forced to one case; Enter moves
// the focus to the next control instead of reaching the field.
#include <cstdint>
#include <string>

#include "host/Events.h"
#include "host/constituents/Shape.h"
#include "host/constituents/TextBox.h"
#include "server/contract/PropertyTable.h"
#include "server/contract/UserControl.h"

namespace tessel {

class KvTextBox final : public UserControl {
 public:
  static constexpr int kInset = 30;           // twips between the outline and the field
  static constexpr int kMinHeight = 375;      // twips

  explicit KvTextBox(ControlSite& site);
  std::wstring_view TypeName() const override { return L"KvTextBox"; }
  void Describe(AccessibleDescription& d) const override;

  // The stored properties, in the order they are read and written.
  static PropertyTable<KvTextBox> StoredProperties();

  void InitProperties() override;
  void ReadProperties(PropertyBag& bag) override;
  void WriteProperties(PropertyBag& bag) override;
  void Resize() override;

  // Pass-through properties: each write ends with PropertyChanged of the property's name. A value
  // the constituent refuses throws InvalidPropertyValue and changes nothing.
  OleColor BackColor() const { return texto_.BackColor(); }
  void SetBackColor(OleColor color);
  OleColor ForeColor() const { return texto_.ForeColor(); }
  void SetForeColor(OleColor color);
  bool Enabled() const { return UserControl::Enabled(); }
  void SetEnabled(bool enabled);
  FontRef Font() const { return texto_.Font(); }
  void SetFont(FontRef font);                 // by reference
  OleColor BackStyle() const { return fundo_.BackColor(); }  // the fill of the outline, a colour
  void SetBackStyle(OleColor color);
  int16_t BorderStyle() const { return static_cast<int16_t>(fundo_.BorderStyle()); }
  void SetBorderStyle(int32_t style);         // narrowed to 16 bits; the outline's line style 0..6
  int16_t Alignment() const { return static_cast<int16_t>(texto_.Alignment()); }
  void SetAlignment(int32_t alignment);       // narrowed to 16 bits; 0 left, 1 right, 2 centre
  OleColor BorderColor() const { return fundo_.BorderColor(); }
  void SetBorderColor(OleColor color);        // lasts until the focus next moves
  bool Locked() const { return texto_.Locked(); }
  void SetLocked(bool locked);
  int32_t MaxLength() const { return texto_.MaxLength(); }
  void SetMaxLength(int32_t length);
  std::wstring PasswordChar() const { return texto_.PasswordChar(); }
  void SetPasswordChar(const std::wstring& ch);
  int32_t SelLength() const { return texto_.SelLength(); }
  void SetSelLength(int32_t length);
  int32_t SelStart() const { return texto_.SelStart(); }
  void SetSelStart(int32_t start);
  std::wstring SelText() const { return texto_.SelText(); }
  void SetSelText(const std::wstring& text);
  std::wstring Text() const { return texto_.Text(); }
  void SetText(const std::wstring& text);

  // Properties kept by the control itself.
  bool Capitalizar() const { return capitalizar_; }
  void SetCapitalizar(bool upper);
  OleColor ColorOnFoco() const { return colorOnFoco_; }
  void SetColorOnFoco(OleColor color);
  OleColor ColorOffFoco() const { return colorOffFoco_; }
  void SetColorOffFoco(OleColor color);
  bool ValidarCampo() const { return validarCampo_; }
  void SetValidarCampo(bool required);
  const std::wstring& ValidarMSG() const { return validarMsg_; }
  void SetValidarMSG(const std::wstring& message);

  // Repaints the field.
  void Refresh();

  // Raised with the field's own arguments: a handler that changes one changes what the field gets.
  struct Events {
    KeyEvent KeyDown;
    KeyPressEvent KeyPress;   // after the case is forced; never for Enter
    KeyEvent KeyUp;
    MouseEvent MouseDown;     // X and Y relative to the field
    MouseEvent MouseMove;
    MouseEvent MouseUp;
    NotifyEvent Change;
  } events;

  // The constituents, for containers and tests that look inside.
  const Shape& Fundo() const { return fundo_; }
  const TextBox& Texto() const { return texto_; }
  TextBox& Texto() { return texto_; }

  // The character the field receives for a typed one: KeyAscii in its case-forced form, when the
  // character exists in the system's ANSI code page and has a one-character counterpart there.
  static int16_t ForceCase(int16_t keyAscii, bool upper);

 private:
  void FilterKey(int16_t& keyAscii);

  Shape fundo_;
  TextBox texto_;
  bool capitalizar_ = false;
  OleColor colorOnFoco_ = 0;
  OleColor colorOffFoco_ = 0;
  bool validarCampo_ = false;
  std::wstring validarMsg_;
};

}  // namespace tessel
