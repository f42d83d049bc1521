// The drawing services of a surface window: a persistent image that paints show, the pen and
// brush colours and fill mode its shapes use, text measuring in its font and picture painting.
#include "host/SurfaceWindow.h"

namespace tessel {
namespace {

COLORREF Rgb(OleColor color) { return ColorOr(TranslateColor(color), 0); }

}  // namespace

void SurfaceWindow::SetPersistentImage(bool keep) {
  keepImage_ = keep;
  if (!keep) ReleaseImage();
}

void SurfaceWindow::ReleaseImage() {
  if (imageDc_) {
    if (imageOldBitmap_) SelectObject(imageDc_.get(), imageOldBitmap_);
    if (imageOldFont_) SelectObject(imageDc_.get(), imageOldFont_);
  }
  imageOldBitmap_ = imageOldFont_ = nullptr;
  image_.reset();
  imageDc_.reset();
  imageSize_ = SIZE{0, 0};
}

HDC SurfaceWindow::DrawingDC() {
  if (!keepImage_ || !hwnd_) return nullptr;
  RECT client{};
  GetClientRect(hwnd_, &client);
  const SIZE size{client.right > 0 ? client.right : 1, client.bottom > 0 ? client.bottom : 1};
  if (!imageDc_ || size.cx != imageSize_.cx || size.cy != imageSize_.cy) {
    ReleaseImage();
    WindowDC screen(hwnd_);
    if (!screen) return nullptr;
    imageDc_.reset(CreateCompatibleDC(screen.get()));
    image_.reset(CreateCompatibleBitmap(screen.get(), size.cx, size.cy));
    if (!imageDc_ || !image_) {
      ReleaseImage();
      return nullptr;
    }
    imageOldBitmap_ = SelectObject(imageDc_.get(), image_.get());
    imageOldFont_ = GetCurrentObject(imageDc_.get(), OBJ_FONT);
    imageSize_ = size;
    SetBkMode(imageDc_.get(), TRANSPARENT);
    Cls();
  }
  SelectDrawingFont(imageDc_.get());
  SetTextColor(imageDc_.get(), Rgb(foreColor_));
  return imageDc_.get();
}

void SurfaceWindow::SelectDrawingFont(HDC dc) {
  // The font object owns its handle and may replace it when it changes: select it afresh.
  if (font_ && font_->Handle()) SelectObject(dc, font_->Handle());
}

void SurfaceWindow::Cls() {
  if (!imageDc_) return;
  RECT all{0, 0, imageSize_.cx, imageSize_.cy};
  unique_hbrush brush(CreateSolidBrush(Rgb(backColor_)));
  if (brush) FillRect(imageDc_.get(), &all, brush.get());
}

void SurfaceWindow::SetForeColor(OleColor color) {
  foreColor_ = color;
  if (imageDc_) SetTextColor(imageDc_.get(), Rgb(color));
}

SIZE SurfaceWindow::TextExtent(std::wstring_view text) {
  SIZE size{0, 0};
  if (HDC dc = DrawingDC()) {
    GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
    return size;
  }
  WindowDC screen(hwnd_);
  if (!screen) return size;
  SaveDCGuard saved(screen.get());
  SelectDrawingFont(screen.get());
  GetTextExtentPoint32W(screen.get(), text.data(), static_cast<int>(text.size()), &size);
  return size;
}

int SurfaceWindow::TextWidth(std::wstring_view text) { return TextExtent(text).cx; }

int SurfaceWindow::TextHeight(std::wstring_view text) {
  // The height of one line in the font, also for an empty text.
  return TextExtent(text.empty() ? std::wstring_view(L" ") : text).cy;
}

void SurfaceWindow::RoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) {
  HDC dc = DrawingDC();
  if (!dc) return;
  // The DC's own pen and brush take the colours: no object is made per shape.
  SelectGuard pen(dc, GetStockObject(DC_PEN));
  SelectGuard brush(dc, GetStockObject(fillStyle_ == kFillTransparent ? NULL_BRUSH : DC_BRUSH));
  const COLORREF oldPen = SetDCPenColor(dc, Rgb(foreColor_));
  const COLORREF oldBrush = SetDCBrushColor(dc, Rgb(fillColor_));
  ::RoundRect(dc, left, top, right, bottom, ellipseWidth, ellipseHeight);
  SetDCPenColor(dc, oldPen);
  SetDCBrushColor(dc, oldBrush);
}

void SurfaceWindow::PaintPicture(const Picture& picture, int x, int y, int w, int h) {
  HDC dc = DrawingDC();
  if (!dc) return;
  picture.Render(dc, RECT{x, y, x + w, y + h}, true);
}

void SurfaceWindow::PaintBackground(HDC dc, const RECT& area) {
  ConstituentSurface::PaintBackground(dc, area);
  if (keepImage_ && imageDc_) BitBlt(dc, 0, 0, imageSize_.cx, imageSize_.cy, imageDc_.get(), 0, 0, SRCCOPY);
}

}  // namespace tessel
