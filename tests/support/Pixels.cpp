#include "tests/support/Pixels.h"

#include <algorithm>
#include <cstdio>

namespace tessel::test {

COLORREF PixelRows::At(int x, int y) const {
  if (!rows_ || x < 0 || y < 0 || x >= width_ || y >= height_) return 0xFFFFFFFF;
  GdiFlush();  // a canvas's rows are the DIB section itself
  const uint32_t p = rows_[static_cast<size_t>(y) * width_ + x];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int PixelRows::Count(const RECT& area, COLORREF color) const {
  int n = 0;
  for (int y = std::max<LONG>(area.top, 0); y < std::min<LONG>(area.bottom, height_); ++y)
    for (int x = std::max<LONG>(area.left, 0); x < std::min<LONG>(area.right, width_); ++x)
      if (At(x, y) == color) ++n;
  return n;
}

DibProbe::DibProbe(HBITMAP bitmap) {
  BITMAP bm{};
  if (!bitmap || !GetObjectW(bitmap, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return;
  GdiFlush();
  // Read back through GetDIBits as top-down 32-bpp rows, whatever the bitmap's own layout.
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

Canvas::Canvas(int width, int height, COLORREF background) {
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
  void* bits = nullptr;
  dc_.reset(CreateCompatibleDC(nullptr));
  bitmap_.reset(CreateDIBSection(dc_.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  old_ = SelectObject(dc_.get(), bitmap_.get());
  rows_ = static_cast<const uint32_t*>(bits);
  width_ = width;
  height_ = height;
  const uint32_t fill = (GetRValue(background) << 16) | (GetGValue(background) << 8) | GetBValue(background);
  std::fill(static_cast<uint32_t*>(bits), static_cast<uint32_t*>(bits) + static_cast<size_t>(width) * height, fill);
}

Canvas::~Canvas() { SelectObject(dc_.get(), old_); }

std::string Hex(COLORREF color) {
  char text[16];
  std::snprintf(text, sizeof(text), "#%02X%02X%02X", GetRValue(color), GetGValue(color), GetBValue(color));
  return text;
}

}  // namespace tessel::test
