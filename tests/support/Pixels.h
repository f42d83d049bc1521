#pragma once
// Reads exact pixels back from a 32-bpp DIB section (a form snapshot or a test's own target).
#include "tests/support/Prelude.h"

#include "server/contract/Gdi.h"
#include "tests/support/GdiCount.h"

namespace tessel::test {

// Top-down rows of 0x00RRGGBB pixels, read as 0x00BBGGRR (the RGB macro's layout).
class PixelRows {
 public:
  int width() const { return width_; }
  int height() const { return height_; }
  // The pixel; 0xFFFFFFFF outside the rows.
  COLORREF At(int x, int y) const {
    if (!rows_ || x < 0 || y < 0 || x >= width_ || y >= height_) return 0xFFFFFFFF;
    GdiFlush();  // a canvas's rows are the DIB section itself
    const uint32_t p = rows_[static_cast<size_t>(y) * width_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  // Counts the pixels of a rectangle (clipped to the rows) that have exactly this colour.
  int Count(const RECT& area, COLORREF color) const {
    int n = 0;
    for (int y = std::max<LONG>(area.top, 0); y < std::min<LONG>(area.bottom, height_); ++y)
      for (int x = std::max<LONG>(area.left, 0); x < std::min<LONG>(area.right, width_); ++x) n += At(x, y) == color;
    return n;
  }

 protected:
  const uint32_t* rows_ = nullptr;
  int width_ = 0, height_ = 0;
};

class DibProbe : public PixelRows {
 public:
  // Copies the pixels of a bitmap the caller keeps (not one selected into a DC still drawn in), read
  // back through GetDIBits as top-down 32-bpp rows, whatever the bitmap's own layout.
  explicit DibProbe(HBITMAP bitmap) {
    BITMAP bm{};
    if (!bitmap || !GetObjectW(bitmap, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return;
    GdiFlush();
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), bm.bmWidth, -bm.bmHeight, 1, 32, BI_RGB};
    std::vector<uint32_t> pixels(static_cast<size_t>(bm.bmWidth) * bm.bmHeight);
    if (GetDIBits(WindowDC(nullptr).get(), bitmap, 0, bm.bmHeight, pixels.data(), &bi, DIB_RGB_COLORS) != bm.bmHeight)
      return;
    pixels_ = std::move(pixels);
    rows_ = pixels_.data();
    width_ = bm.bmWidth;
    height_ = bm.bmHeight;
  }

 private:
  std::vector<uint32_t> pixels_;
};

// A 32-bpp top-down DIB section in a memory DC of its own, filled with one colour, to draw into.
class Canvas : public PixelRows {
 public:
  Canvas(int width, int height, COLORREF background) : dc_(CreateCompatibleDC(nullptr)) {
    void* bits = nullptr;
    bitmap_ = CreateDib32(dc_.get(), width, height, &bits);
    old_ = SelectObject(dc_.get(), bitmap_.get());
    rows_ = static_cast<const uint32_t*>(bits);
    width_ = width;
    height_ = height;
    const uint32_t fill = (GetRValue(background) << 16) | (GetGValue(background) << 8) | GetBValue(background);
    std::fill(static_cast<uint32_t*>(bits), static_cast<uint32_t*>(bits) + static_cast<size_t>(width) * height, fill);
  }
  ~Canvas() { SelectObject(dc_.get(), old_); }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  HDC dc() const { return dc_.get(); }

 private:
  unique_hdc dc_;
  unique_hbitmap bitmap_;
  HGDIOBJ old_ = nullptr;
};

// "#RRGGBB" for failure messages.
inline std::string Hex(COLORREF color) {
  char text[16];
  std::snprintf(text, sizeof(text), "#%02X%02X%02X", GetRValue(color), GetGValue(color), GetBValue(color));
  return text;
}

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
