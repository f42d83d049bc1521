#include "inputs/KvTextBox.h"

#include <limits>
#include <utility>

#include "server/contract/Errors.h"

namespace tessel {
namespace {

constexpr OleColor kSilver = 0xC0C0C0;
constexpr OleColor kRed = 0x0000FF;

// Integer properties stored in 16 bits take a 32-bit value; one that does not fit is refused.
int16_t Int16OrOverflow(int32_t value) {
  if (value < std::numeric_limits<int16_t>::min() || value > std::numeric_limits<int16_t>::max())
    throw OverflowError();
  return static_cast<int16_t>(value);
}

}  // namespace

KvTextBox::KvTextBox(ControlSite& site)
    : UserControl(site),
      fundo_(site.OwnSurface(), L"Fundo"),
      texto_(site.OwnSurface(), L"Texto", TextBoxDesign{0, 0, L"Text1"}) {
  // As designed: a rounded, opaque outline in black around a flat field without a border.
  fundo_.SetShape(Shape::kRoundedRectangle);
  fundo_.SetBackStyle(1);
  fundo_.SetBorderColor(0);
  fundo_.SetBorderStyle(1);
  fundo_.SetBackColor(kSysWindow);
  // Without OLE fonts the field keeps the GUI font.
  Step(L"give Texto its font", [&] { texto_.SetFont(Font::Create(FontDesc{})); });

  texto_.events.KeyDown = [this](int16_t& keyCode, int16_t& shift) { Raise(events.KeyDown, keyCode, shift); };
  texto_.events.KeyUp = [this](int16_t& keyCode, int16_t& shift) { Raise(events.KeyUp, keyCode, shift); };
  texto_.events.KeyPress = [this](int16_t& keyAscii) { FilterKey(keyAscii); };
  texto_.events.MouseDown = [this](int16_t& b, int16_t& s, float& x, float& y) { Raise(events.MouseDown, b, s, x, y); };
  texto_.events.MouseMove = [this](int16_t& b, int16_t& s, float& x, float& y) { Raise(events.MouseMove, b, s, x, y); };
  texto_.events.MouseUp = [this](int16_t& b, int16_t& s, float& x, float& y) { Raise(events.MouseUp, b, s, x, y); };
  texto_.events.Change = [this] { Raise(events.Change); };
  // The outline shows where the focus is; neither change raises an event, and an outline already
  // in the colour is not drawn again.
  auto outline = [this](const OleColor& color) {
    Step(L"colour Fundo outline", [&] {
      if (fundo_.BorderColor() != color) fundo_.SetBorderColor(color);
    });
  };
  texto_.events.GotFocus = [this, outline] { outline(colorOnFoco_); };
  texto_.events.LostFocus = [this, outline] { outline(colorOffFoco_); };
}

void KvTextBox::InitProperties() {
  // A new instance keeps its designed constituents; the focus colours stay black until set.
  Resize();
  capitalizar_ = false;
}

PropertyTable<KvTextBox> KvTextBox::StoredProperties() {
  // Each value is applied before the next key is read, so the selection lands in the designed
  // text before Text replaces it. ValidarCampo and ValidarMSG are always stored, so a form shows
  // whether each field is required.
  using Row = StoredProperty<KvTextBox>;
  static const Row rows[] = {
      {L"BackColor", BagType::Int32, BagColor(kSysWindow), BagColor(kSysWindow),
       [](const KvTextBox& c) -> BagValue { return BagColor(c.texto_.BackColor()); },
       [](KvTextBox& c, const BagValue& v) { c.texto_.SetBackColor(ColorFromBag(v)); }},
      {L"ForeColor", BagType::Int32, BagColor(kSysWindowText), BagColor(kSysWindowText),
       [](const KvTextBox& c) -> BagValue { return BagColor(c.texto_.ForeColor()); },
       [](KvTextBox& c, const BagValue& v) { c.texto_.SetForeColor(ColorFromBag(v)); }},
      {L"Enabled", BagType::Bool, true, true,
       [](const KvTextBox& c) -> BagValue { return c.UserControl::Enabled(); },
       [](KvTextBox& c, const BagValue& v) { c.UserControl::SetEnabled(std::get<bool>(v)); }},
      {L"Font", BagType::Font, AmbientFont<KvTextBox>, AmbientFont<KvTextBox>,
       [](const KvTextBox& c) -> BagValue { return c.texto_.Font(); },
       [](KvTextBox& c, const BagValue& v) { c.texto_.SetFont(std::get<FontRef>(v)); }, true},
      {L"BackStyle", BagType::Int32, BagColor(kSysWindow), BagColor(kSysWindow),
       [](const KvTextBox& c) -> BagValue { return BagColor(c.fundo_.BackColor()); },
       [](KvTextBox& c, const BagValue& v) { c.fundo_.SetBackColor(ColorFromBag(v)); }},
      {L"BorderStyle", BagType::Int16, int16_t{3}, int16_t{3},
       [](const KvTextBox& c) -> BagValue { return c.BorderStyle(); },
       [](KvTextBox& c, const BagValue& v) { c.fundo_.SetBorderStyle(std::get<int16_t>(v)); }},
      {L"Alignment", BagType::Int16, int16_t{0}, int16_t{0},
       [](const KvTextBox& c) -> BagValue { return c.Alignment(); },
       [](KvTextBox& c, const BagValue& v) { c.texto_.SetAlignment(std::get<int16_t>(v)); }},
      {L"BorderColor", BagType::Int32, BagColor(kSysWindowText), BagColor(kSysWindowText),
       [](const KvTextBox& c) -> BagValue { return BagColor(c.fundo_.BorderColor()); },
       [](KvTextBox& c, const BagValue& v) { c.fundo_.SetBorderColor(ColorFromBag(v)); }},
      {L"Locked", BagType::Bool, false, false,
       [](const KvTextBox& c) -> BagValue { return c.texto_.Locked(); },
       [](KvTextBox& c, const BagValue& v) { c.texto_.SetLocked(std::get<bool>(v)); }},
      {L"MaxLength", BagType::Int32, int32_t{0}, int32_t{0},
       [](const KvTextBox& c) -> BagValue { return int32_t{c.texto_.MaxLength()}; },
       [](KvTextBox& c, const BagValue& v) { c.texto_.SetMaxLength(std::get<int32_t>(v)); }},
      {L"PasswordChar", BagType::String, L"", L"",
       [](const KvTextBox& c) -> BagValue { return c.texto_.PasswordChar(); },
       [](KvTextBox& c, const BagValue& v) { c.texto_.SetPasswordChar(std::get<std::wstring>(v)); }},
      {L"SelLength", BagType::Int32, int32_t{0}, int32_t{0},
       [](const KvTextBox& c) -> BagValue { return int32_t{c.texto_.SelLength()}; },
       [](KvTextBox& c, const BagValue& v) { c.texto_.SetSelLength(std::get<int32_t>(v)); }},
      {L"SelStart", BagType::Int32, int32_t{0}, int32_t{0},
       [](const KvTextBox& c) -> BagValue { return int32_t{c.texto_.SelStart()}; },
       [](KvTextBox& c, const BagValue& v) { c.texto_.SetSelStart(std::get<int32_t>(v)); }},
      {L"SelText", BagType::String, L"", L"",
       [](const KvTextBox& c) -> BagValue { return c.texto_.SelText(); },
       [](KvTextBox& c, const BagValue& v) { c.texto_.SetSelText(std::get<std::wstring>(v)); }},
      {L"Text", BagType::String, L"Text1", L"Text1",
       [](const KvTextBox& c) -> BagValue { return c.texto_.Text(); },
       [](KvTextBox& c, const BagValue& v) { c.texto_.SetText(std::get<std::wstring>(v)); }},
      {L"Capitalizar", BagType::Bool, false, false,
       [](const KvTextBox& c) -> BagValue { return c.capitalizar_; },
       [](KvTextBox& c, const BagValue& v) { c.capitalizar_ = std::get<bool>(v); }},
      {L"ColorOnFoco", BagType::Int32, BagColor(kRed), BagColor(kRed),
       [](const KvTextBox& c) -> BagValue { return BagColor(c.colorOnFoco_); },
       [](KvTextBox& c, const BagValue& v) { c.colorOnFoco_ = ColorFromBag(v); }},
      {L"ColorOffFoco", BagType::Int32, BagColor(kSilver), BagColor(kSilver),
       [](const KvTextBox& c) -> BagValue { return BagColor(c.colorOffFoco_); },
       [](KvTextBox& c, const BagValue& v) { c.colorOffFoco_ = ColorFromBag(v); }},
      {L"ValidarCampo", BagType::Bool, false, std::nullopt,
       [](const KvTextBox& c) -> BagValue { return c.validarCampo_; },
       [](KvTextBox& c, const BagValue& v) { c.validarCampo_ = std::get<bool>(v); }},
      {L"ValidarMSG", BagType::String, L"", std::nullopt,
       [](const KvTextBox& c) -> BagValue { return c.validarMsg_; },
       [](KvTextBox& c, const BagValue& v) { c.validarMsg_ = std::get<std::wstring>(v); }},
  };
  return rows;
}

void KvTextBox::ReadProperties(PropertyBag& bag) { ReadStoredProperties(*this, bag, StoredProperties()); }

void KvTextBox::WriteProperties(PropertyBag& bag) { WriteStoredProperties(*this, bag, StoredProperties()); }

void KvTextBox::Resize() {
  // Each assignment is a step of its own: one that a constituent refuses (a negative inner width
  // on a narrow control) is skipped and the rest still runs.
  Step(L"set Fundo.Left", [&] { fundo_.SetLeft(0); });
  Step(L"set Fundo.Top", [&] { fundo_.SetTop(0); });
  Step(L"set Texto.Left", [&] { texto_.SetLeft(kInset); });
  Step(L"set Texto.Top", [&] { texto_.SetTop(kInset); });
  Step(L"set Fundo.Width", [&] { fundo_.SetWidth(Width()); });
  Step(L"set Fundo.Height", [&] { fundo_.SetHeight(Height()); });
  Step(L"set Texto.Width", [&] { texto_.SetWidth(Width() - 2 * kInset); });
  Step(L"set Texto.Height", [&] { texto_.SetHeight(Height() - 2 * kInset); });
  // The container calls Resize again at the new height, which lays out once more.
  Step(L"keep the minimum height", [&] {
    if (Height() < kMinHeight) SetHeight(kMinHeight);
  });
}

void KvTextBox::SetBackColor(OleColor color) {
  texto_.SetBackColor(color);
  PropertyChanged(L"BackColor");
}

void KvTextBox::SetForeColor(OleColor color) {
  texto_.SetForeColor(color);
  PropertyChanged(L"ForeColor");
}

void KvTextBox::SetEnabled(bool enabled) {
  UserControl::SetEnabled(enabled);
  PropertyChanged(L"Enabled");
}

void KvTextBox::SetFont(FontRef font) {
  texto_.SetFont(std::move(font));
  PropertyChanged(L"Font");
}

void KvTextBox::SetBackStyle(OleColor color) {
  fundo_.SetBackColor(color);
  PropertyChanged(L"BackStyle");
}

void KvTextBox::SetBorderStyle(int32_t style) {
  fundo_.SetBorderStyle(Int16OrOverflow(style));
  PropertyChanged(L"BorderStyle");
}

void KvTextBox::SetAlignment(int32_t alignment) {
  texto_.SetAlignment(Int16OrOverflow(alignment));
  PropertyChanged(L"Alignment");
}

void KvTextBox::SetBorderColor(OleColor color) {
  fundo_.SetBorderColor(color);
  PropertyChanged(L"BorderColor");
}

void KvTextBox::SetLocked(bool locked) {
  texto_.SetLocked(locked);
  PropertyChanged(L"Locked");
}

void KvTextBox::SetMaxLength(int32_t length) {
  texto_.SetMaxLength(length);
  PropertyChanged(L"MaxLength");
}

void KvTextBox::SetPasswordChar(const std::wstring& ch) {
  texto_.SetPasswordChar(ch);
  PropertyChanged(L"PasswordChar");
}

void KvTextBox::SetSelLength(int32_t length) {
  texto_.SetSelLength(length);
  PropertyChanged(L"SelLength");
}

void KvTextBox::SetSelStart(int32_t start) {
  texto_.SetSelStart(start);
  PropertyChanged(L"SelStart");
}

void KvTextBox::SetSelText(const std::wstring& text) {
  texto_.SetSelText(text);
  PropertyChanged(L"SelText");
}

void KvTextBox::SetText(const std::wstring& text) {
  texto_.SetText(text);
  PropertyChanged(L"Text");
}

void KvTextBox::SetCapitalizar(bool upper) {
  capitalizar_ = upper;
  PropertyChanged(L"Capitalizar");
}

void KvTextBox::SetColorOnFoco(OleColor color) {
  colorOnFoco_ = color;
  PropertyChanged(L"ColorOnFoco");
}

void KvTextBox::SetColorOffFoco(OleColor color) {
  colorOffFoco_ = color;
  PropertyChanged(L"ColorOffFoco");
}

void KvTextBox::SetValidarCampo(bool required) {
  validarCampo_ = required;
  PropertyChanged(L"ValidarCampo");
}

void KvTextBox::SetValidarMSG(const std::wstring& message) {
  validarMsg_ = message;
  PropertyChanged(L"ValidarMSG");
}

void KvTextBox::Refresh() { texto_.Refresh(); }

int16_t KvTextBox::ForceCase(int16_t keyAscii, bool upper) {
  const wchar_t typed = static_cast<wchar_t>(static_cast<uint16_t>(keyAscii));
  if (typed < 0x20) return keyAscii;  // Backspace, Tab and the other control codes
  // The character as the ANSI code page has it; one that is not there keeps its case.
  char ansi[4] = {};
  BOOL lossy = FALSE;
  int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &typed, 1, ansi, sizeof ansi, nullptr, &lossy);
  if (n <= 0 || lossy) return keyAscii;
  wchar_t wide[2] = {};
  if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi, n, wide, 2) != 1) return keyAscii;
  wchar_t mapped[4] = {};
  const int m = LCMapStringW(LOCALE_USER_DEFAULT, upper ? LCMAP_UPPERCASE : LCMAP_LOWERCASE, wide, 1, mapped, 4);
  if (m != 1) return keyAscii;
  // Back through the code page: a counterpart that the code page lacks leaves the character as typed.
  char back[4] = {};
  lossy = FALSE;
  n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, mapped, 1, back, sizeof back, nullptr, &lossy);
  if (n <= 0 || lossy) return keyAscii;
  wchar_t result = 0;
  if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, back, n, &result, 1) != 1) return keyAscii;
  return static_cast<int16_t>(result);
}

void KvTextBox::FilterKey(int16_t& keyAscii) {
  if (keyAscii == 13) {
    // Enter never reaches the field and raises no KeyPress: it becomes a Tab to the next control,
    // sent without waiting.
    keyAscii = 0;
    Step(L"send Enter on as Tab", [&] { Host().SendKeys(L"{TAB}", false); });
    return;
  }
  // A failing conversion leaves the key as typed.
  Step(L"force the key's case", [&] { keyAscii = ForceCase(keyAscii, capitalizar_); });
  Raise(events.KeyPress, keyAscii);
}

}  // namespace tessel
