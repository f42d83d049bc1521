#pragma once
// Reads exact pixels back from a 32-bpp DIB section (a form snapshot or a test's own target).
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tessel::test {

class DibProbe {
 public:
  // Copies the bitmap's pixels (any bitmap not selected into a DC the caller still draws in);
  // the bitmap stays owned by the caller.
  explicit DibProbe(HBITMAP bitmap);
  bool ok() const { return !pixels_.empty(); }
  int width() const { return width_; }
  int height() const { return height_; }
  // The pixel as 0x00BBGGRR (the RGB macro's layout); 0xFFFFFFFF outside the bitmap.
  COLORREF At(int x, int y) const;
  // Counts the pixels of a rectangle (clipped to the bitmap) that have exactly this colour.
  int Count(const RECT& area, COLORREF color) const;

 private:
  std::vector<uint32_t> pixels_;  // top-down rows of 0x00RRGGBB
  int width_ = 0, height_ = 0;
};

// "#RRGGBB" for failure messages.
std::string Hex(COLORREF color);

// The windows this process owns (top-level and children). GetGuiResources(GR_USEROBJECTS) where
// the system implements it; elsewhere (Wine) the windows found by enumeration.
unsigned UserObjectCount();

}  // namespace tessel::test
