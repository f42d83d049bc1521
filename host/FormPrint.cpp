// Printing a form: its client area and every visible child through the windows' own print paths.
#include <algorithm>

#include "host/Form.h"
#include "host/WindowPrint.h"

namespace tessel {

void Form::RenderTo(HDC dc) const {
  if (!hwnd_) return;
  PrintWindowTree(hwnd_, dc, POINT{0, 0});
}

unique_hbitmap Form::Snapshot() const {
  RECT r{};
  if (hwnd_) GetClientRect(hwnd_, &r);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = std::max<LONG>(r.right, 1);
  bi.bmiHeader.biHeight = -std::max<LONG>(r.bottom, 1);
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  unique_hbitmap bitmap(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) return bitmap;
  unique_hdc dc(CreateCompatibleDC(nullptr));
  {
    SelectGuard select(dc.get(), bitmap.get());
    RenderTo(dc.get());
    GdiFlush();
  }
  return bitmap;
}

}  // namespace tessel
