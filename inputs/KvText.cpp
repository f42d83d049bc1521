#include "inputs/KvText.h"

#include <utility>


namespace tessel {
namespace {

constexpr OleColor kWhite = 0xFFFFFF;
constexpr OleColor kSilver = 0xC0C0C0;

}  // namespace

KvText::KvText(ControlSite& site)
    : UserControl(site),
      lblCaption_(site.OwnSurface(), L"lblCaption"),
      fundo_(site.OwnSurface(), L"Fundo"),
      txtCampo_(site.OwnSurface(), L"txtCampo", TextBoxDesign{0, 0, L"Text1"}) {
  // As designed: a right-aligned caption in the window text colour that sizes itself, a white
  // rounded box with a silver outline, and a borderless white field.
  // Without OLE fonts a constituent keeps the GUI font.
  Step(L"give lblCaption its font", [&] { lblCaption_.SetFont(Font::Create(FontDesc{})); });
  lblCaption_.SetBackStyle(0);
  lblCaption_.SetAlignment(1);
  lblCaption_.SetForeColor(kSysWindowText);
  lblCaption_.SetAutoSize(true);
  lblCaption_.SetCaption(L"Label1");
  fundo_.SetShape(Shape::kRoundedRectangle);
  fundo_.SetBackStyle(1);
  fundo_.SetBackColor(kWhite);
  fundo_.SetFillColor(kWhite);
  fundo_.SetBorderColor(kSilver);
  fundo_.SetBorderStyle(1);
  txtCampo_.SetBackColor(kWhite);
  Step(L"give txtCampo its font", [&] { txtCampo_.SetFont(Font::Create(FontDesc{})); });

  txtCampo_.events.Change = [this] { Raise(events.Change); };
  txtCampo_.events.KeyDown = [this](int16_t& keyCode, int16_t& shift) { Raise(events.KeyDown, keyCode, shift); };
  txtCampo_.events.KeyPress = [this](int16_t& keyAscii) { Raise(events.KeyPress, keyAscii); };
}

void KvText::InitProperties() { Resize(); }

PropertyTable<KvText> KvText::StoredProperties() {
  // The stored caption goes straight to the label: reading lays out once, at the end.
  using Row = StoredProperty<KvText>;
  static const Row rows[] = {
      {L"Alignment", BagType::Int16, int16_t{0}, int16_t{0},
       [](const KvText& c) -> BagValue { return c.Alignment(); },
       [](KvText& c, const BagValue& v) { c.txtCampo_.SetAlignment(std::get<int16_t>(v)); }},
      {L"BackColor", BagType::Int32, BagColor(kSysWindow), BagColor(kSysWindow),
       [](const KvText& c) -> BagValue { return BagColor(c.txtCampo_.BackColor()); },
       [](KvText& c, const BagValue& v) { c.txtCampo_.SetBackColor(ColorFromBag(v)); }},
      {L"BorderColor", BagType::Int32, BagColor(kSilver), BagColor(kSilver),
       [](const KvText& c) -> BagValue { return BagColor(c.fundo_.BorderColor()); },
       [](KvText& c, const BagValue& v) { c.fundo_.SetBorderColor(ColorFromBag(v)); }},
      {L"Caption", BagType::String, L"Label1", L"Label1",
       [](const KvText& c) -> BagValue { return c.lblCaption_.Caption(); },
       [](KvText& c, const BagValue& v) { c.lblCaption_.SetCaption(std::get<std::wstring>(v)); }},
      {L"Enabled", BagType::Bool, true, true,
       [](const KvText& c) -> BagValue { return c.UserControl::Enabled(); },
       [](KvText& c, const BagValue& v) { c.UserControl::SetEnabled(std::get<bool>(v)); }},
      {L"ForeColor", BagType::Int32, BagColor(kSysWindowText), BagColor(kSysWindowText),
       [](const KvText& c) -> BagValue { return BagColor(c.txtCampo_.ForeColor()); },
       [](KvText& c, const BagValue& v) { c.txtCampo_.SetForeColor(ColorFromBag(v)); }},
      {L"FontColor", BagType::Int32, BagColor(kSysWindowText), BagColor(kSysWindowText),
       [](const KvText& c) -> BagValue { return BagColor(c.lblCaption_.ForeColor()); },
       [](KvText& c, const BagValue& v) { c.lblCaption_.SetForeColor(ColorFromBag(v)); }},
      {L"Locked", BagType::Bool, false, false,
       [](const KvText& c) -> BagValue { return c.txtCampo_.Locked(); },
       [](KvText& c, const BagValue& v) { c.txtCampo_.SetLocked(std::get<bool>(v)); }},
      {L"MaxLength", BagType::Int32, int32_t{0}, int32_t{0},
       [](const KvText& c) -> BagValue { return int32_t{c.txtCampo_.MaxLength()}; },
       [](KvText& c, const BagValue& v) { c.txtCampo_.SetMaxLength(std::get<int32_t>(v)); }},
      {L"PasswordChar", BagType::String, L"", L"",
       [](const KvText& c) -> BagValue { return c.txtCampo_.PasswordChar(); },
       [](KvText& c, const BagValue& v) { c.txtCampo_.SetPasswordChar(std::get<std::wstring>(v)); }},
      {L"Text", BagType::String, L"Text1", L"Text1",
       [](const KvText& c) -> BagValue { return c.txtCampo_.Text(); },
       [](KvText& c, const BagValue& v) { c.txtCampo_.SetText(std::get<std::wstring>(v)); }},
      {L"Font", BagType::Font, AmbientFont<KvText>, AmbientFont<KvText>,
       [](const KvText& c) -> BagValue { return c.txtCampo_.Font(); },
       [](KvText& c, const BagValue& v) { c.txtCampo_.SetFont(std::get<FontRef>(v)); }, true},
      {L"FontCaption", BagType::Font, AmbientFont<KvText>, AmbientFont<KvText>,
       [](const KvText& c) -> BagValue { return c.lblCaption_.Font(); },
       [](KvText& c, const BagValue& v) { c.lblCaption_.SetFont(std::get<FontRef>(v)); }, true},
  };
  return rows;
}

void KvText::ReadProperties(PropertyBag& bag) {
  ReadStoredProperties(*this, bag, StoredProperties());
  PaintBoxLikeField();
  Resize();
}

void KvText::WriteProperties(PropertyBag& bag) { WriteStoredProperties(*this, bag, StoredProperties()); }

void KvText::Resize() {
  Step(L"keep the minimum height", [&] {
    if (Height() < kMinHeight) SetHeight(kMinHeight);
  });
  Step(L"keep the maximum height", [&] {
    if (Height() > kMaxHeight) SetHeight(kMaxHeight);
  });
  if (!lblCaption_.Caption().empty()) {
    Step(L"show lblCaption", [&] { lblCaption_.SetVisible(true); });
    Step(L"set lblCaption.Top", [&] { lblCaption_.SetTop(30); });
    Step(L"set lblCaption.Left", [&] { lblCaption_.SetLeft(0); });
    Step(L"set Fundo.Top", [&] { fundo_.SetTop(0); });
    Step(L"set Fundo.Left", [&] { fundo_.SetLeft(lblCaption_.Width() + kCaptionGap); });
    Step(L"set Fundo.Width", [&] { fundo_.SetWidth(Width() - (lblCaption_.Width() + kCaptionGap)); });
    Step(L"set Fundo.Height", [&] { fundo_.SetHeight(Height()); });
    Step(L"set txtCampo.Top", [&] { txtCampo_.SetTop(30); });
    Step(L"set txtCampo.Left", [&] { txtCampo_.SetLeft(fundo_.Left() + 60); });
    Step(L"set txtCampo.Width", [&] { txtCampo_.SetWidth(fundo_.Width() - 100); });
    Step(L"set txtCampo.Height", [&] { txtCampo_.SetHeight(fundo_.Height() - 60); });
  } else {
    // Without a caption the box takes the whole width, and the field sits deeper inside it.
    Step(L"hide lblCaption", [&] { lblCaption_.SetVisible(false); });
    Step(L"set Fundo.Top", [&] { fundo_.SetTop(0); });
    Step(L"set Fundo.Left", [&] { fundo_.SetLeft(0); });
    Step(L"set Fundo.Width", [&] { fundo_.SetWidth(Width()); });
    Step(L"set Fundo.Height", [&] { fundo_.SetHeight(Height()); });
    Step(L"set txtCampo.Top", [&] { txtCampo_.SetTop(60); });
    Step(L"set txtCampo.Left", [&] { txtCampo_.SetLeft(60); });
    Step(L"set txtCampo.Width", [&] { txtCampo_.SetWidth(fundo_.Width() - 100); });
    Step(L"set txtCampo.Height", [&] { txtCampo_.SetHeight(fundo_.Height() - 90); });
  }
}

void KvText::PaintBoxLikeField() {
  const OleColor back = txtCampo_.BackColor();
  fundo_.SetBackColor(back);
  fundo_.SetFillColor(back);
}

void KvText::SetAlignment(int16_t alignment) {
  txtCampo_.SetAlignment(alignment);
  PropertyChanged(L"Alignment");
}

void KvText::SetBackColor(OleColor color) {
  txtCampo_.SetBackColor(color);
  PaintBoxLikeField();
  PropertyChanged(L"BackColor");
}

void KvText::SetBorderColor(OleColor color) {
  fundo_.SetBorderColor(color);
  PropertyChanged(L"BorderColor");
}

void KvText::SetCaption(const std::wstring& caption) {
  lblCaption_.SetCaption(caption);
  Resize();
  PropertyChanged(L"Caption");
}

void KvText::SetEnabled(bool enabled) {
  UserControl::SetEnabled(enabled);
  PropertyChanged(L"Enabled");
}

void KvText::SetForeColor(OleColor color) {
  txtCampo_.SetForeColor(color);
  PropertyChanged(L"ForeColor");
}

void KvText::SetFontColor(OleColor color) {
  lblCaption_.SetForeColor(color);
  PropertyChanged(L"FontColor");
}

void KvText::SetLocked(bool locked) {
  txtCampo_.SetLocked(locked);
  PropertyChanged(L"Locked");
}

void KvText::SetMaxLength(int32_t length) {
  txtCampo_.SetMaxLength(length);
  PropertyChanged(L"MaxLength");
}

void KvText::SetPasswordChar(const std::wstring& ch) {
  txtCampo_.SetPasswordChar(ch);
  PropertyChanged(L"PasswordChar");
}

void KvText::SetText(const std::wstring& text) {
  txtCampo_.SetText(text);
  PropertyChanged(L"Text");
}

void KvText::SetFont(FontRef font) {
  txtCampo_.SetFont(std::move(font));
  PropertyChanged(L"Font");
}

void KvText::SetFontCaption(FontRef font) {
  lblCaption_.SetFont(std::move(font));
  PropertyChanged(L"FontCaption");
}

}  // namespace tessel
