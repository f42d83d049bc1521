#pragma once
// The largest image a control keeps of itself (a back buffer, a persistent image): at most an 8K
// screen's pixels (133 MB at 32 bpp) and 16384 pixels a side. A window made as large as the system
// allows so takes neither gigabytes nor minutes to draw; what lies beyond is not drawn.
#include <windows.h>

#include <algorithm>

namespace tessel {

inline SIZE BoundedImageSize(LONG width, LONG height) {
  constexpr LONG kSide = 16384, kArea = 7680 * 4320;
  const LONG w = std::clamp<LONG>(width, 1, kSide), h = std::clamp<LONG>(height, 1, kSide);
  return SIZE{w, std::min<LONG>(h, kArea / w)};
}

}  // namespace tessel
