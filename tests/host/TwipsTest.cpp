#include "server/contract/Twips.h"

#include <gtest/gtest.h>

namespace tessel {
namespace {

TEST(Twips, ConvertsWithTheScreenResolution) {
  HDC screen = GetDC(nullptr);
  ASSERT_NE(screen, nullptr);
  const int dpiX = GetDeviceCaps(screen, LOGPIXELSX);
  const int dpiY = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(TwipsPerPixelX(), 1440 / dpiX);
  EXPECT_EQ(TwipsPerPixelY(), 1440 / dpiY);
  const int tpp = TwipsPerPixelX();
  EXPECT_EQ(TwipsFromPixelsX(PixelsFromTwipsX(30 * tpp)), 30 * tpp);
  // Halves round away from zero; the 20-twip offset is the second pixel row at 15 twips a pixel.
  EXPECT_EQ(PixelsFromTwipsY(20), tpp == 15 ? 1 : PixelsFromTwipsY(20));
  EXPECT_EQ(PixelsFromTwipsX(tpp / 2 + 1), 1);
  EXPECT_EQ(PixelsFromTwipsX(0), 0);
}

}  // namespace
}  // namespace tessel
