#include "host/constituents/PictureBox.h"

#include "host/MouseArgs.h"
#include "server/contract/Palette.h"
#include "server/contract/Twips.h"

namespace tessel {
namespace {

void Refuse() { throw InvalidPropertyValue("Invalid property value"); }

}  // namespace

PictureBox::PictureBox(Surface& parent, std::wstring name, int borderStyle)
    : Constituent(parent, std::move(name)), borderStyle_(borderStyle) {
  if (borderStyle < 0 || borderStyle > 1) Refuse();
  CreateWindowNow();
}

PictureBox::PictureBox(Surface& parent, std::wstring name, DrawnByParent)
    : Constituent(parent, std::move(name)), borderStyle_(0), drawnByParent_(true) {}

PictureBox::~PictureBox() { SurfaceWindow::Destroy(); }

void PictureBox::CreateWindowNow() {
  HWND owner = Parent().hWnd();
  if (!owner) return;
  const RECT r = BoundsPixels();
  SurfaceWindow::Create(owner, r, Visible() ? WS_VISIBLE : 0, borderStyle_ ? WS_EX_CLIENTEDGE : 0);
  if (!enabled_) EnableWindow(hWnd(), FALSE);
}

HWND PictureBox::Handle() {
  if (drawnByParent_ && Parent().hWnd()) {
    CreateWindowNow();
    drawnByParent_ = false;
    // The window shows the same pixels the parent drew; the parent's area under it is covered.
  }
  return hWnd();
}

void PictureBox::SetBackColor(OleColor color) {
  if (color == BackColor()) return;
  SurfaceWindow::SetBackColor(color);
  if (drawnByParent_) Constituent::Invalidate();
}

void PictureBox::SetPersistentImage(bool keep) {
  if (keep) Handle();
  SurfaceWindow::SetPersistentImage(keep);
}

void PictureBox::Draw(HDC dc) {
  const int32_t back = PaletteOf(BackColor(), ColorRole::Face);
  if (back >= 0) FillSolid(dc, BoundsPixels(), static_cast<COLORREF>(back));
}

void PictureBox::OnMouseDown(int16_t button, int16_t shift, float x, float y) { Raise(events.MouseDown, button, shift, x, y); }
void PictureBox::OnMouseMove(int16_t button, int16_t shift, float x, float y) { Raise(events.MouseMove, button, shift, x, y); }
void PictureBox::OnMouseUp(int16_t button, int16_t shift, float x, float y) { Raise(events.MouseUp, button, shift, x, y); }

void PictureBox::SetBorderStyle(int style) {
  if (style < 0 || style > 1) Refuse();
  if (style == borderStyle_) return;
  borderStyle_ = style;
  Handle();
  if (HWND w = hWnd()) {
    LONG_PTR ex = GetWindowLongPtrW(w, GWL_EXSTYLE);
    ex = style ? (ex | WS_EX_CLIENTEDGE) : (ex & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE));
    SetWindowLongPtrW(w, GWL_EXSTYLE, ex);
    SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
  }
}

void PictureBox::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (!enabled) Handle();
  if (HWND w = hWnd()) EnableWindow(w, enabled ? TRUE : FALSE);
}

void PictureBox::Refresh() {
  if (drawnByParent_) {
    Constituent::Refresh();
    return;
  }
  if (HWND w = hWnd()) {
    InvalidateRect(w, nullptr, FALSE);
    UpdateWindow(w);
  }
}

void PictureBox::Relocated() {
  if (HWND w = hWnd()) {
    const RECT r = BoundsPixels();
    MoveWindow(w, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
  }
}

void PictureBox::VisibilityChanged() {
  if (HWND w = hWnd()) ShowWindow(w, Visible() ? SW_SHOWNA : SW_HIDE);
}

LRESULT PictureBox::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg >= WM_MOUSEFIRST && msg <= WM_MBUTTONDBLCLK && msg != WM_MOUSEWHEEL) {
    if (RouteMouse(msg, wp, lp)) return 0;
    // Not over one of its own constituents: the picture box itself answers.
    int16_t shift = MouseShift(wp);
    float x = static_cast<float>(TwipsFromPixelsX(static_cast<short>(LOWORD(lp))));
    float y = static_cast<float>(TwipsFromPixelsY(static_cast<short>(HIWORD(lp))));
    int16_t button = 0;
    switch (msg) {
      case WM_LBUTTONDOWN:
        SetCapture(hWnd());
        clickPending_ = true;
        button = 1;
        Raise(events.MouseDown, button, shift, x, y);
        return 0;
      case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
        button = msg == WM_RBUTTONDOWN ? 2 : 4;
        Raise(events.MouseDown, button, shift, x, y);
        return 0;
      case WM_LBUTTONDBLCLK:
        clickPending_ = false;
        Raise(events.DblClick);
        return 0;
      case WM_MOUSEMOVE:
        button = HeldButtons(wp);
        Raise(events.MouseMove, button, shift, x, y);
        return 0;
      case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP: {
        button = msg == WM_LBUTTONUP ? 1 : msg == WM_RBUTTONUP ? 2 : 4;
        bool click = false;
        if (msg == WM_LBUTTONUP) {
          if (GetCapture() == hWnd()) ReleaseCapture();
          RECT client{};
          GetClientRect(hWnd(), &client);
          POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
          click = clickPending_ && PtInRect(&client, pt);
          clickPending_ = false;
        }
        Raise(events.MouseUp, button, shift, x, y);
        if (click) Raise(events.Click);
        return 0;
      }
      default:
        break;
    }
  }
  return SurfaceWindow::WindowProc(msg, wp, lp);
}

}  // namespace tessel
