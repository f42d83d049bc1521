#pragma once
// The button's colour arithmetic: every derived colour of a ButtonStyle comes from shifting red,
// green and blue of a base colour by one signed amount.
#include <cstdint>

namespace tessel {

// Shifts red and green by `amount`, and blue by `amount` too, or, with `scaleBlue`, by
// amount * blue / 192 (so blue moves in proportion to itself and exactly by `amount` at 192).
// Channels are clamped to 0..255 and then inverted (255 - c) when `invert` is set.
// With `avoidExtremes`, a result of pure black or pure white is not accepted: the amount is
// negated (0 becomes 64) and the shift starts again from `color`; the caller's `amount` keeps
// the amount that was finally used. Colours are RGB 0x00BBGGRR.
int32_t ShiftColor(int32_t color, int16_t& amount, bool scaleBlue, bool avoidExtremes, bool invert);

// The same shift for callers that pass the amount as a value and do not want it back.
inline int32_t ShiftColor(int32_t color, int amount, bool scaleBlue = false, bool avoidExtremes = false,
                          bool invert = false) {
  int16_t a = static_cast<int16_t>(amount);
  return ShiftColor(color, a, scaleBlue, avoidExtremes, invert);
}

}  // namespace tessel
