#include "host/UserControlWindow.h"

#include <windowsx.h>

#include <algorithm>

#include "host/AccessibleObject.h"
#include "host/AccessibleView.h"
#include "host/ControlSite.h"
#include "host/MouseArgs.h"
#include "server/contract/HostServices.h"
#include "server/contract/Palette.h"
#include "server/contract/PropertyBag.h"
#include "server/contract/ScreenDpi.h"
#include "server/contract/Twips.h"
#include "server/contract/UserControl.h"

namespace tessel {

UserControlWindow::~UserControlWindow() { Destroy(); }

bool UserControlWindow::HoldsWindowsBack() const { return site_.WindowsHeldBack(); }

void UserControlWindow::PaintOwn(HDC dc) {
  if (!control_) return;
  try {
    control_->Paint(dc);
  } catch (const std::exception& e) {
    // A paint never fails: what was drawn stays, the rest is left as the surface painted it.
    control_->Host().ReportSkippedStep(control_->Extender().name, L"Paint", WideFromUtf8(e.what()));
  }
}

namespace {

// Messages after which what assistive technology reads of a control may have changed.
bool MayChangeWhatIsRead(UINT msg) {
  switch (msg) {
    case WM_SETFOCUS: case WM_KILLFOCUS: case WM_TIMER: case WM_COMMAND: case WM_CAPTURECHANGED:
    case WM_KEYDOWN: case WM_KEYUP: case WM_CHAR: case WM_MOUSELEAVE:
      return true;
    default:
      return msg >= WM_MOUSEFIRST && msg <= WM_MBUTTONDBLCLK;
  }
}

// Messages that do not move the focus themselves: a mouse move, and a field's edit telling of its
// changed text (typing). A handler of one that moves the focus is told by the focus messages that
// moving sends (to the control's window, or as EN_KILLFOCUS from its edit) before it returns.
bool LeavesTheFocus(UINT msg, WPARAM wp) {
  return msg == WM_MOUSEMOVE || (msg == WM_COMMAND && (HIWORD(wp) == EN_UPDATE || HIWORD(wp) == EN_CHANGE));
}

}  // namespace

LRESULT UserControlWindow::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == DefaultActionMessage()) {
    DoDefaultAction(static_cast<size_t>(wp));
    site_.AccessibleChanged();
    return 0;
  }
  switch (msg) {
    case WM_GETTEXTLENGTH:
    case WM_GETTEXT: {
      // The window's text is the control's accessible name, read when asked: never stale, and
      // nothing is stored with the system at placement.
      if (!control_ || !site_.Loaded()) break;
      AccessibleView view;
      DescribeHosted(site_, view, false);
      if (msg == WM_GETTEXTLENGTH) return static_cast<LRESULT>(view.name.size());
      auto* out = reinterpret_cast<wchar_t*>(lp);
      if (!out || wp == 0) return 0;
      const size_t n = std::min(view.name.size(), static_cast<size_t>(wp) - 1);
      std::copy_n(view.name.data(), n, out);
      out[n] = L'\0';
      return static_cast<LRESULT>(n);
    }
    default:
      break;
  }
  const LRESULT result = Handle(msg, wp, lp);
  if (control_ && MayChangeWhatIsRead(msg)) site_.AccessibleChanged(!LeavesTheFocus(msg, wp));
  return result;
}

void UserControlWindow::DoDefaultAction(size_t part) {
  if (!control_ || !IsWindowEnabled(hWnd())) return;
  // A click at the middle of the control, or of the part, as the user would give it.
  RECT area{};
  GetClientRect(hWnd(), &area);
  if (part > 0) {
    AccessibleDescription d;
    control_->Describe(d);
    if (part > d.parts.size()) return;
    area = d.parts[part - 1].bounds;
  }
  POINT at{(area.left + area.right) / 2, (area.top + area.bottom) / 2};
  // The window a click there reaches: the control's own, or a window standing on it (the
  // picture a link is drawn on).
  HWND target = hWnd();
  for (;;) {
    HWND inner = ChildWindowFromPointEx(target, at, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED | CWP_SKIPTRANSPARENT);
    if (!inner || inner == target) break;
    MapWindowPoints(target, inner, &at, 1);
    target = inner;
  }
  if (target == hWnd()) {
    Handle(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    if (control_) Handle(WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    return;
  }
  SendMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  if (IsWindow(target)) SendMessageW(target, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

LRESULT UserControlWindow::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (msg == WM_SYSCOLORCHANGE || msg == WM_SETTINGCHANGE || msg == WM_THEMECHANGED) {
    // One change may be told more than once (a container that passes it on to every window inside
    // it tells the control's and the one holding it), and a setting may change nothing it shows:
    // the control is remade once per look.
    if (const uint32_t look = RefreshSystemLook(); look != lookSeen_) SystemLookChanged(look);
    return 0;
  }
  if ((msg == WM_PAINT || msg == WM_PRINTCLIENT) && !site_.SystemChangesPassedOn()) {
    // A change of look its container did not pass on (the system repaints every window after one,
    // and a container draws an inactive control when it needs it): the control remakes its colours,
    // and the whole window with its children is painted now.
    if (const uint32_t look = RefreshSystemLook(); look != lookSeen_) SystemLookChanged(look);
  }
  if (msg == kDpiChangedAfterParent) {
    // The window stands at its new size already: what stands on it follows (the fonts its fields
    // were given among it), then the control lays itself out and remakes what it made at the old
    // resolution (its caption font).
    FollowResolution();
    if (control_) {
      try {
        LayoutHold hold(*this);
        control_->Resize();
      } catch (const std::exception& e) {
        control_->Host().ReportSkippedStep(control_->Extender().name, L"Resize", WideFromUtf8(e.what()));
      }
    }
    SystemLookChanged(RefreshSystemLook());
    return 0;
  }
  try {
    if (RouteInput(msg, wp, lp, result)) return result;
  } catch (const std::exception& e) {
    // An input handler's error ends that notification only; the window goes on.
    if (control_) control_->Host().ReportSkippedStep(control_->Extender().name, L"input message", WideFromUtf8(e.what()));
    return 0;
  }
  return SurfaceWindow::WindowProc(msg, wp, lp);
}

void UserControlWindow::ImageLost() {
  try {
    LayoutHold hold(*this);
    control_->Resize();
  } catch (const std::exception& e) {
    control_->Host().ReportSkippedStep(control_->Extender().name, L"Resize", WideFromUtf8(e.what()));
  }
}

void UserControlWindow::CuesChanged() {
  if (!control_) return;
  try {
    control_->KeyboardCuesChanged();
  } catch (const std::exception& e) {
    control_->Host().ReportSkippedStep(control_->Extender().name, L"KeyboardCuesChanged", WideFromUtf8(e.what()));
  }
}

void UserControlWindow::SystemLookChanged(uint32_t look) {
  lookSeen_ = look;
  if (control_) {
    try {
      control_->SystemLookChanged();
    } catch (const std::exception& e) {
      // What could not be remade keeps its old colours; the repaint still comes.
      control_->Host().ReportSkippedStep(control_->Extender().name, L"SystemLookChanged", WideFromUtf8(e.what()));
    }
  }
  if (hWnd() && IsWindowVisible(hWnd())) RedrawWindow(hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

bool UserControlWindow::RouteInput(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (!control_) return false;
  const bool userMode = site_.Ambient().userMode;
  switch (msg) {
    case WM_GETDLGCODE:
      result = DLGC_WANTARROWS | DLGC_WANTCHARS;
      return true;
    case WM_SETFOCUS:
      if (userMode) control_->GotFocus();
      return false;
    case WM_KILLFOCUS:
      if (userMode) control_->LostFocus();
      return false;
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP:
    case WM_MOUSEMOVE: {
      if (!userMode) return true;  // the designer owns the mouse
      if (RouteMouse(msg, wp, lp)) return true;
      const float x = static_cast<float>(TwipsFromPixelsX(GET_X_LPARAM(lp)));
      const float y = static_cast<float>(TwipsFromPixelsY(GET_Y_LPARAM(lp)));
      const int16_t shift = MouseShift(wp);
      const int16_t button = MouseButtonOf(msg);
      switch (msg) {
        case WM_MOUSEMOVE:
          control_->MouseMove(HeldButtons(wp), shift, x, y);
          break;
        case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
          if (control_->CanGetFocus() && GetFocus() != hWnd()) SetFocus(hWnd());
          if (!pressed_) SetCapture(hWnd());
          pressed_ |= button;
          afterDblClick_ = false;
          control_->MouseDown(button, shift, x, y);
          break;
        case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
          // The second press of a double click: DblClick instead of MouseDown, and no Click after.
          if (!pressed_) SetCapture(hWnd());
          pressed_ |= button;
          afterDblClick_ = true;
          if (button == 1) control_->DblClick();
          else control_->MouseDown(button, shift, x, y);
          break;
        default: {  // a button up
          const bool wasPressed = (pressed_ & button) != 0;
          pressed_ &= static_cast<int16_t>(~button);
          if (!pressed_ && GetCapture() == hWnd()) ReleaseCapture();
          control_->MouseUp(button, shift, x, y);
          RECT client;
          GetClientRect(hWnd(), &client);
          POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
          if (button == 1 && wasPressed && !afterDblClick_ && PtInRect(&client, p)) control_->Click();
          if (button == 1) afterDblClick_ = false;
        }
      }
      result = 0;
      return true;
    }
    case WM_CAPTURECHANGED:
      pressed_ = 0;
      return false;
    case WM_SETCURSOR:
      // A constituent under the cursor shows its own pointer; otherwise the control's MousePointer.
      if (reinterpret_cast<HWND>(wp) != hWnd() || LOWORD(lp) != HTCLIENT) return false;
      if (RouteSetCursor()) {
        result = TRUE;
        return true;
      }
      if (HCURSOR cursor = control_->Cursor()) {
        SetCursor(cursor);
        result = TRUE;
        return true;
      }
      return false;
    case WM_KEYDOWN:
    case WM_KEYUP: {
      if (!userMode) return true;
      int16_t code = static_cast<int16_t>(wp);
      int16_t shift = KeyboardShift();
      if (msg == WM_KEYDOWN) control_->KeyDown(code, shift);
      else control_->KeyUp(code, shift);
      result = 0;
      return true;
    }
    case WM_CHAR: {
      if (!userMode) return true;
      int16_t ascii = static_cast<int16_t>(wp);
      control_->KeyPress(ascii);
      result = 0;
      return true;
    }
    default:
      return false;
  }
}

}  // namespace tessel
