#include "host/ControlSite.h"

#include <algorithm>

#include "host/DragSource.h"
#include "host/UserControlWindow.h"
#include "server/contract/Twips.h"
#include "server/contract/Errors.h"

namespace tessel {

HostedControl::HostedControl(ControlContainer& container, std::wstring typeName, ExtenderProperties extender,
                             AmbientProperties ambient)
    : container_(container), typeName_(std::move(typeName)), extender_(std::move(extender)),
      ambient_(std::move(ambient)) {
  if (ambient_.displayName.empty()) ambient_.displayName = extender_.name;
}

HostedControl::~HostedControl() { Unload(); }

HWND HostedControl::hWnd() const { return window_ ? window_->hWnd() : nullptr; }

IDropTarget* HostedControl::DropTarget() const { return window_ ? container_.ContainerDropTarget() : nullptr; }

void HostedControl::MakeHeldWindows() {
  if (!window_) return;
  window_->MakeHeldWindows();
  if (presentHeld_) Present();
}

void HostedControl::Present() {
  presentHeld_ = false;
  // A control placed later stands in front of those placed before it; a visible one is shown in
  // the same step, and its first paint, which covers every pixel, does the erasing.
  SetWindowPos(window_->hWnd(), HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_DEFERERASE | (extender_.visible ? SWP_SHOWWINDOW : 0));
  if (!extender_.visible) return;
  try {
    control_->Show();
  } catch (const std::exception& e) {
    ReportSkipped(L"Show", e);  // the show notification only changes the look; the control stays
  }
  UpdateWindow(window_->hWnd());
}

void HostedControl::OLEDrag(UserControl& source) { RunDrag(source, Host()); }

Surface& HostedControl::OwnSurface() {
  if (!window_) throw std::logic_error("the control has no window");
  return *window_;
}

RECT HostedControl::PixelRect() const {
  const int x = PixelsFromTwipsX(extender_.left), y = PixelsFromTwipsY(extender_.top);
  return RECT{x, y, x + PixelsFromTwipsX(extender_.width), y + PixelsFromTwipsY(extender_.height)};
}

void HostedControl::Load(HWND parent, const ControlFactory& factory, PropertyBag* bag) {
  parent_ = parent;
  window_ = std::make_unique<UserControlWindow>(*this);
  // Hidden until the first handlers have run, so the first paint shows the finished layout.
  window_->Create(parent, PixelRect(), WS_CLIPSIBLINGS | (extender_.enabled ? 0 : WS_DISABLED));
  const char* stage = "creating";
  try {
    // The constituents' windows go to their places once the first handlers have laid them out.
    ConstituentSurface::LayoutHold hold(*window_);
    // A field's window is made once, after the first handlers, with its final place, text and font.
    loading_ = true;
    control_ = factory(*this);
    if (!control_) throw std::runtime_error("the control type made no control");
    window_->Attach(control_.get());
    if (control_->CanGetFocus())
      SetWindowLongPtrW(window_->hWnd(), GWL_STYLE, GetWindowLongPtrW(window_->hWnd(), GWL_STYLE) | WS_TABSTOP);
    stage = "Initialize";
    control_->Initialize();
    if (bag) {
      stage = "ReadProperties";
      control_->ReadProperties(*bag);
    } else {
      stage = "InitProperties";
      control_->InitProperties();
    }
  } catch (const PropertyError& e) {
    loading_ = false;
    Unload();
    throw ControlError(extender_.name, e.key(), e.what());
  } catch (const std::exception& e) {
    std::wstring key = bag ? bag->LastKeyRead() : std::wstring();
    if (std::string_view(stage) != "ReadProperties") key.clear();
    loading_ = false;
    Unload();
    throw ControlError(extender_.name, key, std::string(stage) + ": " + e.what());
  }
  try {
    ConstituentSurface::LayoutHold hold(*window_);
    control_->Resize();
  } catch (const std::exception& e) {
    ReportSkipped(L"Resize after loading", e);  // layout skips a failing step; the control stays
  }
  loading_ = false;
  // On a form not shown yet, the control comes to the front and is shown with the form.
  presentHeld_ = WindowsHeldBack();
  if (presentHeld_) return;
  window_->MakeHeldWindows();
  Present();
  AccessibleChanged();
}

void HostedControl::Terminate() {
  if (control_ && !terminated_) {
    terminated_ = true;
    try {
      control_->Terminate();
    } catch (const std::exception& e) {
      ReportSkipped(L"Terminate", e);  // it released what it could; the object goes in any case
    }
  }
  if (window_) window_->Attach(nullptr);
}

void HostedControl::Unload() {
  Terminate();
  control_.reset();
  window_.reset();
  terminated_ = false;
}

void HostedControl::Save(PropertyBag& bag) {
  if (!control_) return;
  try {
    control_->WriteProperties(bag);
  } catch (const PropertyError& e) {
    throw ControlError(extender_.name, e.key(), e.what());
  } catch (const std::exception& e) {
    throw ControlError(extender_.name, {}, e.what());
  }
}

void HostedControl::ChangeAmbient(const AmbientProperties& ambient, std::wstring_view changedName) {
  ambient_ = ambient;
  if (!control_) return;
  try {
    control_->AmbientChanged(changedName);
  } catch (const std::exception& e) {
    ReportSkipped(L"AmbientChanged", e);
  }
  AccessibleChanged();
}

namespace {

// A named callback: a lambda does not convert to the stdcall WNDENUMPROC of 32-bit Windows.
BOOL CALLBACK CollectTabStop(HWND w, LPARAM lp) {
  auto* out = reinterpret_cast<std::vector<HWND>*>(lp);
  if ((GetWindowLongPtrW(w, GWL_STYLE) & WS_TABSTOP) && IsWindowVisible(w) && IsWindowEnabled(w)) out->push_back(w);
  return TRUE;
}

}  // namespace

HostedControl* HostedControl::OfWindow(HWND hwnd) {
  auto* window = dynamic_cast<UserControlWindow*>(SurfaceWindow::FromHandle(hwnd));
  return window ? &window->Site() : nullptr;
}

std::vector<HWND> HostedControl::TabStops() const {
  std::vector<HWND> stops;
  HWND own = hWnd();
  if (!own || !control_) return stops;
  if (control_->CanGetFocus()) {
    stops.push_back(own);
    return stops;
  }
  // Child windows come in Z order, which is the order their constituents were made.
  EnumChildWindows(own, CollectTabStop, reinterpret_cast<LPARAM>(&stops));
  // A stop inside a disabled window is no stop; one of a control placed inside this one (a frame
  // holding it) takes its own place in the form's order.
  stops.erase(std::remove_if(stops.begin(), stops.end(),
                             [own](HWND w) {
                               if (OfWindow(w)) return true;
                               for (HWND p = GetParent(w); p && p != own; p = GetParent(p))
                                 if (!IsWindowEnabled(p) || OfWindow(p)) return true;
                               return false;
                             }),
              stops.end());
  return stops;
}

void HostedControl::PropertyChanged(std::wstring_view key) {
  container_.ControlPropertyChanged(*this, key);
  AccessibleChanged();
}

void HostedControl::SetAccessibleName(std::wstring name) {
  extender_.accessibleName = std::move(name);
  AccessibleChanged();
}

void HostedControl::AccessibleChanged(bool focusMayMove) {
  if (loading_ || terminated_) return;
  try {
    FollowAccessibleChanges(*this, accessibleSeen_, focusMayMove);
  } catch (const std::exception& e) {
    ReportSkipped(L"accessibility events", e);
  }
}

void HostedControl::Move(int left, int top, int width, int height) {
  if (width < 0 || height < 0) throw InvalidPropertyValue("Invalid property value");
  const bool sized = width != extender_.width || height != extender_.height;
  const RECT was = PixelRect();
  extender_.left = left;
  extender_.top = top;
  extender_.width = width;
  extender_.height = height;
  if (!window_ || !window_->hWnd()) return;
  const RECT r = PixelRect();
  // A write that lands on the same pixels (a rule keeping its height) leaves the window alone.
  if (!EqualRect(&r, &was))
    SetWindowPos(window_->hWnd(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  if (sized && control_) {
    try {
      ConstituentSurface::LayoutHold hold(*window_);
      control_->Resize();
    } catch (const std::exception& e) {
      ReportSkipped(L"Resize", e);
    }
  }
}

void HostedControl::SetEnabled(bool enabled) {
  extender_.enabled = enabled;
  if (hWnd()) EnableWindow(hWnd(), enabled);
  AccessibleChanged();
}

void HostedControl::SetVisible(bool visible) {
  const bool shown = visible && !extender_.visible;
  extender_.visible = visible;
  if (!hWnd() || presentHeld_) return;  // shown or not with the form
  ShowWindow(hWnd(), visible ? SW_SHOWNA : SW_HIDE);
  AccessibleChanged();
  if (!shown || !control_) return;
  try {
    control_->Show();  // each time the control becomes visible
  } catch (const std::exception& e) {
    ReportSkipped(L"Show", e);
  }
}

void HostedControl::ReportSkipped(std::wstring_view handler, const std::exception& e) noexcept {
  try {
    Host().ReportSkippedStep(Name(), handler, WideFromUtf8(e.what()));
  } catch (const std::exception&) {
    ReportToDebugger(Name(), handler, L"(the host could not take the report)");
  }
}

}  // namespace tessel
