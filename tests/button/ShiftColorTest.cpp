#include <gtest/gtest.h>

#include <cstdio>

#include "button/draw/ShiftColor.h"

namespace tessel::test {
namespace {

struct ShiftCase {
  int32_t color;
  int16_t amount;
  bool scaleBlue, avoidExtremes, invert;
  int32_t expected;
  int16_t amountAfter;  // what the caller's variable holds afterwards
};

// Channel arithmetic, clamping, blue scaling (truncated toward zero), inversion and the reversal
// of the amount away from pure black and white.
const ShiftCase kShifts[] = {
    {0x808080, 0, false, false, false, 0x808080, 0},
    {0x808080, -48, false, false, false, 0x505050, -48},
    {0xFF0000, -25, true, false, false, 0xDE0000, -25},      // blue 255 - 25*255/192 = 255 - 33
    {0x0000FF, -25, true, false, false, 0x0000E6, -25},      // red and green shift by the amount
    {0xC00000, 48, true, false, false, 0xF03030, 48},        // blue 192 moves by exactly the amount
    {0x100000, -1, true, false, false, 0x100000, -1},        // -16/192 truncates to 0
    {0x123456, 300, false, false, false, 0xFFFFFF, 300},     // clamps high ...
    {0x123456, -300, false, false, false, 0x000000, -300},   // ... and low
    {0xFFFFFF, 20, false, true, false, 0xEBEBEB, -20},       // white reverses the amount
    {0x000000, 0, false, true, false, 0x404040, 64},         // an amount of 0 becomes 64
    {0xFFFFFF, 0, false, true, false, 0xBFBFBF, -64},        // white at 0 needs two turns
    {0x000000, -10, false, true, false, 0x0A0A0A, 10},
    {0x7F7F7F, -16, false, true, false, 0x6F6F6F, -16},      // no extreme: amount kept
    {0x102030, 0, false, false, true, 0xEFDFCF, 0},          // 255 - c per channel
    {0xFFFFFF, 0, false, true, true, 0x404040, -64},         // inverted to black: 64, then -64
    {0xFFFFFF, -32, true, false, false, 0xD5DFDF, -32},      // ... and of the rounded style
    {0x808080, 16, true, false, false, 0x8A9090, 16},        // glossy edge
};

TEST(ShiftColor, ShiftsClampsScalesInvertsAndAvoidsExtremes) {
  for (const ShiftCase& c : kShifts) {
    int16_t amount = c.amount;
    int32_t got = ShiftColor(c.color, amount, c.scaleBlue, c.avoidExtremes, c.invert);
    char what[96];
    std::snprintf(what, sizeof what, "ShiftColor(%06X, %d, %d, %d, %d)", static_cast<unsigned>(c.color), c.amount,
                  c.scaleBlue, c.avoidExtremes, c.invert);
    EXPECT_EQ(got, c.expected) << what << " gave " << std::hex << got;
    EXPECT_EQ(amount, c.amountAfter) << what;
    // The by-value form gives the same colour and leaves nothing behind.
    EXPECT_EQ(ShiftColor(c.color, int{c.amount}, c.scaleBlue, c.avoidExtremes, c.invert), c.expected) << what;
  }
}

}  // namespace
}  // namespace tessel::test
