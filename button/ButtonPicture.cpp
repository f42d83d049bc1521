#include "button/ButtonPicture.h"

#include <algorithm>

namespace tessel {

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
