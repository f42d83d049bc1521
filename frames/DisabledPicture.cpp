#include "frames/DisabledPicture.h"

#include <cmath>
#include <vector>

#include "server/contract/Gdi.h"

namespace tessel::frames {
namespace {

// A top-down 24-bit DIB section of w x h selected into a memory DC of its own.
class Rgb24 {
 public:
  Rgb24(HDC compatible, int w, int h) : dc_(CreateCompatibleDC(compatible)), stride_(((w * 3) + 3) & ~3) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(compatible, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    bits_ = static_cast<uint8_t*>(bits);
    if (dc_ && bitmap_) old_ = SelectObject(dc_.get(), bitmap_.get());
  }
  ~Rgb24() {
    if (old_) SelectObject(dc_.get(), old_);
  }
  Rgb24(const Rgb24&) = delete;
  Rgb24& operator=(const Rgb24&) = delete;
  bool ok() const { return old_ && bits_; }
  HDC dc() const { return dc_.get(); }
  uint8_t* Pixel(int x, int y) { return bits_ + static_cast<size_t>(y) * stride_ + static_cast<size_t>(x) * 3; }

 private:
  unique_hdc dc_;
  unique_hbitmap bitmap_;
  HGDIOBJ old_ = nullptr;
  uint8_t* bits_ = nullptr;
  int stride_;
};

void RenderPicture(HDC dc, int w, int h, const Picture& picture) {
  switch (picture.Kind()) {
    case PictureKind::Icon:
    case PictureKind::Cursor:
      DrawIconEx(dc, 0, 0, static_cast<HICON>(picture.Handle()), w, h, 0, nullptr, DI_NORMAL);
      break;
    case PictureKind::Bitmap: {
      unique_hdc source(CreateCompatibleDC(dc));
      if (!source) return;
      SelectGuard select(source.get(), picture.Handle());
      const SIZE size = picture.SizePixels();
      SetStretchBltMode(dc, COLORONCOLOR);
      StretchBlt(dc, 0, 0, w, h, source.get(), 0, 0, size.cx, size.cy, SRCCOPY);
      break;
    }
    default:
      picture.Render(dc, RECT{0, 0, w, h}, true);
      break;
  }
}

}  // namespace

uint8_t GreyOf(uint8_t red, uint8_t green, uint8_t blue) {
  const double grey = std::nearbyint(std::nearbyint(red * 0.3) + green * 0.59 + blue * 0.11);
  return static_cast<uint8_t>(grey > 255 ? 255 : grey);
}

void DrawDisabledPicture(HDC dc, int x, int y, int w, int h, const Picture& picture, COLORREF background) {
  if (w <= 0 || h <= 0) return;
  // Only the part the DC can show is greyed: a picture far larger than the window costs what the
  // window shows, not what the picture would cover.
  const RECT whole{x, y, x + w, y + h};
  RECT clip{}, shown{};
  if (GetClipBox(dc, &clip) == ERROR || !IntersectRect(&shown, &whole, &clip)) return;
  const int sw = shown.right - shown.left, sh = shown.bottom - shown.top;
  Rgb24 art(dc, sw, sh), under(dc, sw, sh);
  if (!art.ok() || !under.ok()) return;
  {
    unique_hbrush back(CreateSolidBrush(background));
    RECT all{0, 0, sw, sh};
    FillRect(art.dc(), &all, back.get());
  }
  // The picture at its whole size, moved so that its shown part falls on the art.
  SetViewportOrgEx(art.dc(), x - shown.left, y - shown.top, nullptr);
  RenderPicture(art.dc(), w, h, picture);
  GdiFlush();
  BitBlt(under.dc(), 0, 0, sw, sh, dc, shown.left, shown.top, SRCCOPY);
  GdiFlush();
  const COLORREF key = GetNearestColor(dc, background);
  // A picture stretched large is long runs of one colour: its grey is worked out once a run.
  COLORREF last = key;
  uint8_t grey = 0;
  for (int row = 0; row < sh; ++row) {
    for (int col = 0; col < sw; ++col) {
      const uint8_t* p = art.Pixel(col, row);  // blue, green, red
      const COLORREF colour = RGB(p[2], p[1], p[0]);
      if (colour == key) continue;
      if (colour != last) grey = GreyOf(p[2], p[1], p[0]), last = colour;
      uint8_t* q = under.Pixel(col, row);
      q[0] = q[1] = q[2] = grey;
    }
  }
  BitBlt(dc, shown.left, shown.top, sw, sh, under.dc(), 0, 0, SRCCOPY);
}

}  // namespace tessel::frames
