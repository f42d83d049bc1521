#include "tests/button/ButtonCanvas.h"

#include <algorithm>
#include <cmath>

#include "button/DerivedColors.h"
#include "button/draw/Renderers.h"

namespace tessel::test {

ButtonCanvas::ButtonCanvas(int width, int height) {
  width_ = width;
  height_ = height;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  state.memDC.reset(CreateCompatibleDC(nullptr));
  state.bufferBitmap.reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  rows_ = static_cast<uint32_t*>(bits);
  state.bufferPrevBitmap = SelectObject(dc(), state.bufferBitmap.get());
  state.captionFont.reset(CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                      CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH, L"Tahoma"));
  state.bufferPrevFont = SelectObject(dc(), state.captionFont.get());
  SetBkMode(dc(), TRANSPARENT);
  paint.width = width;
  paint.height = height;
  state.faceRight = width;
  state.backColor = 0xD8D8D8;
  state.hoverBackColor = 0xD8D8D8;
  state.gradientColor = 0xFF8000;
  paint.foreColor = 0x000000;
  state.hoverForeColor = 0x000000;
  state.ambientBackColor = 0xE0E0E0;
  Clear();
}

ButtonCanvas::~ButtonCanvas() {
  SelectClipRgn(dc(), nullptr);
  SelectObject(dc(), state.bufferPrevFont);
  SelectObject(dc(), state.bufferPrevBitmap);
}

RECT ButtonCanvas::Bounds(COLORREF color) const {
  RECT r{width_, height_, 0, 0};
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x)
      if (At(x, y) == color) {
        r.left = std::min<LONG>(r.left, x);
        r.top = std::min<LONG>(r.top, y);
        r.right = std::max<LONG>(r.right, x + 1);
        r.bottom = std::max<LONG>(r.bottom, y + 1);
      }
  if (r.right == 0) r = {};
  return r;
}

void ButtonCanvas::Clear(COLORREF color) {
  SelectClipRgn(dc(), nullptr);
  GdiFlush();
  const uint32_t p = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
  std::fill_n(const_cast<uint32_t*>(rows_), width_ * height_, p);
}

void ButtonCanvas::ShapeFace() {
  const int W = width_, H = height_;
  state.regionA.reset();
  state.regionB.reset();
  state.faceLeft = 0;
  state.faceRight = W;
  const int shape = state.buttonShape;
  if (shape >= shapeEllipse) {
    state.regionB.reset(CreateEllipticRgn(1, 1, W - 1, H - 1));
    state.regionA.reset(CreateEllipticRgn(2, 2, W - 2, H - 2));
  } else if (shape != shapeRectangle) {
    const int d = static_cast<int>(std::nearbyint(2 * ((H + 1) / 2.0)));
    if (shape == shapeSlantLeft || shape == shapeSlantBoth) state.faceLeft = d;
    if (shape == shapeSlantRight || shape == shapeSlantBoth) state.faceRight = W - d;
  }
}

void ButtonCanvas::DeriveColors() { UpdateDerivedColors(state); }

int16_t ButtonCanvas::Render(int32_t* faceState) {
  BevelPoints points{};
  BevelColors list{};
  int32_t state32 = 0;
  int16_t outcome = 0;
  if (Renderer r = RendererFor(state.buttonStyle)) r(paint, points, list, state32, outcome);
  GdiFlush();
  if (faceState) *faceState = state32;
  return outcome;
}

}  // namespace tessel::test
