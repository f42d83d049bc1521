#pragma once
// The largest image a control keeps of itself (a back buffer, a persistent image): at most an 8K
// screen's pixels (133 MB at 32 bpp) and 16384 pixels a side. A window made as large as the system
// allows so takes neither gigabytes nor minutes to draw; what lies beyond is not drawn.
#include <windows.h>

#include <algorithm>
#include <cstdint>

namespace tessel {

inline SIZE BoundedImageSize(LONG width, LONG height) {
  constexpr LONG kSide = 16384, kArea = 7680 * 4320;
  const LONG w = std::clamp<LONG>(width, 1, kSide), h = std::clamp<LONG>(height, 1, kSide);
  return SIZE{w, std::min<LONG>(h, kArea / w)};
}

// Windows up to this many pixels a side keep an image of their whole client area.
constexpr LONG kWholeImageSide = 2048;

// The image a window that can draw itself again needs: its whole client area up to
// kWholeImageSide pixels a side; of a larger window, what the screen can show from where the
// window stands now, and never less than the screen's own width or height (so that moving it
// about the screen needs no new image). A write to a window as large as the system allows so
// draws a screenful, not an 8K screen's pixels. Then bounded as above; without a window (one whose
// owner would not draw again), the whole client area so bounded.
inline SIZE ShownImageSize(HWND window, LONG width, LONG height) {
  if (window && (width > kWholeImageSide || height > kWholeImageSide)) {
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    const int64_t screenWidth = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int64_t screenHeight = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    const int64_t right = GetSystemMetrics(SM_XVIRTUALSCREEN) + screenWidth - origin.x;
    const int64_t bottom = GetSystemMetrics(SM_YVIRTUALSCREEN) + screenHeight - origin.y;
    width = static_cast<LONG>(std::min<int64_t>(width, std::max({screenWidth, right, int64_t{1}})));
    height = static_cast<LONG>(std::min<int64_t>(height, std::max({screenHeight, bottom, int64_t{1}})));
  }
  return BoundedImageSize(width, height);
}

// An image of `made` pixels that shows less than the window needs now (the window moved further
// off the screen's top or left edge): it is made again and drawn afresh.
inline bool ImageOutgrown(HWND window, SIZE made, LONG width, LONG height) {
  if (made.cx >= width && made.cy >= height) return false;
  const SIZE wanted = ShownImageSize(window, width, height);
  return wanted.cx > made.cx || wanted.cy > made.cy;
}

}  // namespace tessel
