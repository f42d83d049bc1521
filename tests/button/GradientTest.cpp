#include <gtest/gtest.h>

#include <vector>

#include "button/draw/Gradient.h"
#include "tests/button/ButtonCanvas.h"

namespace tessel::test {
namespace {

TEST(Gradient, TableRunsFromFirstToLastColourInTruncatedSteps) {
  struct Case {
    int entries;
    int32_t from, to;
    std::vector<int32_t> expected;
  };
  const Case cases[] = {
      {1, 0x102030, 0xFFFFFF, {0x102030}},
      {3, 0x000000, 0xFFFFFF, {0x000000, 0x7F7F7F, 0xFFFFFF}},  // 127.5 truncates to 127
      {4, 0x0000FF, 0xFF0000, {0x0000FF, 0x5500AA, 0xAA0055, 0xFF0000}},
      {2, 0x808080, 0x808080, {0x808080, 0x808080}},
      {5, 0x000010, 0x000000, {0x000010, 0x00000C, 0x000008, 0x000004, 0x000000}},
  };
  for (const Case& c : cases) {
    std::vector<int32_t> table(c.entries, -1);
    BuildGradientTable(table, c.from, c.to);
    EXPECT_EQ(table, c.expected) << c.entries << " entries";
  }
}

TEST(Gradient, BandsAreTwoPixelsOnlyWhenWiderThanAQuarterOfTheScreen) {
  struct Case {
    int mode, width, height;
    GradientBands expected;
  };
  const Case cases[] = {
      {1, 256, 20, {1, 256}},  // 1024 / 256 = 4: one-pixel bands
      {1, 257, 20, {2, 128}},  // 1024 / 257 = 3
      {2, 301, 20, {2, 150}},
      {3, 400, 192, {1, 192}},  // down the height: the screen height counts
      {4, 40, 193, {2, 96}},
      {1, 0, 20, {1, 0}},
  };
  for (const Case& c : cases) {
    GradientBands got = GradientBandsFor(c.mode, c.width, c.height, 1024, 768);
    EXPECT_EQ(got.bandSize, c.expected.bandSize) << c.mode << " " << c.width << "x" << c.height;
    EXPECT_EQ(got.count, c.expected.count) << c.mode << " " << c.width << "x" << c.height;
  }
}

// Left to right and right to left paint mirrored bands; the odd last column of two-pixel bands
// keeps what was there.
TEST(Gradient, PaintsBandsInModeOrderAndLeavesTheOddLastColumn) {
  ButtonCanvas canvas(5, 4);
  DrawGradient(canvas.dc(), gradLeftRight, 5, 4, 0x000000, 0x0000FF, 12, 12);  // 12 / 5 < 4: two-pixel bands
  EXPECT_EQ(canvas.At(0, 0), 0x000000u);
  EXPECT_EQ(canvas.At(1, 3), 0x000000u);
  EXPECT_EQ(canvas.At(2, 0), 0x0000FFu);
  EXPECT_EQ(canvas.At(3, 3), 0x0000FFu);
  EXPECT_EQ(canvas.At(4, 0), kUnpainted);

  ButtonCanvas narrow(3, 2);
  DrawGradient(narrow.dc(), gradRightLeft, 3, 2, 0x000000, 0xFF0000);  // the real screen: one-pixel bands
  EXPECT_EQ(narrow.At(0, 1), 0xFF0000u);                                   // the leftmost band has toColor
  EXPECT_EQ(narrow.At(1, 1), 0x7F0000u);
  EXPECT_EQ(narrow.At(2, 1), 0x000000u);

  ButtonCanvas tall(2, 5);
  DrawGradient(tall.dc(), gradBottomTop, 2, 5, 0x00FF00, 0x000000, 1000, 10);
  EXPECT_EQ(tall.At(1, 0), 0x000000u);  // bottom to top: the first colour at the bottom
  EXPECT_EQ(tall.At(1, 3), 0x00FF00u);
  EXPECT_EQ(tall.At(1, 4), kUnpainted);

  ButtonCanvas none(1, 3);
  DrawGradient(none.dc(), gradLeftRight, 1, 3, 0, 0xFFFFFF, 2, 2);  // no room for one band
  DrawGradient(none.dc(), gradNone, 1, 3, 0, 0xFFFFFF);
  EXPECT_EQ(none.Count(kUnpainted), 3);
}

}  // namespace
}  // namespace tessel::test
