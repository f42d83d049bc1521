#include "inputs/KvText.h"

#include <utility>

#include "host/LayoutStep.h"

namespace tessel {
namespace {

constexpr OleColor kWhite = 0xFFFFFF;
constexpr OleColor kSilver = 0xC0C0C0;

FontRef DesignedFont() {
  try {
    return Font::Create(FontDesc{});
  } catch (...) {
    return nullptr;  // without OLE fonts the constituent keeps the GUI font
  }
}

}  // namespace

KvText::KvText(ControlSite& site)
    : UserControl(site),
      lblCaption_(site.OwnSurface(), L"lblCaption"),
      fundo_(site.OwnSurface(), L"Fundo"),
      txtCampo_(site.OwnSurface(), L"txtCampo") {
  // As designed: a right-aligned caption in the window text colour that sizes itself, a white
  // rounded box with a silver outline, and a borderless white field.
  lblCaption_.SetFont(DesignedFont());
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
  txtCampo_.SetBorderStyle(0);
  txtCampo_.SetAppearance(0);
  txtCampo_.SetBackColor(kWhite);
  txtCampo_.SetFont(DesignedFont());
  txtCampo_.SetText(L"Text1");

  txtCampo_.events.Change = [this] { Raise(events.Change); };
  txtCampo_.events.KeyDown = [this](int16_t& keyCode, int16_t& shift) { Raise(events.KeyDown, keyCode, shift); };
  txtCampo_.events.KeyPress = [this](int16_t& keyAscii) { Raise(events.KeyPress, keyAscii); };
}

void KvText::InitProperties() { Resize(); }

void KvText::ReadProperties(PropertyBag& bag) {
  txtCampo_.SetAlignment(bag.ReadInt16(L"Alignment", 0));
  txtCampo_.SetBackColor(static_cast<OleColor>(bag.ReadInt32(L"BackColor", static_cast<int32_t>(kSysWindow))));
  fundo_.SetBorderColor(static_cast<OleColor>(bag.ReadInt32(L"BorderColor", static_cast<int32_t>(kSilver))));
  // Straight to the label: the layout runs once, at the end.
  lblCaption_.SetCaption(bag.ReadString(L"Caption", L"Label1"));
  UserControl::SetEnabled(bag.ReadBool(L"Enabled", true));
  txtCampo_.SetForeColor(static_cast<OleColor>(bag.ReadInt32(L"ForeColor", static_cast<int32_t>(kSysWindowText))));
  lblCaption_.SetForeColor(static_cast<OleColor>(bag.ReadInt32(L"FontColor", static_cast<int32_t>(kSysWindowText))));
  txtCampo_.SetLocked(bag.ReadBool(L"Locked", false));
  txtCampo_.SetMaxLength(bag.ReadInt32(L"MaxLength", 0));
  txtCampo_.SetPasswordChar(bag.ReadString(L"PasswordChar", L""));
  txtCampo_.SetText(bag.ReadString(L"Text", L"Text1"));
  txtCampo_.SetFont(bag.ReadFont(L"Font", Ambient().font));
  lblCaption_.SetFont(bag.ReadFont(L"FontCaption", Ambient().font));
  PaintBoxLikeField();
  Resize();
}

void KvText::WriteProperties(PropertyBag& bag) {
  auto colour = [](OleColor c) { return static_cast<int32_t>(c); };
  bag.Write(L"Alignment", static_cast<int16_t>(txtCampo_.Alignment()), int16_t{0});
  bag.Write(L"BackColor", colour(txtCampo_.BackColor()), colour(kSysWindow));
  bag.Write(L"BorderColor", colour(fundo_.BorderColor()), colour(kSilver));
  bag.Write(L"Caption", lblCaption_.Caption(), std::wstring(L"Label1"));
  bag.Write(L"Enabled", UserControl::Enabled(), true);
  bag.Write(L"ForeColor", colour(txtCampo_.ForeColor()), colour(kSysWindowText));
  bag.Write(L"FontColor", colour(lblCaption_.ForeColor()), colour(kSysWindowText));
  bag.Write(L"Locked", txtCampo_.Locked(), false);
  bag.Write(L"MaxLength", int32_t{txtCampo_.MaxLength()}, int32_t{0});
  bag.Write(L"PasswordChar", txtCampo_.PasswordChar(), std::wstring());
  bag.Write(L"Text", txtCampo_.Text(), std::wstring(L"Text1"));
  if (txtCampo_.Font()) bag.Write(L"Font", txtCampo_.Font(), Ambient().font);
  if (lblCaption_.Font()) bag.Write(L"FontCaption", lblCaption_.Font(), Ambient().font);
}

void KvText::Resize() {
  Try([&] {
    if (Height() < kMinHeight) SetHeight(kMinHeight);
  });
  Try([&] {
    if (Height() > kMaxHeight) SetHeight(kMaxHeight);
  });
  if (!lblCaption_.Caption().empty()) {
    Try([&] { lblCaption_.SetVisible(true); });
    Try([&] { lblCaption_.SetTop(30); });
    Try([&] { lblCaption_.SetLeft(0); });
    Try([&] { fundo_.SetTop(0); });
    Try([&] { fundo_.SetLeft(lblCaption_.Width() + kCaptionGap); });
    Try([&] { fundo_.SetWidth(Width() - (lblCaption_.Width() + kCaptionGap)); });
    Try([&] { fundo_.SetHeight(Height()); });
    Try([&] { txtCampo_.SetTop(30); });
    Try([&] { txtCampo_.SetLeft(fundo_.Left() + 60); });
    Try([&] { txtCampo_.SetWidth(fundo_.Width() - 100); });
    Try([&] { txtCampo_.SetHeight(fundo_.Height() - 60); });
  } else {
    // Without a caption the box takes the whole width, and the field sits deeper inside it.
    Try([&] { lblCaption_.SetVisible(false); });
    Try([&] { fundo_.SetTop(0); });
    Try([&] { fundo_.SetLeft(0); });
    Try([&] { fundo_.SetWidth(Width()); });
    Try([&] { fundo_.SetHeight(Height()); });
    Try([&] { txtCampo_.SetTop(60); });
    Try([&] { txtCampo_.SetLeft(60); });
    Try([&] { txtCampo_.SetWidth(fundo_.Width() - 100); });
    Try([&] { txtCampo_.SetHeight(fundo_.Height() - 90); });
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
