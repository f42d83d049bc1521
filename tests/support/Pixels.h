#pragma once
// Reads exact pixels back from a 32-bpp DIB section (a form snapshot or a test's own target).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "server/contract/Gdi.h"

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

// A 32-bpp top-down DIB section in a memory DC of its own, filled with one colour: a target that
// pictures and renderers draw into, read back pixel for pixel.
class Canvas {
 public:
  Canvas(int width, int height, COLORREF background);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  HDC dc() const { return dc_.get(); }
  COLORREF At(int x, int y) const;   // 0x00BBGGRR; 0xFFFFFFFF outside
  int Count(const RECT& area, COLORREF color) const;

 private:
  int width_, height_;
  unique_hdc dc_;
  unique_hbitmap bitmap_;
  HGDIOBJ old_ = nullptr;
  uint32_t* bits_ = nullptr;
};

// "#RRGGBB" for failure messages.
std::string Hex(COLORREF color);

// Exact colours at points: a failure names the point and both colours. Works on a DibProbe or a Canvas.
struct Pixel { int x, y; COLORREF color; };
template <class Probe, class Pixels = std::initializer_list<Pixel>>
void ExpectPixels(const Probe& probe, const Pixels& expected) {
  for (const Pixel& p : expected) EXPECT_EQ(Hex(probe.At(p.x, p.y)), Hex(p.color)) << "at " << p.x << "," << p.y;
}

// The windows this process owns (top-level and children). GetGuiResources(GR_USEROBJECTS) where
// the system implements it; elsewhere (Wine) the windows found by enumeration.
unsigned UserObjectCount();

}  // namespace tessel::test
