#include "server/contract/Twips.h"

#include <atomic>
#include <cmath>

#include "server/contract/Gdi.h"
#include "server/contract/ScreenDpi.h"

namespace tessel {
namespace {

int ReadScreenDpi(int index) {
  WindowDC screen(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen.get(), index) : 96;
  return dpi > 0 ? dpi : 96;
}

// The system's resolution does not change while the process runs (the system asks for a new
// sign-in when it does): it is read once, at the first conversion. A form moved to a screen of
// another resolution sets the one used from then on.
std::atomic<int> g_usedX{0}, g_usedY{0};

int ScreenDpi(int index) {
  static const int x = ReadScreenDpi(LOGPIXELSX);
  static const int y = ReadScreenDpi(LOGPIXELSY);
  const int used = (index == LOGPIXELSX ? g_usedX : g_usedY).load(std::memory_order_relaxed);
  if (used > 0) return used;
  return index == LOGPIXELSX ? x : y;
}

int64_t Rounded(double value) { return std::llround(value); }

}  // namespace

void UseScreenDpi(int x, int y) {
  g_usedX.store(x > 0 ? x : 0, std::memory_order_relaxed);
  g_usedY.store(y > 0 ? y : 0, std::memory_order_relaxed);
}

int ScreenDpiX() { return ScreenDpi(LOGPIXELSX); }
int ScreenDpiY() { return ScreenDpi(LOGPIXELSY); }
int TwipsPerPixelX() { return 1440 / ScreenDpi(LOGPIXELSX); }
int TwipsPerPixelY() { return 1440 / ScreenDpi(LOGPIXELSY); }
// Through the resolution itself, not the whole twips per pixel: at 192 dpi a pixel is 7.5 twips.
int64_t PixelsFromTwipsX(int64_t twips) { return Rounded(static_cast<double>(twips) * ScreenDpiX() / 1440.0); }
int64_t PixelsFromTwipsY(int64_t twips) { return Rounded(static_cast<double>(twips) * ScreenDpiY() / 1440.0); }
int PixelsFromTwipsX(int twips) { return static_cast<int>(PixelsFromTwipsX(int64_t{twips})); }
int PixelsFromTwipsY(int twips) { return static_cast<int>(PixelsFromTwipsY(int64_t{twips})); }
int TwipsFromPixelsX(int pixels) { return static_cast<int>(Rounded(static_cast<double>(pixels) * 1440.0 / ScreenDpiX())); }
int TwipsFromPixelsY(int pixels) { return static_cast<int>(Rounded(static_cast<double>(pixels) * 1440.0 / ScreenDpiY())); }

}  // namespace tessel
