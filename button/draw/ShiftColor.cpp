#include "button/draw/ShiftColor.h"

#include <algorithm>

namespace tessel {
namespace {

int32_t ShiftOnce(int32_t color, int amount, bool scaleBlue, bool invert) {
  int red = color & 0xFF;
  int green = (color & 0xFF00) >> 8;
  int blue = (color & 0xFF0000) >> 16;
  red += amount;
  green += amount;
  // Integer division truncates toward zero, as the colour table of the styles expects.
  blue += scaleBlue ? (amount * blue) / 192 : amount;
  auto finish = [invert](int c) {
    c = std::clamp(c, 0, 255);
    return invert ? 255 - c : c;
  };
  return finish(red) + finish(green) * 256 + finish(blue) * 65536;
}

}  // namespace

int32_t ShiftColor(int32_t color, int16_t& amount, bool scaleBlue, bool avoidExtremes, bool invert) {
  int32_t result = ShiftOnce(color, amount, scaleBlue, invert);
  // An amount of 0 on white needs two turns (0 -> 64 -> -64); more can only come from an amount
  // outside the range the styles use, and the last result is then kept.
  for (int turn = 0; avoidExtremes && turn < 2 && (result == 0 || result == 0xFFFFFF); ++turn) {
    amount = amount == 0 ? int16_t{64} : static_cast<int16_t>(-amount);
    result = ShiftOnce(color, amount, scaleBlue, invert);
  }
  return result;
}

}  // namespace tessel
