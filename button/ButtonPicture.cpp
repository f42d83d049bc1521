#include "button/ButtonPicture.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace tessel {
namespace {

// A top-down 32-bpp DIB section: its pixels are read and written in place, all at once.
unique_hbitmap MakeDib(int width, int height, uint32_t*& bits) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* p = nullptr;
  unique_hbitmap dib(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &p, nullptr, 0));
  bits = static_cast<uint32_t*>(p);
  return dib;
}

bool NearKey(uint32_t pixel, uint32_t key) {
  for (int shift = 0; shift <= 16; shift += 8) {
    const int a = static_cast<int>((pixel >> shift) & 0xFF);
    const int b = static_cast<int>((key >> shift) & 0xFF);
    if (std::abs(a - b) > kKeyTolerance) return false;
  }
  return true;
}

unique_hrgn RectRegion(int l, int t, int r, int b) { return unique_hrgn(CreateRectRgn(l, t, r, b)); }

// The union of the transparent runs, one rectangle per run.
unique_hrgn RunsRegion(const std::vector<RECT>& runs) {
  if (runs.empty()) return RectRegion(0, 0, 0, 0);
  std::vector<char> data(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
  auto* rd = reinterpret_cast<RGNDATA*>(data.data());
  rd->rdh.dwSize = sizeof(RGNDATAHEADER);
  rd->rdh.iType = RDH_RECTANGLES;
  rd->rdh.nCount = static_cast<DWORD>(runs.size());
  rd->rdh.nRgnSize = static_cast<DWORD>(runs.size() * sizeof(RECT));
  RECT bounds{runs[0]};
  for (const RECT& r : runs) UnionRect(&bounds, &bounds, &r);
  rd->rdh.rcBound = bounds;
  std::copy(runs.begin(), runs.end(), reinterpret_cast<RECT*>(rd->Buffer));
  return unique_hrgn(ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), rd));
}

}  // namespace

void ReadPictureMetrics(ButtonState& s) {
  s.pictureIsIcon = 0;
  if (!s.picture || !s.picture->Handle()) {
    s.pictureCache.reset();
    s.pictureWidth = s.pictureHeight = 0;
    return;
  }
  HANDLE handle = s.picture->Handle();
  BITMAP header{};
  GetObjectW(handle, sizeof(header), &header);
  if (!header.bmBits) {
    ICONINFO info{};
    if (GetIconInfo(static_cast<HICON>(handle), &info)) {
      unique_hbitmap color(info.hbmColor), mask(info.hbmMask);
      if (color) {
        BITMAP colorHeader{};
        GetObjectW(color.get(), sizeof(colorHeader), &colorHeader);
        header = colorHeader;
        s.pictureIsIcon = 1;
      }
    }
  }
  s.pictureWidth = header.bmWidth;
  s.pictureHeight = header.bmHeight;
}

void BuildPictureCache(ButtonPaint& paint, int32_t width, int32_t height, HRGN cutRegion) {
  ButtonState& s = paint.state;
  if (!s.picture) return;
  s.pictureCache.reset();
  s.pictureCacheWidth = s.pictureCacheHeight = 0;
  if (s.pictureIsIcon == 1 || width <= 0 || height <= 0) return;

  uint32_t* bits = nullptr;
  unique_hbitmap cache = MakeDib(width, height, bits);
  if (!cache || !bits) return;
  if (width == s.pictureWidth && height == s.pictureHeight) {
    // Unscaled: the bitmap's bits are read into the copy in one call.
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
    WindowDC screen(nullptr);
    GetDIBits(screen.get(), static_cast<HBITMAP>(s.picture->Handle()), 0, static_cast<UINT>(height), bits, &bi,
              DIB_RGB_COLORS);
  } else {
    unique_hdc src(CreateCompatibleDC(nullptr)), dst(CreateCompatibleDC(nullptr));
    SelectGuard selectSrc(src.get(), s.picture->Handle());
    SelectGuard selectDst(dst.get(), cache.get());
    SetStretchBltMode(dst.get(), COLORONCOLOR);
    StretchBlt(dst.get(), 0, 0, width, height, src.get(), 0, 0, s.pictureWidth, s.pictureHeight, SRCCOPY);
  }
  GdiFlush();

  if (cutRegion) {
    s.regionB = RectRegion(0, 0, paint.W(), paint.H());
    s.regionA = RectRegion(0, 0, paint.W(), paint.H());
  }
  const uint32_t key = bits[0] & 0xFFFFFF;
  std::vector<RECT> runs;
  for (int y = 0; y < height; ++y) {
    uint32_t* row = bits + static_cast<size_t>(y) * width;
    int start = -1;
    for (int x = 0; x < width; ++x) {
      if (NearKey(row[x], key)) {
        row[x] = key;
        if (start < 0) start = x;
      } else if (start >= 0) {
        runs.push_back(RECT{start, y, x, y + 1});
        start = -1;
      }
    }
    if (start >= 0) runs.push_back(RECT{start, y, width, y + 1});
  }
  GdiFlush();

  if (cutRegion && !runs.empty()) {
    unique_hrgn cut = RunsRegion(runs);
    CombineRgn(cutRegion, cutRegion, cut.get(), RGN_DIFF);
    CombineRgn(s.regionB.get(), s.regionB.get(), cut.get(), RGN_DIFF);
    // Each run grown by one pixel on every side: the union of the runs moved by one pixel in
    // every direction.
    unique_hrgn grown = RectRegion(0, 0, 0, 0);
    unique_hrgn moved = RectRegion(0, 0, 0, 0);
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) {
        CombineRgn(moved.get(), cut.get(), nullptr, RGN_COPY);
        OffsetRgn(moved.get(), dx, dy);
        CombineRgn(grown.get(), grown.get(), moved.get(), RGN_OR);
      }
    }
    CombineRgn(s.regionA.get(), s.regionA.get(), grown.get(), RGN_DIFF);
  }
  s.pictureCache = std::move(cache);
  s.pictureCacheWidth = width;
  s.pictureCacheHeight = height;
}

void DrawTransparentBitmap(HDC dest, const RECT& destRect, HBITMAP source, int32_t drawnWidth, int32_t drawnHeight,
                           const RECT* sourceRect) {
  if (!dest || !source) return;
  BITMAP header{};
  if (!GetObjectW(source, sizeof(header), &header)) return;
  RECT src = sourceRect ? *sourceRect : RECT{0, 0, header.bmWidth, header.bmHeight};
  const int sw = src.right - src.left, sh = src.bottom - src.top;
  int areaW = destRect.right - destRect.left, areaH = destRect.bottom - destRect.top;
  if (areaW <= 0 || areaH <= 0) {
    areaW = drawnWidth;
    areaH = drawnHeight;
  }
  if (sw <= 0 || sh <= 0 || areaW <= 0 || areaH <= 0 || drawnWidth <= 0 || drawnHeight <= 0) return;
  if (drawnWidth > areaW || drawnHeight > areaH) {
    const double s = std::min(static_cast<double>(areaW) / drawnWidth, static_cast<double>(areaH) / drawnHeight);
    drawnWidth = RoundEven(drawnWidth * s);
    drawnHeight = RoundEven(drawnHeight * s);
  }

  WindowDC screen(nullptr);
  unique_hdc sourceDC(CreateCompatibleDC(screen.get()));
  unique_hdc compositeDC(CreateCompatibleDC(screen.get()));
  unique_hdc colorDC(CreateCompatibleDC(screen.get()));
  unique_hdc maskDC(CreateCompatibleDC(screen.get()));
  unique_hbitmap composite(CreateCompatibleBitmap(screen.get(), areaW, areaH));
  unique_hbitmap color(CreateCompatibleBitmap(screen.get(), sw, sh));
  unique_hbitmap mask(CreateBitmap(sw, sh, 1, 1, nullptr));
  if (!sourceDC || !compositeDC || !colorDC || !maskDC || !composite || !color || !mask) return;
  SelectGuard s1(sourceDC.get(), source);
  SelectGuard s2(compositeDC.get(), composite.get());
  SelectGuard s3(colorDC.get(), color.get());
  SelectGuard s4(maskDC.get(), mask.get());
  SetMapMode(compositeDC.get(), GetMapMode(dest));

  const COLORREF key = GetPixel(sourceDC.get(), src.left, src.top);
  BitBlt(compositeDC.get(), 0, 0, areaW, areaH, dest, destRect.left, destRect.top, SRCCOPY);
  BitBlt(colorDC.get(), 0, 0, sw, sh, sourceDC.get(), src.left, src.top, SRCCOPY);
  SetBkColor(colorDC.get(), key);
  BitBlt(maskDC.get(), 0, 0, sw, sh, colorDC.get(), 0, 0, SRCCOPY);  // key white, the rest black
  SetBkColor(colorDC.get(), RGB(255, 255, 255));
  SetTextColor(colorDC.get(), RGB(0, 0, 0));
  BitBlt(colorDC.get(), 0, 0, sw, sh, maskDC.get(), 0, 0, 0x00220326);  // key pixels black: D and not S
  SetBkColor(compositeDC.get(), RGB(255, 255, 255));
  SetTextColor(compositeDC.get(), RGB(0, 0, 0));
  SetStretchBltMode(compositeDC.get(), COLORONCOLOR);
  StretchBlt(compositeDC.get(), 0, 0, drawnWidth, drawnHeight, maskDC.get(), 0, 0, sw, sh, SRCAND);
  StretchBlt(compositeDC.get(), 0, 0, drawnWidth, drawnHeight, colorDC.get(), 0, 0, sw, sh, SRCPAINT);
  BitBlt(dest, destRect.left, destRect.top, areaW, areaH, compositeDC.get(), 0, 0, SRCCOPY);
}

void DrawPicture(ButtonPaint& paint, RECT rect) {
  ButtonState& s = paint.state;
  HDC mem = s.memDC.get();
  if (!mem || !s.picture || !s.HasPicture()) return;
  if (s.IsCustomShape()) {
    rect = RECT{0, 0, paint.W(), paint.H()};
    if (s.PressedLook()) InflateRect(&rect, -1, -1);
  }
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return;
  if (!s.pictureIsIcon && !s.pictureCache) BuildPictureCache(paint, w, h, nullptr);

  // Boxes beside the caption show the picture at its own size, made smaller to fit; stretched,
  // fitted and custom-shaped pictures fill their rectangle.
  const bool fills = s.pictureSize >= kPictureStretchPixels || s.IsCustomShape();
  const int drawnW = fills ? w : s.pictureWidth, drawnH = fills ? h : s.pictureHeight;

  auto draw = [&](HDC dc, const RECT& at) {
    if (s.pictureIsIcon == 1) {
      DrawIconEx(dc, at.left, at.top, static_cast<HICON>(s.picture->Handle()), w, h, 0, nullptr, DI_NORMAL);
    } else {
      DrawTransparentBitmap(dc, at, s.pictureCache.get(), drawnW, drawnH);
    }
  };
  if (paint.enabled) {
    draw(mem, rect);
    return;
  }
  // Disabled: the picture goes on white first; then white stays the face and the rest turns grey.
  unique_hdc tempDC(CreateCompatibleDC(mem));
  unique_hbitmap temp(CreateCompatibleBitmap(mem, w, h));
  if (!tempDC || !temp) return;
  SelectGuard selectTemp(tempDC.get(), temp.get());
  PatBlt(tempDC.get(), 0, 0, w, h, WHITENESS);
  draw(tempDC.get(), RECT{0, 0, w, h});
  unique_hbrush grey(CreateSolidBrush(RGB(128, 128, 128)));
  const COLORREF oldBk = SetBkColor(mem, RGB(255, 255, 255));
  const COLORREF oldText = SetTextColor(mem, RGB(0, 0, 0));
  {
    SelectGuard selectGrey(mem, grey.get());
    BitBlt(mem, rect.left, rect.top, w, h, tempDC.get(), 0, 0, 0x00B8074A);
  }
  SetBkColor(mem, oldBk);
  SetTextColor(mem, oldText);
}

}  // namespace tessel
