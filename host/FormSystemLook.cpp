#include "host/Form.h"
#include "server/contract/Palette.h"
#include "server/contract/ScreenDpi.h"
#include "server/contract/Twips.h"

namespace tessel {

void Form::ForwardSystemChange(UINT msg, WPARAM wp, LPARAM lp) {
  RefreshHighContrast();
  // In the order placed: a frame remakes its image before the controls standing on it repaint.
  for (const auto& site : sites_)
    if (HWND w = site->hWnd()) SendMessageW(w, msg, wp, lp);
  if (hwnd_ && IsWindowVisible(hwnd_)) RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE);
}

void Form::DpiChanged(WPARAM dpi, const RECT& suggested) {
  UseScreenDpi(LOWORD(dpi), HIWORD(dpi));
  PlacementHold hold(*this);
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  // In the order placed, so a frame stands at its new size before the controls inside it move.
  for (const auto& site : sites_) {
    const HWND w = site->hWnd();
    if (!w) continue;
    const RECT r = site->PixelRect();
    SetWindowPos(w, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(w, kDpiChangedAfterParent, 0, 0);
  }
}

}  // namespace tessel
