#include "inputs/KvTextBox.h"

#include <limits>
#include <utility>

#include "host/LayoutStep.h"
#include "server/contract/Errors.h"

namespace tessel {
namespace {

constexpr OleColor kSilver = 0xC0C0C0;
constexpr OleColor kRed = 0x0000FF;

// Integer properties stored in 16 bits take a 32-bit value; one that does not fit is refused.
int16_t Narrow(int32_t value) {
  if (value < std::numeric_limits<int16_t>::min() || value > std::numeric_limits<int16_t>::max())
    throw InvalidPropertyValue("Overflow");
  return static_cast<int16_t>(value);
}

}  // namespace

KvTextBox::KvTextBox(ControlSite& site)
    : UserControl(site), fundo_(site.OwnSurface(), L"Fundo"), texto_(site.OwnSurface(), L"Texto") {
  // As designed: a rounded, opaque outline in black around a flat field without a border.
  fundo_.SetShape(Shape::kRoundedRectangle);
  fundo_.SetBackStyle(1);
  fundo_.SetBorderColor(0);
  fundo_.SetBorderStyle(1);
  fundo_.SetBackColor(kSysWindow);
  texto_.SetBorderStyle(0);
  texto_.SetAppearance(0);
  texto_.SetText(L"Text1");
  try {
    texto_.SetFont(Font::Create(FontDesc{}));
  } catch (...) {
    // Without OLE fonts the field keeps the GUI font.
  }

  texto_.events.KeyDown = [this](int16_t& keyCode, int16_t& shift) { Raise(events.KeyDown, keyCode, shift); };
  texto_.events.KeyUp = [this](int16_t& keyCode, int16_t& shift) { Raise(events.KeyUp, keyCode, shift); };
  texto_.events.KeyPress = [this](int16_t& keyAscii) { FilterKey(keyAscii); };
  texto_.events.MouseDown = [this](int16_t& b, int16_t& s, float& x, float& y) { Raise(events.MouseDown, b, s, x, y); };
  texto_.events.MouseMove = [this](int16_t& b, int16_t& s, float& x, float& y) { Raise(events.MouseMove, b, s, x, y); };
  texto_.events.MouseUp = [this](int16_t& b, int16_t& s, float& x, float& y) { Raise(events.MouseUp, b, s, x, y); };
  texto_.events.Change = [this] { Raise(events.Change); };
  // The outline shows where the focus is; neither change raises an event.
  texto_.events.GotFocus = [this] { Try([&] { fundo_.SetBorderColor(colorOnFoco_); }); };
  texto_.events.LostFocus = [this] { Try([&] { fundo_.SetBorderColor(colorOffFoco_); }); };
}

void KvTextBox::InitProperties() {
  // A new instance keeps its designed constituents; the focus colours stay black until set.
  Resize();
  capitalizar_ = false;
}

void KvTextBox::ReadProperties(PropertyBag& bag) {
  // Each value is applied before the next key is read, so the selection lands in the designed
  // text before Text replaces it.
  texto_.SetBackColor(static_cast<OleColor>(bag.ReadInt32(L"BackColor", static_cast<int32_t>(kSysWindow))));
  texto_.SetForeColor(static_cast<OleColor>(bag.ReadInt32(L"ForeColor", static_cast<int32_t>(kSysWindowText))));
  UserControl::SetEnabled(bag.ReadBool(L"Enabled", true));
  texto_.SetFont(bag.ReadFont(L"Font", Ambient().font));
  fundo_.SetBackColor(static_cast<OleColor>(bag.ReadInt32(L"BackStyle", static_cast<int32_t>(kSysWindow))));
  fundo_.SetBorderStyle(bag.ReadInt16(L"BorderStyle", 3));
  texto_.SetAlignment(bag.ReadInt16(L"Alignment", 0));
  fundo_.SetBorderColor(static_cast<OleColor>(bag.ReadInt32(L"BorderColor", static_cast<int32_t>(kSysWindowText))));
  texto_.SetLocked(bag.ReadBool(L"Locked", false));
  texto_.SetMaxLength(bag.ReadInt32(L"MaxLength", 0));
  texto_.SetPasswordChar(bag.ReadString(L"PasswordChar", L""));
  texto_.SetSelLength(bag.ReadInt32(L"SelLength", 0));
  texto_.SetSelStart(bag.ReadInt32(L"SelStart", 0));
  texto_.SetSelText(bag.ReadString(L"SelText", L""));
  texto_.SetText(bag.ReadString(L"Text", L"Text1"));
  capitalizar_ = bag.ReadBool(L"Capitalizar", false);
  colorOnFoco_ = static_cast<OleColor>(bag.ReadInt32(L"ColorOnFoco", static_cast<int32_t>(kRed)));
  colorOffFoco_ = static_cast<OleColor>(bag.ReadInt32(L"ColorOffFoco", static_cast<int32_t>(kSilver)));
  validarCampo_ = bag.ReadBool(L"ValidarCampo", false);
  validarMsg_ = bag.ReadString(L"ValidarMSG", L"");
}

void KvTextBox::WriteProperties(PropertyBag& bag) {
  auto colour = [](OleColor c) { return static_cast<int32_t>(c); };
  bag.Write(L"BackColor", colour(texto_.BackColor()), colour(kSysWindow));
  bag.Write(L"ForeColor", colour(texto_.ForeColor()), colour(kSysWindowText));
  bag.Write(L"Enabled", UserControl::Enabled(), true);
  if (texto_.Font()) bag.Write(L"Font", texto_.Font(), Ambient().font);
  bag.Write(L"BackStyle", colour(fundo_.BackColor()), colour(kSysWindow));
  bag.Write(L"BorderStyle", static_cast<int16_t>(fundo_.BorderStyle()), int16_t{3});
  bag.Write(L"Alignment", static_cast<int16_t>(texto_.Alignment()), int16_t{0});
  bag.Write(L"BorderColor", colour(fundo_.BorderColor()), colour(kSysWindowText));
  bag.Write(L"Locked", texto_.Locked(), false);
  bag.Write(L"MaxLength", int32_t{texto_.MaxLength()}, int32_t{0});
  bag.Write(L"PasswordChar", texto_.PasswordChar(), std::wstring());
  bag.Write(L"SelLength", int32_t{texto_.SelLength()}, int32_t{0});
  bag.Write(L"SelStart", int32_t{texto_.SelStart()}, int32_t{0});
  bag.Write(L"SelText", texto_.SelText(), std::wstring());
  bag.Write(L"Text", texto_.Text(), std::wstring(L"Text1"));
  bag.Write(L"Capitalizar", capitalizar_, false);
  bag.Write(L"ColorOnFoco", colour(colorOnFoco_), colour(kRed));
  bag.Write(L"ColorOffFoco", colour(colorOffFoco_), colour(kSilver));
  // Always stored, so a form shows whether each field is required.
  bag.Write(L"ValidarCampo", validarCampo_);
  bag.Write(L"ValidarMSG", validarMsg_);
}

void KvTextBox::Resize() {
  // Each assignment is a step of its own: one that a constituent refuses (a negative inner width
  // on a narrow control) is skipped and the rest still runs.
  Try([&] { fundo_.SetLeft(0); });
  Try([&] { fundo_.SetTop(0); });
  Try([&] { texto_.SetLeft(kInset); });
  Try([&] { texto_.SetTop(kInset); });
  Try([&] { fundo_.SetWidth(Width()); });
  Try([&] { fundo_.SetHeight(Height()); });
  Try([&] { texto_.SetWidth(Width() - 2 * kInset); });
  Try([&] { texto_.SetHeight(Height() - 2 * kInset); });
  // The container calls Resize again at the new height, which lays out once more.
  Try([&] {
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
  fundo_.SetBorderStyle(Narrow(style));
  PropertyChanged(L"BorderStyle");
}

void KvTextBox::SetAlignment(int32_t alignment) {
  texto_.SetAlignment(Narrow(alignment));
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
    try {
      Host().SendKeys(L"{TAB}", false);
    } catch (...) {
    }
    return;
  }
  try {
    keyAscii = ForceCase(keyAscii, capitalizar_);
  } catch (...) {
    // A failing conversion leaves the key as typed.
  }
  Raise(events.KeyPress, keyAscii);
}

}  // namespace tessel
