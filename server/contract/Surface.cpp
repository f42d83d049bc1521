#include "server/contract/Surface.h"

#include "server/contract/Twips.h"

namespace tessel {
namespace {

RECT ClientPixels(HWND hwnd) {
  RECT r{};
  if (!hwnd || !GetClientRect(hwnd, &r)) return RECT{};
  return r;
}

}  // namespace

int Surface::ScaleWidth() const {
  const RECT r = ClientPixels(hWnd());
  return TwipsFromPixelsX(r.right - r.left);
}

int Surface::ScaleHeight() const {
  const RECT r = ClientPixels(hWnd());
  return TwipsFromPixelsY(r.bottom - r.top);
}

void Surface::Invalidate(const RECT* pixels) { InvalidateShown(hWnd(), pixels, false); }

void InvalidateShown(HWND hwnd, const RECT* pixels, bool erase) {
  // A window that is not on screen is painted whole when it comes to be shown; marking parts of it
  // before that would only cost the system a round trip each.
  if (hwnd && IsWindowVisible(hwnd)) InvalidateRect(hwnd, pixels, erase ? TRUE : FALSE);
}

}  // namespace tessel
