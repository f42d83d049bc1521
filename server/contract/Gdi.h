#pragma once
// Owned GDI and USER handles and scoped DC state. Every object the library creates lives in one of
// these wrappers; drawing code that is handed a handle borrows it and never frees it.
#include <windows.h>

#include <cstdint>

#include "server/contract/UniqueHandle.h"

namespace tessel {

namespace detail {
inline void CloseGdiObject(HGDIOBJ h) { DeleteObject(h); }
template <class T>
inline void CloseGdi(T h) { DeleteObject(h); }
inline void CloseDc(HDC h) { DeleteDC(h); }
inline void CloseOwnedWindow(HWND h) {
  if (IsWindow(h)) DestroyWindow(h);
}
inline void CloseCursor(HCURSOR h) { DestroyCursor(h); }
inline void CloseIcon(HICON h) { DestroyIcon(h); }
}  // namespace detail

using unique_hbrush = unique_handle<HBRUSH, detail::CloseGdi<HBRUSH>>;
using unique_hpen = unique_handle<HPEN, detail::CloseGdi<HPEN>>;
using unique_hfont = unique_handle<HFONT, detail::CloseGdi<HFONT>>;
using unique_hbitmap = unique_handle<HBITMAP, detail::CloseGdi<HBITMAP>>;
using unique_hrgn = unique_handle<HRGN, detail::CloseGdi<HRGN>>;
using unique_hdc = unique_handle<HDC, detail::CloseDc>;          // CreateCompatibleDC / CreateDC
using unique_hwnd = unique_handle<HWND, detail::CloseOwnedWindow>;     // DestroyWindow when still a window
using unique_hcursor = unique_handle<HCURSOR, detail::CloseCursor>;
using unique_hicon = unique_handle<HICON, detail::CloseIcon>;

// GetDC / ReleaseDC.
class WindowDC {
 public:
  explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~WindowDC() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// BeginPaint / EndPaint.
class PaintDC {
 public:
  explicit PaintDC(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
  ~PaintDC() { EndPaint(hwnd_, &ps_); }
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  HDC get() const { return dc_; }
  const RECT& dirty() const { return ps_.rcPaint; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_ = nullptr;
};

// Selects an object into a DC and puts the previous one back when it leaves scope.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
  ~SelectGuard() {
    if (old_) SelectObject(dc_, old_);
  }
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// SaveDC / RestoreDC: clip region, mapping, colours and selected objects come back as they were.
class SaveDCGuard {
 public:
  explicit SaveDCGuard(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
  ~SaveDCGuard() {
    if (saved_) RestoreDC(dc_, saved_);
  }
  SaveDCGuard(const SaveDCGuard&) = delete;
  SaveDCGuard& operator=(const SaveDCGuard&) = delete;

 private:
  HDC dc_;
  int saved_;
};

// An off-screen bitmap compatible with a DC, selected into a memory DC of its own. Painting goes
// here first and reaches the window in one block transfer.
class BackBuffer {
 public:
  BackBuffer(HDC compatible, int width, int height)
      : dc_(CreateCompatibleDC(compatible)),
        bitmap_(CreateCompatibleBitmap(compatible, width > 0 ? width : 1, height > 0 ? height : 1)),
        width_(width),
        height_(height) {
    if (dc_ && bitmap_) old_ = SelectObject(dc_.get(), bitmap_.get());
  }
  ~BackBuffer() {
    if (old_) SelectObject(dc_.get(), old_);
  }
  BackBuffer(const BackBuffer&) = delete;
  BackBuffer& operator=(const BackBuffer&) = delete;
  bool ok() const { return dc_ && bitmap_ && old_; }
  HDC dc() const { return dc_.get(); }
  void CopyTo(HDC dest, int x = 0, int y = 0) const { BitBlt(dest, x, y, width_, height_, dc_.get(), 0, 0, SRCCOPY); }

 private:
  unique_hdc dc_;
  unique_hbitmap bitmap_;
  HGDIOBJ old_ = nullptr;
  int width_, height_;
};

// A top-down 32-bpp DIB section (rows of BGRA pixels from the top, 4 bytes a pixel); bits gets
// the first row. Null, with bits null, when it cannot be made.
inline unique_hbitmap CreateDib32(HDC dc, int width, int height, void** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  *bits = nullptr;
  return unique_hbitmap(CreateDIBSection(dc, &info, DIB_RGB_COLORS, bits, nullptr, 0));
}

// Fills with a solid colour through the DC's own brush: no brush is made, and the DC's brush colour
// is left as it was.
inline void FillSolid(HDC dc, const RECT& r, COLORREF color) {
  const COLORREF old = SetDCBrushColor(dc, color);
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  SetDCBrushColor(dc, old);
}

// Selects the DC's own brush (or pen) in the colour given and puts the previous object and colour
// back when it leaves scope: a solid fill or a solid one-pixel line without making an object.
class DcBrushGuard {
 public:
  DcBrushGuard(HDC dc, COLORREF color)
      : dc_(dc), oldColor_(SetDCBrushColor(dc, color)), old_(SelectObject(dc, GetStockObject(DC_BRUSH))) {}
  ~DcBrushGuard() {
    if (old_) SelectObject(dc_, old_);
    SetDCBrushColor(dc_, oldColor_);
  }
  DcBrushGuard(const DcBrushGuard&) = delete;
  DcBrushGuard& operator=(const DcBrushGuard&) = delete;

 private:
  HDC dc_;
  COLORREF oldColor_;
  HGDIOBJ old_;
};

class DcPenGuard {
 public:
  DcPenGuard(HDC dc, COLORREF color)
      : dc_(dc), oldColor_(SetDCPenColor(dc, color)), old_(SelectObject(dc, GetStockObject(DC_PEN))) {}
  ~DcPenGuard() {
    if (old_) SelectObject(dc_, old_);
    SetDCPenColor(dc_, oldColor_);
  }
  DcPenGuard(const DcPenGuard&) = delete;
  DcPenGuard& operator=(const DcPenGuard&) = delete;

 private:
  HDC dc_;
  COLORREF oldColor_;
  HGDIOBJ old_;
};

// An RGB (0x00BBGGRR) value for drawing from a translated OLE colour, with a fallback for -1.
inline COLORREF ColorOr(int32_t rgb, COLORREF fallback) { return rgb < 0 ? fallback : static_cast<COLORREF>(rgb); }

}  // namespace tessel
