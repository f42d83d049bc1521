#include "tests/support/Pixels.h"

#include <algorithm>
#include <cstdio>

namespace tessel::test {

DibProbe::DibProbe(HBITMAP dib) {
  DIBSECTION ds{};
  if (!dib || GetObjectW(dib, sizeof(ds), &ds) != sizeof(ds) || ds.dsBm.bmBitsPixel != 32 || !ds.dsBm.bmBits) return;
  GdiFlush();
  bits_ = static_cast<const uint8_t*>(ds.dsBm.bmBits);
  width_ = ds.dsBm.bmWidth;
  height_ = ds.dsBm.bmHeight;
  stride_ = ds.dsBm.bmWidthBytes;
  bottomUp_ = ds.dsBmih.biHeight > 0;
}

COLORREF DibProbe::At(int x, int y) const {
  if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return 0xFFFFFFFF;
  const int row = bottomUp_ ? height_ - 1 - y : y;
  const uint8_t* p = bits_ + static_cast<size_t>(row) * stride_ + static_cast<size_t>(x) * 4;
  return RGB(p[2], p[1], p[0]);
}

int DibProbe::Count(const RECT& area, COLORREF color) const {
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
