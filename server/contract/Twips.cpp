#include "server/contract/Twips.h"

#include <cmath>

#include "server/contract/Gdi.h"

namespace tessel {
namespace {

int ReadScreenDpi(int index) {
  WindowDC screen(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen.get(), index) : 96;
  return dpi > 0 ? dpi : 96;
}

// The resolution of the screen does not change while the process runs (the system asks for a new
// sign-in when it does): it is read once, at the first conversion.
int ScreenDpi(int index) {
  static const int x = ReadScreenDpi(LOGPIXELSX);
  static const int y = ReadScreenDpi(LOGPIXELSY);
  return index == LOGPIXELSX ? x : y;
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
