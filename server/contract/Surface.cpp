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

void Surface::Invalidate(const RECT* pixels) {
  if (hWnd()) InvalidateRect(hWnd(), pixels, FALSE);
}

}  // namespace tessel
