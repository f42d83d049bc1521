#pragma once
// A size a program gives in pixels at 96 dpi (a picture box's side, a caption box's height), as
// many pixels at the screen's resolution: the same at 96 dpi, half as large again at 144, rounded
// to the nearest pixel and kept within int for any value.
#include <algorithm>
#include <climits>
#include <cmath>

#include "server/contract/Twips.h"

namespace tessel {

inline int PixelsForScreen(int pixelsAt96) {
  const double scaled = std::round(static_cast<double>(pixelsAt96) * ScreenDpiY() / 96.0);
  return static_cast<int>(std::clamp(scaled, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

}  // namespace tessel
