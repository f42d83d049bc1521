// The drawing services of a surface window: a persistent image that paints show, the pen and
// brush colours and fill mode its shapes use, text measuring in its font and picture painting.
#include "host/SurfaceWindow.h"
#include "host/PixelEdges.h"
#include "server/contract/ImageLimits.h"
#include "server/contract/Palette.h"

namespace tessel {
namespace {

// Every colour of the image goes through the palette in the role it plays there.
COLORREF Rgb(OleColor color, ColorRole role) { return ColorOr(PaletteOf(color, role), 0); }

}  // namespace

SurfaceWindow::DrawingState& SurfaceWindow::Drawing() {
  if (!drawing_) drawing_ = std::make_unique<DrawingState>();
  return *drawing_;
}

void SurfaceWindow::SetPersistentImage(bool keep) {
  if (!keep && !drawing_) return;
  Drawing().keepImage = keep;
  if (!keep) ReleaseImage();
}

void SurfaceWindow::ReleaseImage() {
  if (!drawing_) return;
  DrawingState& d = *drawing_;
  if (d.imageDc) {
    if (d.imageOldBitmap) SelectObject(d.imageDc.get(), d.imageOldBitmap);
    if (d.imageOldFont) SelectObject(d.imageDc.get(), d.imageOldFont);
  }
  d.imageOldBitmap = d.imageOldFont = nullptr;
  d.image.reset();
  d.imageDc.reset();
  d.imageSize = d.imageClient = SIZE{0, 0};
}

HDC SurfaceWindow::DrawingDC() {
  if (!drawing_ || !drawing_->keepImage || !hwnd_) return nullptr;
  DrawingState& d = *drawing_;
  RECT client{};
  GetClientRect(hwnd_, &client);
  // Made again when the window changed size; an image that shows too little after a move is made
  // again by the paint that finds it so (a drawing call in between would lose what it holds).
  if (!d.imageDc || client.right != d.imageClient.cx || client.bottom != d.imageClient.cy) {
    // Only a window whose owner draws again when asked may keep less than its whole client area.
    const SIZE size = ShownImageSize(RedrawsItsImage() ? hwnd_ : nullptr, client.right, client.bottom);
    ReleaseImage();
    // A 32-bpp image in memory: a bitmap like the screen's would cost the system a window DC and
    // three display look-ups to make and to select, each time the window changes size.
    void* bits = nullptr;
    d.imageDc.reset(CreateCompatibleDC(nullptr));
    d.image = CreateDib32(nullptr, size.cx, size.cy, &bits);
    if (!d.imageDc || !d.image) {
      ReleaseImage();
      return nullptr;
    }
    d.imageOldBitmap = SelectObject(d.imageDc.get(), d.image.get());
    d.imageOldFont = GetCurrentObject(d.imageDc.get(), OBJ_FONT);
    d.imageSize = size;
    d.imageClient = SIZE{client.right, client.bottom};
    SetBkMode(d.imageDc.get(), TRANSPARENT);
    Cls();
  }
  SelectDrawingFont(d.imageDc.get());
  SetTextColor(d.imageDc.get(), Rgb(d.foreColor, ColorRole::FaceText));
  return d.imageDc.get();
}

void SurfaceWindow::SelectDrawingFont(HDC dc) {
  // The font object owns its handle and may replace it when it changes: select it afresh.
  const FontRef& font = drawing_ ? drawing_->font : nullptr;
  if (font && font->Handle()) SelectObject(dc, font->Handle());
}

void SurfaceWindow::Cls() {
  if (!drawing_ || !drawing_->imageDc) return;
  RECT all{0, 0, drawing_->imageSize.cx, drawing_->imageSize.cy};
  unique_hbrush brush(CreateSolidBrush(Rgb(backColor_, ColorRole::Face)));
  if (brush) FillRect(drawing_->imageDc.get(), &all, brush.get());
}

void SurfaceWindow::SetForeColor(OleColor color) {
  DrawingState& d = Drawing();
  d.foreColor = color;
  if (d.imageDc) SetTextColor(d.imageDc.get(), Rgb(color, ColorRole::FaceText));
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
  SelectGuard brush(dc, GetStockObject(FillStyle() == kFillTransparent ? NULL_BRUSH : DC_BRUSH));
  const COLORREF oldPen = SetDCPenColor(dc, Rgb(ForeColor(), ColorRole::Frame));
  const COLORREF oldBrush = SetDCBrushColor(dc, Rgb(FillColor(), ColorRole::Face));
  // Within the edges a window can report: the system draws a figure in time to its size.
  ::RoundRect(dc, ClampedPixelEdge(left), ClampedPixelEdge(top), ClampedPixelEdge(right), ClampedPixelEdge(bottom),
              std::clamp(ellipseWidth, 0, 2 * kHighestPixelEdge), std::clamp(ellipseHeight, 0, 2 * kHighestPixelEdge));
  SetDCPenColor(dc, oldPen);
  SetDCBrushColor(dc, oldBrush);
}

void SurfaceWindow::PaintPicture(const Picture& picture, int x, int y, int w, int h) {
  HDC dc = DrawingDC();
  if (!dc) return;
  picture.Render(dc, RECT{x, y, x + w, y + h}, true);
}

void SurfaceWindow::RemakeOutgrownImage(const RECT& client) {
  const DrawingState* d = drawing_.get();
  if (!d || !d->keepImage || !d->imageDc || !RedrawsItsImage() ||
      !ImageOutgrown(hwnd_, d->imageSize, client.right, client.bottom))
    return;
  ReleaseImage();
  ImageLost();
}

bool SurfaceWindow::ImageCovers(const RECT& area) const {
  const DrawingState* d = drawing_.get();
  return d && d->keepImage && d->imageDc && area.left >= 0 && area.top >= 0 && area.right <= d->imageSize.cx &&
         area.bottom <= d->imageSize.cy;
}

void SurfaceWindow::PaintBackground(HDC dc, const RECT& area) {
  // An image that covers the area hides the back colour: it is not painted first.
  if (!ImageCovers(area)) ConstituentSurface::PaintBackground(dc, area);
  if (const DrawingState* d = drawing_.get(); d && d->keepImage && d->imageDc)
    BitBlt(dc, 0, 0, d->imageSize.cx, d->imageSize.cy, d->imageDc.get(), 0, 0, SRCCOPY);
}

}  // namespace tessel
