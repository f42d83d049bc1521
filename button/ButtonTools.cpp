#include "button/ButtonTools.h"

namespace tessel {

int32_t ResolveColor(OleColor color) {
  const auto value = static_cast<int32_t>(color);
  if (value >= 0) return value;
  return static_cast<int32_t>(GetSysColor(static_cast<int>(color & 0xFF)));
}

void FitPictureSize(const ButtonState& state, int32_t boxWidth, int32_t boxHeight, int32_t& width, int32_t& height) {
  if (state.pictureWidth <= 0 || state.pictureHeight <= 0) {
    width = height = 0;
    return;
  }
  const double sx = static_cast<double>(boxWidth) / state.pictureWidth;
  const double sy = static_cast<double>(boxHeight) / state.pictureHeight;
  const double s = sy < sx ? sy : sx;
  width = RoundEven(state.pictureWidth * s);
  height = RoundEven(state.pictureHeight * s);
}

}  // namespace tessel
