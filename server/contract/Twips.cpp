#include "server/contract/Twips.h"

#include <cmath>

#include "server/contract/Gdi.h"

namespace tessel {
namespace {

int ScreenDpi(int index) {
  WindowDC screen(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen.get(), index) : 96;
  return dpi > 0 ? dpi : 96;
}

int Rounded(double value) { return static_cast<int>(std::lround(value)); }

}  // namespace

int ScreenDpiX() { return ScreenDpi(LOGPIXELSX); }
int ScreenDpiY() { return ScreenDpi(LOGPIXELSY); }
int TwipsPerPixelX() { return 1440 / ScreenDpi(LOGPIXELSX); }
int TwipsPerPixelY() { return 1440 / ScreenDpi(LOGPIXELSY); }
int PixelsFromTwipsX(int twips) { return Rounded(static_cast<double>(twips) / TwipsPerPixelX()); }
int PixelsFromTwipsY(int twips) { return Rounded(static_cast<double>(twips) / TwipsPerPixelY()); }
int TwipsFromPixelsX(int pixels) { return pixels * TwipsPerPixelX(); }
int TwipsFromPixelsY(int pixels) { return pixels * TwipsPerPixelY(); }

}  // namespace tessel
