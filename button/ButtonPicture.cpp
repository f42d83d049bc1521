#include "button/ButtonPicture.h"

#include <algorithm>

#include "server/contract/IconImage.h"

namespace tessel {

void ReadPictureMetrics(ButtonState& s) {
  s.pictureIsIcon = 0;
  s.iconImage.reset();
  s.iconImageSide = 0;
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

void DrawTransparentRows(HDC dest, const RECT& destRect, const PictureRows& rows, int32_t drawnWidth,
                        int32_t drawnHeight) {
  if (!dest || !rows) return;
  const int sw = rows.width, sh = rows.height;
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
  // Exclusive or of the colour, then the mask (its transparent bits white, the rest black) ANDed
  // on, then the colour again: what was there stays where the mask is set, the colour elsewhere.
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colors[2];
  } maskInfo{{sizeof(BITMAPINFOHEADER), sw, -sh, 1, 1, BI_RGB}, {{0, 0, 0, 0}, {255, 255, 255, 0}}};
  BITMAPINFO colourInfo{};
  colourInfo.bmiHeader = {sizeof(BITMAPINFOHEADER), sw, rows.bottomUp ? sh : -sh, 1, 32, BI_RGB};
  const int oldMode = SetStretchBltMode(dest, COLORONCOLOR);
  auto draw = [&](const void* bits, const BITMAPINFO* info, DWORD rop) {
    StretchDIBits(dest, destRect.left, destRect.top, drawnWidth, drawnHeight, 0, 0, sw, sh, bits, info,
                  DIB_RGB_COLORS, rop);
  };
  draw(rows.colour, &colourInfo, SRCINVERT);
  draw(rows.mask.get(), reinterpret_cast<const BITMAPINFO*>(&maskInfo), SRCAND);
  draw(rows.colour, &colourInfo, SRCINVERT);
  if (oldMode) SetStretchBltMode(dest, oldMode);
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

  // An icon file with several images shows the one the system chooses for the box's side.
  HICON icon = static_cast<HICON>(s.picture->Handle());
  if (s.pictureIsIcon == 1) {
    if (s.iconImageSide != std::max(w, h)) {
      s.iconImageSide = std::max(w, h);
      s.iconImage = IconImageFor(*s.picture, s.iconImageSide);
    }
    if (s.iconImage) icon = s.iconImage.get();
  }
  auto draw = [&](HDC dc, const RECT& at) {
    if (s.pictureIsIcon == 1) {
      DrawIconEx(dc, at.left, at.top, icon, w, h, 0, nullptr, DI_NORMAL);
    } else {
      DrawTransparentRows(dc, at, s.pictureCache, drawnW, drawnH);
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
