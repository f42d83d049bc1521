#pragma once
// Edges of windows and figures in pixels, kept within the signed 16 bits that the system's window
// messages carry (WM_SIZE, WM_MOVE, mouse positions). A control or constituent set to the largest
// twips is as large as a window can report, and nothing is drawn beyond it: the system's figure
// drawing (RoundRect, Ellipse) takes time in proportion to the figure, whatever is visible.
#include <algorithm>
#include <cstdint>

#include "server/contract/Twips.h"

namespace tessel {

inline constexpr int kLowestPixelEdge = -32768;
inline constexpr int kHighestPixelEdge = 32767;

inline int ClampedPixelEdge(int64_t pixels) {
  return static_cast<int>(std::clamp<int64_t>(pixels, kLowestPixelEdge, kHighestPixelEdge));
}

// A sum of twips (an edge = left + width) without overflow.
inline int PixelEdgeX(int64_t twips) { return ClampedPixelEdge(PixelsFromTwipsX(twips)); }
inline int PixelEdgeY(int64_t twips) { return ClampedPixelEdge(PixelsFromTwipsY(twips)); }

}  // namespace tessel
