#pragma once
// Reads exact pixels back from a 32-bpp DIB section (a form snapshot or a test's own target).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "server/contract/Gdi.h"
#include "tests/support/GdiCount.h"

namespace tessel::test {

// Top-down rows of 0x00RRGGBB pixels, read as 0x00BBGGRR (the RGB macro's layout).
class PixelRows {
 public:
  int width() const { return width_; }
  int height() const { return height_; }
  // The pixel; 0xFFFFFFFF outside the rows.
  COLORREF At(int x, int y) const;
  // Counts the pixels of a rectangle (clipped to the rows) that have exactly this colour.
  int Count(const RECT& area, COLORREF color) const;

 protected:
  const uint32_t* rows_ = nullptr;
  int width_ = 0, height_ = 0;
};

class DibProbe : public PixelRows {
 public:
  // Copies the pixels of a bitmap the caller keeps (not one selected into a DC still drawn in).
  explicit DibProbe(HBITMAP bitmap);
  bool ok() const { return !pixels_.empty(); }

 private:
  std::vector<uint32_t> pixels_;
};

// A 32-bpp top-down DIB section in a memory DC of its own, filled with one colour, to draw into.
class Canvas : public PixelRows {
 public:
  Canvas(int width, int height, COLORREF background);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  HDC dc() const { return dc_.get(); }

 private:
  unique_hdc dc_;
  unique_hbitmap bitmap_;
  HGDIOBJ old_ = nullptr;
};

// "#RRGGBB" for failure messages.
std::string Hex(COLORREF color);

// How many pixels of two pictures differ; -1 when their sizes do.
inline int DifferentPixels(const PixelRows& a, const PixelRows& b) {
  if (a.width() != b.width() || a.height() != b.height()) return -1;
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) n += a.At(x, y) != b.At(x, y);
  return n;
}

// Exact colours at points: a failure names the point and both colours. Works on a DibProbe or a Canvas.
struct Pixel { int x, y; COLORREF color; };
template <class Probe, class Pixels = std::initializer_list<Pixel>>
void ExpectPixels(const Probe& probe, const Pixels& expected) {
  for (const Pixel& p : expected) EXPECT_EQ(Hex(probe.At(p.x, p.y)), Hex(p.color)) << "at " << p.x << "," << p.y;
}

}  // namespace tessel::test
