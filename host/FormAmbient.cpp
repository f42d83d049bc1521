// The form as its controls' ambient: colours, font, user mode, and which button looks like the
// default (the form's default button, or the focused control that takes Enter).
#include <stdexcept>

#include "host/Form.h"

namespace tessel {

HostedControl* Form::FocusedSite() const {
  const HWND focus = GetFocus();
  if (focus && hwnd_ && IsChild(hwnd_, focus)) return SiteOfWindow(focus);
  return activeSite_;
}

void Form::FocusArrived(HWND w) {
  if (!hwnd_ || closing_ || !IsChild(hwnd_, w)) return;
  lastFocus_ = w;
  FollowFocus(SiteOfWindow(w));
}

void Form::FollowFocus(HostedControl* site) {
  if (site && site != activeSite_) {
    HostedControl* old = activeSite_;
    activeSite_ = site;
    if (ambient_.userMode) {
      if (old && old->Control()) old->Control()->ExitFocus();
      // A handler that moved the focus on has been followed already.
      if (activeSite_ == site && site->Control()) site->Control()->EnterFocus();
    }
  }
  ShowDefault();
}

HostedControl* Form::EnterSite() const {
  if (!ambient_.userMode) return defaultSite_;
  HostedControl* focused = FocusedSite();
  if (focused && focused->Control() && focused->Control()->TakesEnter() && Reachable(*focused)) return focused;
  return defaultSite_ && Reachable(*defaultSite_) ? defaultSite_ : nullptr;
}

void Form::ShowDefault() {
  HostedControl* now = EnterSite();
  HostedControl* old = shownDefault_;
  if (now == old) return;
  shownDefault_ = now;
  // The one that stops looking like the default button hears it first.
  for (HostedControl* changed : {old, now}) {
    if (!changed) continue;
    AmbientProperties a = changed->Ambient();
    a.displayAsDefault = changed == now;
    changed->ChangeAmbient(a, L"DisplayAsDefault");
  }
}

void Form::SetDefaultButton(std::wstring_view name) {
  HostedControl* site = name.empty() ? nullptr : Site(name);
  if (!name.empty() && !site) throw std::invalid_argument("no control named " + Utf8FromWide(name));
  defaultSite_ = site;
  ShowDefault();
}

void Form::SetCancelButton(std::wstring_view name) {
  HostedControl* site = name.empty() ? nullptr : Site(name);
  if (!name.empty() && !site) throw std::invalid_argument("no control named " + Utf8FromWide(name));
  cancelSite_ = site;
}

void Form::Broadcast(std::wstring_view name) {
  for (const auto& site : sites_) {
    AmbientProperties a = AmbientOn(site->ParentWindow());
    a.displayName = site->Name();
    a.displayAsDefault = site.get() == shownDefault_;
    site->ChangeAmbient(a, name);
  }
}

void Form::SetBackColor(OleColor color) {
  ambient_.backColor = color;
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
  Broadcast(L"BackColor");
}

void Form::SetForeColor(OleColor color) {
  ambient_.foreColor = color;
  Broadcast(L"ForeColor");
}

void Form::SetFont(const FontRef& font) {
  ambient_.font = font;
  Broadcast(L"Font");
}

void Form::SetUserMode(bool userMode) {
  if (ambient_.userMode == userMode) return;
  ambient_.userMode = userMode;
  Broadcast(L"UserMode");
  ShowDefault();
}

AmbientProperties Form::AmbientOn(HWND parent) const {
  AmbientProperties a = ambient_;
  // A frame answers its own back colour (its window's background) to the controls inside it.
  if (HostedControl* holder = SiteOfWindow(parent); holder && holder->Control())
    a.backColor = holder->Control()->BackColor();
  return a;
}

OleColor Form::ContainerBackColor(const HostedControl& control) const {
  if (!hwnd_) throw std::logic_error("the form has no window");
  return AmbientOn(control.ParentWindow()).backColor;
}

bool Form::ContainerHasScaleMode(const HostedControl& control) const { return control.ParentWindow() == hwnd_; }

void Form::ControlPropertyChanged(HostedControl& control, std::wstring_view key) {
  dirty_ = true;
  if (onPropertyChanged) onPropertyChanged(control.Name(), key);
  // A new back colour of a frame is the ambient back colour of the controls inside it.
  if (SameKey(key, L"BackColor") && control.Control() && control.Control()->IsContainer())
    for (const auto& site : sites_)
      if (site->ParentWindow() == control.hWnd()) {
        AmbientProperties a = site->Ambient();
        a.backColor = control.Control()->BackColor();
        site->ChangeAmbient(a, L"BackColor");
      }
  // A write may change whether the focused control takes Enter (a button's mode): the default
  // look moves at once.
  ShowDefault();
}

}  // namespace tessel
