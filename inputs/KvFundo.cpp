#include "inputs/KvFundo.h"

#include <cmath>

#include "decor/KvLinha.h"
#include "host/EmbeddedControl.h"
#include "server/contract/Ansi.h"
#include "server/contract/Twips.h"
#include "inputs/LinkCursor.h"

namespace tessel {
namespace {

// The panel's own font is the default of its Font key.
BagValue OwnFontOf(const KvFundo& panel) { return panel.OwnFont(); }

FontDesc TitleFont() {
  FontDesc desc;
  desc.name = L"Arial";
  desc.size = 12.0f;
  desc.weight = FW_BOLD;
  return desc;
}

}  // namespace

KvFundo::KvFundo(ControlSite& site)
    : UserControl(site),
      ownFont_(Font::Create(FontDesc{})),
      fundo_(site.OwnSurface(), L"Fundo"),
      header_(fundo_, L"Cabecalho"),
      footer_(fundo_, L"Rodape"),
      logo_(fundo_, L"imgLogo"),
      title_(fundo_, L"lblCaption"),
      link_(fundo_, L"lblText"),
      focusCue_(fundo_, L"shpFocus"),
      hoverTimer_(fundo_, L"tmrMouse") {
  // The designed look of the parts; Resize places them.
  UserControl::SetBackColor(kDefaultBackColor);
  fundo_.SetBorderStyle(0);
  fundo_.SetBackColor(0xFFFFFF);

  for (Shape* band : {&header_, &footer_}) {
    band->SetBackStyle(1);
    band->SetBackColor(kBandColor);
    band->SetBorderColor(kBandOutline);
  }
  header_.Move(-15, -15, 0, kHeaderHeight);
  footer_.Move(-15, 0, 0, kFooterHeight);

  logo_.Move(kLogoLeft, 0, kLogoSize, kLogoSize);

  title_.SetBackStyle(0);
  title_.SetForeColor(0x808080);
  title_.SetFont(Font::Create(TitleFont()));
  title_.Move(kTitleLeft, kTitleTop, 0, 0);
  title_.SetAutoSize(true);
  title_.SetCaption(kDefaultTitle);

  // The rule is a KvLinha placed on the background like any other control.
  ExtenderProperties rule;
  rule.name = L"KvLinha1";
  rule.left = kRuleLeft;
  rule.top = kRuleTop;
  rule.width = 0;
  rule.height = 30;
  Step(L"place the rule KvLinha1", [&] {
    rule_ = std::make_unique<EmbeddedControl>(
        fundo_, L"KvLinha", [](ControlSite& s) -> std::unique_ptr<UserControl> { return std::make_unique<KvLinha>(s); },
        rule, Ambient(), Host());
  });

  link_.SetBackStyle(0);
  link_.SetForeColor(kDefaultColorNormal);
  link_.SetFont(ownFont_);
  link_.Move(kLinkLeft, 0, 0, 0);
  link_.SetAutoSize(true);
  Step(L"give lblText the hand cursor", [&] {
    link_.SetMouseIcon(LinkCursorPicture());
    link_.SetMousePointer(99);
  });
  link_.events.MouseMove = [this](int16_t&, int16_t&, float&, float&) { LinkMouseMove(); };
  link_.events.MouseDown = [this](int16_t&, int16_t&, float&, float&) { LinkMouseDown(); };
  link_.events.MouseUp = [this](int16_t&, int16_t&, float&, float&) { LinkMouseUp(); };
  link_.events.Click = [this] { LinkClick(); };

  focusCue_.SetBorderStyle(3);  // dotted, nothing filled
  focusCue_.SetBorderColor(0x000000);
  focusCue_.SetVisible(false);

  hoverTimer_.SetEnabled(false);
  hoverTimer_.events.Timer = [this] { HoverTick(); };
}

KvFundo::~KvFundo() = default;

void KvFundo::Initialize() {
  SetColorNormal(kDefaultColorNormal);
  colorHot_ = kDefaultColorHot;
  colorDown_ = kDefaultColorDown;
  hoverUnderline_ = true;
  state_ = kNormal;
  link_.SetCaption(kDefaultAddress);
  link_.SetForeColor(kDefaultColorNormal);
  url_.clear();
  clickResponse_ = 0;
}

PropertyTable<KvFundo> KvFundo::StoredProperties() {
  // Reading goes through the write procedures, so the layout and the link's look are current when
  // it ends; Font and Stretch go straight to their constituents.
  using Row = StoredProperty<KvFundo>;
  static const Row rows[] = {
      {L"Caption", BagType::String, kDefaultAddress, kDefaultAddress,
       [](const KvFundo& c) -> BagValue { return c.Caption(); },
       [](KvFundo& c, const BagValue& v) { c.SetCaption(std::get<std::wstring>(v)); }},
      {L"CaptionTitulo", BagType::String, kDefaultTitle, kDefaultTitle,
       [](const KvFundo& c) -> BagValue { return c.CaptionTitulo(); },
       [](KvFundo& c, const BagValue& v) { c.SetCaptionTitulo(std::get<std::wstring>(v)); }},
      {L"URL", BagType::String, kDefaultAddress, kDefaultAddress,
       [](const KvFundo& c) -> BagValue { return c.url_; },
       [](KvFundo& c, const BagValue& v) { c.SetURL(std::get<std::wstring>(v)); }},
      {L"ClickResponse", BagType::Int32, int32_t{0}, int32_t{0},
       [](const KvFundo& c) -> BagValue { return c.clickResponse_; },
       [](KvFundo& c, const BagValue& v) { c.SetClickResponse(std::get<int32_t>(v)); }},
      {L"BackColor", BagType::Int32, BagColor(kDefaultBackColor), BagColor(kDefaultBackColor),
       [](const KvFundo& c) -> BagValue { return BagColor(c.BackColor()); },
       [](KvFundo& c, const BagValue& v) { c.SetBackColor(ColorFromBag(v)); }},
      {L"ToolTipText2", BagType::String, L"", L"",
       [](const KvFundo& c) -> BagValue { return c.ToolTipText2(); },
       [](KvFundo& c, const BagValue& v) { c.SetToolTipText2(std::get<std::wstring>(v)); }},
      {L"ColorNormal", BagType::Int32, BagColor(kDefaultColorNormal), BagColor(kDefaultColorNormal),
       [](const KvFundo& c) -> BagValue { return BagColor(c.colorNormal_); },
       [](KvFundo& c, const BagValue& v) { c.SetColorNormal(ColorFromBag(v)); }},
      {L"ColorHot", BagType::Int32, BagColor(kDefaultColorHot), BagColor(kDefaultColorHot),
       [](const KvFundo& c) -> BagValue { return BagColor(c.colorHot_); },
       [](KvFundo& c, const BagValue& v) { c.SetColorHot(ColorFromBag(v)); }},
      {L"ColorDown", BagType::Int32, BagColor(kDefaultColorDown), BagColor(kDefaultColorDown),
       [](const KvFundo& c) -> BagValue { return BagColor(c.colorDown_); },
       [](KvFundo& c, const BagValue& v) { c.SetColorDown(ColorFromBag(v)); }},
      {L"Font", BagType::Font, OwnFontOf, OwnFontOf,
       [](const KvFundo& c) -> BagValue { return c.Font(); },
       [](KvFundo& c, const BagValue& v) {
         if (const FontRef& font = std::get<FontRef>(v)) c.link_.SetFont(font);
       }},
      {L"HoverUnderline", BagType::Bool, true, true,
       [](const KvFundo& c) -> BagValue { return c.hoverUnderline_; },
       [](KvFundo& c, const BagValue& v) { c.SetHoverUnderline(std::get<bool>(v)); }},
      {L"Stretch", BagType::Bool, false, false,
       [](const KvFundo& c) -> BagValue { return c.Stretch(); },
       [](KvFundo& c, const BagValue& v) { c.logo_.SetStretch(std::get<bool>(v)); }},
      {L"Picture", BagType::Picture, PictureRef(), PictureRef(),
       [](const KvFundo& c) -> BagValue { return c.Picture(); },
       [](KvFundo& c, const BagValue& v) { c.SetPicture(std::get<PictureRef>(v)); }},
  };
  return rows;
}

void KvFundo::ReadProperties(PropertyBag& bag) { ReadStoredProperties(*this, bag, StoredProperties()); }

void KvFundo::WriteProperties(PropertyBag& bag) { WriteStoredProperties(*this, bag, StoredProperties()); }

void KvFundo::Resize() { LayOut(); }

void KvFundo::Terminate() {
  Step(L"stop hover timer", [&] { hoverTimer_.SetEnabled(false); });
}

// Properties.

void KvFundo::SetCaption(const std::wstring& text) {
  link_.SetCaption(text);
  PropertyChanged(L"Caption");
  LayOut();
}

// The keyboard.

void KvFundo::AccessKeyPress(wchar_t key) {
  if (key == L'\r') LinkClick();
}

void KvFundo::KeyPress(int16_t& keyAscii) {
  if (keyAscii == L' ') LinkClick();
}

void KvFundo::GotFocus() { ShowFocusCue(true); }

void KvFundo::LostFocus() { ShowFocusCue(false); }

void KvFundo::KeyboardCuesChanged() { ShowFocusCue(hWnd() && GetFocus() == hWnd()); }

void KvFundo::ShowFocusCue(bool focused) {
  // As in a dialog: drawn while the window shows keyboard cues (the focus came from the keyboard).
  const bool cue = focused && ShowsFocusCues();
  if (cue == focusCue_.Visible()) return;
  if (cue) PlaceFocusCue();
  Step(L"show the focus rectangle", [&] { focusCue_.SetVisible(cue); });
}

void KvFundo::PlaceFocusCue() {
  // One pixel around the link's text.
  const int x = TwipsPerPixelX(), y = TwipsPerPixelY();
  Step(L"place the focus rectangle", [&] {
    focusCue_.Move(link_.Left() - x, link_.Top() - y, link_.Width() + 2 * x, link_.Height() + 2 * y);
  });
}

void KvFundo::SetCaptionTitulo(const std::wstring& text) {
  title_.SetCaption(text);
  PropertyChanged(L"CaptionTitulo");
  LayOut();
}

void KvFundo::SetURL(const std::wstring& url) {
  url_ = url;
  PropertyChanged(L"URL");
}

void KvFundo::SetClickResponse(int32_t response) {
  clickResponse_ = response;
  PropertyChanged(L"ClickResponse");
}

void KvFundo::SetBackColor(OleColor color) {
  UserControl::SetBackColor(color);
  PropertyChanged(L"BackColor");
}

void KvFundo::SetToolTipText2(const std::wstring& text) {
  link_.SetToolTipText(text);
  PropertyChanged(L"ToolTipText2");
}

void KvFundo::SetColorNormal(OleColor color) {
  colorNormal_ = color;
  PropertyChanged(L"ColorNormal");
  SetState(state_);
}

void KvFundo::SetColorHot(OleColor color) {
  colorHot_ = color;
  PropertyChanged(L"ColorHot");
  SetState(state_);
}

void KvFundo::SetColorDown(OleColor color) {
  colorDown_ = color;
  PropertyChanged(L"ColorDown");
  SetState(state_);
}

void KvFundo::SetFont(const FontRef& font) {
  if (!font) return;
  link_.SetFont(font);
  PropertyChanged(L"Font");
  // The new font gets the underline of the current look.
  SetState(state_);
}

void KvFundo::SetHoverUnderline(bool on) {
  hoverUnderline_ = on;
  PropertyChanged(L"HoverUnderline");
  SetState(state_);
}

void KvFundo::SetStretch(bool on) {
  logo_.SetStretch(on);
  PropertyChanged(L"Stretch");
  LayOut();
}

void KvFundo::SetPicture(const PictureRef& picture) {
  logo_.SetPicture(picture);
  PropertyChanged(L"Picture");
  LayOut();
}

// The link's look.

void KvFundo::SetState(int state) {
  const OleColor color = state == kHot ? colorHot_ : state == kDown ? colorDown_ : colorNormal_;
  const bool underline = state != kNormal && hoverUnderline_;
  link_.SetForeColor(color);
  if (const FontRef& font = link_.Font()) {
    if (font->Describe().underline != underline) font->SetUnderline(underline);
  }
  link_.Refresh();
  state_ = state;
  AccessibleChanged();  // the hover timer's tick comes to no window of the control
}

// While the form is being designed the link is a picture of itself: it neither lights up nor opens.
void KvFundo::LinkMouseMove() {
  if (!Ambient().userMode || state_ != kNormal) return;
  SetState(kHot);
  Step(L"set hover timer interval", [&] { hoverTimer_.SetInterval(kHoverIntervalMs); });
  Step(L"start hover timer", [&] { hoverTimer_.SetEnabled(true); });
}

void KvFundo::LinkMouseDown() {
  if (Ambient().userMode) SetState(kDown);
}

void KvFundo::LinkMouseUp() {
  if (Ambient().userMode) SetState(kNormal);
}

void KvFundo::LinkClick() {
  if (!Ambient().userMode) return;
  if (clickResponse_ == kClickRaisesEvent) {
    Raise(events.Click);
    return;
  }
  if (url_.empty()) url_ = link_.Caption();
  // The handler gets the member itself, so what it writes is what is opened and kept.
  if (events.OpeningURL) events.OpeningURL(url_);
  // What the shell answers is not looked at: an address nobody handles just opens nothing.
  if (AnsiHolds(url_))
    Host().ShellExecute(GetDesktopWindow(), "open", AnsiFromWide(url_), "", "", SW_SHOWNORMAL);
  else
    Host().ShellExecuteWide(GetDesktopWindow(), L"open", url_, L"", L"", SW_SHOWNORMAL);
}

void KvFundo::HoverTick() {
  // The whole panel counts: the link stays hot while the cursor is anywhere over it.
  bool outside = false;
  Step(L"read the cursor position", [&] {
    POINT p = Host().CursorPos();
    if (!ScreenToClient(hWnd(), &p)) return;
    const long x = std::lround(static_cast<double>(p.x) * TwipsPerPixelX());
    const long y = std::lround(static_cast<double>(p.y) * TwipsPerPixelY());
    outside = x < 0 || y < 0 || x > Width() || y > Height();
  });
  if (!outside) return;
  // A pressed link stays pressed until the button comes up.
  Step(L"put the link back to normal", [&] {
    if (state_ == kHot) SetState(kNormal);
  });
  Step(L"stop hover timer", [&] { hoverTimer_.SetEnabled(false); });
}

// Layout: every step on its own, so a panel too narrow for one part still places the others.
void KvFundo::LayOut() {
  const int width = Width(), height = Height();
  Step(L"move Fundo", [&] { fundo_.Move(0, 0, width, height); });
  Step(L"move Cabecalho", [&] { header_.Move(-15, -15, width + 30, header_.Height()); });
  Step(L"move Rodape", [&] { footer_.Move(-15, fundo_.Height() - footer_.Height() + 15, width + 30, footer_.Height()); });
  Step(L"set lblText.Top", [&] { link_.SetTop(footer_.Top() + kLinkBelowFooterTop); });
  Step(L"set KvLinha1.Left", [&] {
    if (rule_) rule_->SetLeft(kRuleLeft);
  });
  Step(L"set KvLinha1.Width", [&] {
    if (rule_) rule_->SetWidth(width - kRuleLeft);
  });
  Step(L"set lblCaption.Left", [&] { title_.SetLeft(kTitleLeft); });
  Step(L"size imgLogo", [&] {
    logo_.SetWidth(kLogoSize);
    logo_.SetHeight(kLogoSize);
  });
  if (focusCue_.Visible()) PlaceFocusCue();
}

}  // namespace tessel
