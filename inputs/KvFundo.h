#pragma once
// A background panel for a window: a light header band with a logo, a title and an etched rule
// under the title, and a footer band with a link. The link turns hot while the mouse is over it
// (and stays hot while the cursor is anywhere over the panel), shows the pressed colour while a
// button is down on it, and on a click either raises Click or opens its address through the shell.
// The panel is a tab stop: with the focus, Enter or Space does what a click on the link does, and
// while the window shows keyboard cues a dotted rectangle stands around the link.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "host/Events.h"
#include "host/constituents/Image.h"
#include "host/constituents/Label.h"
#include "host/constituents/PictureBox.h"
#include "host/constituents/Shape.h"
#include "host/constituents/Timer.h"
#include "server/contract/PropertyTable.h"
#include "server/contract/UserControl.h"

namespace tessel {

class EmbeddedControl;

class KvFundo final : public UserControl {
 public:
  // The address a new panel shows and opens, and the default of both Caption and URL.
  static constexpr const wchar_t* kDefaultAddress = L"https://tesselocx.example/";
  static constexpr const wchar_t* kDefaultTitle = L"T\u00EDtulo";
  static constexpr OleColor kDefaultBackColor = 0xF1F1F1;
  static constexpr OleColor kDefaultColorNormal = 0x808080;
  static constexpr OleColor kDefaultColorHot = 0x0000FF;    // red
  static constexpr OleColor kDefaultColorDown = 0xFF0000;   // blue
  static constexpr OleColor kBandColor = 0xF1F1F1;
  static constexpr OleColor kBandOutline = 0xC0C0C0;
  static constexpr int kHeaderHeight = 1005;
  static constexpr int kFooterHeight = 360;
  static constexpr int kLogoLeft = 360;
  static constexpr int kLogoSize = 975;
  static constexpr int kTitleTop = 405;
  static constexpr int kTitleLeft = 1935;
  static constexpr int kRuleTop = 700;
  static constexpr int kRuleLeft = 1920;
  static constexpr int kLinkLeft = 120;
  static constexpr int kLinkBelowFooterTop = 60;
  static constexpr int kHoverIntervalMs = 50;
  static constexpr int32_t kClickRaisesEvent = 1;

  enum LinkState { kNormal = 0, kHot = 1, kDown = 2 };

  explicit KvFundo(ControlSite& site);
  ~KvFundo() override;
  std::wstring_view TypeName() const override { return L"KvFundo"; }
  void Describe(AccessibleDescription& d) const override;

  // The stored properties, in the order they are read and written.
  static PropertyTable<KvFundo> StoredProperties();

  void Initialize() override;
  void ReadProperties(PropertyBag& bag) override;
  void WriteProperties(PropertyBag& bag) override;
  void Resize() override;
  void Terminate() override;
  // The keyboard: the link is what the panel's focus stands for.
  bool CanGetFocus() const override { return true; }
  bool TakesEnter() const override { return true; }
  void AccessKeyPress(wchar_t key) override;  // Enter, given by the form
  void KeyPress(int16_t& keyAscii) override;  // Space
  void GotFocus() override;
  void LostFocus() override;
  void KeyboardCuesChanged() override;

  // Properties; each write tells the container under the property's own name.
  const std::wstring& Caption() const { return link_.Caption(); }
  void SetCaption(const std::wstring& text);            // lays out
  const std::wstring& CaptionTitulo() const { return title_.Caption(); }
  void SetCaptionTitulo(const std::wstring& text);      // lays out
  const std::wstring& URL() const { return url_; }
  void SetURL(const std::wstring& url);
  int32_t ClickResponse() const { return clickResponse_; }
  void SetClickResponse(int32_t response);
  OleColor BackColor() const { return UserControl::BackColor(); }
  void SetBackColor(OleColor color);
  const std::wstring& ToolTipText2() const { return link_.ToolTipText(); }
  void SetToolTipText2(const std::wstring& text);
  OleColor ColorNormal() const { return colorNormal_; }
  void SetColorNormal(OleColor color);                  // re-applies the current look
  OleColor ColorHot() const { return colorHot_; }
  void SetColorHot(OleColor color);
  OleColor ColorDown() const { return colorDown_; }
  void SetColorDown(OleColor color);
  // By reference: the link draws with the font object it is given, and its hot and pressed looks
  // underline that object (so a font shared with other controls shows the underline there too).
  FontRef Font() const { return link_.Font(); }
  void SetFont(const FontRef& font);                    // null is ignored
  bool HoverUnderline() const { return hoverUnderline_; }
  void SetHoverUnderline(bool on);
  bool Stretch() const { return logo_.Stretch(); }
  void SetStretch(bool on);                             // lays out
  PictureRef Picture() const { return logo_.Picture(); }
  void SetPicture(const PictureRef& picture);           // by reference; lays out

  int State() const { return state_; }
  // The control's own font: the default of the Font key.
  const FontRef& OwnFont() const { return ownFont_; }

  struct Events {
    NotifyEvent Click;
    // The address about to be opened, by reference: a handler that changes it changes what is
    // opened and what the URL property holds afterwards.
    std::function<void(std::wstring& url)> OpeningURL;
  } events;

  // The parts, for hosts that inspect the layout.
  const PictureBox& Background() const { return fundo_; }
  const Shape& Header() const { return header_; }
  const Shape& Footer() const { return footer_; }
  const Image& Logo() const { return logo_; }
  const Label& Title() const { return title_; }
  const Label& Link() const { return link_; }
  const Timer& HoverTimer() const { return hoverTimer_; }
  // The dotted rectangle around the link, shown while the panel has the focus and keyboard cues.
  const Shape& FocusCue() const { return focusCue_; }
  // The hosted KvLinha rule; null when it could not be placed.
  const EmbeddedControl* Rule() const { return rule_.get(); }

 private:
  void SetState(int state);
  void LayOut();
  void LinkMouseMove();
  void LinkMouseDown();
  void LinkMouseUp();
  void LinkClick();
  void HoverTick();
  void ShowFocusCue(bool focused);
  void PlaceFocusCue();

  FontRef ownFont_;
  PictureBox fundo_;  // first: the others stand on it, and it goes last
  Shape header_;
  Shape footer_;
  Image logo_;
  Label title_;
  std::unique_ptr<EmbeddedControl> rule_;
  Label link_;
  Shape focusCue_;
  Timer hoverTimer_;

  std::wstring url_;
  int32_t clickResponse_ = 0;
  OleColor colorNormal_ = kDefaultColorNormal;
  OleColor colorHot_ = kDefaultColorHot;
  OleColor colorDown_ = kDefaultColorDown;
  bool hoverUnderline_ = true;
  int state_ = kNormal;
};

}  // namespace tessel
