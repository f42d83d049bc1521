#include "tests/support/Pixels.h"

#include <algorithm>
#include <cstdio>

namespace tessel::test {

DibProbe::DibProbe(HBITMAP bitmap) {
  BITMAP bm{};
  if (!bitmap || !GetObjectW(bitmap, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return;
  GdiFlush();
  // Read back through GetDIBits as top-down 32-bpp rows, whatever the bitmap's own layout.
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = bm.bmWidth;
  bi.bmiHeader.biHeight = -bm.bmHeight;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  std::vector<uint32_t> pixels(static_cast<size_t>(bm.bmWidth) * bm.bmHeight);
  HDC screen = GetDC(nullptr);
  const int rows = GetDIBits(screen, bitmap, 0, bm.bmHeight, pixels.data(), &bi, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (rows != bm.bmHeight) return;
  pixels_ = std::move(pixels);
  width_ = bm.bmWidth;
  height_ = bm.bmHeight;
}

COLORREF DibProbe::At(int x, int y) const {
  if (pixels_.empty() || x < 0 || y < 0 || x >= width_ || y >= height_) return 0xFFFFFFFF;
  const uint32_t p = pixels_[static_cast<size_t>(y) * width_ + x];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int DibProbe::Count(const RECT& area, COLORREF color) const {
  int n = 0;
  for (int y = std::max<LONG>(area.top, 0); y < std::min<LONG>(area.bottom, height_); ++y)
    for (int x = std::max<LONG>(area.left, 0); x < std::min<LONG>(area.right, width_); ++x)
      if (At(x, y) == color) ++n;
  return n;
}

Canvas::Canvas(int width, int height, COLORREF background) : width_(width), height_(height) {
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
  dc_.reset(CreateCompatibleDC(nullptr));
  bitmap_.reset(CreateDIBSection(dc_.get(), &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0));
  old_ = SelectObject(dc_.get(), bitmap_.get());
  const uint32_t fill = (GetRValue(background) << 16) | (GetGValue(background) << 8) | GetBValue(background);
  std::fill(bits_, bits_ + static_cast<size_t>(width) * height, fill);
}

Canvas::~Canvas() { SelectObject(dc_.get(), old_); }

COLORREF Canvas::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0xFFFFFFFF;
  GdiFlush();
  const uint32_t p = bits_[static_cast<size_t>(y) * width_ + x];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int Canvas::Count(const RECT& area, COLORREF color) const {
  int n = 0;
  for (int y = std::max<LONG>(area.top, 0); y < std::min<LONG>(area.bottom, height_); ++y)
    for (int x = std::max<LONG>(area.left, 0); x < std::min<LONG>(area.right, width_); ++x)
      if (At(x, y) == color) ++n;
  return n;
}

std::string Hex(COLORREF color) {
  char text[16];
  std::snprintf(text, sizeof(text), "#%02X%02X%02X", GetRValue(color), GetGValue(color), GetBValue(color));
  return text;
}

namespace {

BOOL CALLBACK CountChild(HWND w, LPARAM lp) {
  ++*reinterpret_cast<unsigned*>(lp);
  return TRUE;
}

BOOL CALLBACK CountTop(HWND w, LPARAM lp) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid != GetCurrentProcessId()) return TRUE;
  auto* n = reinterpret_cast<unsigned*>(lp);
  ++*n;
  EnumChildWindows(w, CountChild, lp);
  return TRUE;
}

}  // namespace

unsigned UserObjectCount() {
  if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)) return n;
  unsigned n = 0;
  EnumWindows(CountTop, reinterpret_cast<LPARAM>(&n));
  // Message-only windows are not listed by EnumWindows.
  HWND w = nullptr;
  while ((w = FindWindowExW(HWND_MESSAGE, w, nullptr, nullptr)) != nullptr) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == GetCurrentProcessId()) ++n;
  }
  return n;
}

}  // namespace tessel::test
