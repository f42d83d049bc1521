#include "server/contract/UserControl.h"

#include "host/Surface.h"

namespace tessel {
namespace {

// The contract library sits below the host library, so it converts with the screen resolution
// itself rather than through the host's helpers (same rule: 1440 twips to the inch).
int TwipsPerPixel(int index) {
  HDC screen = GetDC(nullptr);
  int dpi = screen ? GetDeviceCaps(screen, index) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return 1440 / (dpi > 0 ? dpi : 96);
}

RECT ClientPixels(HWND hwnd) {
  RECT r{};
  if (hwnd) GetClientRect(hwnd, &r);
  return r;
}

}  // namespace

void UserControl::SetWidth(int twips) {
  const ExtenderProperties& e = site_.Extender();
  site_.Move(e.left, e.top, twips, e.height);
}

void UserControl::SetHeight(int twips) {
  const ExtenderProperties& e = site_.Extender();
  site_.Move(e.left, e.top, e.width, twips);
}

int UserControl::ScaleWidth() const {
  return ClientPixels(site_.OwnSurface().hWnd()).right * TwipsPerPixel(LOGPIXELSX);
}
int UserControl::ScaleHeight() const {
  return ClientPixels(site_.OwnSurface().hWnd()).bottom * TwipsPerPixel(LOGPIXELSY);
}

OleColor UserControl::BackColor() const { return site_.OwnSurface().BackColor(); }
void UserControl::SetBackColor(OleColor color) { site_.OwnSurface().SetBackColor(color); }

HWND UserControl::hWnd() const { return site_.OwnSurface().hWnd(); }

void UserControl::ReportSkippedStep(std::wstring_view step, const char* error) noexcept {
  try {
    site_.Host().ReportSkippedStep(site_.Extender().name, step, WideFromUtf8(error));
  } catch (const std::exception&) {
    // Nothing is left to tell: the report itself could not be made (out of memory).
  }
}

}  // namespace tessel
